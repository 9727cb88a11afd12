// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the history-file decoder on arbitrary bytes.
//
// A file the decoder accepts must survive a write and a read unchanged: the
// encoder must give back exactly the bytes that were consumed (texts are one
// byte per character, numbers keep their bit pattern), and decoding those
// bytes must give the same record. Everything the program does with a
// decoded record at start-up (texts for the fields, the recomputation, the
// statistics report, recording a measurement) runs too, so that the sanitizers
// see it.

#include "history/record.h"
#include "history/recording.h"
#include "history/statistics.h"
#include "messages/messages.h"
#include "pressure/evaluation.h"
#include "pressure/numbers.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace barovista;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_record: %s\n", what);
    std::abort();
}

void useLikeStartUp(const Record &record)
{
    const DisplayLocale german = DisplayLocale::german();
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        const TaggedValue &value = record[static_cast<RecordField>(i)];
        const QString text = value.toText(german);
        if (text.contains(QLatin1String("nan"), Qt::CaseInsensitive)
            && value.kind() != TaggedValue::Kind::Text)
            fail("a number or date turned into \"nan\" text");
        (void)value.toNumber();
    }

    const double altitude = readLeadingNumber(record[RecordField::Hoehe].toText(german));
    const double reading = readLeadingNumber(record[RecordField::Luftdruck].toText(german));
    if (const auto result = evaluate(altitude, reading)) {
        (void)pressureFieldText(result->meanPressure, german);
        (void)deviationMessage(result->tendenz, german);
    }
    (void)scale::movedY(scale::kHomeY, record[RecordField::Tendenzlatte].toNumber());
    (void)statisticsReport(record, QDate(2026, 12, 7), german);

    Record recorded = record;
    const ScreenTexts screen{
        record[RecordField::Hoehe].toText(german), record[RecordField::Luftdruck].toText(german),
        record[RecordField::Kali].toText(german),  record[RecordField::Mitte].toText(german),
        record[RecordField::Meer].toText(german),  record[RecordField::Infotext].toText(german)};
    const QDateTime now(QDate(2026, 12, 7), QTime(10, 15, 0));
    (void)recordMeasurement(recorded, screen, [&now] { return now; });
    // What shutdown writes must be readable at the next start.
    if (!decodeRecord(encodeRecord(recorded)).ok())
        fail("a recorded measurement does not decode");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const DecodeResult decoded = decodeRecord(bytes);
    if (!decoded.ok()) {
        if (decoded.record != Record())
            fail("a refused file left values in the record");
        if (decoded.offset > size)
            fail("the error offset lies beyond the end");
        if (describeDecodeError(decoded).isEmpty())
            fail("a refused file has no explanation");
        return 0;
    }

    const QByteArray encoded = encodeRecord(decoded.record);
    if (encoded != bytes.left(encoded.size()))
        fail("re-encoding does not give the bytes that were read");
    const DecodeResult again = decodeRecord(encoded);
    if (!again.ok())
        fail("re-encoded record does not decode");
    if (!(again.record == decoded.record))
        fail("round trip changed the record");

    useLikeStartUp(decoded.record);
    return 0;
}
