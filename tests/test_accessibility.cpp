// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets from the three windows and the message boxes:
// every control it can land on or that shows a result has a name, what a
// label shows is what is read, fields are announced by their labels.

#include "uifixture.h"

#include "ui/accessibility.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/line.h"
#include "ui/platform.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTimer>

using namespace barovista;
using namespace barovista::testing;

namespace {

// Every accessible object below root, depth first.
void collect(QAccessibleInterface *iface, QList<QAccessibleInterface *> &out, int depth = 0)
{
    QVERIFY2(depth < 32, "accessible tree deeper than any window here");
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (!child || !child->isValid())
            continue;
        out.append(child);
        collect(child, out, depth + 1);
    }
}

QList<QAccessibleInterface *> treeOf(QWidget *window)
{
    QList<QAccessibleInterface *> all;
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
    if (!root)
        return all;
    all.append(root);
    collect(root, all);
    return all;
}

QString describe(QAccessibleInterface *iface)
{
    const QObject *object = iface->object();
    const QString name = object ? object->objectName() : QString();
    return QStringLiteral("%1 %2 (role %3)")
        .arg(object ? QString::fromLatin1(object->metaObject()->className()) : QStringLiteral("?"),
             name.isEmpty() ? QStringLiteral("<unnamed>") : name)
        .arg(int(iface->role()));
}

bool isResultControl(const QObject *object)
{
    static const QStringList results = {QStringLiteral("anzeige1"), QStringLiteral("anzeige2"),
                                        QStringLiteral("anzeige4")};
    return object && results.contains(object->objectName());
}

// The controls a screen reader must be able to name: whatever takes the
// focus, every field, button, menu entry, frame and window, every visible
// caption and the result controls.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QAccessibleInterface *iface : treeOf(window)) {
        const QAccessible::State state = iface->state();
        const QAccessible::Role role = iface->role();
        const bool needsName = state.focusable || isResultControl(iface->object())
                               || role == QAccessible::EditableText || role == QAccessible::PushButton
                               || role == QAccessible::MenuItem || qobject_cast<QGroupBox *>(iface->object())
                               || role == QAccessible::Window || role == QAccessible::Dialog
                               || (role == QAccessible::StaticText && !state.invisible);
        if (needsName && iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(describe(iface));
    }
    return unnamed;
}

// A caption on screen that the screen reader does not say: its text is in
// neither the name nor the description.
QStringList unreadCaptions(QWidget *window)
{
    QStringList unread;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        const QString shown = label->text();
        if (shown.isEmpty() || !label->isVisibleTo(window))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
        const QString said =
            iface->text(QAccessible::Name) + QLatin1Char('\n') + iface->text(QAccessible::Description);
        if (!said.contains(shown, Qt::CaseInsensitive))
            unread.append(QStringLiteral("%1: shows \"%2\", says \"%3\"")
                              .arg(label->objectName(), shown, said.simplified()));
    }
    return unread;
}

QString accessibleName(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

QString accessibleDescription(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Description) : QString();
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void everyControlHasAName_data();
    void everyControlHasAName();
    void everyCaptionIsRead_data();
    void everyCaptionIsRead();
    void fieldsAreAnnouncedByTheirLabels_data();
    void fieldsAreAnnouncedByTheirLabels();
    void buttonsSayTheirCaptionAndAccessKey_data();
    void buttonsSayTheirCaptionAndAccessKey();
    void focusCyclesOnlyThroughNamedControls();
    void resultSentence_isReadAndFollowsTheScreen();
    void resultSentence_isReadAfterRestart();
    void screenReaderTree_data();
    void screenReaderTree();
    void scaleDescription_writesNumbersInDisplayLocale();
    void messageBoxes_sayTitleTextAndButtons_data();
    void messageBoxes_sayTitleTextAndButtons();
};

void AccessibilityTest::initTestCase()
{
    // Tell Qt that an assistive tool listens, as the desktop bridge does.
    QAccessible::setActive(true);
}

