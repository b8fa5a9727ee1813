// The window's own behaviour: minimising, the tray, growing, the info icon and the mouse rules of
// its passive parts.
#include "app/form1.h"

#include <QApplication>
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

#include "app/twips.h"
#include "countdown/clock_text.h"
#include "info/info_dialog.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"
#include "shell/window_shape.h"

namespace tarvo {
namespace {
constexpr int kMinutesFieldLength = 5;
}

void Form1::connectHandlers()
{
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(Start, &QPushButton::clicked, this, &Form1::Start_Click);
    connect(Abbruch, &QPushButton::clicked, this, &Form1::Abbruch_Click);
    connect(JetztBtn, &QPushButton::clicked, this, &Form1::JetztBtn_Click);
    for (ActionKind action : {ActionKind::Ausschalten, ActionKind::Neustart, ActionKind::Standby,
                              ActionKind::Ruhezustand, ActionKind::Abmelden})
        connect(actionButton(action), &QPushButton::clicked, this, [this, action] { ActionButton_Click(action); });
    // Check boxes react to a change made by Tarvo itself as to a click.
    connect(Anz_Minuten, &QCheckBox::toggled, this, &Form1::Anz_Minuten_Click);
    connect(AddToTrayIconCheck, &QCheckBox::toggled, this, &Form1::AddToTrayIconCheck_Click);
    // The mouse is handled below; the keyboard toggles the entry panel's box, which mirrors the other.
    connect(SystemTRayFrame1, &QCheckBox::clicked, this,
            [this](bool checked) { AddToTrayIconCheck->setChecked(checked); });
    connect(ChangeMinuteHourBtn, &QPushButton::clicked, this, [this] { Anz_Minuten->toggle(); });

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &Form1::Abbruch_Click);

    for (QWidget* w : std::initializer_list<QWidget*>{
             Picture1, Abdeckung, Eingabemaske, CountdownMaske, Display0, Label8, Label9, Uhrzeit_Frame1, Display,
             MinutenDisplay, Display2, Endzeit_Display, Uhrzeit_Display, VersionInfoLabel, Label1, Label2, Label3,
             Label4, Label6, InfoField, LightFlag, AktiveLED, SystemTRayFrame1, Akustik, Anz_Minuten,
             Check_ForceShutdown, AddToTrayIconCheck, ZeitEingabe}) {
        w->installEventFilter(this);
    }
    for (QWidget* w : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(Eingabemaske),
                       static_cast<QWidget*>(CountdownMaske), static_cast<QWidget*>(InfoField)})
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
    for (QScrollBar* bar : {VScroll1, VScroll2}) {
        bar->setValue(3);
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
        showMinimized();
    }
}

void Form1::MinimizeToTray()
{
    // Without a notification area a hidden window could not be brought back: use the taskbar.
    if (!m_services.windowSystem->trayAvailable()) {
        showMinimized();
        return;
    }
    if (!m_systemTray)
        m_systemTray = std::make_unique<SystemTray>(*m_services.windowSystem);
    m_systemTray->AddTrayIcon(this, QStringLiteral("Tarvo Mausklick öffnet den Dialog"), false, this);
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

void Form1::PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint)
{
    if (LightFlag->isVisible())
        LightFlag->hide();
    dragWindow(this, button);
    if (button == Qt::RightButton && shift == Qt::NoModifier)
        MinimizeWindow();
}

void Form1::LightFlag_Click()
{
    AlwaysOnTop1->SetToNormal();
    LightFlag->hide();
    InfoDialog dialog(this);
    m_services.dialogs->runModal(dialog);
    AlwaysOnTop1->SetToNormal();
}

void Form1::AddToTrayIconCheck_Click()
{
    if (AddToTrayIconCheck->isChecked() && !CountdownMaske->isHidden()) {
        MinimizeToTray();
        if (m_systemTray)
            m_systemTray->ChangeToolTipText(windowTitle());
    }
}

void Form1::SystemTRayFrame1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift)
{
    if (button == Qt::RightButton && shift == Qt::NoModifier) {
        MinimizeWindow();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    const bool check = !SystemTRayFrame1->isChecked();
    AddToTrayIconCheck->setChecked(check);
    SystemTRayFrame1->setChecked(check);
    Start->setFocus();
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
}

void Form1::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        MinimizeWindow();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return QWidget::eventFilter(watched, event);
    const auto isOneOf = [widget](std::initializer_list<QWidget*> list) {
        return std::find(list.begin(), list.end(), widget) != list.end();
    };

    switch (event->type()) {
    case QEvent::KeyPress:
        if (widget == ZeitEingabe) {
            // Typing stops at five characters; replacing a selection is still possible.
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool typesText = !key->text().isEmpty() && key->text().at(0).isPrint();
            if (typesText && ZeitEingabe->text().size() - ZeitEingabe->selectedText().size() >= kMinutesFieldLength)
                return true;
        }
        break;
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (widget == AktiveLED) {
            AktiveLED_DblClick();
            return true;
        }
        if (mouse->button() == Qt::LeftButton
            && isOneOf({Picture1, Abdeckung, Eingabemaske, CountdownMaske, Display0, Label8, Label9, Uhrzeit_Frame1,
                        Display, MinutenDisplay, Display2, Endzeit_Display, Uhrzeit_Display, VersionInfoLabel})) {
            MinimizeWindow();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (widget == SystemTRayFrame1) {
            SystemTRayFrame1_MouseDown(mouse->button(), mouse->modifiers());
            return true;
        }
        if (widget == LightFlag && mouse->button() == Qt::LeftButton) {
            LightFlag_Click();
            return true;
        }
        if (isOneOf({Picture1, Abdeckung})) {
            PanelMouseDown(mouse->button(), mouse->modifiers(), mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton) {
                m_dragCandidate = widget;
                m_dragStart = mouse->globalPosition().toPoint();
            }
            return true;
        }
        if (isOneOf({Label1, Label2, Label3, Label4, Label6, Eingabemaske, Display0, Label8, Label9, Uhrzeit_Frame1,
                     CountdownMaske, Display, Uhrzeit_Display, VersionInfoLabel, AktiveLED})) {
            if (mouse->button() == Qt::LeftButton) {
                m_dragCandidate = widget;
                m_dragStart = mouse->globalPosition().toPoint();
            } else if (mouse->button() == Qt::RightButton && mouse->modifiers() == Qt::NoModifier
                       && widget != AktiveLED) {
                MinimizeWindow();
                return true;
            }
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_dragCandidate.clear();
        if (widget == SystemTRayFrame1)
            return true;
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            if (widget == Display) {
                Anz_Minuten_Click();
                return true;
            }
            if (widget == MinutenDisplay) {
                Anz_Minuten->toggle();
                return true;
            }
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (widget == InfoField) {
            LightFlag->move(twipsToPixels(4800), twipsToPixels(105));
            LightFlag->show();
            LightFlag->raise();
        } else if (isOneOf({Picture1, Eingabemaske, CountdownMaske}) && LightFlag->isVisible()) {
            LightFlag->hide();
        }
        // A drag starts once the held mouse has really moved, so clicks and double-clicks stay clicks.
        if (m_dragCandidate == widget && (mouse->buttons() & Qt::LeftButton)
            && (mouse->globalPosition().toPoint() - m_dragStart).manhattanLength()
                   >= QApplication::startDragDistance()) {
            m_dragCandidate.clear();
            dragWindow(this, Qt::LeftButton);
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvo
