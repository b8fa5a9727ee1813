#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QString>
#include <QWidget>

#include "app/action_panel.h"
#include "app/system_services.h"
#include "app/window_panels.h"
#include "countdown/countdown.h"
#include "power/action_kind.h"

class QFrame;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tarvo {

class SystemTray;
struct CommandLineOptions;

// The main window: the view of Tarvo. It holds its controls, grouped per panel, and the state they
// share, all private; the rules live in the models and helpers it calls. Its member functions are
// spread over the subsystem folders (countdown/form1_countdown.cpp holds the countdown's handlers, ...).
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
    // The selected action's word ("Ausschalten" ...); the last one shown when none is selected.
    QString actionWord() const;

    // Each action's button (AusschaltenBtn ...), its caption (Label4 ...) and its option in the
    // hidden group (Check_Runterfahren ...), named as the action table names them.
    QPushButton* actionButton(ActionKind action) const;
    QLabel* actionCaption(ActionKind action) const;
    QRadioButton* actionOption(ActionKind action) const;

    // The never-shown owner of the tray icon; exists only while the icon is shown.
    SystemTray* systemTray() const { return m_systemTray.get(); }
    Services& services() { return m_services; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void buildWindow();
    void connectHandlers();
    void watchPassiveParts();
    // What a click on a passive part does; a move over one, true when the move is used up.
    void passiveClick(QWidget* part);
    bool passiveHover(QWidget* part, const QMouseEvent& mouse);
    void connectClassicAndQuit();
    void connectEntryHandlers();
    void connectWebLink();
    void applyRoundedRegion();
    // The entry panel's fields tell the duration the minutes field holds, counted from now.
    void showMinutesFieldDuration();

    void BefZeileAuswerten();
    // The command line's action, force, beeps, prompts, SETUP and Classic view, in this order.
    void applyCommandLineChoices(const CommandLineOptions& o);
    void showClassicView();
    void runShortcutSetup();
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

    // ---- controls, found by tests through their object names
    ActionPanel m_band;
    EntryPanel m_entry{};
    CountdownPanel m_counting{};
    // The hidden group of the actions' options.
    QFrame* Frame3 = nullptr;
    QPushButton* Abbruch = nullptr;
    QPushButton* JetztBtn = nullptr;
    // Covers part of the picture band in the Classic view.
    QLabel* Abdeckung = nullptr;
    QTimer* Timer2 = nullptr;

    Services m_services;
    QString m_commandLine;
    Countdown* m_countdown;
    std::unique_ptr<SystemTray> m_systemTray;
    bool m_hourFields = false; // the entry panel shows the hour and minute fields
    bool m_ended = false;
    bool m_powerRequestSent = false;
    bool m_powerRequestOut = false;
    bool m_closeQuestionOpen = false;
    int m_exitCode = 0;
};

} // namespace tarvo
