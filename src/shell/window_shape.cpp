#include "shell/window_shape.h"

#include <QPainterPath>
#include <QPolygon>
#include <QWidget>
#include <QWindow>

namespace tarvo {

QRegion roundedRegion(QSize size, int cornerDiameter)
{
    QPainterPath path;
    const qreal radius = cornerDiameter / 2.0;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), radius, radius);
    return QRegion(path.toFillPolygon().toPolygon());
}

void dragWindow(QWidget* window, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || window == nullptr)
        return;
    if (QWindow* handle = window->window()->windowHandle())
        handle->startSystemMove();
}

} // namespace tarvo
