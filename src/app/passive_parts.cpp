#include "app/passive_parts.h"

#include <array>

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>

#include "base/twips.h"
#include "power/action_table.h"

namespace tarvo {
namespace {

enum Role : unsigned {
    // A panel: its rules hold for its bare background; over its other controls a press or a
    // double-click is used up, a move only drags, and a move over the background hides the info icon.
    Panel = 1U << 0,
    MinimisesOnDoubleClick = 1U << 1,
    // The double-click reaches the control itself.
    KeepsDoubleClick = 1U << 2,
    // A press arms the drag of the window; a right press without modifiers minimises it.
    Handle = 1U << 3,
    HidesInfoIconOnPress = 1U << 4,
    // A press only arms the drag.
    Drags = 1U << 5,
    // A press arms the drag (used up by labels only; check boxes still toggle); a move with the right
    // button held minimises the window, once per press.
    MinimisesOnRightMove = 1U << 6,
    // A press is used up and does nothing.
    QuietPress = 1U << 7,
    TakesClicks = 1U << 8,
    ShowsInfoIcon = 1U << 9,
    LightDoubleClick = 1U << 10,
    TrayBox = 1U << 11,
    TracksMouse = 1U << 12,
};

struct PartRoles {
    const char* name;
    unsigned roles;
};

constexpr unsigned kLabel = MinimisesOnDoubleClick | Handle;
constexpr unsigned kBox = MinimisesOnRightMove | KeepsDoubleClick;

constexpr std::array<PartRoles, 24> kParts{{
    {"Picture1", Panel | kLabel | HidesInfoIconOnPress | TracksMouse},
    {"Abdeckung", kLabel | HidesInfoIconOnPress},
    {"Eingabemaske", Panel | kLabel | TracksMouse},
    {"CountdownMaske", Panel | kLabel | TracksMouse},
    {"Display0", kLabel},
    {"Label8", kLabel},
    {"Label9", kLabel},
    {"Uhrzeit_Frame1", kLabel},
    {"Display", kLabel | TakesClicks},
    {"MinutenDisplay", MinimisesOnDoubleClick | QuietPress | TakesClicks},
    {"Display2", MinimisesOnDoubleClick | MinimisesOnRightMove},
    {"Endzeit_Display", MinimisesOnDoubleClick | MinimisesOnRightMove},
    {"Uhrzeit_Display", kLabel},
    {"VersionInfoLabel", kLabel},
    {"Label5", QuietPress | TakesClicks | TracksMouse},
    {"InfoField", QuietPress | ShowsInfoIcon | TracksMouse},
    {"LightFlag", QuietPress | TakesClicks},
    {"AktiveLED", Drags | LightDoubleClick},
    {"SystemTRayFrame1", TrayBox},
    {"Akustik", kBox},
    {"Anz_Minuten", kBox},
    {"Check_ForceShutdown", kBox},
    {"AddToTrayIconCheck", kBox},
    {"ZeitEingabe", KeepsDoubleClick},
}};

bool plainRight(const QMouseEvent& mouse)
{
    return mouse.button() == Qt::RightButton && mouse.modifiers() == Qt::NoModifier;
}

} // namespace

PassiveParts::PassiveParts(QWidget& window, QWidget& infoIcon, Hooks hooks)
    : QObject(&window)
    , m_infoIcon(infoIcon)
    , m_hooks(std::move(hooks))
    , m_drag(window)
{
    // The action captions are handles of the window too.
    for (const ActionRow& row : actionTable())
        m_parts.emplace_back(window.findChild<QWidget*>(QLatin1String(row.captionName)), Handle);
    for (const PartRoles& part : kParts)
        m_parts.emplace_back(window.findChild<QWidget*>(QLatin1String(part.name)), part.roles);
    for (const auto& [part, roles] : m_parts) {
        part->installEventFilter(this);
        if (roles & TracksMouse)
            part->setMouseTracking(true);
    }
}

unsigned PassiveParts::rolesOf(const QObject* part) const
{
    for (const auto& [widget, roles] : m_parts) {
        if (widget == part)
            return roles;
    }
    return 0;
}

bool PassiveParts::eventFilter(QObject* watched, QEvent* event)
{
    auto* part = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    if (part == nullptr
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
            && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove))
        return false;

