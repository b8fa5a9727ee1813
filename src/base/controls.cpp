#include "base/controls.h"

#include <QLabel>

#include "base/look.h"
#include "base/twips.h"

namespace tarvo {

void place(QWidget* widget, QRect twips)
{
    widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect twips, const QFont& font,
                  const QColor& colour)
{
    auto* label = make<QLabel>(parent, name);
    label->setText(caption);
    place(label, twips);
    label->setFont(font);
    setTextColour(label, colour);
    return label;
}

} // namespace tarvo
