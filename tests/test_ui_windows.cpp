// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_ui_windows.h"

#include "uifixture.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTranslator>

#include <memory>

#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/placement.h"
#include "ui/platform.h"
#include "ui/qttexts.h"

using barovista::Form2;
using barovista::Form3;
using barovista::Platform;
using barovista::productUrl;
using namespace barovista::testing;

namespace {

std::unique_ptr<QDialog> makeWindow(const QString &name, QWidget *owner, Platform &platform)
{
    if (name == QLatin1String("Form2"))
        return std::make_unique<Form2>(owner);
    return std::make_unique<Form3>(owner, platform);
}

// The lines of the help text, without the empty piece behind the final CR LF.
QStringList helpLines()
{
    QStringList lines = Form2::helpText().split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isHeading(const QStringList &lines, qsizetype i)
{
    if (lines.at(i).isEmpty())
        return false;
    if (i == 1)
        return lines.at(0).isEmpty();
    return i >= 2 && lines.at(i - 1).isEmpty() && lines.at(i - 2).isEmpty();
}

} // namespace

// Qt's own edit menu of a field speaks German, on Windows from the copy of
// the translation built into the program.
void WindowsTest::qtEditMenuIsGerman()
{
    QTranslator qtTexts;
    QVERIFY(barovista::loadQtTexts(qtTexts));
    QApplication::installTranslator(&qtTexts);
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QApplication::removeTranslator(&qtTexts);
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text().section(QLatin1Char('\t'), 0, 0);
    QVERIFY2(texts.contains(QStringLiteral("Einf&ügen")) && texts.contains(QStringLiteral("Alles auswählen")),
             qPrintable(texts.join(QLatin1Char('|'))));
}

void WindowsTest::resourcePictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("side");

    QTest::newRow("window icon") << ":/icons/barovista.png" << 48;
    QTest::newRow("window icon, double density") << ":/icons/barovista@2x.png" << 96;
    QTest::newRow("emblem") << ":/icons/emblem.png" << 48;
    QTest::newRow("emblem, double density") << ":/icons/emblem@2x.png" << 96;
    QTest::newRow("link cursor") << ":/icons/hand.png" << 32;
}

void WindowsTest::resourcePictures()
{
    QFETCH(QString, path);
    QFETCH(int, side);

    Form2::helpText(); // makes sure the resources are registered
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(side, side));
}

void WindowsTest::helpTextLineBreaksAreCrLf()
{
    const QString text = Form2::helpText();
    QVERIFY(text.startsWith(QStringLiteral("\r\n")));
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QString rest = text;
    rest.remove(QStringLiteral("\r\n"));
    QVERIFY2(!rest.contains(QLatin1Char('\r')), "lone CR");
    QVERIFY2(!rest.contains(QLatin1Char('\n')), "lone LF");
    QVERIFY(!text.contains(QLatin1Char('\t')));
}

void WindowsTest::helpTextLinesBeginWithOneBlank()
{
    const QStringList lines = helpLines();
    QVERIFY(lines.size() > 40);
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        QVERIFY2(line.size() >= 2 && line.at(0) == QLatin1Char(' ') && !line.at(1).isSpace(),
                 qPrintable(QStringLiteral("not one leading blank: [%1]").arg(line)));
        QVERIFY2(line.size() <= 110, qPrintable(QStringLiteral("too long: [%1]").arg(line)));
        QVERIFY2(!line.endsWith(QLatin1Char(' ')),
                 qPrintable(QStringLiteral("trailing blank: [%1]").arg(line)));
    }
}

void WindowsTest::helpTextHasFiveSectionsInOrder()
{
    const qsizetype length = Form2::helpText().size();
    QVERIFY2(length >= 4000 && length <= 5000, qPrintable(QString::number(length)));

    const QStringList lines = helpLines();
    QStringList headings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isHeading(lines, i))
            headings.append(lines.at(i).mid(1));
    }
    QCOMPARE(headings.size(), 5);
    const QStringList fixed = {QStringLiteral("BAROVISTA 1.1"), QStringLiteral("ALLGEMEINES"),
                               QStringLiteral("BEDIENUNG DES BAROVISTA"),
                               QStringLiteral("BAROMETER-KALIBRIERUNG")};
    QCOMPARE(headings.mid(0, 4), fixed);
    QCOMPARE(headings.at(4), headings.at(4).toUpper());
}

