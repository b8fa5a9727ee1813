#include "power/action_kind.h"

namespace tarvo {

PowerCode powerCodeFor(ActionKind action, bool force)
{
    switch (action) {
    case ActionKind::Ausschalten:
        return force ? power_code::PowerOff : power_code::Shutdown;
    case ActionKind::Neustart:
        return power_code::Restart;
    case ActionKind::Standby:
        return power_code::Standby;
    case ActionKind::Ruhezustand:
        return power_code::Hibernate;
    case ActionKind::Abmelden:
        return power_code::LogOff;
    }
    return power_code::Shutdown;
}

QString actionWord(ActionKind action)
{
    switch (action) {
    case ActionKind::Ausschalten:
        return QStringLiteral("Ausschalten");
    case ActionKind::Neustart:
        return QStringLiteral("Neustart");
    case ActionKind::Standby:
        return QStringLiteral("Standby");
    case ActionKind::Ruhezustand:
        return QStringLiteral("Ruhezustand");
    case ActionKind::Abmelden:
        return QStringLiteral("Abmelden");
    }
    return {};
}

QString powerCodeName(PowerCode code)
{
    switch (code) {
    case power_code::LogOff:
        return QStringLiteral("LogOff");
    case power_code::Shutdown:
        return QStringLiteral("Shutdown");
    case power_code::Restart:
        return QStringLiteral("Restart");
    case power_code::Hibernate:
        return QStringLiteral("Hibernate");
    case power_code::Standby:
        return QStringLiteral("Standby");
    case power_code::PowerOff:
        return QStringLiteral("PowerOff");
    default:
        return QStringLiteral("Code%1").arg(code);
    }
}

} // namespace tarvo
