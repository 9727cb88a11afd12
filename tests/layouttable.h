// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the main window's controls stand, in twips: the four frames in the
// client area, every other control in its frame. test_ui checks each
// control's geometry against this table; test_hidpi looks up its frames and
// captions here to find them on the scaled screen.

#include <QRect>
#include <QString>

namespace barovista::testing {

struct ControlPlace
{
    const char *name;
    const char *frame; // nullptr for the frames themselves
    int left, top, width, height;

    QRect twips() const { return QRect(left, top, width, height); }
};

inline constexpr ControlPlace kLayout[] = {
    {"Frame4", nullptr, 240, 120, 7215, 2415},    {"Frame3", nullptr, 240, 2760, 3495, 2655},
    {"Frame1", nullptr, 3960, 2760, 3495, 2655},  {"Frame2", nullptr, 7680, 120, 3615, 5295},
    {"Label2", "Frame3", 560, 320, 2580, 255},    {"eingabe2", "Frame3", 1280, 600, 975, 360},
    {"Label1", "Frame3", 560, 1170, 2655, 255},   {"eingabe1", "Frame3", 1280, 1455, 975, 360},
    {"Command1", "Frame3", 320, 2040, 2895, 375}, {"Label5", "Frame1", 430, 480, 2760, 735},
    {"eingabe3", "Frame1", 1080, 1320, 975, 330}, {"Label12", "Frame1", 2160, 1380, 615, 255},
    {"Command2", "Frame1", 310, 2040, 2895, 375}, {"Label4", "Frame4", 355, 420, 4575, 375},
    {"anzeige2", "Frame4", 5000, 370, 1845, 450}, {"Label3", "Frame4", 355, 1005, 4575, 375},
    {"anzeige1", "Frame4", 5000, 960, 1845, 450}, {"anzeige4", "Frame4", 900, 1680, 5415, 495},
    {"Label8", "Frame2", 2400, 620, 1095, 255},   {"Label7", "Frame2", 2400, 2630, 1095, 255},
    {"range", "Frame2", 240, 2640, 945, 255},     {"Label9", "Frame2", 2490, 4620, 855, 255},
    {"Label19", "Frame2", 2490, 3420, 855, 255},
};

// The row of a control; nullptr for a name the table does not hold.
inline const ControlPlace *placeOf(const QString &name)
{
    for (const ControlPlace &place : kLayout)
        if (name == QLatin1String(place.name))
            return &place;
    return nullptr;
}

// The scale in Frame2, in twips: the long ticks at the top (1063,25 hPa),
// the centre (1013,25 hPa) and the bottom (963,25 hPa), 40 twips for every
// hPa; the long ticks and the indicator run from kLongTickX1 to kLongTickX2.
inline constexpr int kScaleTopY = 738;
inline constexpr int kScaleCentreY = 2738;
inline constexpr int kScaleBottomY = 4738;
inline constexpr int kTwipsPerHPa = 40;
inline constexpr int kLongTickX1 = 1320;
inline constexpr int kLongTickX2 = 2280;

// Where the indicator stands for a sea-level pressure so many hPa above
// 1013,25 hPa (below it where negative).
inline constexpr double indicatorY(double hPaAbove)
{
    return kScaleCentreY - kTwipsPerHPa * hPaAbove;
}

} // namespace barovista::testing