// Each window in three states: as started, after an evaluation, after an
// evaluation that lies off the scale ("out of range" shown).
void AccessibilityTest::everyControlHasAName_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("reading");
    QTest::newRow("Form1 as started") << "Form1" << QString() << QString();
    QTest::newRow("Form1 evaluated") << "Form1"
                                     << "500"
                                     << "950";
    QTest::newRow("Form1 off the scale") << "Form1"
                                         << "0"
                                         << "1100";
    QTest::newRow("Form2") << "Form2" << QString() << QString();
    QTest::newRow("Form3") << "Form3" << QString() << QString();
}

// The window the current row of everyControlHasAName_data() names, after an
// evaluation of the row's inputs if any.
QWidget *openRowWindow(Window &w)
{
    QFETCH(QString, window);
    QFETCH(QString, altitude);
    QFETCH(QString, reading);
    if (!altitude.isEmpty())
        w.evaluate(altitude, reading);
    return w.open(window);
}

void AccessibilityTest::everyControlHasAName()
{
    Window w;
    QWidget *target = openRowWindow(w);
    QVERIFY(target);
    QVERIFY(target->isVisible());
    const QStringList unnamed = unnamedControls(target);
    QVERIFY2(unnamed.isEmpty(),
             qPrintable(QStringLiteral("without a name: ") + unnamed.join(QStringLiteral("; "))));
}

void AccessibilityTest::everyCaptionIsRead_data()
{
    everyControlHasAName_data();
}

void AccessibilityTest::everyCaptionIsRead()
{
    Window w;
    QWidget *target = openRowWindow(w);
    QVERIFY(target);
    const QStringList unread = unreadCaptions(target);
    QVERIFY2(unread.isEmpty(), qPrintable(unread.join(QStringLiteral("; "))));
}

void AccessibilityTest::fieldsAreAnnouncedByTheirLabels_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::newRow("barometer reading") << "eingabe2"
                                       << "Label2";
    QTest::newRow("altitude") << "eingabe1"
                              << "Label1";
    QTest::newRow("weather service") << "eingabe3"
                                     << "Label5";
    QTest::newRow("sea-level pressure") << "anzeige2"
                                        << "Label4";
    QTest::newRow("mean pressure") << "anzeige1"
                                   << "Label3";
}

void AccessibilityTest::fieldsAreAnnouncedByTheirLabels()
{
    QFETCH(QString, field);
    QFETCH(QString, label);
    Window w;
    auto *edit = w->findChild<QLineEdit *>(field);
    auto *caption = w->findChild<QLabel *>(label);
    QVERIFY(edit && caption);

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(edit);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QCOMPARE(iface->text(QAccessible::Name), caption->text());

    // The label is also reported as the field's label, so a screen reader
    // that follows the relation finds it.
    QAccessibleInterface *labelIface = QAccessible::queryAccessibleInterface(caption);
    bool related = false;
    for (const auto &relation : iface->relations(QAccessible::Label))
        related = related || relation.first == labelIface;
    QVERIFY2(related, "the label is not reported as the field's label");
}

void AccessibilityTest::buttonsSayTheirCaptionAndAccessKey_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessKey");
    QTest::newRow("evaluation") << "Command1"
                                << "Berechnung durchführen"
                                << "Alt+B";
    QTest::newRow("calibration") << "Command2"
                                 << "Kalibrierung durchführen"
                                 << "Alt+K";
}

