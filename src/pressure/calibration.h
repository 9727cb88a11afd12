// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pressure/numbers.h"

#include <QString>
#include <optional>

namespace barovista {

// The comparison of the barometer with a weather service's sea-level value.
struct Calibration
{
    double altitude = 0;       // rounded to two decimals
    double reading = 0;        // rounded to two decimals
    double weatherService = 0; // rounded to two decimals
    double converted = 0;      // weather-service value at the altitude, rounded
    float deviation = 0;       // reading - converted, in single precision
};

// Takes the three numbers as read from the fields, unrounded. Empty where the
// altitude lies beyond the formula's range.
std::optional<Calibration> calibrate(double altitude, double reading, double weatherService);

// The same from the texts of the altitude, barometer and weather-service
// fields, as the calibration button reads them. Empty where there is no
// finite result.
std::optional<Calibration> calibrateTexts(QStringView altitudeText, QStringView readingText,
                                          QStringView weatherServiceText);

// The text of the result box.
QString calibrationReport(const Calibration &calibration, const DisplayLocale &locale);

} // namespace barovista
