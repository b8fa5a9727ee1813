#pragma once

#include <QRect>
#include <QString>

class QColor;
class QFont;
class QLabel;
class QWidget;

namespace tarvo {

// Making the controls of Tarvo's windows: each carries its name as objectName, so tests and the
// accessibility tree find it, and is placed in twips relative to its parent.

template <typename W>
W* make(QWidget* parent, const char* name)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void place(QWidget* widget, QRect twips);
inline void place(QWidget* widget, int left, int top, int width, int height)
{
    place(widget, QRect(left, top, width, height));
}

// A label with its caption, font and text colour.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect twips, const QFont& font,
                  const QColor& colour);

} // namespace tarvo