void AccessibilityTest::buttonsSayTheirCaptionAndAccessKey()
{
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(QString, accessKey);
    Window w;
    auto *push = w->findChild<QPushButton *>(button);
    QVERIFY(push);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(push);
    QCOMPARE(iface->role(), QAccessible::PushButton);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(QKeySequence(iface->text(QAccessible::Accelerator)), QKeySequence(accessKey));
    QVERIFY(iface->actionInterface());
    QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

// Tab and Shift+Tab land only on controls that have a name, in both
// directions, and come back to where they started.
void AccessibilityTest::focusCyclesOnlyThroughNamedControls()
{
    Window w;
    QWidget *start = QApplication::focusWidget();
    QVERIFY(start);
    for (const bool forward : {true, false}) {
        QWidget *current = start;
        int steps = 0;
        do {
            QVERIFY2(!accessibleName(current).isEmpty(), qPrintable(current->objectName()));
            QTest::keyClick(current, Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
            current = QApplication::focusWidget();
            QVERIFY(current);
        } while (current != start && ++steps < 20);
        QCOMPARE(current, start);
        QCOMPARE(steps + 1, 5);
    }
}

// The sentence under the results is part of what a screen reader says for
// anzeige4, and it never says a sentence that is no longer on screen.
void AccessibilityTest::resultSentence_isReadAndFollowsTheScreen()
{
    Window w;
    QVERIFY(!accessibleName(w->anzeige4).isEmpty());
    QVERIFY(accessibleDescription(w->anzeige4).isEmpty());

    w.evaluate(QStringLiteral("500"), QStringLiteral("950"));
    const QString sentence = w->anzeige4->text();
    QVERIFY(!sentence.isEmpty());
    QVERIFY(!accessibleName(w->anzeige4).isEmpty());
    QCOMPARE(accessibleDescription(w->anzeige4), sentence);

    w.evaluate(QStringLiteral("500"), QStringLiteral("900"));
    QVERIFY(w->anzeige4->text() != sentence);
    QCOMPARE(accessibleDescription(w->anzeige4), w->anzeige4->text());

    // Typing a new reading clears the result, and with it what is read.
    w->eingabe2->setFocus();
    QTest::keyClick(w->eingabe2, Qt::Key_1);
    QVERIFY(w->anzeige4->text().isEmpty());
    QVERIFY(accessibleDescription(w->anzeige4).isEmpty());
    QVERIFY(!accessibleName(w->anzeige4).isEmpty());
}

// The sentence restored at start-up is read too.
void AccessibilityTest::resultSentence_isReadAfterRestart()
{
    QTemporaryDir appData;
    QString sentence;
    {
        Window first(true, true, appData.path());
        first.evaluate(QStringLiteral("500"), QStringLiteral("950"));
        sentence = first->anzeige4->text();
        first->close();
    }
    QVERIFY(!sentence.isEmpty());
    Window second(true, true, appData.path());
    QCOMPARE(second->anzeige4->text(), sentence);
    QCOMPARE(accessibleDescription(second->anzeige4), sentence);
}

void AccessibilityTest::screenReaderTree_data()
{
    everyControlHasAName_data();
}

// The tree a screen reader walks, printed: lines are pictures, not objects;
// every other object on screen has a role and a name (containers may go
// without), and no two of them say the same. The scale says where its
// indicator stands; the info window's address is a link that opens.
void AccessibilityTest::screenReaderTree()
{
    QFETCH(QString, window);
    Window w;
    QWidget *target = openRowWindow(w);
    QStringList tree, faults;
    QSet<QString> said;
    for (QAccessibleInterface *iface : treeOf(target)) {
        const QString name = iface->text(QAccessible::Name).simplified();
        tree.append(describe(iface) + QStringLiteral(": ") + name);
        const QString key = QString::number(iface->role()) + QLatin1Char(' ') + name;
        if (qobject_cast<Line *>(iface->object())
            || (!iface->state().invisible && iface->role() != QAccessible::Client
                && (name.isEmpty() || said.contains(key))))
            faults.append(tree.last());
        said.insert(key);
    }
    qInfo().noquote() << tree.join(QLatin1Char('\n'));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

    if (window == QLatin1String("Form1")) {
        const QString scale = accessibleDescription(w->Frame2);
        const QString expected = w->Frame2->latte->isVisible() ? w->Frame2->Label13->text().simplified()
                                 : w->Frame2->range->isVisible()
                                     ? w->anzeige2->text().simplified() + QStringLiteral(" liegt außerhalb")
                                     : QStringLiteral("Keine Markierung");
        QVERIFY2(scale.contains(expected), qPrintable(scale));
    } else if (window == QLatin1String("Form3")) {
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(w->infoWindow()->Label3);
        QCOMPARE(link->role(), QAccessible::Link);
        QVERIFY(link->state().focusable && link->text(QAccessible::Name).endsWith(QStringLiteral("öffnen")));
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w.platform->openedUrls, QList<QUrl>{QUrl(productUrl())});
    }
}

void AccessibilityTest::scaleDescription_writesNumbersInDisplayLocale()
{
    DisplayLocale point;
    point.decimalPoint = QLatin1Char('.');
    installAccessibility(); // as the windows do before making their controls
    Scale scale(nullptr, point);
    scale.setReading(QStringLiteral("1020.5  hPa"));
    scale.setDeviation(QStringLiteral("+7.25 hPa"), Qt::black);
    scale.showIndicator(290, false);
    QCOMPARE(accessibleDescription(&scale),
             QStringLiteral(
                 "Skala von 963.25 hPa bis 1063.25 hPa. Markierung bei 1020.5 hPa, Abweichung +7.25 hPa."));
}

void AccessibilityTest::messageBoxes_sayTitleTextAndButtons_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QStringList>("buttonNames");
    QTest::newRow("warning, two lines") << int(Platform::Buttons::Ok) << int(Platform::Icon::Warning)
                                        << texts::kWeatherMissing << QStringList{QStringLiteral("OK")};
    QTest::newRow("report without icon")
        << int(Platform::Buttons::Ok) << int(Platform::Icon::None)
        << "Ihr Barometer zeigt 2,5 hPa zu viel an." << QStringList{QStringLiteral("OK")};
    QTest::newRow("question") << int(Platform::Buttons::YesNo) << int(Platform::Icon::Question)
                              << "Wollen Sie alle gespeicherten Daten löschen?"
                              << QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")};
}

