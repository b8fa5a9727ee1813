// Start-up: the load sequence and the command line.
#include "app/form1.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/command_line.h"
#include "base/version.h"
#include "base/twips.h"
#include "countdown/clock_text.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

namespace tarvo {
namespace {
// Set when Tarvo is built (TARVO_WEB_PAGE).
const QString kWebPage = QString::fromUtf8(TARVO_WEB_PAGE);
}

QString Form1::GetVersionNumber()
{
    return QStringLiteral("Vers. ") + QLatin1String(kVersion);
}

QString Form1::BefZeileAbrufen(int maxArgs) const
{
    return firstWords(m_commandLine, maxArgs);
}

void Form1::Form_Load()
{
    Timer2->start();
    ScrollbarFocus = 1;
    DayCount = 0;
    ScrollbarFocus2 = 4;
    ClassicMode = false;
    ConfirmImmediate = true;
    GV_URL = kWebPage;
    VersionInfoLabel->setText(QStringLiteral("Tarvo ") + GetVersionNumber());
    CountdownMaske->move(Eingabemaske->pos());
    Initialize();
    if (!ClassicMode)
        ActionButton_Click(ActionKind::Ausschalten);
    const QString clock = clockText();
    Uhrzeit_Frame1->setText(clock);
    Uhrzeit_Display->setText(clock);
    ShowNeutralPictures();
    resize(twipsToPixels(kWindowWidthTwips), twipsToPixels(kCompactHeightTwips));
    applyRoundedRegion();
    show();
    QCoreApplication::processEvents();
    AlwaysOnTop1->SetToTop();
    actionButton(ActionKind::Ausschalten)->setFocus();
    WWWLink->setToolTip(QStringLiteral("Dies ist die ") + GetVersionNumber()
                        + QStringLiteral(" klicken sie hier im WWW nach einer neuen Version zu suchen"));
    SetMinutes(60);
    if (!m_commandLine.isEmpty())
        BefZeileAuswerten();
}

void Form1::BefZeileAuswerten()
{
    const CommandLineOptions o = scanCommandLine(BefZeileAbrufen());
    if (o.logOff)
        ActionButton_Click(ActionKind::Abmelden);
    if (o.hibernate)
        ActionButton_Click(ActionKind::Ruhezustand);
    if (o.standby)
        ActionButton_Click(ActionKind::Standby);
    if (o.restart)
        ActionButton_Click(ActionKind::Neustart);
    Check_ForceShutdown->setChecked(o.force);
    if (o.shutdown)
        ActionButton_Click(ActionKind::Ausschalten);
    if (o.beep)
        Akustik->setChecked(true);
    if (o.noPrompts)
        ConfirmImmediate = false;
    if (o.setup)
        runShortcutSetup();
    if (o.classic)
        showClassicView();
    ZeitEingabe->setText(QStringLiteral("0"));
    // What was applied stays; the fields show the duration the minutes field holds.
    if (!applyDuration(o))
        return showMinutesFieldDuration();
    if (!o.recognised())
        LightFlag_Click();
    if (o.tray) {
        AddToTrayIconCheck->setChecked(true);
        SystemTRayFrame1->setChecked(true);
        if (o.actionRequested()) {
            MinimizeToTray();
            setTrayTitle(windowTitle());
        }
    }
    if (o.recognised() && o.actionRequested()) {
        if (ZeitEingabe->text() == QLatin1String("0"))
            ZeitEingabe->setText(QStringLiteral("60"));
        ShowFullWindow();
        Start_Click();
    }
    RefreshDurationFields();
}

void Form1::showClassicView()
{
    ClassicMode = true;
    Abdeckung->show();
    ClassicModeShowTimer->move(JetztBtn->x(), ClassicModeShowTimer->y());
    ClassicModeShowTimer->show();
    ShowPressedPictures();
    JetztBtn->hide();
    Abbruch->setText(QStringLiteral("&Abbrechen"));
}

// Durations are 16-bit minutes. A number that does not fit, or an M or H without digits, ends the
// applying of the command line (false): what was applied stays, nothing after it happens. So does 0,
// which carries the action out at once.
bool Form1::applyDuration(const CommandLineOptions& o)
{
    if (o.minutes) {
        const auto minutes = digitsToInt16(*o.minutes);
        if (!minutes)
            return false;
        if (*minutes == 0) {
            JetztBtn_Click();
            return false;
        }
        ZeitEingabe->setText(*o.minutes);
        Anz_Minuten->setChecked(true);
    }
    if (o.hours) {
        const auto hours = digitsToInt16(*o.hours);
        if (!hours)
            return false;
        if (*hours == 0) {
            JetztBtn_Click();
            return false;
        }
        const int hourMinutes = int{*hours} * 60;
        const auto present = digitsToInt16(ZeitEingabe->text());
        if (hourMinutes > 32767 || !present || int{*present} + hourMinutes > 32767)
            return false;
        ZeitEingabe->setText(QString::number(int{*present} + hourMinutes));
        Anz_Minuten->setChecked(false);
    }
    return true;
}

void Form1::BringToFront()
{
    if (m_ended)
        return;
    if (m_systemTray)
        m_systemTray->RemoveTrayIcon();
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    m_services.windowSystem->activate(this);
}

} // namespace tarvo
