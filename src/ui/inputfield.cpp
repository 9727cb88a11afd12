// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inputfield.h"

#include "pressure/inputfilter.h"

#include <QApplication>
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
    // Sees the release of a key typed here wherever the focus took it.
    QCoreApplication::instance()->installEventFilter(this);
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

// The character a key press would type, or 0 for keys that type none (arrows,
// Home, End, Delete, function keys). Enter, Escape and Backspace count as
// characters, and so do Ctrl+letter combinations (as control codes), so that
// the filters can swallow keyboard copy and paste.
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

bool sameKey(int key, quint32 scanCode, int otherKey, quint32 otherScanCode)
{
    return scanCode != 0 && otherScanCode != 0 ? scanCode == otherScanCode : key == otherKey;
}

bool sameKey(int key, quint32 scanCode, const QKeyEvent &event)
{
    return sameKey(key, scanCode, event.key(), event.nativeScanCode());
}

// Keys that type nothing themselves. Their release counts only here: Alt+B
// moves the focus to Command1 with Alt still down, and Alt's release there
// belongs to the access key, not to the field.
bool isModifier(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
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

void InputField::forgetModifiers()
{
    m_pressed.removeIf([](const PressedKey &pressed) { return isModifier(pressed.key); });
}

// Runs the key up of every key still down, for releases that can no longer
// arrive.
void InputField::releaseAllHere()
{
    const QList<PressedKey> pressed = std::exchange(m_pressed, {});
    for (const PressedKey &key : pressed)
        if (keyUp)
            keyUp(key.key);
}

void InputField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Menu)
        m_menuKeyDown = true;
    rememberPress(*event);
    QPointer<InputField> self(this);
    m_inKeyDown = PressedKey{event->key(), event->nativeScanCode()};
    if (keyDown)
        keyDown(event->key());
    if (!self)
        return;
    m_inKeyDown.reset();

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

// The release of a key typed here that arrives at another control: the
// focus moved on while the key was down (the next key of a fast typist was
// Enter or Tab), and the key counts all the same, so that the text it typed
// never stays beside the result of the text before. While the menu bar holds
// the focus lent by this field, keys count only here.
bool InputField::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && watched != this && watched->isWidgetType()
        && !m_lentToMenuBar) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat() && forgetPress(*key) && keyUp)
            keyUp(key->key());
    }
    return QLineEdit::eventFilter(watched, event);
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

// A key pressed here counts at its release, here or wherever the focus went
// (eventFilter), with three exceptions:
// - a key whose own key down moved the focus on (Enter, F1, F12) belongs
//   to where the focus went;
// - Shift, Ctrl, Alt and the like count only here (isModifier);
// - Alt alone lends the focus to the menu bar while its own release is
//   still on its way here, so that release counts still; once the menu bar
//   hands the focus back, keys pressed before it went there count no more.
// Where the window loses the keyboard to another program, the releases
// cannot arrive any more: the keys count when the field loses it.
void InputField::focusInEvent(QFocusEvent *event)
{
    if (m_lentToMenuBar)
        m_pressed.clear();
    m_lentToMenuBar = false;
    QLineEdit::focusInEvent(event);
    if (focusChanged)
        focusChanged(event);
}

void InputField::focusOutEvent(QFocusEvent *event)
{
    if (m_inKeyDown) {
        const PressedKey moving = *std::exchange(m_inKeyDown, std::nullopt);
        m_pressed.removeIf([&](const PressedKey &pressed) {
            return sameKey(pressed.key, pressed.scanCode, moving.key, moving.scanCode);
        });
    }
    if (event->reason() == Qt::MenuBarFocusReason)
        m_lentToMenuBar = true;
    else
        forgetModifiers();
    QPointer<InputField> self(this);
    QLineEdit::focusOutEvent(event);
    if (focusChanged)
        focusChanged(event);
    if (self && event->reason() == Qt::ActiveWindowFocusReason && !QApplication::activeWindow())
        releaseAllHere();
}

} // namespace barovista
