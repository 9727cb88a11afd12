// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressure/evaluation.h"

#include "pressure/formulas.h"

#include <cmath>

namespace barovista {

Rgb colourOf(Tendency tendency)
{
    switch (tendency) {
    case Tendency::Above:
        return kAboveColour;
    case Tendency::Below:
        return kBelowColour;
    case Tendency::Equal:
        break;
    }
    return kEqualColour;
}

DeviationMessage deviationMessage(double tendenz, const DisplayLocale &locale)
{
    const QString d = formatNumber(tendenz, locale);
    if (tendenz > 0) {
        return {Tendency::Above,
                QStringLiteral("Aktueller Luftdruck ") + d
                    + QStringLiteral(" hPa über mittlerem Luftdruck bezogen auf Meereshöhe."),
                QStringLiteral("+") + d + QStringLiteral(" hPa")};
    }
    if (tendenz < 0) {
        // The number keeps its minus sign in both captions.
        return {Tendency::Below,
                QStringLiteral("Aktueller Luftdruck ") + d
                    + QStringLiteral(" hPa unter mittlerem Luftdruck bezogen auf Meereshöhe."),
                d + QStringLiteral(" hPa")};
    }
    return {Tendency::Equal,
            QStringLiteral("Aktueller Luftdruck entspricht dem Mittleren Luftdruck bezogen auf Meereshöhe."),
            QStringLiteral("+/- 0 hPa")};
}

std::optional<Evaluation> evaluate(double altitude, double reading)
{
    const auto mean = meanPressure(altitude);
    const auto seaLevel = seaLevelPressure(reading, altitude);
    if (!mean || !seaLevel)
        return std::nullopt;
    return Evaluation{*mean, *seaLevel, deviationFromStandard(*seaLevel)};
}

QString pressureFieldText(double value, const DisplayLocale &locale)
{
    return formatNumber(value, locale) + QStringLiteral("  hPa");
}

std::optional<EvaluationScreen> evaluateTexts(QStringView altitudeText, QStringView readingText,
                                              const DisplayLocale &locale)
{
    EvaluationScreen screen;
    screen.altitude = readLeadingNumber(altitudeText);
    screen.reading = readLeadingNumber(readingText);
    const std::optional<Evaluation> result = evaluate(screen.altitude, screen.reading);
    if (!result || !std::isfinite(result->tendenz))
        return std::nullopt;
    screen.numbers = *result;
    screen.meanPressureText = pressureFieldText(result->meanPressure, locale);
    screen.seaLevelText = pressureFieldText(result->seaLevel, locale);
    screen.message = deviationMessage(result->tendenz, locale);
    screen.indicatorOffset = scale::indicatorOffset(result->tendenz);
    return screen;
}

namespace scale {

double indicatorOffset(double tendenz)
{
    return kTwipsPerHpa * tendenz;
}

float movedY(float currentY, double offset)
{
    return static_cast<float>(static_cast<double>(currentY) - offset);
}

bool isOffScale(double tendenz)
{
    return tendenz > kRangeLimit || tendenz < -kRangeLimit;
}

} // namespace scale

} // namespace barovista
