// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <cmath>

namespace barovista {

// The layout is given in twips; 15 twips are one logical pixel. Qt scales
// logical pixels on HiDPI screens.
inline constexpr double kTwipsPerPixel = 15.0;

// Positions far off the window (an indicator offset from a damaged file) are
// clamped, so that they stay representable as widget coordinates.
inline int px(double twips)
{
    constexpr double kLimit = 1.0e6;
    const double pixels = twips / kTwipsPerPixel;
    if (!(pixels > -kLimit))
        return -static_cast<int>(kLimit);
    if (pixels > kLimit)
        return static_cast<int>(kLimit);
    return static_cast<int>(std::lround(pixels));
}

inline QRect twipRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace barovista