void WindowsTest::helpTextSpacingBetweenBlocks()
{
    const QStringList lines = helpLines();
    QVERIFY(lines.first().isEmpty());
    QVERIFY(!lines.last().isEmpty());

    int sectionBreaks = 0;
    qsizetype emptyRun = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).isEmpty()) {
            ++emptyRun;
            continue;
        }
        const QString where = QStringLiteral("before line %1: [%2]").arg(i + 1).arg(lines.at(i));
        // Paragraphs are one empty line apart, sections two; a section
        // begins with its heading.
        QVERIFY2(emptyRun <= 2, qPrintable(where));
        if (emptyRun == 2) {
            ++sectionBreaks;
            QVERIFY2(lines.at(i) == lines.at(i).toUpper(), qPrintable(where));
        }
        if (isHeading(lines, i)) {
            const bool oneEmptyLine =
                i + 2 < lines.size() && lines.at(i + 1).isEmpty() && !lines.at(i + 2).isEmpty();
            QVERIFY2(oneEmptyLine, qPrintable(QStringLiteral("after heading: ") + lines.at(i)));
        }
        emptyRun = 0;
    }
    QCOMPARE(sectionBreaks, 4);
}

void WindowsTest::helpTextCarriesFormulaAndProductPage()
{
    const QStringList lines = helpLines();
    QVERIFY(lines.contains(QStringLiteral(" p(h0) =  p(h) / (1-0,00651K*h/288K)^5,255")));

    const QString text = Form2::helpText();
    QVERIFY2(text.contains(productUrl()), "the help text names another product page");
    QVERIFY(text.contains(QStringLiteral("1013,25 hPa")));
    // Decoded as UTF-8: umlauts and ß intact.
    QVERIFY(!text.contains(QChar::ReplacementCharacter));
    QVERIFY(text.contains(QStringLiteral("Höhe")));
    QVERIFY(text.contains(QStringLiteral("heißt")));
}

void WindowsTest::windowFrames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("clientSize");
    QTest::addColumn<Qt::WindowType>("type");
    QTest::addColumn<bool>("ownIcon");

    QTest::newRow("help") << "Form2"
                          << "Barovista 1.1 - Hilfe" << QSize(530, 353) << Qt::Window << true;
    QTest::newRow("info") << "Form3"
                          << "Barovista 1.1 - Info" << QSize(350, 108) << Qt::Tool << false;
}

void WindowsTest::windowFrames()
{
    QFETCH(QString, window);
    QFETCH(QString, title);
    QFETCH(QSize, clientSize);
    QFETCH(Qt::WindowType, type);
    QFETCH(bool, ownIcon);

    FakePlatform platform;
    QWidget owner;
    const auto dialog = makeWindow(window, &owner, platform);

    QCOMPARE(dialog->objectName(), window);
    QCOMPARE(dialog->windowTitle(), title);
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->size(), clientSize);
    QCOMPARE(dialog->minimumSize(), clientSize);
    QCOMPARE(dialog->maximumSize(), clientSize);

    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(dialog->windowType(), type);
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // Closed by the title bar only.
    QVERIFY(dialog->findChildren<QPushButton *>().isEmpty());

    if (ownIcon) {
        const QList<QSize> sizes = dialog->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(48, 48)));
        QVERIFY(sizes.contains(QSize(96, 96)));
    }
}

void WindowsTest::controlGeometry_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("help text") << "Form2"
                               << "Text1" << QRect(8, 8, 513, 337);
    QTest::newRow("focus holder") << "Form2"
                                  << "Text2" << QRect(464, 64, 17, 19);
    QTest::newRow("name") << "Form3"
                          << "Label1" << QRect(32, 24, 225, 25);
    QTest::newRow("rights") << "Form3"
                            << "Label2" << QRect(32, 48, 209, 17);
    QTest::newRow("address, width rounded up") << "Form3"
                                               << "Label3" << QRect(32, 72, 129, 17);
    QTest::newRow("emblem") << "Form3"
                            << "Picture2" << QRect(280, 24, 49, 57);
}

