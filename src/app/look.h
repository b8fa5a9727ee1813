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
inline const QColor blink{255, 255, 128}; // light yellow of the last seconds
} // namespace colours

// A sans font of the given point size; the window's texts were laid out for a narrow sans.
QFont uiFont(double pointSize, bool bold, bool underline = false);

// Sets the text colour of a label, check box or button.
void setTextColour(QWidget* widget, const QColor& colour);
QColor textColour(const QWidget* widget);

// One of the pictures compiled into Tarvo (":/assets/NAME.svg"), drawn at the given size for the
// screen's pixel density. An empty pixmap when the picture is missing.
QPixmap assetPixmap(const QString& name, QSize size, qreal devicePixelRatio = 1.0);

} // namespace tarvo
