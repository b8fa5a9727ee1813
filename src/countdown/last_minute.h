#pragma once

#include <cstdint>
#include <optional>

namespace tarvo {

// What one second of the countdown asks of the window. The rules of the last minute live here as
// data; the window only carries them out.
struct CountdownStep {
    std::int32_t seconds = 0;      // the seconds left
    bool refresh = false;          // rewrite the duration fields and the remaining-time display
    bool warnComeBack = false;     // with warnings on, the window comes back
    bool showSeconds = false;      // figures, unit and title in seconds
    bool comeBack = false;         // the window comes back whatever the options
    bool showBeforeRestore = false; // the last ten seconds: shown first, then restored
    bool beep = false;             // a warning beep, with warnings on
    bool showFigures = false;      // the figures show the seconds (the caption keeps its unit)
    bool pin = false;              // pinned above other windows
    bool shutdownCaption = false;  // "Shutdown!!"
    std::optional<bool> blink;     // the figures' colour: true the blink colour, false white
    bool fire = false;             // the action is due
};

// The seconds left at which the warning beeps sound.
bool isBeepSecond(std::int32_t seconds);

// The step for `seconds` left, coming from `previous` left. Usually previous is one more; after a
// stall several seconds pass at once, and then the displays are corrected at once and the window
// comes back and is pinned if the one-minute mark was passed, but no missed beep is replayed.
// blinkOn is the figures' colour before this step and is flipped where the step blinks.
CountdownStep lastMinuteStep(std::int32_t seconds, std::int32_t previous, bool& blinkOn);

} // namespace tarvo
