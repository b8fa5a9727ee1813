// The window's own behaviour: minimising, the tray, growing, the info icon and what its passive
// parts do when clicked or hovered.
#include "app/form1.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

#include "app/passive_parts.h"
#include "base/look.h"
#include "base/twips.h"
#include "countdown/clock_text.h"
#include "info/info_dialog.h"
#include "power/action_table.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

namespace tarvo {

void Form1::connectHandlers()
{
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(m_entry.Start, &QPushButton::clicked, this, &Form1::Start_Click);
    connect(Abbruch, &QPushButton::clicked, this, &Form1::Abbruch_Click);
    connect(JetztBtn, &QPushButton::clicked, this, &Form1::JetztBtn_Click);
    for (const ActionRow& row : actionTable()) {
        connect(actionButton(row.kind), &QPushButton::clicked, this,
                [this, action = row.kind] { ActionButton_Click(action); });
    }
    // Check boxes react to a change made by Tarvo itself as to a click.
    connect(m_counting.Anz_Minuten, &QCheckBox::toggled, this, &Form1::Anz_Minuten_Click);
    connect(m_counting.AddToTrayIconCheck, &QCheckBox::toggled, this, &Form1::AddToTrayIconCheck_Click);
    // The mouse is handled below; the keyboard toggles the entry panel's box, which mirrors the other.
    connect(m_entry.SystemTRayFrame1, &QCheckBox::clicked, this,
            [this](bool checked) { m_counting.AddToTrayIconCheck->setChecked(checked); });
    connect(m_counting.ChangeMinuteHourBtn, &QPushButton::clicked, this, [this] { m_counting.Anz_Minuten->toggle(); });
    connect(m_entry.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    // Esc anywhere in the window, whichever control has the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &Form1::Abbruch_Click);
    watchPassiveParts();
}

void Form1::watchPassiveParts()
{
    PassiveParts::Hooks hooks;
    hooks.minimise = [this] { MinimizeWindow(); };
    hooks.click = [this](QWidget* part) { passiveClick(part); };
    hooks.lightDoubleClick = [this] { AktiveLED_DblClick(); };
    hooks.trayBoxPress = [this](const QMouseEvent& mouse) { SystemTRayFrame1_MouseDown(mouse.button(), mouse.modifiers()); };
    hooks.hover = [this](QWidget* part, const QMouseEvent& mouse) { return passiveHover(part, mouse); };
    new PassiveParts(*this, *m_band.LightFlag, std::move(hooks));
}

void Form1::passiveClick(QWidget* part)
{
    if (part == m_counting.Display)
        Anz_Minuten_Click();
    else if (part == m_counting.MinutenDisplay)
        m_counting.Anz_Minuten->toggle();
    else if (part == m_entry.Label5)
        Label5_Click();
    else if (part == m_band.LightFlag)
        LightFlag_Click();
}

bool Form1::passiveHover(QWidget* part, const QMouseEvent& mouse)
{
    if (part == m_entry.Label5) {
        Label5_MouseMove();
        return true;
    }
    if (part == m_band.Picture1 && ClassicMode && mouse.buttons() == Qt::NoButton)
        ShowPressedPictures();
    if (part == m_entry.Eingabemaske) {
        setTextColour(m_entry.Label5, colours::entryText);
        setTextColour(m_entry.WWWLink, colours::link);
    }
    return false;
}

void Form1::Initialize()
{
    Abbruch->setToolTip(QStringLiteral("Programm beenden"));
    setWindowTitle(QStringLiteral("Tarvo"));
    m_entry.VScroll1->setValue(3);
    m_entry.VScroll2->setValue(3);
    for (QScrollBar* bar : {m_entry.VScroll1, m_entry.VScroll2}) {
        bar->setMaximum(100);
        bar->setMinimum(-100);
    }
    m_counting.Uhrzeit_Display->setText(shortClockCaption(m_services.clock->now().time()));
    ShowNeutralPictures();
}

void Form1::MinimizeWindow()
{
    if (m_counting.AddToTrayIconCheck->isChecked()) {
        MinimizeToTray();
        if (m_systemTray)
            m_systemTray->ChangeToolTipText(windowTitle());
    } else {
        minimiseIfItCanComeBack();
    }
}

// Tarvo comes back for the last minute by itself. Where the window system does not let a program
// restore its minimised window, it is not minimised at all: the countdown would end unseen.
void Form1::minimiseIfItCanComeBack()
{
    if (m_services.windowSystem->canRestoreMinimised())
        showMinimized();
}

// Where a window cannot raise itself, it at least asks the desktop for the focus or for attention,
// once the caller has shown it again.
void Form1::requestActivationIfNeeded()
{
    if (m_services.windowSystem->canRestoreMinimised())
        return;
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && !isActiveWindow())
            m_services.windowSystem->activate(this);
    });
}

void Form1::MinimizeToTray()
{
    // Without a notification area a hidden window could not be brought back: use the taskbar.
    if (!m_services.windowSystem->trayAvailable()) {
        minimiseIfItCanComeBack();
        return;
    }
    if (!m_systemTray)
        m_systemTray = std::make_unique<SystemTray>(*m_services.windowSystem);
    m_systemTray->AddTrayIcon(this, QStringLiteral("Tarvo Mausklick öffnet den Dialog"), this);
    hide();
}

void Form1::setTrayTitle(const QString& title)
{
    if (m_systemTray)
        m_systemTray->title = title;
}

void Form1::unloadSystemTray()
{
    m_systemTray.reset();
}

void Form1::ShowFullWindow()
{
    if (height() == twipsToPixels(kFullHeightTwips))
        return;
    resize(width(), twipsToPixels(kFullHeightTwips));
    applyRoundedRegion();
}

void Form1::LightFlag_Click()
{
    m_entry.AlwaysOnTop1->SetToNormal();
    m_band.LightFlag->hide();
    InfoDialog dialog(this, GetVersionNumber(), GV_URL, *m_services.dialogs, *m_services.desktop);
    m_services.dialogs->runModal(dialog);
    m_entry.AlwaysOnTop1->SetToNormal();
}

void Form1::AddToTrayIconCheck_Click()
{
    if (m_counting.AddToTrayIconCheck->isChecked() && !countdownIdle()) {
        MinimizeToTray();
        if (m_systemTray)
            m_systemTray->ChangeToolTipText(windowTitle());
    }
}

void Form1::SystemTRayFrame1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift)
{
    // The box is the window's handle like its neighbours; a left click toggles both boxes once, as
    // the box's own toggling never sees this press.
    if (button == Qt::RightButton && shift == Qt::NoModifier) {
        MinimizeWindow();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    const bool tick = !m_entry.SystemTRayFrame1->isChecked();
    m_counting.AddToTrayIconCheck->setChecked(tick);
    m_entry.SystemTRayFrame1->setChecked(tick);
    m_entry.Start->setFocus();
}

void Form1::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        MinimizeWindow();
}

} // namespace tarvo
