// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QList>

#include <functional>
#include <optional>

namespace barovista {

// A single-line input field that reports its keys the way the window's
// handlers expect them: key down before the text changes, a per-character
// filter that can replace or swallow the character, key up after the change,
// and focus entry and exit.
class InputField : public QLineEdit
{
    Q_OBJECT
public:
    explicit InputField(QWidget *parent = nullptr);

    // Key down, with the Qt key code. Runs for every press, auto-repeat too.
    std::function<void(int key)> keyDown;
    // The character about to be inserted; returns the character to insert
    // instead, or 0 to swallow it.
    std::function<char16_t(char16_t character)> keyPress;
    // Key up, after the text changed. Not for auto-repeat releases, and only
    // for a key whose key down this field received: the release of a key
    // pressed elsewhere (Enter or Esc closing a box, Tab arriving from a
    // button, a key from another window) is no key typed here. A key typed
    // here counts at its release wherever the focus went in between, so that
    // a fast typist's next key (Enter, Tab) cannot leave a changed text
    // without its key up; see keyReleaseEvent and eventFilter.
    std::function<void(int key)> keyUp;
    // Focus moved in or out; the window decides whether it really changed.
    std::function<void(QFocusEvent *event)> focusChanged;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void rememberPress(const QKeyEvent &event);
    bool forgetPress(const QKeyEvent &event);
    void forgetModifiers();
    void releaseAllHere();

    bool m_menuKeyDown = false; // the context-menu key arrived as a key press
    // The keys pressed in this field and not yet released. A key is known by
    // its scan code where the window system gives one, since its key code can
    // change with the modifiers between press and release ("@" pressed, "2"
    // released once Shift is up).
    struct PressedKey
    {
        int key;
        quint32 scanCode;
    };
    QList<PressedKey> m_pressed;
    // The key whose key down is being handled: should it move the focus on
    // (Enter, F1, F12), its release belongs to where the focus went.
    std::optional<PressedKey> m_inKeyDown;
    bool m_lentToMenuBar = false; // the menu bar holds the focus this field lent it
};

} // namespace barovista
