// SPDX-License-Identifier: GPL-3.0-or-later
// The input fields on real key events: filters, the Enter chain, F1 and F12,
// the live recomputation, focus entry and exit, and the scale's hover texts.

#include "test_ui_input.h"

#include "uifixture.h"

#include "ui/form2.h"
#include "ui/inputfield.h"
#include "ui/line.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>

using namespace barovista;
using namespace barovista::testing;

namespace {

// A key sequence as text: plain characters are typed, and a few names in
// braces stand for keys: {bs} {del} {home} {left} {enter} {esc} {ctrl+v}
// {ctrl+c} {ctrl+x} {ctrl+h} {selall}.
void typeInto(QWidget *field, const QString &keys)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] == QLatin1Char('{')) {
            const qsizetype end = keys.indexOf(QLatin1Char('}'), i);
            const QString name = keys.mid(i + 1, end - i - 1);
            i = end;
            if (name == QLatin1String("bs"))
                QTest::keyClick(field, Qt::Key_Backspace);
            else if (name == QLatin1String("del"))
                QTest::keyClick(field, Qt::Key_Delete);
            else if (name == QLatin1String("home"))
                QTest::keyClick(field, Qt::Key_Home);
            else if (name == QLatin1String("left"))
                QTest::keyClick(field, Qt::Key_Left);
            else if (name == QLatin1String("esc"))
                QTest::keyClick(field, Qt::Key_Escape);
            else if (name == QLatin1String("ctrl+v"))
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            else if (name == QLatin1String("ctrl+c"))
                QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
            else if (name == QLatin1String("ctrl+x"))
                QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
            else if (name == QLatin1String("ctrl+h"))
                QTest::keyClick(field, Qt::Key_H, Qt::ControlModifier);
            else if (name == QLatin1String("ctrl+bs"))
                QTest::keyClick(field, Qt::Key_Backspace, Qt::ControlModifier);
            else if (name == QLatin1String("alt+3"))
                QTest::keyClick(field, '3', Qt::AltModifier);
            else if (name == QLatin1String("selall"))
                static_cast<QLineEdit *>(field)->selectAll();
            else
                QFAIL(qPrintable(QStringLiteral("unknown key ") + name));
        } else {
            QTest::keyClick(field, keys[i].toLatin1());
        }
    }
}

void moveOver(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The pointer resting on a widget: the request for its tooltip.
void restOn(QWidget *widget)
{
    const QPoint centre = widget->rect().center();
    QHelpEvent rest(QEvent::ToolTip, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &rest);
}

} // namespace

void InputFieldsTest::filters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");

    QTest::newRow("comma becomes point") << "eingabe2"
                                         << ""
                                         << "1013,25"
                                         << "1013.25" << 0;
    QTest::newRow("second point dropped") << "eingabe2"
                                          << ""
                                          << "10.5.,"
                                          << "10.5" << 0;
    QTest::newRow("eighth character beeps") << "eingabe2"
                                            << ""
                                            << "1013.255"
                                            << "1013.25" << 1;
    QTest::newRow("full field beeps even for a point") << "eingabe3"
                                                       << "1013255"
                                                       << "."
                                                       << "1013255" << 1;
    QTest::newRow("letters minus blank dropped") << "eingabe2"
                                                 << ""
                                                 << "a-+ e1x"
                                                 << "1" << 0;
    QTest::newRow("backspace in a full field") << "eingabe2"
                                               << "1013.25"
                                               << "{bs}{bs}"
                                               << "1013." << 0;
    QTest::newRow("typing over a selection still counts the whole text") << "eingabe2"
                                                                         << "1013.25"
                                                                         << "{selall}9"
                                                                         << "1013.25" << 1;
    QTest::newRow("weather field filters alike") << "eingabe3"
                                                 << ""
                                                 << "1020,5,x"
                                                 << "1020.5" << 0;
    QTest::newRow("altitude digits only") << "eingabe1"
                                          << ""
                                          << "1.5-,a0"
                                          << "150" << 0;
    QTest::newRow("fifth digit beeps") << "eingabe1"
                                       << ""
                                       << "99999"
                                       << "9999" << 1;
    QTest::newRow("backspace in a full altitude") << "eingabe1"
                                                  << "9999"
                                                  << "{bs}1"
                                                  << "9991" << 0;
    QTest::newRow("enter and escape never reach the text") << "eingabe2"
                                                           << "12"
                                                           << "{esc}"
                                                           << "12" << 0;
    QTest::newRow("keyboard paste refused") << "eingabe2"
                                            << "12"
                                            << "{ctrl+v}"
                                            << "12" << 0;
    QTest::newRow("keyboard cut refused") << "eingabe1"
                                          << "12"
                                          << "{selall}{ctrl+x}"
                                          << "12" << 0;
    QTest::newRow("ctrl+backspace deletes no word") << "eingabe2"
                                                    << "10.5"
                                                    << "{ctrl+bs}"
                                                    << "10.5" << 0;
    QTest::newRow("ctrl+h deletes one character") << "eingabe2"
                                                  << "10.5"
                                                  << "{ctrl+h}"
                                                  << "10." << 0;
    QTest::newRow("ctrl+h in a full altitude") << "eingabe1"
                                               << "9999"
                                               << "{ctrl+h}{ctrl+h}1"
                                               << "991" << 0;
    QTest::newRow("ctrl+h deletes a selection") << "eingabe3"
                                                << "1013.25"
                                                << "{selall}{ctrl+h}"
                                                << "" << 0;
    QTest::newRow("alt with a digit types nothing") << "eingabe1"
                                                    << "1"
                                                    << "{alt+3}"
                                                    << "1" << 0;
    QTest::newRow("keys without a character work") << "eingabe2"
                                                   << "123"
                                                   << "{home}{del}"
                                                   << "23" << 0;
    QTest::newRow("insert in the middle") << "eingabe2"
                                          << "125"
                                          << "{left}{left}."
                                          << "1.25" << 0;
}

