#include "entry/spin_steps.h"

namespace tarvo {

bool isMinutesSpinTarget(std::int16_t target)
{
    return target == SpinZeitEingabe || target == SpinCounterMinute || target == SpinCounterHour;
}

std::optional<SpinStep> minutesSpinStep(std::int16_t target, int value)
{
    if (value == kSpinRest)
        return std::nullopt;
    const bool hours = target == SpinCounterHour;
    return SpinStep{value < kSpinRest, hours ? std::int16_t{60} : std::int16_t{10}, !hours};
}

std::optional<SpinStep> endTimeSpinStep(std::int16_t target, int value)
{
    if (value == kSpinRest)
        return std::nullopt;
    return SpinStep{value < kSpinRest, target == SpinMinuteTime ? std::int16_t{10} : std::int16_t{60}, false};
}

} // namespace tarvo
