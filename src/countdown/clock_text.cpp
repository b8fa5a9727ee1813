#include "countdown/clock_text.h"

#include <QLocale>

namespace tarvo {

QString longTimeText(const QTime& time)
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    // The long format names the time zone; the clock shows the time alone.
    format.remove(QLatin1Char('t'));
    format = format.trimmed();
    if (!format.contains(QLatin1Char('s')))
        format = QStringLiteral("HH:mm:ss");
    return time.toString(format).trimmed();
}

QString clockCaption(const QTime& time)
{
    return QStringLiteral("Zeit: ") + longTimeText(time);
}

QString shortClockCaption(const QTime& time)
{
    return QStringLiteral("Zeit:%1:%2").arg(time.hour()).arg(time.minute());
}

} // namespace tarvo