void InputFieldsTest::filters()
{
    QFETCH(QString, field);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    Window w;
    QApplication::clipboard()->setText(QStringLiteral("555"));
    auto *input = w->findChild<InputField *>(field);
    input->setText(start);
    input->setFocus();
    typeInto(input, keys);
    QCOMPARE(input->text(), text);
    QCOMPARE(w.platform->beeps, beeps);
}

void InputFieldsTest::inputMethodText_goesThroughTheFilter()
{
    Window w;
    QVERIFY(!w->eingabe2->testAttribute(Qt::WA_InputMethodEnabled));
    w->eingabe2->setFocus();
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("é5,2x"));
    QApplication::sendEvent(w->eingabe2, &composed);
    QCOMPARE(w->eingabe2->text(), QStringLiteral("5.2"));
}

void InputFieldsTest::menuBar_keepsFieldStateAndRunsEntryByLetter()
{
    Window w;
    w->eingabe1->setText(QStringLiteral("500"));
    w->eingabe1->setFocus();
    w->eingabe1->setCursorPosition(1);
    // Alt alone lends the focus to the menu bar and gives it back.
    w->menuBar()->setFocus(Qt::MenuBarFocusReason);
    QCOMPARE(w->eingabe1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    w->eingabe1->setFocus(Qt::MenuBarFocusReason);
    QCOMPARE(w->eingabe1->cursorPosition(), 1);

    // A letter while the menu bar waits runs its entry at once.
    w->menuBar()->setFocus(Qt::MenuBarFocusReason);
    QTest::keyClick(w->menuBar(), Qt::Key_S);
    QCOMPARE(w.platform->boxes.size(), 1);
    QCOMPARE(w.platform->boxes.first().title, QStringLiteral("Barovista 1.1 - Statistik"));

    // F10 opens the menu bar as Alt does, and a second F10 closes it.
    w->eingabe1->setFocus();
    QTest::keyClick(w->eingabe1, Qt::Key_F10);
    QCOMPARE(QApplication::focusWidget(), w->menuBar());
    QTest::keyClick(w->menuBar(), Qt::Key_F10);
    QCOMPARE(QApplication::focusWidget(), w->eingabe1);
}

void InputFieldsTest::maxLength_refusesOverlongText()
{
    Window w;
    w->eingabe1->insert(QStringLiteral("123456"));
    QCOMPARE(w->eingabe1->text(), QStringLiteral("1234"));
    w->eingabe2->setText(QStringLiteral("1013.2567"));
    QCOMPARE(w->eingabe2->text(), QStringLiteral("1013.25"));
}

void InputFieldsTest::enterChain_leadsToEvaluationAndCalibration()
{
    Window w;
    QTest::keyClicks(w->eingabe2, QStringLiteral("900"));
    QTest::keyClick(w->eingabe2, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->eingabe1);
    QTest::keyClicks(w->eingabe1, QStringLiteral("1000"));
    QTest::keyClick(w->eingabe1, Qt::Key_Enter); // the keypad's Enter too
    QCOMPARE(QApplication::focusWidget(), w->Command1);
    QVERIFY(w->anzeige2->text().isEmpty());
    QTest::keyClick(w->Command1, Qt::Key_Return);
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    QCOMPARE(w->eingabe2->text(), QStringLiteral("900"));

    w->eingabe3->setFocus();
    QTest::keyClicks(w->eingabe3, QStringLiteral("1013"));
    QTest::keyClick(w->eingabe3, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->Command2);
    QVERIFY(w.platform->boxes.isEmpty());
    QTest::keyClick(w->Command2, Qt::Key_Return);
    QCOMPARE(w.platform->boxes.size(), 1);
    QCOMPARE(w.platform->boxes.first().title, QStringLiteral("Barovista 1.1 - Kalibrierung"));
}

void InputFieldsTest::f1_opensHelp_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("modifiers");
    for (const char *name : {"eingabe1", "eingabe2", "eingabe3", "Command1", "Command2"}) {
        QTest::newRow(name) << name << int(Qt::NoModifier);
        QTest::newRow(qPrintable(QStringLiteral("%1 with ctrl").arg(QLatin1String(name))))
            << name << int(Qt::ControlModifier);
    }
    QTest::newRow("eingabe2 with shift") << "eingabe2" << int(Qt::ShiftModifier);
    QTest::newRow("Command1 with alt") << "Command1" << int(Qt::AltModifier);
}

