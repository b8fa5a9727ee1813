#pragma once

#include <string>
#include <vector>

#include "power/windows_power_algorithm.h"

namespace tarvo::test {

// Answers as configured and writes down every Win32 call in the order made.
class FakeWin32PowerApi final : public Win32PowerApi {
public:
    std::uint32_t platform = win32::PlatformNt;
    bool tokenOpens = true;
    bool privilegeKnown = true;
    bool privilegeAdjusts = true;
    std::uint32_t error = 0;

    std::vector<std::string> calls;

    std::uint32_t platformId() override
    {
        calls.push_back("GetVersionExA");
        return platform;
    }
    bool openProcessToken(std::uint32_t access) override
    {
        calls.push_back("OpenProcessToken(" + std::to_string(access) + ")");
        return tokenOpens;
    }
    bool lookupPrivilegeValue(const char* name) override
    {
        calls.push_back("LookupPrivilegeValueA(" + std::string(name) + ")");
        return privilegeKnown;
    }
    bool adjustTokenPrivileges() override
    {
        calls.push_back("AdjustTokenPrivileges");
        return privilegeAdjusts;
    }
    std::uint32_t lastError() override
    {
        calls.push_back("GetLastError");
        return error;
    }
    bool exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override
    {
        calls.push_back("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reserved) + ")");
        return true;
    }
    bool setSystemPowerState(bool suspend, bool force) override
    {
        calls.push_back(std::string("SetSystemPowerState(") + (suspend ? "true" : "false") + ", "
            + (force ? "true" : "false") + ")");
        return true;
    }
};

} // namespace tarvo::test
