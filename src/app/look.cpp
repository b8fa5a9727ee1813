#include "app/look.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

// The pictures are compiled into the static library, whose resources must be registered by hand.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace tarvo {

QFont uiFont(double pointSize, bool bold, bool underline)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

QPixmap assetPixmap(const QString& name, QSize size, qreal devicePixelRatio)
{
    static const bool registered = (registerAssets(), true);
    Q_UNUSED(registered);
    QSvgRenderer renderer(QStringLiteral(":/assets/%1.svg").arg(name));
    if (!renderer.isValid())
        return {};
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace tarvo