void InputFieldsTest::f1_opensHelp()
{
    QFETCH(QString, control);
    QFETCH(int, modifiers);
    Window w;
    auto *widget = w->findChild<QWidget *>(control);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.platform->modalWindows, QStringList{QStringLiteral("Form2")});
    QVERIFY(w->helpWindow());
    w->helpWindow()->close();
}

void InputFieldsTest::f12_showsDataFolderThenRecomputes()
{
    Window w;
    w->eingabe1->setText(QStringLiteral("1000"));
    w->eingabe1->setFocus();
    QTest::keyClick(w->eingabe1, Qt::Key_F12);
    QCOMPARE(w.platform->boxes.size(), 1);
    const auto &box = w.platform->boxes.first();
    QCOMPARE(box.title, QStringLiteral("Speicherpfad"));
    QCOMPARE(box.icon, Platform::Icon::None);
    QCOMPARE(box.buttons, Platform::Buttons::Ok);
    QCOMPARE(box.prompt, QDir::toNativeSeparators(w.appData.path() + QStringLiteral("/barovista")));
    QCOMPARE(w->anzeige1->text(), QStringLiteral("898,54  hPa"));

    w->eingabe2->setFocus();
    QTest::keyClick(w->eingabe2, Qt::Key_F12);
    QCOMPARE(w.platform->boxes.size(), 1); // only the altitude field knows F12
}

void InputFieldsTest::liveRecomputation_followsTheAltitude()
{
    Window w;
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    const double offset = w->session().tendenzlatte.toNumber();
    w->eingabe1->setFocus();

    QTest::keyClick(w->eingabe1, Qt::Key_Shift); // Shift alone changes nothing
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    QVERIFY(w->Frame2->latte->isVisible());

    QTest::keyClick(w->eingabe1, Qt::Key_Right); // so does every other key
    QCOMPARE(w->anzeige1->text(), QStringLiteral("898,54  hPa"));
    QVERIFY(w->anzeige2->text().isEmpty());
    QVERIFY(w->anzeige4->text().isEmpty());
    for (QWidget *hidden :
         {static_cast<QWidget *>(w->Frame2->latte), static_cast<QWidget *>(w->Frame2->Label13),
          static_cast<QWidget *>(w->Frame2->Label14), static_cast<QWidget *>(w->Frame2->range)})
        QVERIFY(!hidden->isVisible());
    QCOMPARE(w->session().saveok, 1.0f);
    QCOMPARE(w->session().tendenzlatte.toNumber(), offset);

    typeInto(w->eingabe1, QStringLiteral("{bs}{bs}{bs}{bs}500"));
    QCOMPARE(w->anzeige1->text(), QStringLiteral("954,5  hPa"));
    QCOMPARE(w->session().tendenz.toNumber(), -57.85); // 900 hPa at 500 m is 955.4 at sea level
}

void InputFieldsTest::editMenu_runsKeyHandlersOnlyForKeys_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("reason"); // of the menu request; -1: the key itself arrives
    QTest::addColumn<bool>("cleared");
    // On X11 the context-menu key arrives only as a keyboard request for the menu.
    QTest::newRow("menu key in the altitude field") << "eingabe1" << int(QContextMenuEvent::Keyboard) << true;
    QTest::newRow("menu key in the barometer field")
        << "eingabe2" << int(QContextMenuEvent::Keyboard) << true;
    QTest::newRow("menu key in the weather field") << "eingabe3" << int(QContextMenuEvent::Keyboard) << false;
    QTest::newRow("menu key as a key press") << "eingabe2" << -1 << true;
    QTest::newRow("right click is no key") << "eingabe1" << int(QContextMenuEvent::Mouse) << false;
}

