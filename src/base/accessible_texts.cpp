#include "base/accessible_texts.h"

#include <QWidget>

namespace tarvo {

void applyAccessibleTexts(QWidget& root, std::span<const AccessibleText> texts)
{
    for (const AccessibleText& text : texts) {
        auto* widget = root.findChild<QWidget*>(QLatin1String(text.objectName));
        if (widget == nullptr)
            continue;
        if (text.name != nullptr)
            widget->setAccessibleName(QString::fromUtf8(text.name));
        widget->setAccessibleDescription(QString::fromUtf8(text.description));
    }
}

} // namespace tarvo
