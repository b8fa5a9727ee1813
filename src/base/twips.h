#pragma once

#include <cmath>

#include <QRect>

namespace tarvo {

// Positions and sizes of the windows are given in twips, 1/1440 inch: 15 twips per pixel at
// 96 dots per inch. Qt scales the pixels on high-density screens.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    // Round half away from zero, so -45 twips is -3 pixels and 2790 is 186.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// The main window's width and its two heights.
inline constexpr int kWindowWidthTwips = 5505;
inline constexpr int kCompactHeightTwips = 2775;
inline constexpr int kFullHeightTwips = 5415;
// Where the countdown panel's "<>" button stands beside "Minuten" and "Stunden".
inline constexpr int kUnitButtonLeftTwips = 4200;

} // namespace tarvo