    const auto& mouse = *static_cast<QMouseEvent*>(event);
    const unsigned roles = rolesOf(part);
    // A panel sees the events its other controls leave unhandled (buttons, fields, the unlisted
    // labels); its own rules are for its bare background only, and nothing bubbles on to the window.
    if ((roles & Panel) && part->childAt(mouse.position().toPoint()) != nullptr) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            return true;
        if (type == QEvent::MouseMove)
            dragOnMove(part, mouse);
        return false;
    }
    if (type == QEvent::MouseButtonDblClick)
        return doubleClickOn(roles, mouse);
    if (type == QEvent::MouseButtonPress)
        return pressOn(part, roles, mouse);
    if (type == QEvent::MouseButtonRelease)
        return releaseOn(part, roles, mouse);
    return moveOn(part, roles, mouse);
}

bool PassiveParts::doubleClickOn(unsigned roles, const QMouseEvent& mouse)
{
    m_clickCandidate.clear();
    if (roles & LightDoubleClick) {
        m_hooks.lightDoubleClick();
        return true;
    }
    if (mouse.button() == Qt::LeftButton && (roles & MinimisesOnDoubleClick)) {
        m_hooks.minimise();
        return true;
    }
    if (roles & TrayBox) {
        m_hooks.trayBoxPress(mouse);
        return true;
    }
    return (roles & KeepsDoubleClick) == 0;
}

bool PassiveParts::pressOn(QWidget* part, unsigned roles, const QMouseEvent& mouse)
{
    m_clickCandidate = mouse.button() == Qt::LeftButton ? part : nullptr;
    if (roles & TrayBox) {
        armDrag(part, mouse);
        m_hooks.trayBoxPress(mouse);
        return true;
    }
    if ((roles & HidesInfoIconOnPress) && m_infoIcon.isVisible())
        m_infoIcon.hide();
    if (roles & Handle) {
        armDrag(part, mouse);
        if (plainRight(mouse))
            m_hooks.minimise();
        return true;
    }
    if (roles & Drags) {
        armDrag(part, mouse);
        return true;
    }
    if (roles & MinimisesOnRightMove) {
        armDrag(part, mouse);
        return qobject_cast<QLabel*>(part) != nullptr;
    }
    return (roles & QuietPress) != 0;
}

bool PassiveParts::releaseOn(QWidget* part, unsigned roles, const QMouseEvent& mouse)
{
    m_drag.disarm();
    const bool clicked = m_clickCandidate == part && mouse.button() == Qt::LeftButton
                         && part->rect().contains(mouse.position().toPoint());
    m_clickCandidate.clear();
    if (roles & TrayBox)
        return true;
    if (clicked && (roles & TakesClicks)) {
        m_hooks.click(part);
        return true;
    }
    return false;
}

bool PassiveParts::moveOn(QWidget* part, unsigned roles, const QMouseEvent& mouse)
{
    if (roles & ShowsInfoIcon) {
        m_infoIcon.move(twipsToPixels(4800), twipsToPixels(105));
        m_infoIcon.show();
        m_infoIcon.raise();
        return true;
    }
    if (m_hooks.hover(part, mouse))
        return true;
    if ((roles & Panel) && m_infoIcon.isVisible())
        m_infoIcon.hide();
    if (dragOnMove(part, mouse))
        return true;
    if ((roles & MinimisesOnRightMove) && (mouse.buttons() & Qt::RightButton) && mouse.modifiers() == Qt::NoModifier
        && !m_rightMinimised) {
        m_rightMinimised = true;
        m_hooks.minimise();
        return true;
    }
    return false;
}

void PassiveParts::armDrag(QWidget* part, const QMouseEvent& mouse)
{
    m_rightMinimised = false;
    m_drag.press(part, mouse.button(), mouse.globalPosition().toPoint());
}

bool PassiveParts::dragOnMove(QWidget* part, const QMouseEvent& mouse)
{
    if (!m_drag.move(part, mouse))
        return false;
    m_clickCandidate.clear();
    // A check box that started the drag must not toggle when the mouse is let go.
    if (auto* box = qobject_cast<QCheckBox*>(part))
        box->setDown(false);
    return true;
}

} // namespace tarvo
