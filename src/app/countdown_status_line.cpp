#include "app/countdown_status_line.h"

#include <algorithm>

namespace tarvo {

QString countdownStatusLine(const QString& action, qint64 remainingSeconds, const QDateTime& now, bool paused)
{
    const qint64 left = std::max<qint64>(0, remainingSeconds);
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg(left / 3600)
                              .arg(left / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(left % 60, 2, 10, QLatin1Char('0'));
    if (paused)
        return QStringLiteral("%1 angehalten, noch %2").arg(action, clock);
    const QDateTime end = now.addSecs(left);
    const QString day = end.date() == now.date() ? QString() : end.toString(QStringLiteral("'am' dd.MM. "));
    return QStringLiteral("%1 in %2, %3um %4 Uhr").arg(action, clock, day, end.toString(QStringLiteral("HH:mm")));
}

} // namespace tarvo
