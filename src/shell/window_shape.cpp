#include "shell/window_shape.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace tarvo {
namespace {

// Moves a window by the mouse's movement until the left button is released, for platforms without
// a system move (a bare X server, the offscreen platform).
class WindowFollower final : public QObject {
public:
    explicit WindowFollower(QWidget* window)
        : m_window(window)
        , m_last(QCursor::pos())
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!m_window) {
            deleteLater();
            return false;
        }
        if (event->type() == QEvent::MouseMove) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!(mouse->buttons() & Qt::LeftButton)) {
                // The release went elsewhere: stop here rather than drag on with the button up.
                qApp->removeEventFilter(this);
                deleteLater();
                return false;
            }
            const QPoint now = mouse->globalPosition().toPoint();
            m_window->move(m_window->pos() + (now - m_last));
            m_last = now;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPoint m_last;
};

} // namespace

std::vector<int> cornerInsets(int ellipseWidth, int ellipseHeight)
{
    // A. Zingl's integer ellipse rasteriser, the one GDI's round rectangles follow, walked along the
    // lower half of the ellipse from its middle row down; the top rows mirror those.
    const std::int64_t a = ellipseWidth - 1;
    const std::int64_t b = ellipseHeight - 1;
    const int middle = ellipseHeight / 2;
    std::vector<int> lower(static_cast<std::size_t>(ellipseHeight - middle), 0);
    std::int64_t stepX = 4 * b * b * (1 - a);
    std::int64_t stepY = 4 * a * a * (1 + b % 2);
    std::int64_t error = stepX + stepY + a * a * (b % 2);
    int x = 0;
    std::size_t row = 0;
    while (x <= ellipseWidth / 2) {
        const std::int64_t twice = 2 * error;
        if (twice >= stepX) {
            ++x;
            stepX += 8 * b * b;
            error += stepX;
        }
        if (twice <= stepY) {
            ++row;
            stepY += 8 * a * a;
            error += stepY;
            if (row < lower.size())
                lower[row] = x;
        }
    }
    // A tall, narrow ellipse leaves its outermost rows unvisited: they are cut in the furthest.
    for (++row; row < lower.size(); ++row)
        lower[row] = x;
    std::vector<int> top(static_cast<std::size_t>(middle));
    for (int i = 0; i < middle; ++i)
        top[static_cast<std::size_t>(i)] = lower[static_cast<std::size_t>(b - i - middle)];
    return top;
}

QRegion roundedRegion(QSize size, int cornerDiameter)
{
    const int width = size.width();
    const int height = size.height();
    if (width <= 0 || height <= 0)
        return {};
    const int ellipseWidth = std::min(width, std::abs(cornerDiameter));
    const int ellipseHeight = std::min(height, std::abs(cornerDiameter));
    if (ellipseWidth < 2 || ellipseHeight < 2)
        return QRegion(0, 0, width, height);

    const std::vector<int> insets = cornerInsets(ellipseWidth, ellipseHeight);
    const int rows = static_cast<int>(insets.size());
    QRegion region(0, rows, width, height - 2 * rows);
    for (int i = 0; i < rows; ++i) {
        const int inset = insets[static_cast<std::size_t>(i)];
        region += QRect(inset, i, width - 2 * inset, 1);
        region += QRect(inset, height - 1 - i, width - 2 * inset, 1);
    }
    return region;
}

void dragWindow(QWidget* window, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || window == nullptr)
        return;
    QWidget* top = window->window();
    if (QWindow* handle = top->windowHandle(); handle && handle->startSystemMove())
        return;
    new WindowFollower(top);
}

} // namespace tarvo
