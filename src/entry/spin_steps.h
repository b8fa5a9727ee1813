#pragma once

#include <cstdint>
#include <optional>

namespace tarvo {

// The two scroll bars work as spin buttons: each change of their value is one step, after which
// they spring back to their rest value. The value grows downwards, so a value below the rest
// came from the upper arrow, which lengthens the duration.
inline constexpr int kSpinRest = 3;
inline constexpr int kSpinMinimum = -100;
inline constexpr int kSpinMaximum = 100;

// Which field the scroll bar beside the duration fields steps (ScrollbarFocus).
enum MinutesSpinTarget : std::int16_t { SpinZeitEingabe = 1, SpinCounterMinute = 2, SpinCounterHour = 3 };
// Which end-time field the other scroll bar steps (ScrollbarFocus2).
enum EndTimeSpinTarget : std::int16_t { SpinMinuteTime = 4, SpinHourTime = 5 };

struct SpinStep {
    bool lengthen = true;
    std::int16_t minutes = 0;
    bool roundToTen = false;
};

bool isMinutesSpinTarget(std::int16_t target);

// The step of the scroll bar beside the duration fields: whole hours for the hour field, otherwise
// ten minutes snapped to whole ten minutes. Nothing at rest. target must be a MinutesSpinTarget.
std::optional<SpinStep> minutesSpinStep(std::int16_t target, int value);

// The step of the scroll bar beside the end-time fields: an hour for the hour field, otherwise ten
// minutes, never snapped. Nothing at rest.
std::optional<SpinStep> endTimeSpinStep(std::int16_t target, int value);

} // namespace tarvo
