#pragma once

#include <QRect>
#include <cmath>

namespace barovista {

// The layout is given in twips; 15 twips are one logical pixel. Qt scales
// logical pixels on HiDPI screens.
inline constexpr double kTwipsPerPixel = 15.0;

inline int px(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect twipRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace barovista