void InputFieldsTest::editMenu_runsKeyHandlersOnlyForKeys()
{
    QFETCH(QString, field);
    QFETCH(int, reason);
    QFETCH(bool, cleared);
    Window w;
    w.evaluate(QStringLiteral("100"), QStringLiteral("1000"));
    const QString meanPressure = w->anzeige1->text();
    auto *input = w->findChild<InputField *>(field);
    QTest::mouseClick(input, Qt::LeftButton);

    // The menu is closed with a mouse click elsewhere, which runs no key.
    QTimer::singleShot(0, [] {
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
    });
    if (reason < 0) {
        QTest::keyClick(input, Qt::Key_Menu);
    } else {
        QContextMenuEvent request(QContextMenuEvent::Reason(reason), QPoint(4, 4),
                                  input->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(input, &request);
    }
    QTRY_VERIFY(!QApplication::activePopupWidget());

    QCOMPARE(w->anzeige2->text().isEmpty(), cleared);
    QCOMPARE(w->anzeige4->text().isEmpty(), cleared);
    QCOMPARE(w->Frame2->latte->isVisible(), !cleared);
    QCOMPARE(w->anzeige1->text(), meanPressure);
}

void InputFieldsTest::keysInOtherFields_clearOrKeep()
{
    Window w;
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));

    w->eingabe3->setFocus();
    QTest::keyClicks(w->eingabe3, QStringLiteral("1013"));
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    QVERIFY(w->Frame2->latte->isVisible());

    w->eingabe2->setFocus();
    QTest::keyClick(w->eingabe2, Qt::Key_End);
    QVERIFY(w->anzeige2->text().isEmpty());
    QVERIFY(w->anzeige4->text().isEmpty());
    QVERIFY(!w->Frame2->latte->isVisible());
    QCOMPARE(w->anzeige1->text(), QStringLiteral("898,54  hPa")); // kept: it does not depend on the reading
}

void InputFieldsTest::keyRelease_countsForTheFieldItWasPressedIn_data()
{
    // Steps on the focus widget unless named: "+K" presses K, "-K" releases
    // it, "~K" is K's auto-repeat release, "menu" lends the focus to the menu
    // bar and takes it back, "alt+b" is the access key of Command1, "away"
    // gives the keyboard to another program, "2" puts the focus into eingabe2.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("rollover with Enter") << "+5 +enter -enter -5" << true;
    QTest::newRow("rollover with Tab") << "+5 +tab -tab -5" << true;
    QTest::newRow("auto-repeat release") << "+5 ~5" << false;
    QTest::newRow("held while the menu bar had the focus") << "+5 menu -5" << false;
    QTest::newRow("Enter moved the focus on, released back here") << "+enter 2 -enter" << false;
    QTest::newRow("Enter's release where it moved the focus") << "+enter -enter" << false;
    QTest::newRow("Alt of Alt+B released on the button") << "+alt alt+b -alt" << false;
    QTest::newRow("the window lost the keyboard") << "+5 away" << true;
}

void InputFieldsTest::keyRelease_countsForTheFieldItWasPressedIn()
{
    QFETCH(QString, steps);
    QFETCH(bool, cleared);
    Window w;
    w.evaluate(QStringLiteral("500"), QStringLiteral("950,5"));
    w->eingabe2->setFocus();
    const auto key = [](const QString &name) {
        return name == QLatin1String("enter") ? Qt::Key_Return
               : name == QLatin1String("tab") ? Qt::Key_Tab
               : name == QLatin1String("alt") ? Qt::Key_Alt
                                              : Qt::Key(name.at(0).unicode());
    };
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        QWidget *focus = QApplication::focusWidget();
        if (step == QLatin1String("menu")) {
            w->menuBar()->setFocus(Qt::MenuBarFocusReason);
            focus->setFocus(Qt::MenuBarFocusReason);
        } else if (step == QLatin1String("alt+b")) {
            QShortcutEvent accessKey(QKeySequence(Qt::ALT | Qt::Key_B), 0);
            QApplication::sendEvent(w->Command1, &accessKey);
        } else if (step == QLatin1String("away")) {
            QApplication::setActiveWindow(nullptr);
        } else if (step == QLatin1String("2")) {
            w->eingabe2->setFocus();
        } else if (step.startsWith(QLatin1Char('~'))) {
            QKeyEvent repeat(QEvent::KeyRelease, key(step.mid(1)), Qt::NoModifier, step.mid(1), true);
            QApplication::sendEvent(focus, &repeat);
        } else if (step.startsWith(QLatin1Char('+'))) {
            QTest::keyPress(focus, key(step.mid(1)));
        } else {
            QTest::keyRelease(focus, key(step.mid(1)));
        }
    }
    QCOMPARE(w->anzeige2->text().isEmpty(), cleared);
    QCOMPARE(w->anzeige4->text().isEmpty(), cleared);
}

