#include "power/action_table.h"

#include <array>

#include <QString>

namespace tarvo {
namespace {

constexpr std::array<ActionRow, 5> kRows{{
    {ActionKind::Ausschalten, "Ausschalten", "AusschaltenBtn", "Label4", "Check_Runterfahren", "shutdown",
     "Windows herunterfahren  auswählen", "Herunterfahren des Systems in", "Sofort ausschalten",
     "Ausschalten durchführen\r\rSoll Windows jetzt heruntergefahren werden?", power_code::Shutdown,
     power_code::PowerOff},
    {ActionKind::Neustart, "Neustart", "NeustartBtn", "Label3", "Check_NeuStarten", "restart",
     "Windows Neustart auswählen", "Neustart des Systems in", "Sofort neustarten",
     "Neustart durchführen\r\rSoll Windows jetzt neu gestartet werden?", power_code::Restart, power_code::Restart},
    {ActionKind::Standby, "Standby", "StandbyBtn", "Label2", "Check_Standby", "standby", "Standby-Modus auswählen",
     "Aktivierung des Standy-Modus in", "Sofort Standby",
     "In den Standby-Modus wechseln\r\rSoll der Standby - Modus jetzt aktiviert werden?", power_code::Standby,
     power_code::Standby},
    {ActionKind::Ruhezustand, "Ruhezustand", "RuhezustandBtn", "Label1", "Check_Ruhezustand", "hibernate",
     "Ruhezustand auswählen", "Aktivierung des Ruhezustands in", "Ruhezustand",
     "In den Ruhezustand-Modus wechseln\r\rSoll der Ruhezustand - Modus jetzt aktiviert werden?",
     power_code::Hibernate, power_code::Hibernate},
    {ActionKind::Abmelden, "Abmelden", "LogOffBtn", "Label6", "Check_LogOff", "logoff", "Benutzer Abmelden auswählen",
     "Abmelden des Benutzers in", "Sofort abmelden",
     "Benutzer Abmelden\r\rSoll der aktuelle Windows-Benutzer jetzt abgemeldet werden?", power_code::LogOff,
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

} // namespace tarvo
