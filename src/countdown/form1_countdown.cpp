// The countdown: start, the one-second tick, pause and resume, cancel.
#include "app/form1.h"

#include <limits>
#include <utility>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "base/look.h"
#include "countdown/duration.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

namespace tarvo {
namespace {

// The seconds left at which the warning beeps sound.
bool isBeepSecond(std::int32_t n)
{
    switch (n) {
    case 60: case 30: case 25: case 20: case 15: case 10: case 7: case 5: case 3: case 2: case 1:
        return true;
    default:
        return false;
    }
}

} // namespace

void Form1::Start_Click()
{
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
    Timer2->stop();
    Abbruch->setText(QStringLiteral("Timer Abbr&echen"));
    if (!AddToTrayIconCheck->isChecked()) {
        showMinimized();
    } else {
        MinimizeToTray();
        setTrayTitle(windowTitle());
    }
    Eingabemaske->hide();
    CountdownMaske->show();
    Timer1->start();
    Abbruch->setToolTip(QStringLiteral("Hiermit wird der Vorgang abgebrochen!"));
    Start->hide();
    Abbruch->setFocus();
    Endzeit_Eintragen();
    RefreshDurationFields();
    Set_Minute();
}

void Form1::Timer1_Timer()
{
    if (RemainingSeconds > std::numeric_limits<std::int32_t>::min())
        --RemainingSeconds;
    const std::int32_t n = RemainingSeconds;

    const QString clock = clockText();
    if (!CountdownMaske->isHidden()) {
        AdvanceLed();
        Uhrzeit_Display->setText(clock);
    } else {
        Uhrzeit_Frame1->setText(clock);
    }

    if (n % 10 == 0) {
        RefreshDurationFields();
        Set_Minute();
    }
    if (Akustik->isChecked() && n < 60)
        bringWindowBack(false);

    if (n > 25 && n != 60 && n != 30) {
        if (n >= 60)
            return;
        Display->setText(QString::number(n));
        MinutenDisplay->setText(QStringLiteral("Sekunden"));
        setWindowTitle(QString::number(n) + QStringLiteral(" Sekunden ") + ActionLabel);
        if (AddToTrayIconCheck->isChecked() && isMinimized() && m_systemTray)
            m_systemTray->ChangeToolTipText(windowTitle());
        return;
    }

    // The last 25 seconds, and the marks at 60 and 30: the window comes back whatever the options.
    bringWindowBack(n < 10);
    if (Akustik->isChecked() && isBeepSecond(n))
        m_services.beeper->beep();
    Display->setText(QString::number(n));
    if (n == 1) {
        MinutenDisplay->hide();
        fitRemainingDisplay();
        Display->setText(QStringLiteral("Shutdown!!"));
        setWindowTitle(QStringLiteral("Shutdown!!"));
    }
    if (n >= 1) {
        if (n == 60)
            AlwaysOnTop1->SetToTop();
        if (n < 31)
            setTextColour(Display, textColour(Display) == colours::blink ? colours::white : colours::blink);
    }
    if (n <= 0) {
        Display->setText(QStringLiteral("Shutdown!!!"));
        setWindowTitle(QStringLiteral("Shutdown!!!"));
        Timer1->stop();
        Timer2->stop();
        ShutDown();
    }
}

void Form1::bringWindowBack(bool showBeforeRestore)
{
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
    const bool lit = AktiveLED->pixmap().cacheKey() == LiteGreenPic->pixmap().cacheKey();
    AktiveLED->setPixmap(lit ? GreenPic->pixmap() : LiteGreenPic->pixmap());
}

void Form1::AktiveLED_DblClick()
{
    if (Timer1->isActive()) {
        AktiveLED->setPixmap(RedPic->pixmap());
        Timer1->stop();
        Timer2->start();
        Endzeit_Display->setText(QStringLiteral("PAUSE"));
    } else {
        AktiveLED->setPixmap(LiteGreenPic->pixmap());
        Timer1->start();
        Endzeit_Eintragen();
        Timer2->stop();
    }
}

void Form1::CancelCountdown()
{
    setTextColour(Display, palette().color(QPalette::HighlightedText));
    Timer1->stop();
    Timer2->start();
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
}

} // namespace tarvo