void InputFieldsTest::focus_alignsAndPlacesCaret()
{
    Window w;
    w->eingabe2->setText(QStringLiteral("1013.25"));
    w->eingabe1->setText(QStringLiteral("500"));
    QCOMPARE(w->eingabe1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    QTest::keyClick(w->eingabe2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->eingabe1);
    QCOMPARE(w->eingabe1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(w->eingabe1->cursorPosition(), 3);
    QVERIFY(!w->eingabe1->hasSelectedText());
    QCOMPARE(w->eingabe2->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // A box in between does not count as leaving the field.
    w->eingabe1->setCursorPosition(1);
    QTest::keyClick(w->eingabe1, Qt::Key_F12);
    QCOMPARE(w->eingabe1->cursorPosition(), 1);

    w->Command2->setFocus();
    QTest::keyClick(w->Command2, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->eingabe2);
    QCOMPARE(w->eingabe2->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(w->eingabe2->cursorPosition(), 7);
    QVERIFY(!w->eingabe2->hasSelectedText());
    QCOMPARE(w->eingabe1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

void InputFieldsTest::displayClick_focusesBarometerField()
{
    Window w;
    for (QLineEdit *display : {w->anzeige1, w->anzeige2}) {
        w->Command1->setFocus();
        QTest::mouseClick(display, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w->eingabe2);
        QTest::mouseClick(display, Qt::RightButton);
        QCOMPARE(QApplication::focusWidget(), w->eingabe2);
    }
}

void InputFieldsTest::hover_showsSeaLevelValue()
{
    Window w;
    moveOver(w->Frame2->Label7);
    QVERIFY(w->Frame2->Label7->toolTip().isEmpty()); // nothing to show yet

    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    for (QLabel *label : {w->Frame2->Label8, w->Frame2->Label10, w->Frame2->Label6, w->Frame2->Label7,
                          w->Frame2->Label11, w->Frame2->Label9}) {
        moveOver(label);
        QCOMPARE(label->toolTip(), QStringLiteral("1014,9  hPa"));
    }
    for (QLabel *label : {w->Frame2->Label16, w->Frame2->Label15, w->Frame2->Label19, w->Frame2->Label18,
                          w->Frame2->Label17, w->Frame2->Label13, w->Frame2->Label14}) {
        moveOver(label);
        QVERIFY(label->toolTip().isEmpty());
    }
    QVERIFY(w->Frame2->toolTip().isEmpty()); // captions without feedback do not pass it on

    moveOver(w->Frame2->range);
    QVERIFY(w->Frame2->range->toolTip().isEmpty());
    QCOMPARE(w->Frame2->toolTip(), QStringLiteral("1014,9  hPa"));

    // Resting shows the hover text of the control under the pointer; the
    // captions without one show nothing, not the frame's. "out of range"
    // sets the frame's hover text but keeps none of its own.
    restOn(w->Frame2);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("1014,9  hPa"));
    for (QLabel *label : {w->Frame2->Label16, w->Frame2->Label15, w->Frame2->Label19, w->Frame2->Label18,
                          w->Frame2->Label17, w->Frame2->Label13, w->Frame2->Label14, w->Frame2->range}) {
        label->show();
        restOn(w->Frame2->Label7);
        QTRY_VERIFY(QToolTip::isVisible());
        restOn(label);
        QTRY_VERIFY2(!QToolTip::isVisible(), qPrintable(label->objectName()));
    }

    // A cleared display leaves the last hover texts as they are.
    w->eingabe2->setFocus();
    QTest::keyClick(w->eingabe2, Qt::Key_End);
    moveOver(w->Frame2->Label7);
    QCOMPARE(w->Frame2->Label7->toolTip(), QStringLiteral("1014,9  hPa"));
}

void InputFieldsTest::hover_neverRendersMarkupFromData()
{
    Window w;
    w->anzeige2->setText(QStringLiteral("<b>998,4</b>  hPa"));
    moveOver(w->Frame2);
    QVERIFY(w->Frame2->toolTip().contains(QStringLiteral("&lt;b&gt;")));
}
