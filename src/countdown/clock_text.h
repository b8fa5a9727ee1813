#pragma once

#include <QString>
#include <QTime>

namespace tarvo {

// The time of day in the system's long time format, without a time zone, e.g. "23:10:10". Where the
// locale gives no seconds, two digits each for hours, minutes and seconds.
QString longTimeText(const QTime& time);

// "Zeit: " and the long time, as both clock labels show it.
QString clockCaption(const QTime& time);

// "Zeit:" and the hour and minute without leading zeros, e.g. "Zeit:9:5" at 09:05.
QString shortClockCaption(const QTime& time);

} // namespace tarvo
