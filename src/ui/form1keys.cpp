// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keyboard and mouse: the keys of the input fields and the
// live recomputation they start, the focus entering and leaving a field, the
// events of controls without handlers of their own, and the menu bar by
// keyboard. What the buttons and menu entries do is in form1.cpp.

#include "ui/form1.h"

#include "pressure/inputfilter.h"
#include "ui/inputfield.h"
#include "ui/scale.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>

namespace barovista {

// ---------------------------------------------------------------------------
// Keys and focus of the input fields

char16_t Form1::filteredKeyPress(InputFilter filter, InputField *field, char16_t character)
{
    const FilterDecision decision = filter(field->text(), character);
    if (decision.beep)
        m_platform->beep();
    return decision.character;
}

void Form1::eingabe1_KeyDown(int key)
{
    if (key == Qt::Key_Shift)
        return;
    if (key == Qt::Key_F12) {
        m_platform->showMessage(this, {m_session.pfad.toText(m_locale), QStringLiteral("Speicherpfad"),
                                       Platform::Buttons::Ok, Platform::Icon::None, Platform::Answer::Ok});
    }
    if (key == Qt::Key_F1)
        Hilfe_Click();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusTo(Command1);
    liveRecomputation();
}

void Form1::eingabe1_KeyUp(int key)
{
    if (key != Qt::Key_Shift)
        liveRecomputation();
}

void Form1::eingabe2_KeyDown(int key)
{
    if (key == Qt::Key_F1)
        Hilfe_Click();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusTo(eingabe1);
}

void Form1::eingabe2_KeyUp(int key)
{
    if (key != Qt::Key_Shift)
        resultClearing();
}

void Form1::eingabe3_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusTo(Command2);
    if (key == Qt::Key_F1)
        Hilfe_Click();
}

void Form1::liveRecomputation()
{
    m_session.recompute(m_locale);
    drawScreen();
}

void Form1::resultClearing()
{
    m_session.clearResult();
    drawScreen();
}

void Form1::focusTo(QWidget *widget)
{
    widget->setFocus(Qt::OtherFocusReason);
    syncFocus();
}

// The window's focus widget is the logical focus: it stays the same while a
// message box or a menu is open, so focus entry and exit run only when the
// focus really moves from one control to another.
void Form1::syncFocus()
{
    QWidget *now = focusWidget();
    // Alt alone lends the focus to the menu bar for its keyboard navigation;
    // the field keeps its state until a control really takes the focus.
    if (now == m_logicalFocus || now == menuBar())
        return;
    QWidget *old = m_logicalFocus;
    m_logicalFocus = now;
    if (auto *field = qobject_cast<InputField *>(old))
        focusExit(field);
    if (auto *field = qobject_cast<InputField *>(now))
        focusEntry(field);
}

void Form1::focusEntry(InputField *field)
{
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    field->deselect();
    field->setCursorPosition(static_cast<int>(field->text().size()));
}

void Form1::focusExit(InputField *field)
{
    field->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

// ---------------------------------------------------------------------------
// Events of controls without handlers of their own

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == menuBar())
            return menuBarKey(static_cast<QKeyEvent *>(event));
        if ((watched == Command1 || watched == Command2)
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
            Hilfe_Click();
            return true;
        }
        break;
    case QEvent::Shortcut:
        // The access key moves the focus onto the button before pressing it,
        // so the release of Alt and the letter reaches the button, not the
        // altitude field, whose key-up would clear the fresh result again.
        if (watched == Command1 || watched == Command2) {
            auto *button = static_cast<QPushButton *>(watched);
            focusTo(button);
            button->click();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == anzeige1 || watched == anzeige2) {
            focusTo(eingabe2);
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// After Alt alone the menu bar waits for a letter, an arrow or Enter. Its
// entries open no menus, so Qt would only highlight the entry a letter names;
// run it at once instead, as the letter does together with Alt. Enter (or
// Space) runs the highlighted entry, as Qt does, but only after the keyboard
// navigation has handed the focus back to the control that had it: Qt would
// run the entry first, and a box opened by it takes the focus away before
// the navigation ends, which then leaves the focus on the menu bar.
bool Form1::menuBarKey(QKeyEvent *event)
{
    QAction *chosen = nullptr;
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        chosen = menuBar()->activeAction();
    } else {
        const QString typed = event->text().toLower();
        if (typed.size() != 1 || !typed.front().isLetter())
            return false;
        for (QAction *action : menuBar()->actions()) {
            const QString caption = action->text();
            const qsizetype amp = caption.indexOf(QLatin1Char('&'));
            if (amp >= 0 && amp + 1 < caption.size() && caption[amp + 1].toLower() == typed.front()) {
                chosen = action;
                break;
            }
        }
    }
    if (!chosen || chosen->menu())
        return false;
    // Leave the keyboard navigation first, which hands the focus back.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(menuBar(), &escape);
    chosen->trigger();
    return true;
}

// F10 starts and ends the menu bar's keyboard navigation, as Alt alone does.
// Qt's menu bar offers no call for it; it watches for Alt itself, so it is
// given the two events Alt alone makes: the press, which it sees as the
// window's shortcut check, and the release. As on a real keyboard, the press
// carries no modifier and the release carries Alt (Qt reports the Alt key's
// own modifier flipped).
void Form1::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::NoModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    QKeyEvent altDown(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &altDown);
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(menuBar(), &altUp);
    event->accept();
}

} // namespace barovista
