// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pressure/numbers.h"

#include <QString>
#include <QtGlobal>
#include <variant>

namespace barovista {

// A value that holds exactly one of: nothing, a double, a date (days since
// 1899-12-30) or a text. Most of the main window's state and
// every value of the history file is one of these.
class TaggedValue
{
public:
    enum class Kind { Empty, Double, Date, Text };

    TaggedValue() = default;
    static TaggedValue fromDouble(double value);
    static TaggedValue fromDate(double daySerial);
    static TaggedValue fromText(const QString &text);

    Kind kind() const;
    bool isEmpty() const { return kind() == Kind::Empty; }

    // Equality with the empty text, compared as text: an empty value and a
    // text without characters pass; a number or a date never does.
    bool equalsEmptyText() const;

    // Numeric value for comparisons and arithmetic: empty counts as 0, a
    // double or date as its number, a text by its leading number.
    double toNumber() const;

    // Text form for fields and captions: empty gives "", a number its display
    // form, a date the locale's short date, a text itself.
    QString toText(const DisplayLocale &locale) const;

    // The stored content, for the file codec.
    double doubleValue() const; // double or date
    QString textValue() const;

    friend bool operator==(const TaggedValue &, const TaggedValue &) = default;

private:
    struct DateValue
    {
        double serial = 0;
        friend bool operator==(const DateValue &, const DateValue &) = default;
    };
    std::variant<std::monostate, double, DateValue, QString> m_value;
};

} // namespace barovista
