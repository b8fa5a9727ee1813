#include "countdown/last_minute.h"

#include <algorithm>
#include <array>

namespace tarvo {
namespace {

constexpr std::array<std::int32_t, 11> kBeepSeconds{60, 30, 25, 20, 15, 10, 7, 5, 3, 2, 1};
constexpr std::int32_t kLastMinute = 60;    // marks: back into view, pinned on top
constexpr std::int32_t kHalfMinute = 30;    // mark: back into view, the first blink
constexpr std::int32_t kEveryTick = 25;     // from here the window comes back on every tick
constexpr std::int32_t kBlinkBelow = 31;
constexpr std::int32_t kShowFirstBelow = 10;
constexpr std::int32_t kRefreshEvery = 10;
constexpr std::int32_t kShutdownCaption = 1;

} // namespace

bool isBeepSecond(std::int32_t seconds)
{
    return std::find(kBeepSeconds.begin(), kBeepSeconds.end(), seconds) != kBeepSeconds.end();
}

CountdownStep lastMinuteStep(std::int32_t n, std::int32_t previous, bool& blinkOn)
{
    CountdownStep s;
    s.seconds = n;
    const bool jumped = previous - n > 1;
    s.refresh = n % kRefreshEvery == 0 || jumped;
    s.warnComeBack = n < kLastMinute;
    const bool crossedLastMinute = jumped && previous > kLastMinute && n < kLastMinute;
    if (n > kEveryTick && n != kLastMinute && n != kHalfMinute) {
        s.showSeconds = n < kLastMinute;
        s.comeBack = s.pin = crossedLastMinute;
        return s;
    }
    s.comeBack = true;
    s.showBeforeRestore = n < kShowFirstBelow;
    s.beep = isBeepSecond(n);
    s.showFigures = true;
    s.shutdownCaption = n == kShutdownCaption;
    if (n >= 1) {
        s.pin = n == kLastMinute || crossedLastMinute;
        if (n < kBlinkBelow) {
            blinkOn = !blinkOn;
            s.blink = blinkOn;
        }
    }
    s.fire = n <= 0;
    return s;
}

} // namespace tarvo
