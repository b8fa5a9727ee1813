#pragma once

#include <memory>

#include "base/services.h"

namespace tarvo {

// The window system as Qt reaches it: QSystemTrayIcon, and keep-above through the window manager.
std::unique_ptr<WindowSystem> makeWindowSystem();

} // namespace tarvo
