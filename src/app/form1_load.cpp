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
#include "app/command_line_duration.h"
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
    m_counting.VersionInfoLabel->setText(QStringLiteral("Tarvo ") + GetVersionNumber());
    m_counting.CountdownMaske->move(m_entry.Eingabemaske->pos());
    Initialize();
    if (!ClassicMode)
        ActionButton_Click(ActionKind::Ausschalten);
    const QString clock = clockText();
    m_entry.Uhrzeit_Frame1->setText(clock);
    m_counting.Uhrzeit_Display->setText(clock);
    ShowNeutralPictures();
    resize(twipsToPixels(kWindowWidthTwips), twipsToPixels(kCompactHeightTwips));
    applyRoundedRegion();
    show();
    QCoreApplication::processEvents();
    m_entry.AlwaysOnTop1->SetToTop();
    actionButton(ActionKind::Ausschalten)->setFocus();
    m_entry.WWWLink->setToolTip(QStringLiteral("Dies ist die ") + GetVersionNumber()
                        + QStringLiteral(" klicken sie hier im WWW nach einer neuen Version zu suchen"));
    SetMinutes(60);
    if (!m_commandLine.isEmpty())
        BefZeileAuswerten();
}

void Form1::BefZeileAuswerten()
{
    const CommandLineOptions o = scanCommandLine(BefZeileAbrufen());
    applyCommandLineChoices(o);
    m_entry.ZeitEingabe->setText(QStringLiteral("0"));
    const DurationApplied duration = applyCommandLineDuration(o, *m_entry.ZeitEingabe, *m_counting.Anz_Minuten);
    if (duration == DurationApplied::Now)
        JetztBtn_Click();
    // What was applied stays; the fields show the duration the minutes field holds.
    if (duration != DurationApplied::Applied)
        return showMinutesFieldDuration();
    if (!o.recognised())
        LightFlag_Click();
    if (o.tray) {
        m_counting.AddToTrayIconCheck->setChecked(true);
        m_entry.SystemTRayFrame1->setChecked(true);
        if (o.actionRequested()) {
            MinimizeToTray();
            setTrayTitle(windowTitle());
        }
    }
    if (o.recognised() && o.actionRequested()) {
        if (m_entry.ZeitEingabe->text() == QLatin1String("0"))
            m_entry.ZeitEingabe->setText(QStringLiteral("60"));
        ShowFullWindow();
        Start_Click();
    }
    RefreshDurationFields();
}

void Form1::applyCommandLineChoices(const CommandLineOptions& o)
{
    if (o.logOff)
        ActionButton_Click(ActionKind::Abmelden);
    if (o.hibernate)
        ActionButton_Click(ActionKind::Ruhezustand);
    if (o.standby)
        ActionButton_Click(ActionKind::Standby);
    if (o.restart)
        ActionButton_Click(ActionKind::Neustart);
    m_counting.Check_ForceShutdown->setChecked(o.force);
    if (o.shutdown)
        ActionButton_Click(ActionKind::Ausschalten);
    if (o.beep)
        m_counting.Akustik->setChecked(true);
    if (o.noPrompts)
        ConfirmImmediate = false;
    if (o.setup)
        runShortcutSetup();
    if (o.classic)
        showClassicView();
}

void Form1::showClassicView()
{
    ClassicMode = true;
    Abdeckung->show();
    m_entry.ClassicModeShowTimer->move(JetztBtn->x(), m_entry.ClassicModeShowTimer->y());
    m_entry.ClassicModeShowTimer->show();
    ShowPressedPictures();
    JetztBtn->hide();
    Abbruch->setText(QStringLiteral("&Abbrechen"));
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
