#include "countdown/clock_text.h"

namespace tarvo {
namespace {

bool isFiller(QChar c)
{
    return c.isSpace() || c == QLatin1Char(',');
}

} // namespace

QString timeFormatWithoutZone(const QString& format)
{
    // Walk the format: text in single quotes is literal ('' is a quote), everything else may hold
    // the zone field "t".
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == QLatin1Char('t')) {
            continue;
        } else {
            out += c;
        }
    }
    // What held the zone: brackets left empty, and the blanks and commas before or after it.
    out.replace(QLatin1String("()"), QString());
    out.replace(QLatin1String("[]"), QString());
    while (!out.isEmpty() && isFiller(out.back()))
        out.chop(1);
    while (!out.isEmpty() && isFiller(out.front()))
        out.remove(0, 1);
    if (!out.contains(QLatin1Char('s')))
        return QStringLiteral("HH:mm:ss");
    return out;
}

QString longTimeText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat))).trimmed();
}

QString clockCaption(const QTime& time, const QLocale& locale)
{
    return QStringLiteral("Zeit: ") + longTimeText(time, locale);
}

QString shortClockCaption(const QTime& time)
{
    return QStringLiteral("Zeit:%1:%2").arg(time.hour()).arg(time.minute());
}

} // namespace tarvo