// The real message box of the desktop platform, inspected while it is open.
void AccessibilityTest::messageBoxes_sayTitleTextAndButtons()
{
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(QString, prompt);
    QFETCH(QStringList, buttonNames);
    const QString &title = texts::kTitle;

    QWidget owner;
    owner.show();
    bool inspected = false;
    QStringList unnamed;
    QString dialogName;
    QAccessible::Role dialogRole = QAccessible::NoRole;
    QStringList texts;
    QStringList pushButtons;
    QTimer::singleShot(0, this, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        inspected = true;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
        dialogRole = iface->role();
        dialogName = iface->text(QAccessible::Name);
        unnamed = unnamedControls(box);
        for (QAccessibleInterface *child : treeOf(box)) {
            if (child->role() == QAccessible::StaticText)
                texts.append(child->text(QAccessible::Name));
            if (child->role() == QAccessible::PushButton)
                pushButtons.append(child->text(QAccessible::Name));
        }
        // Answer with the first button, as a user would with Enter.
        if (auto *button = box->findChild<QPushButton *>())
            button->click();
        else
            box->close();
    });

    DesktopPlatform platform;
    platform.showMessage(
        &owner, {prompt, title, Platform::Buttons(buttons), Platform::Icon(icon),
                 buttons == int(Platform::Buttons::YesNo) ? Platform::Answer::No : Platform::Answer::Ok});
    QVERIFY2(inspected, "no modal box was open");
    QVERIFY2(dialogRole == QAccessible::Dialog || dialogRole == QAccessible::AlertMessage,
             qPrintable(QString::number(int(dialogRole))));
    QCOMPARE(dialogName, title);
    QString spoken = prompt;
    spoken.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QVERIFY2(texts.contains(spoken), qPrintable(texts.join(QStringLiteral(" | "))));
    QCOMPARE(pushButtons, buttonNames);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
