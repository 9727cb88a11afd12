// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/record.h"

#include "pressure/formulas.h"
#include "pressure/numbers.h"

#include <QtEndian>
#include <bit>
#include <cmath>
#include <limits>

namespace barovista {

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// unassigned map to the C1 control of the same number, as Windows itself
// reads them, so that every byte survives a read and a write unchanged.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t fromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kCp1252High[byte - 0x80];
    return byte;
}

// The byte for a code point, or '?' when Windows-1252 has none. The one
// character of the program's own that it lacks, the decimal separator "٫"
// (U+066B) of an Arabic or Persian locale's display form, is stored as the
// comma, the separator the program shows under the C locale, so that no
// number in the file reads "1026?02".
char toCp1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    if (codePoint == 0x066B)
        return ',';
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QByteArray textToCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        char32_t codePoint = c.unicode();
        // A character beyond the BMP is one character, so one "?", not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        } else if (c.isSurrogate()) {
            codePoint = 0xFFFD;
        }
        bytes.append(toCp1252(codePoint));
    }
    return bytes;
}

QString textFromCp1252(const char *data, std::size_t size)
{
    QString text(static_cast<qsizetype>(size), Qt::Uninitialized);
    QChar *out = text.data();
    for (std::size_t i = 0; i < size; ++i)
        out[i] = QChar(fromCp1252(static_cast<unsigned char>(data[i])));
    return text;
}

void appendTag(QByteArray &bytes, quint16 tag)
{
    char le[2];
    qToLittleEndian(tag, le);
    bytes.append(le, 2);
}

void appendDouble(QByteArray &bytes, quint16 tag, double value)
{
    appendTag(bytes, tag);
    char le[8];
    qToLittleEndian(std::bit_cast<quint64>(value), le);
    bytes.append(le, 8);
}

// A text member shows whatever it holds as text, so a number or a date is of
// use there; a number or date member is compared and computed with, and a
// text in its place would be read by its leading number without a word.
bool kindFits(RecordField field, TaggedValue::Kind kind)
{
    if (kind == TaggedValue::Kind::Empty)
        return true;
    switch (recordFieldKind(field)) {
    case FieldKind::Text:
        return true;
    case FieldKind::Double:
        return kind == TaggedValue::Kind::Double;
    case FieldKind::Date:
        return kind == TaggedValue::Kind::Date;
    }
    return false;
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}

    std::size_t position() const { return m_position; }
    bool has(std::size_t count) const
    {
        return count <= static_cast<std::size_t>(m_bytes.size()) - m_position;
    }
    quint16 readUInt16()
    {
        const quint16 value = qFromLittleEndian<quint16>(m_bytes.constData() + m_position);
        m_position += 2;
        return value;
    }
    double readDouble()
    {
        const quint64 bits = qFromLittleEndian<quint64>(m_bytes.constData() + m_position);
        m_position += 8;
        return std::bit_cast<double>(bits);
    }
    QString readText(std::size_t length)
    {
        QString text = textFromCp1252(m_bytes.constData() + m_position, length);
        m_position += length;
        return text;
    }

private:
    const QByteArray &m_bytes;
    std::size_t m_position = 0;
};

// Reads one value; sets `error` and leaves the value empty on a fault.
TaggedValue readValue(Reader &reader, DecodeError &error)
{
    if (!reader.has(2)) {
        error = DecodeError::Truncated;
        return {};
    }
    const quint16 tag = reader.readUInt16();
    switch (tag) {
    case kTagEmpty:
        return {};
    case kTagDouble:
    case kTagDate: {
        if (!reader.has(8)) {
            error = DecodeError::Truncated;
            return {};
        }
        const double value = reader.readDouble();
        if (!std::isfinite(value)) {
            error = DecodeError::NotANumber;
            return {};
        }
        if (tag == kTagDouble)
            return TaggedValue::fromDouble(value);
        if (!fromDaySerial(value).isValid()) {
            error = DecodeError::DateRange;
            return {};
        }
        return TaggedValue::fromDate(value);
    }
    case kTagText: {
        if (!reader.has(2)) {
            error = DecodeError::Truncated;
            return {};
        }
        const quint16 length = reader.readUInt16();
        if (!reader.has(length)) {
            error = DecodeError::TextPastEnd;
            return {};
        }
        return TaggedValue::fromText(reader.readText(length));
    }
    default:
        error = DecodeError::UnknownTag;
        return {};
    }
}

// Faults of a well-formed value that the program could not live with.
DecodeError checkMember(RecordField field, const TaggedValue &value)
{
    if (!kindFits(field, value.kind()))
        return DecodeError::UnusableValue;
    if (field == RecordField::Hoehe && !altitudeInRange(value.toNumber()))
        return DecodeError::AltitudeRange;
    // The indicator's offset ends up as a single-precision coordinate; beyond
    // that range the conversion itself is undefined.
    if (field == RecordField::Tendenzlatte && std::fabs(value.toNumber()) > std::numeric_limits<float>::max())
        return DecodeError::UnusableValue;
    return DecodeError::None;
}

} // namespace

const char *recordFieldName(RecordField field)
{
#define BAROVISTA_FIELD_NAME(field, member, kind) #member,
    static constexpr const char *kNames[kRecordSize] = {BAROVISTA_RECORD_FIELDS(BAROVISTA_FIELD_NAME)};
#undef BAROVISTA_FIELD_NAME
    const auto index = static_cast<std::size_t>(field);
    return index < kRecordSize ? kNames[index] : "";
}

FieldKind recordFieldKind(RecordField field)
{
#define BAROVISTA_FIELD_KIND(field, member, kind) FieldKind::kind,
    static constexpr FieldKind kKinds[kRecordSize] = {BAROVISTA_RECORD_FIELDS(BAROVISTA_FIELD_KIND)};
#undef BAROVISTA_FIELD_KIND
    return kKinds[static_cast<std::size_t>(field)];
}

Record emptyRecord(double dateStart)
{
    Record record;
    record[RecordField::Datestart] = TaggedValue::fromDate(dateStart);
    return record;
}

QByteArray encodeRecord(const Record &record)
{
    QByteArray bytes;
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        const TaggedValue &value = record[static_cast<RecordField>(i)];
        switch (value.kind()) {
        case TaggedValue::Kind::Empty:
            appendTag(bytes, kTagEmpty);
            break;
        case TaggedValue::Kind::Double:
            appendDouble(bytes, kTagDouble, value.doubleValue());
            break;
        case TaggedValue::Kind::Date:
            appendDouble(bytes, kTagDate, value.doubleValue());
            break;
        case TaggedValue::Kind::Text: {
            QByteArray text = textToCp1252(value.textValue());
            text.truncate(std::numeric_limits<quint16>::max());
            appendTag(bytes, kTagText);
            appendTag(bytes, static_cast<quint16>(text.size()));
            bytes.append(text);
            break;
        }
        }
    }
    return bytes;
}

DecodeResult decodeRecord(const QByteArray &bytes)
{
    DecodeResult result;
    Reader reader(bytes);
    for (std::size_t i = 0; i < kRecordSize; ++i) {
        const auto field = static_cast<RecordField>(i);
        const std::size_t start = reader.position();
        DecodeError error = DecodeError::None;
        TaggedValue value = readValue(reader, error);
        if (error == DecodeError::None)
            error = checkMember(field, value);
        if (error != DecodeError::None) {
            result.record = Record{};
            result.error = error;
            result.offset = start;
            result.field = field;
            return result;
        }
        result.record[field] = std::move(value);
    }
    return result;
}

} // namespace barovista
