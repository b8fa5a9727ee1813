#include "base/look.h"

#include <cmath>

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QSvgRenderer>
#include <QWidget>

// The pictures are compiled into the static library, whose resources must be registered by hand.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace tarvo {
namespace {

double relativeLuminance(const QColor& colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

// The colour a control's text stands on: a push button's face, otherwise the nearest panel that
// paints its own background.
QColor backgroundBehind(const QWidget* widget)
{
    if (qobject_cast<const QPushButton*>(widget))
        return widget->palette().color(QPalette::Button);
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->autoFillBackground())
            return w->palette().color(w->backgroundRole());
    }
    return widget->palette().color(QPalette::Window);
}

} // namespace

QStringList uiFontFamilies()
{
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
            QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")};
}

QFont uiFont(double pointSize, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(uiFontFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    // Full hinting, if the desktop asks for it, widens glyphs to whole pixels; the boxes are sized
    // for the font's own widths.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

bool uiFontInstalled()
{
    return uiFontFamilies().contains(QFontInfo(uiFont(8.25, false)).family());
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    // Half-way to the background, so a greyed-out box still looks greyed out on the dark panels.
    const QColor back = backgroundBehind(widget);
    const QColor dimmed = QColor::fromRgbF(colour.redF() * 0.5f + back.redF() * 0.5f,
                                           colour.greenF() * 0.5f + back.greenF() * 0.5f,
                                           colour.blueF() * 0.5f + back.blueF() * 0.5f);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
        palette.setColor(QPalette::Disabled, role, dimmed);
    }
    widget->setPalette(palette);
}

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::WindowText);
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor highlightTextOn(const QColor& background)
{
    const QColor system = QApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
    // 4.5 is the usual minimum for small text.
    return contrastRatio(system, background) >= 4.5 ? system : colours::white;
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
