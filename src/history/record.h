// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/taggedvalue.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace barovista {

// The twenty values of the history file, described once, in file order: the
// field, the main window's member that holds it, and the kind of value that
// member can use. The enum, the members' names, the codec's checks and the
// window's state are all made from this one list.
#define BAROVISTA_RECORD_FIELDS(X)                                                                           \
    X(Hoehe, hoehe, Text)                                                                                    \
    X(Luftdruck, luftdruck, Text)                                                                            \
    X(Tendenzlatte, tendenzlatte, Double)                                                                    \
    X(Mitte, mitte, Text)                                                                                    \
    X(Meer, meer, Text)                                                                                      \
    X(Infotext, infotext, Text)                                                                              \
    X(Kali, kali, Text)                                                                                      \
    X(Lastmess, lastmess, Text)                                                                              \
    X(Datelastmess, datelastmess, Date)                                                                      \
    X(Timelastmess, timelastmess, Text)                                                                      \
    X(Minmeer, minmeer, Double)                                                                              \
    X(Maxmeer, maxmeer, Double)                                                                              \
    X(Timeminmeer, timeminmeer, Text)                                                                        \
    X(Dateminmeer, dateminmeer, Date)                                                                        \
    X(Timemaxmeer, timemaxmeer, Text)                                                                        \
    X(Datemaxmeer, datemaxmeer, Date)                                                                        \
    X(AbsolutLastmess, absolut_lastmess, Double)                                                             \
    X(AbsolutMaxmeer, absolut_maxmeer, Double)                                                               \
    X(AbsolutMinmeer, absolut_minmeer, Double)                                                               \
    X(Datestart, datestart, Date)

#define BAROVISTA_FIELD_ENUM(field, member, kind) field,
enum class RecordField : int { BAROVISTA_RECORD_FIELDS(BAROVISTA_FIELD_ENUM) };
#undef BAROVISTA_FIELD_ENUM
#define BAROVISTA_FIELD_COUNT(field, member, kind) +1
inline constexpr std::size_t kRecordSize = 0 BAROVISTA_RECORD_FIELDS(BAROVISTA_FIELD_COUNT);
#undef BAROVISTA_FIELD_COUNT

// What a member can hold besides nothing: a text member shows whatever it
// holds as text, so any value is of use there; a number or date member is
// compared and computed with.
enum class FieldKind { Text, Double, Date };
FieldKind recordFieldKind(RecordField field);

// The member's name, as the main window calls it ("hoehe", "absolut_minmeer").
const char *recordFieldName(RecordField field);

class Record
{
public:
    TaggedValue &operator[](RecordField field) { return m_values[static_cast<std::size_t>(field)]; }
    const TaggedValue &operator[](RecordField field) const
    {
        return m_values[static_cast<std::size_t>(field)];
    }
    friend bool operator==(const Record &, const Record &) = default;

private:
    std::array<TaggedValue, kRecordSize> m_values{};
};

// The record a first start writes: nothing but the day the history began.
Record emptyRecord(double dateStart);

// File tags.
inline constexpr quint16 kTagEmpty = 0;
inline constexpr quint16 kTagDouble = 5;
inline constexpr quint16 kTagDate = 7;
inline constexpr quint16 kTagText = 8;

// The bytes of a record: each value as a little-endian tag and its data, texts
// in Windows-1252 with a two-byte length. A character without a Windows-1252
// byte is written as "?", but for a locale's decimal separator "٫", which is
// written as the comma; a text longer than 65535 bytes is cut there. An
// integer value is written as a double, since the file has no integer tag.
QByteArray encodeRecord(const Record &record);

// Why a history file could not be used.
enum class DecodeError {
    None,
    Truncated,     // ends before the twentieth value is complete
    UnknownTag,    // a tag other than 0, 5, 7 and 8
    TextPastEnd,   // a text's length runs past the end of the file
    UnusableValue, // a value of a kind its member cannot hold
    NotANumber,    // NaN or an infinity
    AltitudeRange, // an altitude the formulas cannot compute with
    DateRange,     // a date outside the years 100 to 9999
};

// Where a history file's bytes stop being a record, and why.
struct DecodeFault
{
    DecodeError error = DecodeError::None;
    std::size_t offset = 0;                 // where the faulty value's tag begins
    RecordField field = RecordField::Hoehe; // the value the fault was found in
};

struct DecodeResult : DecodeFault
{
    Record record;
    bool ok() const { return error == DecodeError::None; }
};

// The most bytes a record can take: twenty texts of the longest length.
inline constexpr std::size_t kMaxRecordBytes = kRecordSize * (4 + 65535);

// Reads the twenty values from the start of the bytes; anything behind them is
// ignored. Strict: every value must be complete, of a known tag, and of a kind
// and range its member can use. On failure the record is left empty.
DecodeResult decodeRecord(const QByteArray &bytes);

} // namespace barovista