void WindowsTest::controlGeometry()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QRect, geometry);

    FakePlatform platform;
    const auto dialog = makeWindow(window, nullptr, platform);
    const auto *widget = dialog->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
}

void WindowsTest::windowBackgroundIsWindowColour_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("help") << "Form2";
    QTest::newRow("info") << "Form3";
}

void WindowsTest::windowBackgroundIsWindowColour()
{
    QFETCH(QString, window);

    FakePlatform platform;
    const auto dialog = makeWindow(window, nullptr, platform);
    const QImage image = dialog->grab().toImage();
    const QPoint corners[] = {{2, 2}, {image.width() - 3, image.height() - 3}};
    for (const QPoint &corner : corners)
        QCOMPARE(image.pixelColor(corner), paint::kWindow);
}

void WindowsTest::windowsOpenCentredOverOwner_data()
{
    windowBackgroundIsWindowColour_data();
}

void WindowsTest::windowsOpenCentredOverOwner()
{
    QFETCH(QString, window);

    FakePlatform platform;
    QWidget owner;
    owner.setGeometry(20, 40, 700, 500);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    const auto dialog = makeWindow(window, &owner, platform);
    barovista::centreOver(*dialog, owner); // as the main window places it
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    const QPoint offset = dialog->frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

void WindowsTest::centredFromTheFrame_data()
{
    QTest::addColumn<QRect>("ownerFrame");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("expected");

    const QRect owner(100, 100, 771, 439);
    // Help window 530 x 353, info window 350 x 108, on a 1280 x 1024 screen:
    // the frame, title bar included, centred on the owner's frame.
    QTest::newRow("title bar 20, border 1")
        << owner << QSize(530, 353) << QMargins(1, 20, 1, 1) << QRect(220, 152, 530, 353);
    QTest::newRow("info window, small title bar 16")
        << owner << QSize(350, 108) << QMargins(1, 16, 1, 1) << QRect(310, 273, 350, 108);
    QTest::newRow("owner at the top edge: the title bar stays on screen")
        << QRect(0, 0, 771, 200) << QSize(530, 353) << QMargins(1, 20, 1, 1) << QRect(120, 20, 530, 353);
    // The main window centred on a 1024 x 600 screen at scale 1.75 (585 x 342).
    QTest::newRow("larger than a small screen: the title bar in its corner")
        << QRect(0, 0, 585, 342) << QSize(767, 393) << QMargins(1, 12, 1, 1) << QRect(1, 12, 767, 393);
}

void WindowsTest::centredFromTheFrame()
{
    QFETCH(QRect, ownerFrame);
    QFETCH(QSize, client);
    QFETCH(QMargins, frame);
    QFETCH(QRect, expected);

    QCOMPARE(barovista::centredOver(ownerFrame, client, frame, QRect(0, 0, 1280, 1024)), expected);
}

void WindowsTest::helpShowsWholeTextLockedAndScrollable()
{
    Form2 help(nullptr);
    QVERIFY(showAndActivate(help));
    QPlainTextEdit *text = help.Text1;

    QString expected = Form2::helpText();
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(text->toPlainText(), expected);

    QVERIFY(text->isReadOnly());
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("xyz"));
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClick(text, Qt::Key_Backspace);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), expected);

    // Only vertical scrolling: every hand-broken line fits the width whole.
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(text->verticalScrollBar()->isVisible());
    QCOMPARE(text->horizontalScrollBar()->maximum(), 0);
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        text->document()->documentLayout()->blockBoundingRect(block); // lays the block out
        QVERIFY2(block.layout()->lineCount() == 1, qPrintable(QStringLiteral("wraps: ") + block.text()));
    }

    QScrollBar *bar = text->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    const QPoint bottomLeft(4, text->viewport()->height() - 4);
    QCOMPARE(text->cursorForPosition(bottomLeft).blockNumber(), text->document()->blockCount() - 1);
}

