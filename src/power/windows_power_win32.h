#pragma once

#include <memory>

#include "power/windows_power_algorithm.h"

namespace tarvo {

// The real Win32 calls behind Win32PowerApi. Windows only.
std::unique_ptr<Win32PowerApi> makeWin32PowerApi();

} // namespace tarvo
