// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/record.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace barovista {

// What the window shows at the moment a measurement is recorded.
struct ScreenTexts
{
    QString eingabe1; // altitude field
    QString eingabe2; // barometer field
    QString eingabe3; // weather-service field
    QString anzeige1; // mean pressure display
    QString anzeige2; // sea-level display
    QString anzeige4; // evaluation message
};

// The current time of day as hh:mm:ss.
QString timeOfDayText(const QTime &time);

// Records a measurement into the record: the last measurement, and the lowest
// and highest (non-strict comparisons, so an equal value takes the place with
// its new day and time). Both readings are rounded to two decimals first.
// Returns the rounded altitude. The clock is read through `now` each time a
// day or time is set.
double recordMeasurement(Record &record, const ScreenTexts &screen, const std::function<QDateTime()> &now);

} // namespace barovista