void WindowsTest::helpTextViewHasArrowPointer()
{
    Form2 help(nullptr);
    QVERIFY(showAndActivate(help));
    QWidget *view = help.Text1->viewport();
    QTest::mouseMove(view, QPoint(40, 40));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
}

void WindowsTest::helpOpensWithFocusInHiddenText2ThenTabIntoText()
{
    Form2 help(nullptr);
    QVERIFY(showAndActivate(help));

    QCOMPARE(help.Text2->text(), QStringLiteral("Text2"));
    QCOMPARE(QApplication::focusWidget(), help.Text2);
    // The focus holder is out of sight, beneath the help text.
    QVERIFY(help.childAt(help.Text2->geometry().center()) != help.Text2);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), help.Text1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), help.Text2);
}

void WindowsTest::helpStartsAfreshOnEveryShowing()
{
    QWidget owner;
    owner.show();
    Form2 help(&owner);
    QVERIFY(showAndActivate(help));

    help.Text1->setFocus();
    QScrollBar *bar = help.Text1->verticalScrollBar();
    bar->setValue(bar->maximum());
    help.close();

    QVERIFY(showAndActivate(help));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(QApplication::focusWidget(), help.Text2);
}

void WindowsTest::infoLabels_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Qt::FocusPolicy>("focus");

    QTest::newRow("name") << "Label1" << 19 << true << paint::kBlack << Qt::NoFocus;
    QTest::newRow("rights") << "Label2" << 11 << false << paint::kBlack << Qt::NoFocus;
    // The link is reached with Tab; a click does not move the focus.
    QTest::newRow("address") << "Label3" << 11 << false << paint::kBlue << Qt::TabFocus;
}

