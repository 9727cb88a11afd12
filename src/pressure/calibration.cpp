// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressure/calibration.h"

#include "pressure/formulas.h"

#include <cmath>

namespace barovista {

std::optional<Calibration> calibrate(double altitude, double reading, double weatherService)
{
    Calibration result;
    result.altitude = roundTo2(altitude);
    result.reading = roundTo2(reading);
    result.weatherService = roundTo2(weatherService);
    const auto converted = pressureAtAltitude(result.weatherService, result.altitude);
    if (!converted)
        return std::nullopt;
    result.converted = *converted;
    result.deviation = static_cast<float>(result.reading - result.converted);
    return result;
}

std::optional<Calibration> calibrateTexts(QStringView altitudeText, QStringView readingText,
                                          QStringView weatherServiceText)
{
    const std::optional<Calibration> result =
        calibrate(readLeadingNumber(altitudeText), readLeadingNumber(readingText),
                  readLeadingNumber(weatherServiceText));
    if (!result || !std::isfinite(result->deviation))
        return std::nullopt;
    return result;
}

QString calibrationReport(const Calibration &calibration, const DisplayLocale &locale)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Umgerechnet auf die aktuelle Höhe beträgt der Luftdruck ") + crlf
           + QStringLiteral("des Wetterdienstes ") + formatNumber(calibration.converted, locale)
           + QStringLiteral("  hPa. ") + crlf + crlf
           + QStringLiteral("Die Abweichung der Barometeranzeige beträgt ")
           + formatSingle(calibration.deviation, locale) + QStringLiteral("  hPa.");
}

} // namespace barovista
