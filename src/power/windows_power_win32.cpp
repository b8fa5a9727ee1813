#include "power/windows_power_win32.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tarvo {

namespace {

class Win32PowerCalls final : public Win32PowerApi {
public:
    Win32PowerCalls() = default;
    Win32PowerCalls(const Win32PowerCalls&) = delete;
    Win32PowerCalls& operator=(const Win32PowerCalls&) = delete;
    ~Win32PowerCalls() override
    {
        if (m_token)
            CloseHandle(m_token);
    }

    std::uint32_t platformId() override
    {
        OSVERSIONINFOA info {};
        info.dwOSVersionInfoSize = sizeof(info);
        // Deprecated, but the platform identifier is all that is read and it is still reported.
        GetVersionExA(&info);
        return info.dwPlatformId;
    }

    bool openProcessToken(std::uint32_t access) override
    {
        if (m_token) {
            CloseHandle(m_token);
            m_token = nullptr;
        }
        return OpenProcessToken(GetCurrentProcess(), access, &m_token) != 0;
    }

    bool lookupPrivilegeValue(const char* name) override { return LookupPrivilegeValueA(nullptr, name, &m_luid) != 0; }

    bool adjustTokenPrivileges() override
    {
        TOKEN_PRIVILEGES wanted {};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Luid = m_luid;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        TOKEN_PRIVILEGES previous {};
        DWORD previousLength = 0;
        return AdjustTokenPrivileges(m_token, FALSE, &wanted, sizeof(previous), &previous, &previousLength) != 0;
    }

    std::uint32_t lastError() override { return GetLastError(); }

    bool exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override
    {
        return ExitWindowsEx(flags, reserved) != 0;
    }

    bool setSystemPowerState(bool suspend, bool force) override
    {
        return SetSystemPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE) != 0;
    }

private:
    HANDLE m_token = nullptr;
    LUID m_luid {};
};

static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(TOKEN_PRIVILEGES) == 16);

} // namespace

std::unique_ptr<Win32PowerApi> makeWin32PowerApi()
{
    return std::make_unique<Win32PowerCalls>();
}

} // namespace tarvo
