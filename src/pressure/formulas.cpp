// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressure/formulas.h"

#include "pressure/numbers.h"

#include <cmath>

namespace barovista {

namespace {
constexpr double kGradient = 0.00651;     // K per metre
constexpr int kSeaLevelTemperature = 288; // K
constexpr double kExponent = 5.255;

std::optional<double> finiteOrNothing(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}
} // namespace

std::optional<double> barometricFactor(double altitude)
{
    if (!std::isfinite(altitude))
        return std::nullopt;
    // The order of operations decides the last bit of the result.
    double t = altitude * kGradient;
    t = t / kSeaLevelTemperature;
    const double base = 1 - t;
    if (!(base > 0))
        return std::nullopt;
    const double factor = std::pow(base, kExponent);
    if (!std::isfinite(factor) || !(factor > 0))
        return std::nullopt;
    return factor;
}

bool altitudeInRange(double altitude)
{
    return barometricFactor(altitude).has_value();
}

std::optional<double> meanPressure(double altitude)
{
    const auto factor = barometricFactor(altitude);
    if (!factor)
        return std::nullopt;
    return finiteOrNothing(roundTo2(*factor * kStandardPressure));
}

std::optional<double> seaLevelPressure(double reading, double altitude)
{
    const auto factor = barometricFactor(altitude);
    if (!factor)
        return std::nullopt;
    return finiteOrNothing(roundTo2(reading / *factor));
}

std::optional<double> pressureAtAltitude(double seaLevel, double altitude)
{
    const auto factor = barometricFactor(altitude);
    if (!factor)
        return std::nullopt;
    return finiteOrNothing(roundTo2(*factor * seaLevel));
}

double deviationFromStandard(double roundedSeaLevel)
{
    return roundTo2(roundedSeaLevel - kStandardPressure);
}

} // namespace barovista
