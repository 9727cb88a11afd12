// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two records the kill test saves in turn (savekiller) and looks for on
// disk afterwards (test_faults). A is the longer one, so that saving B over
// A leaves A's tail behind B and the file has exactly two possible states.

#include "history/record.h"
#include "pressure/numbers.h"

#include <QDate>

namespace barovista::testing {

inline Record saveRecordA()
{
    Record r = emptyRecord(toDaySerial(QDate(2026, 1, 5)));
    r[RecordField::Hoehe] = TaggedValue::fromText(QStringLiteral("1000"));
    r[RecordField::Luftdruck] = TaggedValue::fromText(QStringLiteral("900"));
    r[RecordField::Tendenzlatte] = TaggedValue::fromDouble(66);
    r[RecordField::Mitte] = TaggedValue::fromText(QStringLiteral("898,54  hPa"));
    r[RecordField::Meer] = TaggedValue::fromText(QStringLiteral("1014,9  hPa"));
    r[RecordField::Infotext] = TaggedValue::fromText(
        QStringLiteral("Aktueller Luftdruck 1,65 hPa über mittlerem Luftdruck bezogen auf Meereshöhe."));
    r[RecordField::Lastmess] = TaggedValue::fromText(QStringLiteral("1014,9  hPa"));
    r[RecordField::Datelastmess] = TaggedValue::fromDate(toDaySerial(QDate(2026, 12, 7)));
    r[RecordField::Timelastmess] = TaggedValue::fromText(QStringLiteral("10:15:00"));
    r[RecordField::Minmeer] = TaggedValue::fromDouble(1014.9);
    r[RecordField::Maxmeer] = TaggedValue::fromDouble(1014.9);
    r[RecordField::AbsolutLastmess] = TaggedValue::fromDouble(900);
    return r;
}

inline Record saveRecordB()
{
    Record r = emptyRecord(toDaySerial(QDate(2026, 1, 5)));
    r[RecordField::Hoehe] = TaggedValue::fromText(QStringLiteral("0"));
    r[RecordField::Luftdruck] = TaggedValue::fromText(QStringLiteral("1000"));
    r[RecordField::Meer] = TaggedValue::fromText(QStringLiteral("1000  hPa"));
    r[RecordField::Minmeer] = TaggedValue::fromDouble(1000);
    return r;
}

} // namespace barovista::testing
