// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/recording.h"

#include "pressure/formulas.h"
#include "pressure/numbers.h"

#include <cmath>

namespace barovista {

QString timeOfDayText(const QTime &time)
{
    return time.toString(QStringLiteral("hh:mm:ss"));
}

double recordMeasurement(Record &record, const ScreenTexts &screen, const std::function<QDateTime()> &now)
{
    const auto today = [&] { return TaggedValue::fromDate(toDaySerial(now().date())); };
    const auto timeOfDay = [&] { return TaggedValue::fromText(timeOfDayText(now().time())); };

    record[RecordField::Lastmess] = TaggedValue::fromText(screen.anzeige2);
    record[RecordField::Datelastmess] = today();
    record[RecordField::Timelastmess] = timeOfDay();

    record[RecordField::Hoehe] = TaggedValue::fromText(screen.eingabe1);
    record[RecordField::Luftdruck] = TaggedValue::fromText(screen.eingabe2);
    record[RecordField::Mitte] = TaggedValue::fromText(screen.anzeige1);
    record[RecordField::Meer] = TaggedValue::fromText(screen.anzeige2);
    record[RecordField::Infotext] = TaggedValue::fromText(screen.anzeige4);
    record[RecordField::Kali] = TaggedValue::fromText(screen.eingabe3);

    const double altitude = roundTo2(readLeadingNumber(screen.eingabe1));
    const double reading = roundTo2(readLeadingNumber(screen.eingabe2));

    // The reader refuses a file holding an infinity, so storing one would
    // cost the whole history at the next start; such a reading (a number of
    // hundreds of digits) is left out instead.
    if (!std::isfinite(reading)) {
        record[RecordField::AbsolutLastmess] = TaggedValue();
        return altitude;
    }
    record[RecordField::AbsolutLastmess] = TaggedValue::fromDouble(reading);

    // Beyond the formula's range there is no sea-level pressure to compare.
    const std::optional<double> seaLevel = seaLevelPressure(reading, altitude);
    if (!seaLevel || !std::isfinite(*seaLevel))
        return altitude;
    const double s = *seaLevel;

    const TaggedValue &lowest = record[RecordField::Minmeer];
    if (lowest.equalsEmptyText() || s <= lowest.toNumber()) {
        record[RecordField::Minmeer] = TaggedValue::fromDouble(s);
        record[RecordField::Timeminmeer] = timeOfDay();
        record[RecordField::Dateminmeer] = today();
        record[RecordField::AbsolutMinmeer] = TaggedValue::fromDouble(reading);
    }
    if (s >= record[RecordField::Maxmeer].toNumber()) {
        record[RecordField::Maxmeer] = TaggedValue::fromDouble(s);
        record[RecordField::Timemaxmeer] = timeOfDay();
        record[RecordField::Datemaxmeer] = today();
        record[RecordField::AbsolutMaxmeer] = TaggedValue::fromDouble(reading);
    }
    return altitude;
}

} // namespace barovista
