#include "countdown/duration.h"

#include <limits>

namespace tarvo {
namespace {

std::optional<std::int32_t> fitInt32(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// Snaps to whole ten minutes, an exact half (e.g. 15 minutes) to the even multiple.
std::int64_t roundToTenMinutes(std::int64_t seconds)
{
    return roundHalfEven(seconds, 600) * 600;
}

} // namespace

std::int64_t roundHalfEven(std::int64_t num, std::int64_t den)
{
    std::int64_t quotient = num / den;
    std::int64_t remainder = num % den;
    if (remainder < 0) { // make it a floor division
        remainder += den;
        --quotient;
    }
    const std::int64_t twice = 2 * remainder;
    if (twice > den || (twice == den && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

std::int32_t totalMinutes(std::int32_t seconds)
{
    return static_cast<std::int32_t>(roundHalfEven(seconds, 60));
}

std::int32_t wholeHours(std::int32_t seconds)
{
    return totalMinutes(seconds) / 60;
}

std::int32_t minutesOfHour(std::int32_t seconds)
{
    const std::int32_t minutes = totalMinutes(seconds);
    return minutes < 60 ? minutes : minutes % 60;
}

std::int16_t wholeDays(std::int32_t seconds)
{
    // |int32| / 86400 is at most 24855, so it always fits.
    return static_cast<std::int16_t>(seconds / 86400);
}

QDateTime endMoment(const QDateTime& now, std::int32_t seconds)
{
    return now.addSecs(seconds);
}

std::int32_t secondsForMinutes(std::int16_t minutes)
{
    const std::int32_t seconds = std::int32_t{minutes} * 60;
    return seconds > kMaxEntrySeconds ? kMaxEntrySeconds : seconds;
}

std::optional<std::int32_t> addMinutes(std::int32_t seconds, std::int16_t minutes, bool roundToTen)
{
    std::int64_t result = std::int64_t{seconds} + std::int64_t{minutes} * 60;
    if (!fitInt32(result))
        return std::nullopt;
    if (result > kMaxEntrySeconds)
        result = kMaxEntrySeconds;
    if (roundToTen)
        result = roundToTenMinutes(result);
    return fitInt32(result);
}

std::optional<std::int32_t> subtractMinutes(std::int32_t seconds, std::int16_t minutes, bool roundToTen)
{
    std::int64_t result = std::int64_t{seconds} - std::int64_t{minutes} * 60;
    if (!fitInt32(result))
        return std::nullopt;
    if (result <= 0)
        result = 60;
    if (roundToTen)
        result = roundToTenMinutes(result);
    return fitInt32(result);
}

QString hoursMinutesText(std::int32_t seconds)
{
    const std::int32_t minutes = totalMinutes(seconds);
    const std::int32_t hours = minutes / 60;
    const QString rest = QString::number(minutes % 60);
    const QString separator = rest.size() == 1 ? QStringLiteral(":0") : QStringLiteral(":");
    return QString::number(hours) + separator + rest;
}

std::optional<std::int32_t> minutesTextToSeconds(const QString& text)
{
    bool ok = false;
    const qlonglong minutes = text.trimmed().toLongLong(&ok);
    if (!ok || minutes < std::numeric_limits<std::int32_t>::min() / 60
        || minutes > std::numeric_limits<std::int32_t>::max() / 60)
        return std::nullopt;
    return static_cast<std::int32_t>(minutes * 60);
}

} // namespace tarvo
