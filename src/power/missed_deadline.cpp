#include "power/missed_deadline.h"

namespace tarvo {
namespace {

// "Jetzt ...?" for each action.
QString nowDoing(std::optional<ActionKind> action)
{
    if (!action)
        return QStringLiteral("ausführen");
    switch (*action) {
    case ActionKind::Ausschalten:
        return QStringLiteral("ausschalten");
    case ActionKind::Neustart:
        return QStringLiteral("neu starten");
    case ActionKind::Standby:
        return QStringLiteral("in den Standby-Modus wechseln");
    case ActionKind::Ruhezustand:
        return QStringLiteral("in den Ruhezustand wechseln");
    case ActionKind::Abmelden:
        return QStringLiteral("abmelden");
    }
    return QStringLiteral("ausführen");
}

} // namespace

QString missedDeadlineQuestion(std::optional<ActionKind> action, const QDateTime& endTime, const QDate& today)
{
    QString when = endTime.time().toString(QStringLiteral("HH:mm"));
    if (endTime.date() != today)
        when = endTime.date().toString(QStringLiteral("d.M.")) + QLatin1Char(' ') + when;
    return QStringLiteral("Die End-Zeit %1 ist verstrichen, während der Rechner schlief. Jetzt %2?")
        .arg(when, nowDoing(action));
}

} // namespace tarvo
