#pragma once

#include <QRegion>
#include <QSize>

class QWidget;

namespace tarvo {

// The outline of a borderless window: a rectangle whose corners are rounded with the given diameter.
QRegion roundedRegion(QSize size, int cornerDiameter);

// Lets the window system move the window with the mouse, as if its title bar were held. Only the
// left button drags.
void dragWindow(QWidget* window, Qt::MouseButton button);

} // namespace tarvo
