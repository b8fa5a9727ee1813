#pragma once

#include <cstdint>
#include <optional>

#include <QDateTime>
#include <QString>

namespace tarvo {

// The longest duration the entry side allows: 20160 minutes, exactly 14 days.
inline constexpr std::int32_t kMaxEntrySeconds = 1'209'600;
inline constexpr std::int32_t kMaxEntryMinutes = 20'160;

// num / den rounded to the nearest whole number, an exact half to the even one (den > 0).
std::int64_t roundHalfEven(std::int64_t num, std::int64_t den);

// The calculators of a duration of s seconds.
std::int32_t totalMinutes(std::int32_t seconds);   // rounded, halves to even: 90 s and 150 s are 2
std::int32_t wholeHours(std::int32_t seconds);     // of the rounded minutes, truncated
std::int32_t minutesOfHour(std::int32_t seconds);  // the rounded minutes beyond whole hours
std::int16_t wholeDays(std::int32_t seconds);      // truncated: 86400 s give 1
// The moment s seconds after now, as the clock on the wall will show it.
QDateTime endMoment(const QDateTime& now, std::int32_t seconds);

// The three ways the entry side changes the duration. Each returns the new number of seconds, or
// nothing when the arithmetic leaves 32 bits (the change is then dropped).
std::int32_t secondsForMinutes(std::int16_t minutes);
std::optional<std::int32_t> addMinutes(std::int32_t seconds, std::int16_t minutes, bool roundToTen);
std::optional<std::int32_t> subtractMinutes(std::int32_t seconds, std::int16_t minutes, bool roundToTen);

// The remaining time as hours and minutes, e.g. "1:05", "336:00"; a time that rounds up to a full
// hour shows that hour (3590 s are "1:00").
QString hoursMinutesText(std::int32_t seconds);

// A whole number of minutes as typed into the minutes field, converted to seconds; nothing when the
// text is no whole number or the seconds leave 32 bits.
std::optional<std::int32_t> minutesTextToSeconds(const QString& text);

} // namespace tarvo
