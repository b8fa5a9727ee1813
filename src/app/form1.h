#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/system_services.h"
#include "countdown/countdown.h"
#include "power/action_kind.h"
#include "shell/drag_start.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace tarvo {

class AlwaysOnTop;
class SystemTray;
struct CommandLineOptions;

// The main window: every control of Tarvo and the state they share. Its member functions are spread
// over the subsystem folders (countdown/form1_countdown.cpp holds the countdown's handlers, ...).
class Form1 : public QWidget {
    Q_OBJECT

public:
    // commandLine: the program's arguments joined with single blanks.
    Form1(Services services, QString commandLine, QWidget* parent = nullptr);
    ~Form1() override;

    // ---- start-up and command line
    void Form_Load();
    static QString GetVersionNumber();
    QString BefZeileAbrufen(int maxArgs = 10) const;
    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    // Another start of Tarvo asked this one to come to the front.
    void BringToFront();
    // The system asked Tarvo to end (SIGTERM, SIGINT, SIGHUP): it ends with 128 + the signal's
    // number, carrying nothing out.
    void EndOnSignal(int signalNumber);

    // ---- window
    void Initialize();
    // MinimizeWindow goes to the tray or the taskbar as the tray box says; MinimizeToTray always to the tray.
    void MinimizeWindow();
    void MinimizeToTray();
    void ShowFullWindow();
    void PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void LightFlag_Click();
    void AddToTrayIconCheck_Click();
    void SystemTRayFrame1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
    void ShowNeutralPictures();
    void ShowPressedPictures();
    void ActionButton_MouseMove(ActionKind action);
    void ClassicModeShowTimer_Click();
    void WWWLink_Click();

    // ---- quitting
    void Abbruch_Click();
    // A close request of the window or of the desktop's log-out. mayAsk is asked right before a
    // question would be shown; true when the close is cancelled.
    bool Form_QueryUnload(const std::function<bool()>& mayAsk);

    // ---- countdown
    Countdown& countdown() { return *m_countdown; }
    void Start_Click();
    // One tick of the countdown's timer.
    void Timer1_Timer();
    // Cancels a running or paused countdown as "Timer Abbrechen" does; otherwise nothing.
    void CancelCountdown();
    // The clock's tick: writes the time into both clock labels.
    void Timer2_Timer();
    void AktiveLED_DblClick();
    // The light's blink step while counting (AktiveLED_DblClick pauses and resumes).
    void AdvanceLed();
    // Shows the remaining time: the display, the window title and the tray tooltip (not the duration).
    void Set_Minute();
    void Anz_Minuten_Click();
    // Label5_Click and Command1_Click switch the entry panel between minutes and hours; Anz_Minuten_Click
    // switches the countdown's display.
    void Label5_Click();
    void Command1_Click();
    void Label5_MouseMove();
    // Writes the end time into the countdown panel (RefreshDurationFields: the entry panel's fields).
    void Endzeit_Eintragen();

    // ---- duration
    // Sets the duration to whole minutes and rewrites every duration field (not the display).
    void SetMinutes(std::int16_t minutes);
    void AddMinutes(std::int16_t minutes, bool roundToTen);
    void SubtractMinutes(std::int16_t minutes, bool roundToTen);
    // Rewrites the duration fields and the day caption from the duration; while counting, only the day count.
    void RefreshDurationFields();
    // Leaving the minutes field (DurationField_Validate: the hour and end-time fields).
    void ZeitEingabe_Validate();

    // ---- time entry
    // The minutes field selects its text; the other duration fields also note their text for the leave.
    void ZeitEingabe_GotFocus();
    void DurationField_GotFocus(QLineEdit* field);
    void DurationField_Validate(QLineEdit* field);
    void VScroll1_Change();
    void VScroll2_Change();
    void PresetButton_Click(std::int16_t minutes);

    // ---- actions
    void ActionButton_Click(ActionKind action);
    void JetztBtn_Click();
    // Writes the selected action's texts into the window (selectedAction only reads it).
    void ShowSelectedAction();
    std::optional<ActionKind> selectedAction() const;
    // Asks the system whether the selected action can be carried out here; if not, says why in a
    // message box and returns false.
    bool SelectedActionPossible();
    // Carries out the selected action through PowerRequest, once.
    void ShutDown();
    // A power request went out and its answer is still awaited.
    bool powerRequestOut() const { return m_powerRequestOut; }

    // The duration in seconds; while counting, the seconds left (the model's remaining time between ticks).
    std::int32_t remainingSeconds() const { return RemainingSeconds; }
    bool classicMode() const { return ClassicMode; }
    const QString& webAddress() const { return GV_URL; }

    // ---- shared state
    std::int32_t RemainingSeconds = 0;
    std::int16_t DayCount = 0;
    QString ActionLabel;
    QString FocusedFieldText;
    std::int16_t ScrollbarFocus = 1;
    std::int16_t ScrollbarFocus2 = 4;
    bool ClassicMode = false;
    bool ConfirmImmediate = true;
    QString GV_URL;

    // ---- controls directly on the window
    QLabel* Picture1 = nullptr;
    QFrame* Eingabemaske = nullptr;
    QFrame* CountdownMaske = nullptr;
    QFrame* Frame3 = nullptr;
    QLabel* Abdeckung = nullptr;
    QPushButton* JetztBtn = nullptr;
    QPushButton* Abbruch = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    // ---- action panel: each action's button (AusschaltenBtn ...), its caption (Label4 ...) and its
    // option in the hidden group (Check_Runterfahren ...), named as the action table names them.
    QPushButton* actionButton(ActionKind action) const;
    QLabel* actionCaption(ActionKind action) const;
    QRadioButton* actionOption(ActionKind action) const;
    QLabel* InfoField = nullptr;
    QLabel* LightFlag = nullptr;

