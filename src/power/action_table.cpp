#include "power/action_table.h"

#include <array>

#include <QString>

namespace tarvo {
namespace {

// The texts that name the system: Windows on Windows, the computer and the user elsewhere.
#if defined(Q_OS_WIN)
#define TARVO_SHUTDOWN_TIP "Windows herunterfahren  auswählen"
#define TARVO_RESTART_TIP "Windows Neustart auswählen"
#define TARVO_SHUTDOWN_QUESTION "Soll Windows jetzt heruntergefahren werden?"
#define TARVO_RESTART_QUESTION "Soll Windows jetzt neu gestartet werden?"
#define TARVO_LOGOFF_QUESTION "Soll der aktuelle Windows-Benutzer jetzt abgemeldet werden?"
#else
#define TARVO_SHUTDOWN_TIP "Rechner herunterfahren  auswählen"
#define TARVO_RESTART_TIP "Neustart auswählen"
#define TARVO_SHUTDOWN_QUESTION "Soll der Rechner jetzt heruntergefahren werden?"
#define TARVO_RESTART_QUESTION "Soll der Rechner jetzt neu gestartet werden?"
#define TARVO_LOGOFF_QUESTION "Soll der aktuelle Benutzer jetzt abgemeldet werden?"
#endif

constexpr std::array<ActionRow, 5> kRows{{
    {ActionKind::Ausschalten, "Ausschalten", "AusschaltenBtn", "Label4", "Check_Runterfahren", "shutdown",
     TARVO_SHUTDOWN_TIP, "Herunterfahren des Systems in", "Sofort ausschalten",
     "Ausschalten durchführen\r\r" TARVO_SHUTDOWN_QUESTION, "Aktion Ausschalten",
     "Wählt das Herunterfahren des Rechners, wenn die Zeit abgelaufen ist", power_code::Shutdown,
     power_code::PowerOff},
    {ActionKind::Neustart, "Neustart", "NeustartBtn", "Label3", "Check_NeuStarten", "restart",
     TARVO_RESTART_TIP, "Neustart des Systems in", "Sofort neustarten",
     "Neustart durchführen\r\r" TARVO_RESTART_QUESTION, "Aktion Neustart",
     "Wählt den Neustart des Rechners, wenn die Zeit abgelaufen ist", power_code::Restart, power_code::Restart},
    {ActionKind::Standby, "Standby", "StandbyBtn", "Label2", "Check_Standby", "standby", "Standby-Modus auswählen",
     "Aktivierung des Standby-Modus in", "Sofort Standby",
     "In den Standby-Modus wechseln\r\rSoll der Standby - Modus jetzt aktiviert werden?", "Aktion Standby",
     "Wählt den Standby-Modus, wenn die Zeit abgelaufen ist", power_code::Standby,
     power_code::Standby},
    {ActionKind::Ruhezustand, "Ruhezustand", "RuhezustandBtn", "Label1", "Check_Ruhezustand", "hibernate",
     "Ruhezustand auswählen", "Aktivierung des Ruhezustands in", "Ruhezustand",
     "In den Ruhezustand-Modus wechseln\r\rSoll der Ruhezustand - Modus jetzt aktiviert werden?",
     "Aktion Ruhezustand", "Wählt den Ruhezustand, wenn die Zeit abgelaufen ist",
     power_code::Hibernate, power_code::Hibernate},
    {ActionKind::Abmelden, "Abmelden", "LogOffBtn", "Label6", "Check_LogOff", "logoff", "Benutzer Abmelden auswählen",
     "Abmelden des Benutzers in", "Sofort abmelden",
     "Benutzer Abmelden\r\r" TARVO_LOGOFF_QUESTION, "Aktion Abmelden",
     "Wählt das Abmelden des Benutzers, wenn die Zeit abgelaufen ist", power_code::LogOff,
     power_code::LogOff},
}};

// Each row sits at the index of its kind, so a lookup needs no search.
constexpr bool rowsInKindOrder()
{
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(rowsInKindOrder());

} // namespace

std::span<const ActionRow> actionTable()
{
    return kRows;
}

const ActionRow& actionRow(ActionKind action)
{
    return kRows.at(static_cast<std::size_t>(action));
}

const ActionRow* actionRowByWord(const QString& word)
{
    for (const ActionRow& row : kRows) {
        if (word == QLatin1String(row.word))
            return &row;
    }
    return nullptr;
}

QString immediateQuestion(const QString& actionLabel)
{
    if (const ActionRow* row = actionRowByWord(actionLabel))
        return QString::fromUtf8(row->question);
    return QStringLiteral("In den ") + actionLabel + QStringLiteral("-Modus wechseln\r\r") + QStringLiteral("Soll der ")
           + actionLabel + QStringLiteral(" - Modus jetzt aktiviert werden?");
}

} // namespace tarvo
