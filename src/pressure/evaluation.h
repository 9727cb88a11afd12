// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pressure/numbers.h"

#include <QString>
#include <optional>

namespace barovista {

// Where a sea-level pressure lies relative to 1013.25 hPa. The windows paint
// Above in dark blue, Below in dark red and Equal in black.
enum class Tendency { Above, Below, Equal };

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

inline constexpr Rgb kWindowColour{168, 171, 204};
inline constexpr Rgb kAboveColour{0, 0, 192};
inline constexpr Rgb kBelowColour{192, 0, 0};
inline constexpr Rgb kEqualColour{0, 0, 0};

Rgb colourOf(Tendency tendency);

// The sentence under the results and the deviation label beside the scale.
struct DeviationMessage
{
    Tendency tendency = Tendency::Equal;
    QString message; // caption of the evaluation message
    QString label;   // caption of the deviation label on the scale
};

DeviationMessage deviationMessage(double tendenz, const DisplayLocale &locale);

// One evaluation of a barometer reading at an altitude.
struct Evaluation
{
    double meanPressure = 0; // rounded
    double seaLevel = 0;     // rounded
    double tendenz = 0;      // rounded deviation from 1013.25
};

// Empty where the altitude lies beyond the formula's range.
std::optional<Evaluation> evaluate(double altitude, double reading);

// A pressure as the result fields show it: the number, two blanks, "hPa".
QString pressureFieldText(double value, const DisplayLocale &locale);

// What an evaluation of the altitude and barometer texts puts on the screen:
// the numbers, the two result fields, the sentence with the deviation label,
// and the indicator's offset above the home line. The window and the command
// line both take their texts from here.
struct EvaluationScreen
{
    double altitude = 0; // read from the altitude text, unrounded
    double reading = 0;  // read from the barometer text, unrounded
    Evaluation numbers;
    QString meanPressureText; // the mean pressure field
    QString seaLevelText;     // the sea-level field
    DeviationMessage message;
    double indicatorOffset = 0; // twips
};

// Empty where the formula has no finite result for these texts.
std::optional<EvaluationScreen> evaluateTexts(QStringView altitudeText, QStringView readingText,
                                              const DisplayLocale &locale);

// Geometry of the pressure scale, in twips; y grows downwards.
namespace scale {
inline constexpr float kHomeY = 2738.0f; // the 1013.25 hPa tick
inline constexpr double kTwipsPerHpa = 40.0;
inline constexpr float kLabel13Above = 110.0f; // Label13's top above the indicator
inline constexpr float kLabel14Below = 200.0f; // Label14's top below Label13's
inline constexpr double kRangeLimit = 50.0;    // hPa either side of 1013.25

// Offset of the indicator above the home line for a deviation.
double indicatorOffset(double tendenz);
// An indicator end moved up by an offset, in single precision.
float movedY(float currentY, double offset);
// A deviation that does not fit the scale (both bounds still fit).
bool isOffScale(double tendenz);
} // namespace scale

} // namespace barovista
