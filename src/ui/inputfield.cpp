// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inputfield.h"

#include "ui/inputfilter.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>

namespace barovista {

InputField::InputField(QWidget *parent) : QLineEdit(parent)
{
    // Numbers need no input method. Without one, a dead key or a compose
    // sequence arrives as plain key presses that the filter sees, instead of
    // a finished character that would bypass it.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void InputField::inputMethodEvent(QInputMethodEvent *event)
{
    // Should an input method deliver text all the same, it goes through the
    // filter character by character, like typed keys.
    const QString committed = event->commitString();
    for (const QChar c : committed) {
        const char16_t character = keyPress ? keyPress(c.unicode()) : c.unicode();
        if (character != 0 && character != kBackspace)
            insert(QString(QChar(character)));
    }
    event->accept();
}

namespace {

bool sameKey(int key, quint32 scanCode, const QKeyEvent &event)
{
    return scanCode != 0 && event.nativeScanCode() != 0 ? scanCode == event.nativeScanCode()
                                                        : key == event.key();
}

} // namespace

void InputField::rememberPress(const QKeyEvent &event)
{
    for (const PressedKey &pressed : std::as_const(m_pressed))
        if (sameKey(pressed.key, pressed.scanCode, event))
            return;
    m_pressed.append({event.key(), event.nativeScanCode()});
}

bool InputField::forgetPress(const QKeyEvent &event)
{
    for (qsizetype i = 0; i < m_pressed.size(); ++i) {
        if (sameKey(m_pressed[i].key, m_pressed[i].scanCode, event)) {
            m_pressed.removeAt(i);
            return true;
        }
    }
    return false;
}

void InputField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Menu)
        m_menuKeyDown = true;
    rememberPress(*event);
    QPointer<InputField> self(this);
    if (keyDown)
        keyDown(event->key());
    if (!self)
        return;

    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !event->text().isEmpty()) {
        // Alt with a character key types nothing: it is an access key, or
        // nothing at all.
        event->accept();
        return;
    }
    const char16_t typed = typedCharacter(*event);
    if (typed == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char16_t character = keyPress ? keyPress(typed) : typed;
    if (character == 0) {
        event->accept();
        return;
    }
    if (character == kBackspace && event->key() != Qt::Key_Backspace) {
        // Ctrl+H types a backspace too, and deletes like the Backspace key.
        backspace();
        event->accept();
        return;
    }
    if (character == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The filter replaced the character: type the replacement instead.
    insert(QString(QChar(character)));
    event->accept();
}

void InputField::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Menu && !event->isAutoRepeat())
        m_menuKeyDown = false;
    QLineEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat() || !forgetPress(*event))
        return;
    if (keyUp)
        keyUp(event->key());
}

void InputField::contextMenuEvent(QContextMenuEvent *event)
{
    // On X11 the context-menu key reaches the field only as this request: the
    // window system asks for the menu first, and the key's press and release
    // then go to the open menu. It is a key all the same, so the key handlers
    // run for it, press and release, before the edit menu opens. A right
    // click is no key and runs none.
    if (event->reason() == QContextMenuEvent::Keyboard && !m_menuKeyDown) {
        QPointer<InputField> self(this);
        if (keyDown)
            keyDown(Qt::Key_Menu);
        if (self && keyUp)
            keyUp(Qt::Key_Menu);
        if (!self)
            return;
    }
    QLineEdit::contextMenuEvent(event);
}

// A key pressed here counts at its release only while the field keeps the
// focus: once the focus moves on (Enter to the next control, a box opened)
// the key's release goes elsewhere, and a later release of the same key here
// belongs to a press elsewhere. Alt alone lends the focus to the menu bar
// while its own release is still on its way here, so that release counts
// still; once the menu bar hands the focus back, keys pressed before it went
// there count no more.
void InputField::focusInEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::MenuBarFocusReason)
        m_pressed.clear();
    QLineEdit::focusInEvent(event);
    if (focusChanged)
        focusChanged(event);
}

void InputField::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::MenuBarFocusReason)
        m_pressed.clear();
    QLineEdit::focusOutEvent(event);
    if (focusChanged)
        focusChanged(event);
}

} // namespace barovista