void WindowsTest::infoLabels()
{
    QFETCH(QString, label);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    QFETCH(Qt::FocusPolicy, focus);

    FakePlatform platform;
    Form3 info(nullptr, platform);
    const auto *widget = info.findChild<QLabel *>(label);
    QVERIFY(widget);

    QCOMPARE(widget->textFormat(), Qt::PlainText);
    QCOMPARE(widget->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QVERIFY(widget->wordWrap());
    QCOMPARE(widget->focusPolicy(), focus);
    QCOMPARE(widget->palette().color(widget->foregroundRole()), colour);

    const QFont font = widget->font();
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
    // Arial or its metric twin, so that the texts fit their boxes.
    const QString family = QFontInfo(font).family();
    QVERIFY2(family == QLatin1String("Arial") || family == QLatin1String("Liberation Sans"),
             qPrintable(family));

    const QFontMetrics metrics(font);
    QVERIFY(!widget->text().isEmpty());
    QVERIFY2(metrics.horizontalAdvance(widget->text()) <= widget->width(), "wraps");
    QVERIFY(metrics.height() <= widget->height());
}

void WindowsTest::infoAddressIsProductUrlInCapitals()
{
    FakePlatform platform;
    Form3 info(nullptr, platform);
    const QString shown = info.Label3->text();

    const QUrl url(productUrl());
    QVERIFY(url.isValid());
    QVERIFY(url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
    QVERIFY(!url.host().isEmpty());

    QVERIFY(!shown.contains(QLatin1Char(':')));
    QCOMPARE(shown, shown.toUpper());
    QCOMPARE(url.scheme().toUpper() + QStringLiteral("://") + shown, productUrl().toUpper());
    QVERIFY(!info.Label3->accessibleName().isEmpty());
    QCOMPARE(info.Picture2->accessibleName(), QStringLiteral("Emblem"));
}

namespace {
enum class LinkGesture {
    Click,
    DoubleClick,
    RightClick,
    PressOnly,
    Enter,
    TabEnter,
    TabSpace,
    TabKeypadEnter
};
} // namespace
Q_DECLARE_METATYPE(LinkGesture)

void WindowsTest::infoClickOpens_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<LinkGesture>("gesture");
    QTest::addColumn<int>("opened");

    QTest::newRow("click on the address") << "Label3" << LinkGesture::Click << 1;
    QTest::newRow("double click opens once") << "Label3" << LinkGesture::DoubleClick << 1;
    QTest::newRow("right button") << "Label3" << LinkGesture::RightClick << 0;
    QTest::newRow("press without release") << "Label3" << LinkGesture::PressOnly << 0;
    // The window opens with the focus on itself: Enter alone opens nothing.
    QTest::newRow("Enter as opened") << "Label3" << LinkGesture::Enter << 0;
    QTest::newRow("Tab, Enter") << "Label3" << LinkGesture::TabEnter << 1;
    QTest::newRow("Tab, Space") << "Label3" << LinkGesture::TabSpace << 1;
    QTest::newRow("Tab, Enter on the keypad") << "Label3" << LinkGesture::TabKeypadEnter << 1;
    QTest::newRow("click on the name") << "Label1" << LinkGesture::Click << 0;
    QTest::newRow("click on the rights line") << "Label2" << LinkGesture::Click << 0;
    QTest::newRow("click on the emblem") << "Picture2" << LinkGesture::Click << 0;
}

void WindowsTest::infoClickOpens()
{
    QFETCH(QString, control);
    QFETCH(LinkGesture, gesture);
    QFETCH(int, opened);

    FakePlatform platform;
    QWidget owner;
    owner.show();
    Form3 info(&owner, platform);
    QVERIFY(showAndActivate(info));
    auto *widget = info.findChild<QWidget *>(control);
    QVERIFY(widget);

    switch (gesture) {
    case LinkGesture::Click:
        QTest::mouseClick(widget, Qt::LeftButton);
        break;
    case LinkGesture::DoubleClick:
        // As the window system delivers it: press, release, double click, release.
        QTest::mouseClick(widget, Qt::LeftButton);
        QTest::mouseDClick(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
        break;
    case LinkGesture::RightClick:
        QTest::mouseClick(widget, Qt::RightButton);
        break;
    case LinkGesture::PressOnly:
        QTest::mousePress(widget, Qt::LeftButton);
        break;
    case LinkGesture::Enter:
        QTest::keyClick(&info, Qt::Key_Return);
        break;
    default: // Tab onto the link, which is then marked, and the key
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget);
        QVERIFY(info.Label3->font().underline());
        if (gesture == LinkGesture::TabKeypadEnter)
            QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::keyClick(widget, gesture == LinkGesture::TabSpace ? Qt::Key_Space : Qt::Key_Return);
    }

    QCOMPARE(platform.openedUrls.size(), opened);
    if (opened > 0)
        QCOMPARE(platform.openedUrls.first(), QUrl(productUrl()));
    QVERIFY(platform.boxes.isEmpty());
    QVERIFY(info.isVisible());
}

void WindowsTest::infoLinkCursorPointsWithFingertip()
{
    FakePlatform platform;
    Form3 info(nullptr, platform);
    const QCursor cursor = info.Label3->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);

    const QImage image = cursor.pixmap().toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    // The hot spot is the topmost drawn pixel: the fingertip.
    int top = -1;
    for (int y = 0; y < image.height() && top < 0; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() > 0) {
                top = y;
                break;
            }
        }
    }
    const QPoint hotSpot = cursor.hotSpot();
    QCOMPARE(hotSpot.y(), top);
    QCOMPARE(image.pixelColor(hotSpot).alpha(), 255);
}

void WindowsTest::infoEmblemIsRedGaugeOnDark()
{
    FakePlatform platform;
    Form3 info(nullptr, platform);
    const QPixmap pixmap = info.Picture2->pixmap();
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(48, 48));

    const QImage image = pixmap.toImage();
    const int last = image.width() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        QVERIFY(image.pixelColor(corner).lightness() < 80);
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                ++red;
        }
    }
    QVERIFY2(red * 4 >= image.width() * image.height() / 20, qPrintable(QString::number(red)));
}
