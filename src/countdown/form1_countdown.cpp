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
    m_entry.ZeitEingabe->setText(m_entry.ZeitEingabe->text().trimmed());
    // A text that is no number keeps the duration last set through the entry fields.
    if (const auto seconds = minutesTextToSeconds(m_entry.ZeitEingabe->text()))
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
    if (!m_counting.AddToTrayIconCheck->isChecked()) {
        minimiseIfItCanComeBack();
    } else {
        MinimizeToTray();
        setTrayTitle(windowTitle());
    }
    m_entry.Eingabemaske->hide();
    m_counting.CountdownMaske->show();
    m_countdown->start(RemainingSeconds);
    Abbruch->setToolTip(QStringLiteral("Hiermit wird der Vorgang abgebrochen!"));
    m_entry.Start->hide();
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
    m_counting.Uhrzeit_Display->setText(clockText());
    if (s.refresh) {
        RefreshDurationFields();
        Set_Minute();
    }
    if (m_counting.Akustik->isChecked() && s.warnComeBack)
        bringWindowBack(false);
    if (s.showSeconds)
        showSecondsLeft(s.seconds);
    if (s.comeBack)
        bringWindowBack(s.showBeforeRestore);
    if (m_counting.Akustik->isChecked() && s.beep)
        m_services.beeper->beep();
    if (s.showFigures)
        m_counting.Display->setText(QString::number(s.seconds));
    if (s.shutdownCaption) {
        m_counting.MinutenDisplay->hide();
        fitRemainingDisplay(m_counting);
        m_counting.Display->setText(QStringLiteral("Shutdown!!"));
        setWindowTitle(QStringLiteral("Shutdown!!"));
    }
    if (s.pin)
        m_entry.AlwaysOnTop1->SetToTop();
    if (s.blink)
        setTextColour(m_counting.Display, *s.blink ? colours::blink : colours::white);
    if (s.fire) {
        m_counting.Display->setText(QStringLiteral("Shutdown!!!"));
        setWindowTitle(QStringLiteral("Shutdown!!!"));
        ShutDown();
    }
}

void Form1::showSecondsLeft(std::int32_t n)
{
    m_counting.Display->setText(QString::number(n));
    m_counting.MinutenDisplay->setText(QStringLiteral("Sekunden"));
    placeUnitButton(m_counting);
    setWindowTitle(QString::number(n) + QStringLiteral(" Sekunden ") + ActionLabel);
    if (m_counting.AddToTrayIconCheck->isChecked() && isMinimized() && m_systemTray)
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
    m_counting.AktiveLED->setPixmap(m_countdown->ledLit() ? m_counting.LiteGreenPic->pixmap() : m_counting.GreenPic->pixmap());
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
        m_counting.AktiveLED->setPixmap(m_counting.RedPic->pixmap());
        Timer2->start();
        m_counting.Endzeit_Display->setText(QStringLiteral("PAUSE"));
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
    m_counting.MinutenDisplay->show();
    fitRemainingDisplay(m_counting);
    setTextColour(m_counting.Display, colours::white);
    RefreshDurationFields();
    Set_Minute();
}

void Form1::askAfterMissedDeadline(const QDateTime& endTime)
{
    bringWindowBack(true);
    m_entry.AlwaysOnTop1->SetToTop();
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
    setTextColour(m_counting.Display, palette().color(QPalette::HighlightedText));
    m_entry.Eingabemaske->show();
    m_counting.CountdownMaske->hide();
    m_entry.Start->show();
    m_entry.Start->setEnabled(false);
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
