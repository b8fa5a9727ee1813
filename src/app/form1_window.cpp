// The window's own behaviour: minimising, the tray, growing, the info icon and the mouse rules of
// its passive parts.
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
    connect(Start, &QPushButton::clicked, this, &Form1::Start_Click);
    connect(Abbruch, &QPushButton::clicked, this, &Form1::Abbruch_Click);
    connect(JetztBtn, &QPushButton::clicked, this, &Form1::JetztBtn_Click);
    for (const ActionRow& row : actionTable()) {
        connect(actionButton(row.kind), &QPushButton::clicked, this,
                [this, action = row.kind] { ActionButton_Click(action); });
        actionCaption(row.kind)->installEventFilter(this);
    }
    // Check boxes react to a change made by Tarvo itself as to a click.
    connect(Anz_Minuten, &QCheckBox::toggled, this, &Form1::Anz_Minuten_Click);
    connect(AddToTrayIconCheck, &QCheckBox::toggled, this, &Form1::AddToTrayIconCheck_Click);
    // The mouse is handled below; the keyboard toggles the entry panel's box, which mirrors the other.
    connect(SystemTRayFrame1, &QCheckBox::clicked, this,
            [this](bool checked) { AddToTrayIconCheck->setChecked(checked); });
    connect(ChangeMinuteHourBtn, &QPushButton::clicked, this, [this] { Anz_Minuten->toggle(); });
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    // Esc anywhere in the window, whichever control has the focus.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &Form1::Abbruch_Click);

    for (QWidget* w : std::initializer_list<QWidget*>{
             Picture1, Abdeckung, Eingabemaske, CountdownMaske, Display0, Label8, Label9, Uhrzeit_Frame1, Display,
             MinutenDisplay, Display2, Endzeit_Display, Uhrzeit_Display, VersionInfoLabel, Label5, InfoField, LightFlag, AktiveLED, SystemTRayFrame1, Akustik, Anz_Minuten,
             Check_ForceShutdown, AddToTrayIconCheck, ZeitEingabe}) {
        w->installEventFilter(this);
    }
    for (QWidget* w : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(Eingabemaske),
                       static_cast<QWidget*>(CountdownMaske), static_cast<QWidget*>(InfoField),
                       static_cast<QWidget*>(Label5)})
        w->setMouseTracking(true);
}

void Form1::Initialize()
{
    Abbruch->setToolTip(QStringLiteral("Programm beenden"));
    Start->setToolTip(QStringLiteral("Timer starten (Fenster wird minimiert)"));
    const std::pair<QPushButton*, const char*> presetTips[] = {
        {Btn_15, "15 Minuten"},
        {Btn_30, "30 Minuten"},
        {Btn_45, "45 Minuten"},
        {Btn_60, "60 Minuten  (1 Stunde)"},
        {Btn_90, "90 Minuten  (1 1/2 Stunden)"},
        {Btn_120, "120 Minuten (2 Stunden)"},
        {Btn_180, "180 Minuten (3 Stunden)"},
        {Btn_24, "1440 Minuten (24 Stunden)"},
    };
    for (const auto& [button, tip] : presetTips)
        button->setToolTip(QString::fromUtf8(tip));
    Endzeit_Display->setToolTip(QStringLiteral("Die vorraussichtliche Zeit des System-Herunterfahrens..."));
    Uhrzeit_Display->setToolTip(QStringLiteral("...gestern war heute noch morgen..."));
    Display->setToolTip(QStringLiteral("und die Zeit läuft....     ;-)"));
    setWindowTitle(QStringLiteral("Tarvo"));
    Anz_Minuten->setToolTip(QStringLiteral("Countdown-Anzeigen in Stunden:Minuten oder nur in Minuten "));
    Akustik->setToolTip(QStringLiteral("Warnung + Pieptöne in den letzten 20 Sekunden vor dem Beenden"));
    VScroll1->setValue(3);
    VScroll2->setValue(3);
    for (QScrollBar* bar : {VScroll1, VScroll2}) {
        bar->setMaximum(100);
        bar->setMinimum(-100);
    }
    Uhrzeit_Display->setText(shortClockCaption(m_services.clock->now().time()));
    ShowNeutralPictures();
}

