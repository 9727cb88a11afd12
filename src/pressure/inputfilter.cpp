// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressure/inputfilter.h"

namespace barovista {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

FilterDecision altitudeFilter(const QString &text, char16_t character)
{
    // The whole text counts, even when part of it is selected.
    if (text.size() >= kAltitudeLength && character != kBackspace)
        return {0, true};
    if (!isDigit(character) && character != kBackspace)
        return {0, false};
    return {character, false};
}

FilterDecision pressureFilter(const QString &text, char16_t character)
{
    if (text.size() >= kPressureLength && character != kBackspace)
        return {0, true};
    if (character == u',')
        character = u'.';
    if (character == u'.' && text.contains(QLatin1Char('.')))
        return {0, false};
    if (!isDigit(character) && character != u'.' && character != kBackspace)
        return {0, false};
    return {character, false};
}

std::optional<QString> typedInto(InputFilter filter, const QString &value)
{
    if (value.isEmpty())
        return std::nullopt;
    QString field;
    for (const QChar typed : value) {
        const char16_t character = filter(field, typed.unicode()).character;
        if (character == 0 || character == kBackspace)
            return std::nullopt;
        field += QChar(character);
    }
    return field;
}

} // namespace barovista
