#include "countdown/duration_fields.h"

#include "countdown/duration.h"

namespace tarvo {
namespace {

QString twoDigits(std::int32_t value)
{
    const QString text = QString::number(value);
    return text.size() == 1 ? QLatin1Char('0') + text : text;
}

} // namespace

DurationFieldTexts durationFieldTexts(std::int32_t seconds, const QDateTime& now)
{
    const QTime end = endMoment(now, seconds).time();
    DurationFieldTexts texts{QString::number(totalMinutes(seconds)), QString::number(wholeHours(seconds)),
                             twoDigits(minutesOfHour(seconds)),      twoDigits(end.hour()),
                             twoDigits(end.minute()),                QString()};
    const std::int16_t days = wholeDays(seconds);
    if (days > 0) {
        // Whole days of the duration, not calendar days: the date is today plus that count.
        const QDate endDate = now.date().addDays(days);
        texts.days = QStringLiteral("+%1%2%3.%4)")
                         .arg(days)
                         .arg(days == 1 ? QStringLiteral(" Tag (") : QStringLiteral(" Tage ("))
                         .arg(endDate.day())
                         .arg(endDate.month());
    }
    return texts;
}

} // namespace tarvo
