#pragma once

class QWidget;

namespace tarvo {

// Gives every control of the main window its accessible name and description: the picture
// buttons after their action (from the action table), the fields after their labels, the light
// after what a double-click on it does.
void setWindowAccessibleTexts(QWidget& window);

} // namespace tarvo