void Form1::MinimizeWindow()
{
    if (AddToTrayIconCheck->isChecked()) {
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

void Form1::PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos)
{
    if (LightFlag->isVisible())
        LightFlag->hide();
    armDrag(Picture1, button, Picture1->mapToGlobal(pos));
    if (button == Qt::RightButton && shift == Qt::NoModifier)
        MinimizeWindow();
}

void Form1::LightFlag_Click()
{
    AlwaysOnTop1->SetToNormal();
    LightFlag->hide();
    InfoDialog dialog(this, GetVersionNumber(), GV_URL, *m_services.dialogs, *m_services.desktop);
    m_services.dialogs->runModal(dialog);
    AlwaysOnTop1->SetToNormal();
}

void Form1::AddToTrayIconCheck_Click()
{
    if (AddToTrayIconCheck->isChecked() && !countdownIdle()) {
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
    if (SystemTRayFrame1->isChecked()) {
        AddToTrayIconCheck->setChecked(false);
        SystemTRayFrame1->setChecked(false);
    } else {
        AddToTrayIconCheck->setChecked(true);
        SystemTRayFrame1->setChecked(true);
    }
    Start->setFocus();
}

void Form1::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        MinimizeWindow();
}

void Form1::armDrag(QWidget* source, Qt::MouseButton button, QPoint globalPos)
{
    m_rightMinimised = false;
    m_drag.press(source, button, globalPos);
}

bool Form1::dragOnMove(QWidget* source, const QMouseEvent& event)
{
    if (!m_drag.move(source, event))
        return false;
    m_clickCandidate.clear();
    // A check box that started the drag must not toggle when the mouse is let go.
    if (auto* box = qobject_cast<QCheckBox*>(source))
        box->setDown(false);
    return true;
}

void Form1::passiveClick(QWidget* source)
{
    if (source == Display)
        Anz_Minuten_Click();
    else if (source == MinutenDisplay)
        Anz_Minuten->toggle();
    else if (source == Label5)
        Label5_Click();
    else if (source == LightFlag)
        LightFlag_Click();
}

namespace {

bool isOneOf(const QWidget* widget, std::initializer_list<QWidget*> list)
{
    return std::find(list.begin(), list.end(), widget) != list.end();
}

} // namespace

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    if (widget == nullptr
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
            && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove))
        return QWidget::eventFilter(watched, event);

    const auto& mouse = *static_cast<QMouseEvent*>(event);
    const bool panel = isOneOf(widget, {Picture1, Eingabemaske, CountdownMaske});
    // A panel sees the events its other controls leave unhandled (buttons, fields, the unlisted
    // labels); its own rules are for its bare background only, and nothing bubbles on to the window.
    if (panel && widget->childAt(mouse.position().toPoint()) != nullptr) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            return true;
        if (type == QEvent::MouseMove)
            dragOnMove(widget, mouse);
        return QWidget::eventFilter(watched, event);
    }
    bool handled = false;
    if (type == QEvent::MouseButtonDblClick)
        handled = doubleClickOn(widget, mouse);
    else if (type == QEvent::MouseButtonPress)
        handled = pressOn(widget, mouse);
    else if (type == QEvent::MouseButtonRelease)
        handled = releaseOn(widget, mouse);
    else
        handled = moveOn(widget, mouse, panel);
    return handled || QWidget::eventFilter(watched, event);
}

