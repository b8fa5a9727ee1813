// The countdown's glue: start, what each second shows, pause and resume, cancel, and the question
// after a deadline that passed unseen. The rules live in the widget-free Countdown.
#include "app/form1.h"

#include <utility>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "base/look.h"
#include "countdown/duration.h"
#include "power/missed_deadline.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

namespace tarvo {

void Form1::connectCountdown()
{
    connect(m_countdown, &Countdown::stateChanged, this, &Form1::showCountdownState);
    connect(m_countdown, &Countdown::stepped, this, &Form1::showCountdownStep);
    connect(m_countdown, &Countdown::remainingChanged, this, [this](std::int32_t s) { RemainingSeconds = s; });
    connect(m_countdown, &Countdown::endTimeChanged, this, &Form1::showEndTime);
    connect(m_countdown, &Countdown::extended, this, &Form1::showExtended);
    connect(m_countdown, &Countdown::deadlinePassed, this, &Form1::askAfterMissedDeadline);
}

void Form1::Start_Click()
{
    if (!SelectedActionPossible())
        return;
    ShowSelectedAction();
    ZeitEingabe->setText(ZeitEingabe->text().trimmed());
    // A text that is no number keeps the duration last set through the entry fields.
    if (const auto seconds = minutesTextToSeconds(ZeitEingabe->text()))
        RemainingSeconds = *seconds;
    if (RemainingSeconds == 0)
        RemainingSeconds = 60; // an entry of 0 minutes means one minute
    if (RemainingSeconds < 60) {
        m_services.dialogs->message(this, MessageIcon::Information, QStringLiteral("Falsche Eingabe"),
                                    QStringLiteral("Sie haben einen ungültigen Wert eingetragen (es sind nur "
                                                   "Zahlen erlaubt)"));
        return;
    }
    Abbruch->setText(QStringLiteral("Timer Abbr&echen"));
    if (!AddToTrayIconCheck->isChecked()) {
        minimiseIfItCanComeBack();
    } else {
        MinimizeToTray();
        setTrayTitle(windowTitle());
    }
    Eingabemaske->hide();
    CountdownMaske->show();
    m_countdown->start(RemainingSeconds);
    Abbruch->setToolTip(QStringLiteral("Hiermit wird der Vorgang abgebrochen!"));
    Start->hide();
    Abbruch->setFocus();
    Endzeit_Eintragen();
    RefreshDurationFields();
    Set_Minute();
}

void Form1::Timer1_Timer()
{
    m_countdown->tick();
}

void Form1::showCountdownStep(const CountdownStep& s)
{
    AdvanceLed();
    Uhrzeit_Display->setText(clockText());
    if (s.refresh) {
        RefreshDurationFields();
        Set_Minute();
    }
    if (Akustik->isChecked() && s.warnComeBack)
        bringWindowBack(false);
    if (s.showSeconds)
        showSecondsLeft(s.seconds);
    if (s.comeBack)
        bringWindowBack(s.showBeforeRestore);
    if (Akustik->isChecked() && s.beep)
        m_services.beeper->beep();
    if (s.showFigures)
        Display->setText(QString::number(s.seconds));
    if (s.shutdownCaption) {
        MinutenDisplay->hide();
        fitRemainingDisplay();
        Display->setText(QStringLiteral("Shutdown!!"));
        setWindowTitle(QStringLiteral("Shutdown!!"));
    }
    if (s.pin)
        AlwaysOnTop1->SetToTop();
    if (s.blink)
        setTextColour(Display, *s.blink ? colours::blink : colours::white);
    if (s.fire) {
        Display->setText(QStringLiteral("Shutdown!!!"));
        setWindowTitle(QStringLiteral("Shutdown!!!"));
        ShutDown();
    }
}

void Form1::showSecondsLeft(std::int32_t n)
{
    Display->setText(QString::number(n));
    MinutenDisplay->setText(QStringLiteral("Sekunden"));
    placeUnitButton();
    setWindowTitle(QString::number(n) + QStringLiteral(" Sekunden ") + ActionLabel);
    if (AddToTrayIconCheck->isChecked() && isMinimized() && m_systemTray)
        m_systemTray->ChangeToolTipText(windowTitle());
}

void Form1::bringWindowBack(bool showBeforeRestore)
{
    requestActivationIfNeeded();
    const Qt::WindowStates normal = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (showBeforeRestore) {
        show();
        setWindowState(normal);
        return;
    }
    if (windowState() != normal)
        setWindowState(normal);
    if (isHidden())
        show();
}

void Form1::AdvanceLed()
{
    AktiveLED->setPixmap(m_countdown->ledLit() ? LiteGreenPic->pixmap() : GreenPic->pixmap());
}

void Form1::AktiveLED_DblClick()
{
    if (m_countdown->state() == Countdown::State::Running)
        m_countdown->pause();
    else
        m_countdown->resume();
}

// The clock runs whenever the countdown does not.
void Form1::showCountdownState(Countdown::State state)
{
    switch (state) {
    case Countdown::State::Running:
        Timer2->stop();
        AdvanceLed();
        break;
    case Countdown::State::Paused:
        AktiveLED->setPixmap(RedPic->pixmap());
        Timer2->start();
        Endzeit_Display->setText(QStringLiteral("PAUSE"));
        break;
    case Countdown::State::Idle:
        Timer2->start();
        break;
    case Countdown::State::Firing:
        Timer2->stop();
        break;
    }
}

// The end time moved against the wall clock, or the countdown (re)started: "End-Zeit" and the day
// caption tell it at once.
void Form1::showEndTime()
{
    if (m_countdown->state() != Countdown::State::Running)
        return;
    Endzeit_Eintragen();
    RefreshDurationFields();
}

// More time: out of the last minute's looks, back to the chosen unit.
void Form1::showExtended()
{
    MinutenDisplay->show();
    fitRemainingDisplay();
    setTextColour(Display, colours::white);
    RefreshDurationFields();
    Set_Minute();
}

void Form1::askAfterMissedDeadline(const QDateTime& endTime)
{
    bringWindowBack(true);
    AlwaysOnTop1->SetToTop();
    m_services.windowSystem->activate(this);
    Timer2->start(); // the clock goes on while the question is open
    const bool yes = m_services.dialogs->ask(
        this, QStringLiteral("End-Zeit verstrichen"),
        missedDeadlineQuestion(selectedAction(), endTime, m_services.clock->now().date()), false);
    if (m_ended)
        return;
    if (yes)
        m_countdown->fireNow();
    else
        CancelCountdown();
}

void Form1::CancelCountdown()
{
    const Countdown::State state = m_countdown->state();
    if (state != Countdown::State::Running && state != Countdown::State::Paused)
        return;
    Abbruch->setText(QStringLiteral("&Exit"));
    m_countdown->cancel();
    setTextColour(Display, palette().color(QPalette::HighlightedText));
    Eingabemaske->show();
    CountdownMaske->hide();
    Start->show();
    Start->setEnabled(false);
    actionButton(ActionKind::Ausschalten)->setFocus();
    Initialize();
    // Cancelling selects shut down again. In the Classic view ("C A") that click would carry the
    // shut down out at once: cancelling a countdown must never switch the computer off.
    const bool classic = std::exchange(ClassicMode, false);
    ActionButton_Click(ActionKind::Ausschalten);
    ClassicMode = classic;
    showMinutesFieldDuration();
}

} // namespace tarvo
