#include "power/windows_power.h"

namespace tarvo {

WindowsPower::WindowsPower(std::unique_ptr<Win32PowerApi> api)
    : m_api(std::move(api))
{
}

void WindowsPower::request(PowerCode code, PowerDone done)
{
    done(outcomeOf(requestWindowsPower(*m_api, code)));
}

PowerOutcome WindowsPower::outcomeOf(const WindowsPowerReport& report)
{
    const QString error = QString::number(report.error);
    switch (report.result) {
    case WindowsPowerResult::Requested:
        return PowerOutcome::success();
    case WindowsPowerResult::CodeOutOfRange:
        return PowerOutcome::failure(QStringLiteral("Reboot Fehler"));
    case WindowsPowerResult::TokenNotOpened:
        return PowerOutcome::failure(
            QStringLiteral("Das Zugriffstoken des Programms ließ sich nicht öffnen (Fehler %1).").arg(error));
    case WindowsPowerResult::PrivilegeUnknown:
        return PowerOutcome::failure(
            QStringLiteral("Das Recht „SeShutdownPrivilege“ ist dem System unbekannt (Fehler %1).").arg(error));
    case WindowsPowerResult::PrivilegeNotEnabled:
        return PowerOutcome::failure(
            QStringLiteral("Das Recht zum Herunterfahren ließ sich nicht aktivieren (Fehler %1).").arg(error));
    case WindowsPowerResult::PrivilegeNotHeld:
        return PowerOutcome::failure(QStringLiteral("Diesem Benutzer fehlt das Recht zum Herunterfahren."));
    }
    return PowerOutcome::failure(QStringLiteral("Unbekannter Fehler."));
}

} // namespace tarvo
