#pragma once

// The main window's entry and countdown panels: each builder makes the panel's controls with their
// names, places, captions, tooltips and looks, and hands them back; the window connects them.
// Also the layout rules of the countdown panel's figures.
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace tarvo {

class AlwaysOnTop;
class WindowSystem;

struct EntryPanel {
    QFrame* Eingabemaske;
    QPushButton* ClassicModeShowTimer;
    QLabel* Display0;
    QLineEdit* ZeitEingabe;
    QLineEdit* CounterHourText;
    QLineEdit* CounterMinuteText;
    QScrollBar* VScroll1;
    QLabel* Label5;
    QPushButton* Command1;
    QLabel* AnzahlTageLabel;
    QLabel* Label8;
    QLineEdit* HourTimeText;
    QLabel* Label10;
    QLineEdit* MinuteTimeText;
    QScrollBar* VScroll2;
    QLabel* Label9;
    QFrame* Frame1;
    // Btn_15, Btn_30, Btn_45, Btn_60, Btn_90, Btn_120, Btn_180, Btn_24 from left to right.
    std::array<QPushButton*, 8> presets;
    QCheckBox* SystemTRayFrame1;
    QLabel* WWWLink;
    AlwaysOnTop* AlwaysOnTop1;
    QPushButton* Start;
    QLabel* Uhrzeit_Frame1;
    QFrame* Line1;
};

struct CountdownPanel {
    QFrame* CountdownMaske;
    QLabel* Display2;
    QLabel* Display;
    QLabel* MinutenDisplay;
    QPushButton* ChangeMinuteHourBtn;
    QLabel* TageCaption;
    QCheckBox* Anz_Minuten;
    QCheckBox* Check_ForceShutdown;
    QCheckBox* Akustik;
    QCheckBox* AddToTrayIconCheck;
    QLabel* Endzeit_Display;
    QLabel* Uhrzeit_Display;
    QLabel* VersionInfoLabel;
    QLabel* AktiveLED;
    // The light's three pictures, never shown themselves.
    QLabel* RedPic;
    QLabel* LiteGreenPic;
    QLabel* GreenPic;
};

// Each panel frame is made on window, as the window's next child.
EntryPanel buildEntryPanel(QWidget* window, WindowSystem& windowSystem);
CountdownPanel buildCountdownPanel(QWidget* window);

// The two scroll bars as spin buttons (entry/spin_steps.h): one step per change of value, the focus
// taken by a click or the wheel.
void useAsSpinButtons(const EntryPanel& panel);

// The figures stand right-aligned against their unit and may grow to the left ("336:00" is wider
// than the box the layout gives them); once the unit is hidden ("Shutdown!!"), they take the row.
void fitRemainingDisplay(const CountdownPanel& panel);
// The button beside the unit keeps the same gap to "Sekunden" as to "Minuten" and "Stunden".
void placeUnitButton(const CountdownPanel& panel);

} // namespace tarvo
