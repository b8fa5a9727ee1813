#include "app/window_accessibility.h"

#include <array>

#include <QWidget>

#include "base/accessible_texts.h"
#include "power/action_table.h"

namespace tarvo {
namespace {

// A null name keeps the caption, which already says what the control does.
constexpr std::array<AccessibleText, 40> kTexts{{
    {"Picture1", "Tarvo", "Doppelklick minimiert das Fenster"},
    {"Eingabemaske", "Eingabe der Zeit", "Doppelklick minimiert das Fenster"},
    {"CountdownMaske", "Countdown", "Doppelklick minimiert das Fenster"},
    {"JetztBtn", nullptr, "Führt die gewählte Aktion sofort durch"},
    {"Abbruch", nullptr, "Beendet das Programm oder bricht einen laufenden Countdown ab"},
    {"LightFlag", "Info", "Öffnet das Info- und Setup-Fenster"},
    {"InfoField", "Info anzeigen", "Zeigt das Info-Symbol, wenn die Maus darüber steht"},
    {"ClassicModeShowTimer", nullptr, "Schaltet den Timer-Modus ein"},
    {"Display0", nullptr, "Die gewählte Aktion"},
    {"ZeitEingabe", "Minuten", "Anzahl der Minuten, nach denen die Aktion ausgeführt wird"},
    {"CounterHourText", "Stunden", "Anzahl der Stunden, nach denen die Aktion ausgeführt wird"},
    {"CounterMinuteText", "Minuten", "Anzahl der Minuten zu den Stunden"},
    {"VScroll1", "Minuten ändern", "Erhöht oder verringert die Minuten"},
    {"Label5", nullptr, "Doppelklick ändert zwischen Minuten- und Stunden-Anzeige"},
    {"Command1", "Minuten / Stunden umschalten", "Schaltet die Eingabe zwischen Minuten und Stunden um"},
    {"AnzahlTageLabel", "Tage bis zur End Zeit", "Das End-Datum, wenn es nicht heute ist"},
    {"HourTimeText", "End Zeit (Stunden)", "Stunde, zu der die Aktion ausgeführt wird"},
    {"MinuteTimeText", "End Zeit (Minuten)", "Minute, zu der die Aktion ausgeführt wird"},
    {"VScroll2", "End Zeit ändern", "Verschiebt die End Zeit"},
    {"Frame1", "Vorgaben", "Feste Zeiten von 15 Minuten bis 24 Stunden"},
    {"Btn_15", "15 Minuten", "Setzt die Zeit auf 15 Minuten"},
    {"Btn_30", "30 Minuten", "Setzt die Zeit auf 30 Minuten"},
    {"Btn_45", "45 Minuten", "Setzt die Zeit auf 45 Minuten"},
    {"Btn_60", "1 Stunde", "Setzt die Zeit auf 60 Minuten"},
    {"Btn_90", "1 1/2 Stunden", "Setzt die Zeit auf 90 Minuten"},
    {"Btn_120", "2 Stunden", "Setzt die Zeit auf 120 Minuten"},
    {"Btn_180", "3 Stunden", "Setzt die Zeit auf 180 Minuten"},
    {"Btn_24", "24 Stunden", "Setzt die Zeit auf 1440 Minuten"},
    {"SystemTRayFrame1", nullptr, "Nach dem Start das Fenster zum System-Tray minimieren"},
    {"WWWLink", nullptr, "Öffnet die Web-Seite von Tarvo"},
    {"AlwaysOnTop1", "Immer im Vordergrund", "Hält das Fenster über allen anderen Fenstern"},
    {"Start", nullptr, "Startet den Countdown und minimiert das Fenster"},
    {"ChangeMinuteHourBtn", "Minuten / Stunden umschalten", "Zeigt die Restzeit in Minuten oder in Stunden"},
    {"Anz_Minuten", nullptr, "Zeigt die Restzeit nur in Minuten statt in Stunden:Minuten"},
    {"Check_ForceShutdown", nullptr, "Beendet Programme, die nicht mehr reagieren"},
    {"Akustik", nullptr, "Warnung und Pieptöne in den letzten 20 Sekunden"},
    {"AddToTrayIconCheck", nullptr, "Minimiert dieses Fenster in den System-Tray"},
    {"Display", "Restzeit", "Klick schaltet zwischen Minuten und Stunden um"},
    {"Endzeit_Display", "End Zeit", "Die voraussichtliche Zeit der Aktion"},
    {"AktiveLED", "Pause / Fortsetzen", "Doppelklick hält den Countdown an oder setzt ihn fort"},
}};

} // namespace

void setWindowAccessibleTexts(QWidget& window)
{
    applyAccessibleTexts(window, kTexts);
    for (const ActionRow& row : actionTable()) {
        if (auto* button = window.findChild<QWidget*>(QLatin1String(row.buttonName))) {
            button->setAccessibleName(QString::fromUtf8(row.accessibleName));
            button->setAccessibleDescription(QString::fromUtf8(row.accessibleDescription));
        }
    }
}

} // namespace tarvo
