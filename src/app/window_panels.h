#pragma once

// The main window's entry and countdown panels: each builder makes the panel's controls with their
// names, places, captions, tooltips and looks, and hands them back; the window connects them.
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace tarvo {

class AlwaysOnTop;
class WindowSystem;

struct EntryPanel {
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

EntryPanel buildEntryPanel(QFrame* panel, WindowSystem& windowSystem);
CountdownPanel buildCountdownPanel(QFrame* panel);

} // namespace tarvo
