#pragma once

#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QWidget;

namespace tarvo {

// Moves a borderless window with the mouse from one of its controls. A left press arms the drag;
// it starts only once the held mouse has really moved, so that clicks and double clicks on the same
// control stay clicks.
class DragStart {
public:
    explicit DragStart(QWidget& window);

    // A press on source; any button but the left one disarms.
    void press(QWidget* source, Qt::MouseButton button, QPoint globalPos);
    void disarm();
    // A move over source: starts the drag when the press was there and the mouse has gone far
    // enough. True when it did; it returns once the button is released.
    bool move(QWidget* source, const QMouseEvent& event);

private:
    QWidget& m_window;
    QPointer<QWidget> m_source;
    QPoint m_start;
};

} // namespace tarvo
