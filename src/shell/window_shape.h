#pragma once

#include <vector>

#include <QRegion>
#include <QSize>

class QWidget;

namespace tarvo {

// The outline of a borderless window: a rectangle of the given size whose corners are quarter
// ellipses of the given diameter, pixel for pixel as Windows' CreateRoundRectRgn draws them, except
// that the region covers the whole size (Windows leaves out the last column and row).
QRegion roundedRegion(QSize size, int cornerDiameter);

// How far each of the top rows of such a corner is cut in, from the top edge down to the middle of
// the ellipse; the rows below the middle are not cut.
std::vector<int> cornerInsets(int ellipseWidth, int ellipseHeight);

// Lets the window system move the window with the mouse, as if its title bar were held, until the
// button is released. Where the platform has no such move, the window follows the mouse instead.
// Only the left button drags.
void dragWindow(QWidget* window, Qt::MouseButton button);

} // namespace tarvo
