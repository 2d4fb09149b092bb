// The windows are designed in twips, 15 to the pixel at the 96-dpi design size.
#pragma once

#include <QRect>

namespace deskleaf {

constexpr int kTwipsPerPixel = 15;

// Nearest pixel.
constexpr int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

} // namespace deskleaf
