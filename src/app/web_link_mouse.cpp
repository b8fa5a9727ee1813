#include "app/web_link_mouse.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "base/look.h"

namespace tarvo {

WebLinkMouse::WebLinkMouse(QLabel& link, QWidget& panel, std::function<void()> open)
    : QObject(&link)
    , m_link(&link)
    , m_panel(&panel)
    , m_open(std::move(open))
{
    link.setMouseTracking(true);
    link.setCursor(Qt::PointingHandCursor);
    link.installEventFilter(this);
    panel.installEventFilter(this);
}

bool WebLinkMouse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel) {
        if (event->type() == QEvent::MouseMove)
            setTextColour(m_link, colours::link);
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        setTextColour(m_link, QApplication::palette().color(QPalette::HighlightedText));
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_link->rect().contains(mouse->position().toPoint()))
            m_open();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The link's presses are its own: they neither drag nor minimise the window.
        return true;
    default:
        return false;
    }
}

} // namespace tarvo
