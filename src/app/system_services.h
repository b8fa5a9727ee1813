#pragma once

#include <memory>

#include "base/services.h"
#include "power/power_backend.h"

namespace tarvo {

// Everything the main window needs from the operating system, handed over at construction.
struct Services {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<Beeper> beeper;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<PowerBackend> power;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<WindowSystem> windowSystem;
    std::unique_ptr<AppControl> app;
};

// The real services of this machine.
Services systemServices();
std::unique_ptr<Dialogs> makeDialogs();

} // namespace tarvo