bool Form1::doubleClickOn(QWidget* widget, const QMouseEvent& mouse)
{
    m_clickCandidate.clear();
    if (widget == AktiveLED) {
        AktiveLED_DblClick();
        return true;
    }
    if (mouse.button() == Qt::LeftButton
        && isOneOf(widget, {Picture1, Abdeckung, Eingabemaske, CountdownMaske, Display0, Label8, Label9,
                            Uhrzeit_Frame1, Display, MinutenDisplay, Display2, Endzeit_Display, Uhrzeit_Display,
                            VersionInfoLabel})) {
        MinimizeWindow();
        return true;
    }
    if (widget == SystemTRayFrame1) {
        SystemTRayFrame1_MouseDown(mouse.button(), mouse.modifiers());
        return true;
    }
    return !isOneOf(widget, {Akustik, Anz_Minuten, Check_ForceShutdown, AddToTrayIconCheck, ZeitEingabe});
}

bool Form1::pressOn(QWidget* widget, const QMouseEvent& mouse)
{
    m_clickCandidate = mouse.button() == Qt::LeftButton ? widget : nullptr;
    const QPoint global = mouse.globalPosition().toPoint();
    if (widget == SystemTRayFrame1) {
        armDrag(widget, mouse.button(), global);
        SystemTRayFrame1_MouseDown(mouse.button(), mouse.modifiers());
        return true;
    }
    if (isOneOf(widget, {Picture1, Abdeckung})) {
        PanelMouseDown(mouse.button(), mouse.modifiers(), mouse.position().toPoint());
        armDrag(widget, mouse.button(), global);
        return true;
    }
    if (isActionCaption(widget)
        || isOneOf(widget, {Eingabemaske, Display0, Label8, Label9, Uhrzeit_Frame1, CountdownMaske, Display,
                            Uhrzeit_Display, VersionInfoLabel})) {
        armDrag(widget, mouse.button(), global);
        if (mouse.button() == Qt::RightButton && mouse.modifiers() == Qt::NoModifier)
            MinimizeWindow();
        return true;
    }
    if (widget == AktiveLED) {
        armDrag(widget, mouse.button(), global);
        return true;
    }
    if (isOneOf(widget, {Display2, Endzeit_Display, Akustik, Anz_Minuten, Check_ForceShutdown, AddToTrayIconCheck})) {
        // These drag and minimise on the move; the check boxes still toggle on a plain click.
        armDrag(widget, mouse.button(), global);
        return qobject_cast<QLabel*>(widget) != nullptr;
    }
    // MinutenDisplay, Label5, InfoField and LightFlag do nothing on the press itself.
    return isOneOf(widget, {MinutenDisplay, Label5, InfoField, LightFlag});
}

bool Form1::releaseOn(QWidget* widget, const QMouseEvent& mouse)
{
    m_drag.disarm();
    const bool clicked = m_clickCandidate == widget && mouse.button() == Qt::LeftButton
                         && widget->rect().contains(mouse.position().toPoint());
    m_clickCandidate.clear();
    if (widget == SystemTRayFrame1)
        return true;
    if (clicked && isOneOf(widget, {Display, MinutenDisplay, Label5, LightFlag})) {
        passiveClick(widget);
        return true;
    }
    return false;
}

bool Form1::moveOn(QWidget* widget, const QMouseEvent& mouse, bool panel)
{
    if (widget == InfoField) {
        LightFlag->move(twipsToPixels(4800), twipsToPixels(105));
        LightFlag->show();
        LightFlag->raise();
        return true;
    }
    if (widget == Label5) {
        Label5_MouseMove();
        return true;
    }
    if (panel && LightFlag->isVisible())
        LightFlag->hide();
    if (widget == Picture1 && ClassicMode && mouse.buttons() == Qt::NoButton)
        ShowPressedPictures();
    if (widget == Eingabemaske) {
        setTextColour(Label5, colours::entryText);
        setTextColour(WWWLink, colours::link);
    }
    if (dragOnMove(widget, mouse))
        return true;
    if (isOneOf(widget, {Display2, Endzeit_Display, Akustik, Anz_Minuten, Check_ForceShutdown, AddToTrayIconCheck})
        && (mouse.buttons() & Qt::RightButton) && mouse.modifiers() == Qt::NoModifier && !m_rightMinimised) {
        m_rightMinimised = true;
        MinimizeWindow();
        return true;
    }
    return false;
}

} // namespace tarvo
