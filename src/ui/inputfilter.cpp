// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inputfilter.h"

#include <QKeyEvent>

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

char16_t typedCharacter(const QKeyEvent &event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    switch (key) {
    // Ctrl+Backspace types DEL, which the filters swallow, rather than
    // deleting a whole word.
    case Qt::Key_Backspace:
        return (mods & Qt::ControlModifier) ? kDelete : kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Escape:
        return kEscape;
    default:
        break;
    }
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.size() == 1 && text.front().isPrint())
        return text.front().unicode();
    if (text.size() == 1 && text.front().unicode() > 0 && text.front().unicode() < 32
        && (mods & Qt::ControlModifier))
        return text.front().unicode();
    if (text.size() > 1 && text.front().isPrint())
        return text.front().unicode(); // composed input: its first character decides
    return 0;
}

} // namespace barovista
