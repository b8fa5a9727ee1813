#pragma once

#include <QDateTime>
#include <QString>

namespace tarvo {

// One German line about a countdown: "Ausschalten in 0:04:59, um 15:12 Uhr", the date added when
// the end is on another day, or "Ausschalten angehalten, noch 0:04:59" while it is paused.
QString countdownStatusLine(const QString& action, qint64 remainingSeconds, const QDateTime& now, bool paused);

} // namespace tarvo
