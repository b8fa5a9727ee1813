#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

class QWidget;

namespace tarvo {

// The colours Tarvo's windows use.
namespace colours {
inline const QColor panel{0, 0, 128};
inline const QColor entryText{192, 208, 255};
inline const QColor white{255, 255, 255};
inline const QColor grey{192, 192, 192};
inline const QColor endTime{255, 255, 192};
inline const QColor link{128, 128, 255};
inline const QColor field{128, 128, 255}; // background of the duration fields
inline const QColor blink{255, 255, 128}; // light yellow of the last seconds
inline const QColor band{47, 76, 188};    // the title band behind the action captions
} // namespace colours

// The window's texts were laid out for a narrow sans of Arial's widths: Liberation Sans (or another
// font with Arial's metrics) keeps them inside their boxes. The families are named in order, so a
// machine without Liberation Sans still gets a metric-compatible font before fontconfig's default.
QFont uiFont(double pointSize, bool bold, bool underline = false);
// The families uiFont asks for, first choice first, and whether one of them is installed.
QStringList uiFontFamilies();
bool uiFontInstalled();

// Sets the text colour of a label, check box or button; a disabled control shows it dimmed.
void setTextColour(QWidget* widget, const QColor& colour);
QColor textColour(const QWidget* widget);

// The system's colour for highlighted text, or white where the desktop's theme makes that colour
// too faint to read on the given background.
QColor highlightTextOn(const QColor& background);
// The contrast ratio of two colours (1 to 21, as accessibility guides measure it).
double contrastRatio(const QColor& a, const QColor& b);

// One of the pictures compiled into Tarvo (":/assets/NAME.svg"), drawn at the given size for the
// screen's pixel density. An empty pixmap when the picture is missing.
QPixmap assetPixmap(const QString& name, QSize size, qreal devicePixelRatio = 1.0);

} // namespace tarvo
