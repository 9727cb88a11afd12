// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace barovista {

inline constexpr double kStandardPressure = 1013.25;

// The barometric factor F(h) = (1 - h * 0.00651 / 288) ^ 5.255, unrounded,
// with exactly this order of operations. Empty where the altitude lies beyond
// the formula's range (the base is zero or negative) or the result would not
// be a finite positive number.
std::optional<double> barometricFactor(double altitude);

// True where the formulas give finite results for this altitude.
bool altitudeInRange(double altitude);

// Mean pressure for the altitude, F(h) * 1013.25, rounded to two decimals.
std::optional<double> meanPressure(double altitude);

// Barometer reading reduced to sea level, p / F(h), rounded to two decimals.
std::optional<double> seaLevelPressure(double reading, double altitude);

// A sea-level value converted to the altitude, F(h) * w, rounded.
std::optional<double> pressureAtAltitude(double seaLevel, double altitude);

// Deviation of an already rounded sea-level pressure from 1013.25, rounded
// again so that it carries no representation error.
double deviationFromStandard(double roundedSeaLevel);

} // namespace barovista
