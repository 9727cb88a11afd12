// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/taggedvalue.h"

namespace barovista {

TaggedValue TaggedValue::fromDouble(double value)
{
    TaggedValue result;
    result.m_value = value;
    return result;
}

TaggedValue TaggedValue::fromDate(double daySerial)
{
    TaggedValue result;
    result.m_value = DateValue{daySerial};
    return result;
}

TaggedValue TaggedValue::fromText(const QString &text)
{
    TaggedValue result;
    result.m_value = text;
    return result;
}

TaggedValue::Kind TaggedValue::kind() const
{
    static_assert(std::variant_size_v<decltype(m_value)> == 4,
                  "the variant's alternatives follow the order of Kind");
    return static_cast<Kind>(m_value.index());
}

bool TaggedValue::equalsEmptyText() const
{
    if (std::holds_alternative<std::monostate>(m_value))
        return true;
    if (const auto *text = std::get_if<QString>(&m_value))
        return text->isEmpty();
    // A number or a date is compared by its text form, which always has
    // characters.
    return false;
}

double TaggedValue::toNumber() const
{
    switch (kind()) {
    case Kind::Empty:
        return 0;
    case Kind::Double:
        return std::get<double>(m_value);
    case Kind::Date:
        return std::get<DateValue>(m_value).serial;
    case Kind::Text:
        return readLeadingNumber(std::get<QString>(m_value));
    }
    return 0;
}

QString TaggedValue::toText(const DisplayLocale &locale) const
{
    switch (kind()) {
    case Kind::Empty:
        return {};
    case Kind::Double:
        return formatNumber(std::get<double>(m_value), locale);
    case Kind::Date:
        return formatDate(std::get<DateValue>(m_value).serial, locale);
    case Kind::Text:
        return std::get<QString>(m_value);
    }
    return {};
}

double TaggedValue::doubleValue() const
{
    if (const auto *value = std::get_if<double>(&m_value))
        return *value;
    if (const auto *date = std::get_if<DateValue>(&m_value))
        return date->serial;
    return 0;
}

QString TaggedValue::textValue() const
{
    const auto *value = std::get_if<QString>(&m_value);
    return value ? *value : QString();
}

} // namespace barovista
