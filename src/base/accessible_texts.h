#pragma once

#include <span>

class QWidget;

namespace tarvo {

// What a screen reader says for one control of a window, found by its objectName. A null name
// leaves the control's own caption as its name (a button that says what it does needs no other).
struct AccessibleText {
    const char* objectName;
    const char* name;
    const char* description;
};

// Gives each control of the table that lives under root its accessible name and description.
void applyAccessibleTexts(QWidget& root, std::span<const AccessibleText> texts);

} // namespace tarvo
