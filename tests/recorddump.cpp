// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the record in a history file, one value a line:
//   name<TAB>kind<TAB>value
// kind is empty, double, date or text; doubles in their shortest exact form
// with ".", dates as yyyy-MM-dd, texts in UTF-8. Exits 1 when the file cannot
// be read and 2 when it does not decode. Used by the end-to-end test.

#include "history/record.h"
#include "pressure/numbers.h"

#include <QFile>

#include <charconv>
#include <cstdio>

using namespace barovista;

namespace {

QByteArray exact(double value)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, written.ptr - buffer);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: recorddump FILE\n", stderr);
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "recorddump: %s: %s\n", argv[1], qUtf8Printable(file.errorString()));
        return 1;
    }
    const DecodeResult decoded = decodeRecord(file.readAll());
    if (!decoded.ok()) {
        std::fprintf(stderr, "recorddump: error %d at byte %zu\n", int(decoded.error), decoded.offset);
        return 2;
    }
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        const auto field = static_cast<RecordField>(i);
        const TaggedValue &value = decoded.record[field];
        QByteArray kind;
        QByteArray text;
        switch (value.kind()) {
        case TaggedValue::Kind::Empty:
            kind = "empty";
            break;
        case TaggedValue::Kind::Double:
            kind = "double";
            text = exact(value.toNumber());
            break;
        case TaggedValue::Kind::Date:
            kind = "date";
            text = fromDaySerial(value.doubleValue()).toString(Qt::ISODate).toUtf8();
            break;
        case TaggedValue::Kind::Text:
            kind = "text";
            text = value.textValue().toUtf8();
            break;
        }
        std::printf("%s\t%s\t%s\n", recordFieldName(field), kind.constData(), text.constData());
    }
    return 0;
}
