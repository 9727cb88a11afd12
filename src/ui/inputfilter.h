// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QKeyEvent;

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

// The character a key press would type, or 0 for keys that type none (arrows,
// Home, End, Delete, function keys). Enter, Escape and Backspace count as
// characters, and so do Ctrl+letter combinations (as control codes), so that
// the filters can swallow keyboard copy and paste.
char16_t typedCharacter(const QKeyEvent &event);

} // namespace barovista
