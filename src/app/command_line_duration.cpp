#include "app/command_line_duration.h"

#include <limits>

#include <QCheckBox>
#include <QLineEdit>

#include "app/command_line.h"

namespace tarvo {
namespace {

// The minutes field holds a 16-bit count; hours that would push it past that stop the applying.
constexpr int kMostMinutes = std::numeric_limits<std::int16_t>::max();

} // namespace

DurationApplied applyCommandLineDuration(const CommandLineOptions& o, QLineEdit& minutesField, QCheckBox& inMinutes)
{
    if (o.minutes) {
        const auto minutes = digitsToInt16(*o.minutes);
        if (!minutes)
            return DurationApplied::Stopped;
        if (*minutes == 0)
            return DurationApplied::Now;
        minutesField.setText(*o.minutes);
        inMinutes.setChecked(true);
    }
    if (o.hours) {
        const auto hours = digitsToInt16(*o.hours);
        if (!hours)
            return DurationApplied::Stopped;
        if (*hours == 0)
            return DurationApplied::Now;
        const int hourMinutes = int{*hours} * 60;
        const auto present = digitsToInt16(minutesField.text());
        if (hourMinutes > kMostMinutes || !present || int{*present} + hourMinutes > kMostMinutes)
            return DurationApplied::Stopped;
        minutesField.setText(QString::number(int{*present} + hourMinutes));
        inMinutes.setChecked(false);
    }
    return DurationApplied::Applied;
}

} // namespace tarvo
