#include "ui/inputfield.h"

#include "ui/inputfilter.h"

#include <QKeyEvent>
#include <QPointer>

namespace barovista {

InputField::InputField(QWidget *parent) : QLineEdit(parent)
{
    // No context menu: copy and paste are refused in these fields, and the
    // menu would offer them.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void InputField::keyPressEvent(QKeyEvent *event)
{
    QPointer<InputField> self(this);
    if (keyDown)
        keyDown(event->key());
    if (!self)
        return;

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
    QLineEdit::keyReleaseEvent(event);
    if (keyUp && !event->isAutoRepeat())
        keyUp(event->key());
}

void InputField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (focusChanged)
        focusChanged(event);
}

void InputField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (focusChanged)
        focusChanged(event);
}

} // namespace barovista
