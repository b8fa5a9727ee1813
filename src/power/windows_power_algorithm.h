#pragma once

#include <cstdint>

// Deliberately free of Qt and of <windows.h>: the decisions below are tested on every platform
// against a fake, and the cross-compile check builds this file with the plain MinGW toolchain.

namespace tarvo {

// The Win32 calls a power request is made of. The real table keeps the token handle and the
// privilege's identifier between the calls; a test table records what was asked of it.
class Win32PowerApi {
public:
    virtual ~Win32PowerApi() = default;

    // GetVersionExA with an OSVERSIONINFOA of size 148; the platform identifier (2 = NT family).
    virtual std::uint32_t platformId() = 0;
    // OpenProcessToken(GetCurrentProcess(), access); false when it fails.
    virtual bool openProcessToken(std::uint32_t access) = 0;
    // LookupPrivilegeValueA(nullptr, name, ...); false when it fails.
    virtual bool lookupPrivilegeValue(const char* name) = 0;
    // AdjustTokenPrivileges enabling the looked-up privilege (count 1, attribute 2, previous state
    // into a 16-byte record); false when it fails.
    virtual bool adjustTokenPrivileges() = 0;
    // GetLastError.
    virtual std::uint32_t lastError() = 0;
    virtual bool exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
    virtual bool setSystemPowerState(bool suspend, bool force) = 0;
};

namespace win32 {
inline constexpr std::uint32_t PlatformNt = 2;
// TOKEN_ADJUST_PRIVILEGES (32) | TOKEN_QUERY (8)
inline constexpr std::uint32_t TokenAccess = 40;
// ERROR_NOT_ALL_ASSIGNED: AdjustTokenPrivileges "succeeds" but the privilege is not held.
inline constexpr std::uint32_t ErrorNotAllAssigned = 1300;
inline constexpr const char* ShutdownPrivilege = "SeShutdownPrivilege";
} // namespace win32

enum class WindowsPowerResult {
    Requested, // ExitWindowsEx or SetSystemPowerState was called
    CodeOutOfRange, // below 0 or above 9: nothing requested, the caller shows "Reboot Fehler"
    TokenNotOpened,
    PrivilegeUnknown,
    PrivilegeNotEnabled,
    PrivilegeNotHeld, // last error 1300 after enabling
};

struct WindowsPowerReport {
    WindowsPowerResult result = WindowsPowerResult::Requested;
    // The thread's last error after the step that failed; 0 when nothing failed.
    std::uint32_t error = 0;
};

// Makes the request for a code the way Windows wants it: on the NT family the shut-down privilege
// is enabled first, and standby (6) and hibernate (5) go to the power-state call. A failed
// privilege step makes no request and says which step failed, so the caller can tell the user.
WindowsPowerReport requestWindowsPower(Win32PowerApi& api, std::int16_t code);

} // namespace tarvo
