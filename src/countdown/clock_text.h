#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace tarvo {

// A long time format without its time-zone field ("HH:mm:ss t" gives "HH:mm:ss", "H:mm:ss (t)"
// gives "H:mm:ss"); quoted literal text is kept. "HH:mm:ss" where the format has no seconds.
QString timeFormatWithoutZone(const QString& format);

// The time of day in the locale's long time format without a time zone, e.g. "23:10:10".
QString longTimeText(const QTime& time, const QLocale& locale = QLocale());

// "Zeit: " and the long time, as both clock labels show it.
QString clockCaption(const QTime& time, const QLocale& locale = QLocale());

// "Zeit:" and the hour and minute without leading zeros, e.g. "Zeit:9:5" at 09:05.
QString shortClockCaption(const QTime& time);

} // namespace tarvo
