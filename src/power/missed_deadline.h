#pragma once

#include <optional>

#include <QDateTime>
#include <QString>

#include "power/action_kind.h"

namespace tarvo {

// The question asked when the end time passed while the machine slept or Tarvo stood still, e.g.
// "Die End-Zeit 23:00 ist verstrichen, während der Rechner schlief. Jetzt ausschalten?". The date
// is named when the end time lies on another day than today.
QString missedDeadlineQuestion(std::optional<ActionKind> action, const QDateTime& endTime, const QDate& today);

} // namespace tarvo
