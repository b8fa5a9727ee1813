#pragma once

#include <memory>

#include "base/services.h"

namespace tarvo {

// The desktop's browser and text editor, through QDesktopServices.
std::unique_ptr<Desktop> makeDesktop();

} // namespace tarvo
