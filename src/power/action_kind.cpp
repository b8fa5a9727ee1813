#include "power/action_kind.h"

#include "power/action_table.h"

namespace tarvo {

PowerCode powerCodeFor(ActionKind action, bool force)
{
    const ActionRow& row = actionRow(action);
    return force ? row.forcedCode : row.code;
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
