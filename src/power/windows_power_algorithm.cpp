#include "power/windows_power_algorithm.h"

namespace tarvo {

namespace {

WindowsPowerReport failedStep(Win32PowerApi& api, WindowsPowerResult result)
{
    return { result, api.lastError() };
}

} // namespace

WindowsPowerReport requestWindowsPower(Win32PowerApi& api, std::int16_t code)
{
    const bool nt = api.platformId() == win32::PlatformNt;

    if (code < 0 || code > 9)
        return { WindowsPowerResult::CodeOutOfRange, 0 };

    if (nt && (code == 5 || code == 6)) {
        // Best effort here: whatever the privilege steps achieve, the power-state call is made and
        // the system decides.
        api.openProcessToken(win32::TokenAccess);
        api.lookupPrivilegeValue(win32::ShutdownPrivilege);
        api.adjustTokenPrivileges();
        api.setSystemPowerState(code == 6, false);
        return {};
    }

    if (nt) {
        if (!api.openProcessToken(win32::TokenAccess))
            return failedStep(api, WindowsPowerResult::TokenNotOpened);
        if (!api.lookupPrivilegeValue(win32::ShutdownPrivilege))
            return failedStep(api, WindowsPowerResult::PrivilegeUnknown);
        if (!api.adjustTokenPrivileges())
            return failedStep(api, WindowsPowerResult::PrivilegeNotEnabled);
        // AdjustTokenPrivileges reports success even when the user does not hold the privilege.
        if (const std::uint32_t error = api.lastError(); error == win32::ErrorNotAllAssigned)
            return { WindowsPowerResult::PrivilegeNotHeld, error };
    }

    // The code doubles as the EWX_* flags: 0 log off, 1 shut down, 2 reboot, 8 power off.
    api.exitWindowsEx(static_cast<std::uint32_t>(code), 0);
    return {};
}

} // namespace tarvo