    // ---- entry panel
    QPushButton* ClassicModeShowTimer = nullptr;
    QLabel* Display0 = nullptr;
    QLineEdit* ZeitEingabe = nullptr;
    QLineEdit* CounterHourText = nullptr;
    QLineEdit* CounterMinuteText = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* AnzahlTageLabel = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* HourTimeText = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* MinuteTimeText = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QLabel* Label9 = nullptr;
    QFrame* Frame1 = nullptr;
    QPushButton* Btn_15 = nullptr;
    QPushButton* Btn_30 = nullptr;
    QPushButton* Btn_45 = nullptr;
    QPushButton* Btn_60 = nullptr;
    QPushButton* Btn_90 = nullptr;
    QPushButton* Btn_120 = nullptr;
    QPushButton* Btn_180 = nullptr;
    QPushButton* Btn_24 = nullptr;
    QCheckBox* SystemTRayFrame1 = nullptr;
    QLabel* WWWLink = nullptr;
    AlwaysOnTop* AlwaysOnTop1 = nullptr;
    QPushButton* Start = nullptr;
    QLabel* Uhrzeit_Frame1 = nullptr;
    QFrame* Line1 = nullptr;

    // ---- countdown panel
    QLabel* Display2 = nullptr;
    QLabel* Display = nullptr;
    QLabel* MinutenDisplay = nullptr;
    QPushButton* ChangeMinuteHourBtn = nullptr;
    QLabel* TageCaption = nullptr;
    QCheckBox* Anz_Minuten = nullptr;
    QCheckBox* Check_ForceShutdown = nullptr;
    QCheckBox* Akustik = nullptr;
    QCheckBox* AddToTrayIconCheck = nullptr;
    QLabel* Endzeit_Display = nullptr;
    QLabel* Uhrzeit_Display = nullptr;
    QLabel* VersionInfoLabel = nullptr;
    QLabel* AktiveLED = nullptr;
    QLabel* RedPic = nullptr;
    QLabel* LiteGreenPic = nullptr;
    QLabel* GreenPic = nullptr;

    // The never-shown owner of the tray icon; exists only while the icon is shown.
    SystemTray* systemTray() const { return m_systemTray.get(); }
    Services& services() { return m_services; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildActionPanel();
    void buildEntryPanel();
    void buildCountdownPanel();
    void buildActionGroup();
    void setKeyboardOrder();
    void connectHandlers();
    void connectClassicAndQuit();
    void watchSessionEnd();
    void connectEntryHandlers();
    void connectWebLink();
    void applyRoundedRegion();
    void fitRemainingDisplay();
    // The button beside the unit keeps the same gap to "Sekunden" as to "Minuten" and "Stunden".
    void placeUnitButton();
    // The entry panel's fields tell the duration the minutes field holds, counted from now.
    void showMinutesFieldDuration();
    void armDrag(QWidget* source, Qt::MouseButton button, QPoint globalPos);
    bool dragOnMove(QWidget* source, const QMouseEvent& event);
    // The mouse rules of the passive parts; true when the event is used up.
    bool doubleClickOn(QWidget* widget, const QMouseEvent& mouse);
    bool pressOn(QWidget* widget, const QMouseEvent& mouse);
    bool releaseOn(QWidget* widget, const QMouseEvent& mouse);
    bool moveOn(QWidget* widget, const QMouseEvent& mouse, bool panel);
    void passiveClick(QWidget* source);

    void BefZeileAuswerten();
    void showClassicView();
    bool applyDuration(const CommandLineOptions& o);
    void runShortcutSetup();
    void showActionPicture(ActionKind action, bool pressed);
    void connectCountdown();
    void showCountdownState(Countdown::State state);
    void showCountdownStep(const CountdownStep& step);
    void showSecondsLeft(std::int32_t seconds);
    void showEndTime();
    void showExtended();
    void askAfterMissedDeadline(const QDateTime& endTime);
    bool countdownIdle() const { return m_countdown->state() == Countdown::State::Idle; }
    void bringWindowBack(bool showBeforeRestore);
    void minimiseIfItCanComeBack();
    void requestActivationIfNeeded();
    QString clockText() const;
    void setTrayTitle(const QString& title);
    void unloadSystemTray();
    void PowerRequest(PowerCode code);
    void PowerRequestDone(PowerCode code, const PowerOutcome& outcome);
    void EndProgram(int exitCode);

    bool isActionCaption(const QWidget* widget) const;

    struct ActionControls {
        QPushButton* button = nullptr;
        QLabel* caption = nullptr;
        QRadioButton* option = nullptr;
    };
    // Indexed by ActionKind.
    std::array<ActionControls, 5> m_actionControls{};

    Services m_services;
    QString m_commandLine;
    Countdown* m_countdown;
    std::unique_ptr<SystemTray> m_systemTray;
    DragStart m_drag{*this};
    QPointer<QWidget> m_clickCandidate;
    bool m_rightMinimised = false;
    bool m_hourFields = false; // the entry panel shows the hour and minute fields
    bool m_ended = false;
    bool m_powerRequestSent = false;
    bool m_powerRequestOut = false;
    bool m_closeQuestionOpen = false;
    int m_exitCode = 0;
};

} // namespace tarvo
