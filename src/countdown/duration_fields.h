#pragma once

#include <cstdint>

#include <QDateTime>
#include <QString>

namespace tarvo {

// What the entry panel's fields show for a duration counted from now. The minute and end-time fields
// are two digits wide.
struct DurationFieldTexts {
    QString minutes;       // ZeitEingabe: the whole duration in minutes
    QString hours;         // CounterHourText
    QString minutesOfHour; // CounterMinuteText
    QString endHour;       // HourTimeText
    QString endMinute;     // MinuteTimeText
    // AnzahlTageLabel: "+1 Tag (8.12)", "+3 Tage (10.12)"; empty for less than a day.
    QString days;
};

DurationFieldTexts durationFieldTexts(std::int32_t seconds, const QDateTime& now);

} // namespace tarvo
