#include "shell/drag_start.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "shell/window_shape.h"

namespace tarvo {

DragStart::DragStart(QWidget& window)
    : m_window(window)
{
}

void DragStart::press(QWidget* source, Qt::MouseButton button, QPoint globalPos)
{
    m_source.clear();
    if (button != Qt::LeftButton)
        return;
    m_source = source;
    m_start = globalPos;
}

void DragStart::disarm()
{
    m_source.clear();
}

bool DragStart::move(QWidget* source, const QMouseEvent& event)
{
    if (m_source.isNull() || m_source != source || !(event.buttons() & Qt::LeftButton)
        || (event.globalPosition().toPoint() - m_start).manhattanLength() < QApplication::startDragDistance())
        return false;
    m_source.clear();
    dragWindow(&m_window, Qt::LeftButton);
    return true;
}

} // namespace tarvo
