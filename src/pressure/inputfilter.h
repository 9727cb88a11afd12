// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace barovista {

// The character filters of the three input fields, as pure decisions on the
// field's current text and the typed character.
struct FilterDecision
{
    char16_t character = 0; // what to insert; 0 means the character is swallowed
    bool beep = false;      // the field is full
};

inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kEnter = 13;
inline constexpr char16_t kEscape = 27;
inline constexpr char16_t kDelete = 127;

// How many characters the fields take: the altitude four, the pressures seven.
inline constexpr int kAltitudeLength = 4;
inline constexpr int kPressureLength = 7;

// A field's filter: what typing `character` into a field holding `text` does.
using InputFilter = FilterDecision (*)(const QString &text, char16_t character);

// Altitude: digits only, four characters at most.
FilterDecision altitudeFilter(const QString &text, char16_t character);
// Pressures: digits and one ".", a "," becomes ".", seven characters at most.
FilterDecision pressureFilter(const QString &text, char16_t character);

// The text a field holds after `value` was typed into it character by
// character, or nothing where the filter swallows one of them: a value given
// elsewhere (the command line) is taken exactly as the field would take it.
std::optional<QString> typedInto(InputFilter filter, const QString &value);

} // namespace barovista
