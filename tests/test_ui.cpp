// SPDX-License-Identifier: GPL-3.0-or-later
#include "layouttable.h"
#include "uifixture.h"

#include "history/datafolder.h"
#include "ui/inputfield.h"
#include "ui/line.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

using namespace barovista;
using namespace barovista::testing;

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void window_hasFixedClientAreaAndNoMaximize();
    void controls_areLaidOutInTwips_data();
    void controls_areLaidOutInTwips();
    void captions_fontsAndColours_data();
    void captions_fontsAndColours();
    void scale_hasTwentyOneTicksAndSpine();
    void menu_hasFourPlainEntries();
    void tab_cyclesThroughFiveControls();

    void evaluation_showsResults_data();
    void evaluation_showsResults();
    void evaluation_messageWrapsInAFallbackFont();
    void evaluation_placesIndicator_data();
    void evaluation_placesIndicator();
    void evaluation_warnsAboutMissingInput_data();
    void evaluation_warnsAboutMissingInput();
    void evaluation_startsFromStartState();
    void evaluation_isReachedByAltBAndEnter();
    void evaluation_refusesAltitudeBeyondFormula();

    void calibration_warnsInOrder_data();
    void calibration_warnsInOrder();
    void calibration_reportsAndChangesNothingElse();
    void calibration_isReachedByAltK();
};

void Form1Test::window_hasFixedClientAreaAndNoMaximize()
{
    Window w;
    QCOMPARE(w->objectName(), QStringLiteral("Form1"));
    QCOMPARE(w->windowTitle(), texts::kTitle);
    QCOMPARE(w->centralWidget()->size(), QSize(767, 374));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(w->centralWidget()->palette().color(QPalette::Window), paint::kWindow);
    QVERIFY(!w->windowIcon().isNull());
    QVERIFY(w->windowIcon().availableSizes().contains(QSize(48, 48)));
}

void Form1Test::controls_areLaidOutInTwips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QRect>("twips");
    for (const ControlPlace &place : kLayout)
        QTest::newRow(place.name) << QString::fromLatin1(place.name) << QString::fromLatin1(place.frame)
                                  << place.twips();
}

// Each control in its frame, each frame in the client area, at its twips.
void Form1Test::controls_areLaidOutInTwips()
{
    QFETCH(QString, name);
    QFETCH(QString, frame);
    QFETCH(QRect, twips);
    Window w(false, false);
    auto *widget = w->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    if (frame.isEmpty())
        QCOMPARE(widget->parentWidget(), w->centralWidget());
    else
        QCOMPARE(widget->parentWidget()->objectName(), frame);
    QCOMPARE(widget->geometry(), twipRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

void Form1Test::captions_fontsAndColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Label2") << "Label2"
                            << "Luftdruck laut Barometer:" << 13 << true << paint::kBlack;
    QTest::newRow("Label1") << "Label1"
                            << "Aktuelle Höhe in Metern:" << 13 << true << paint::kBlack;
    QTest::newRow("Label5") << "Label5"
                            << "Luftdruck laut Wetterdienst (auf Meereshöhe reduziert):" << 13 << true
                            << paint::kBlack;
    QTest::newRow("Label12") << "Label12"
                             << "hPa" << 13 << true << paint::kBlack;
    QTest::newRow("Label4") << "Label4"
                            << "Auf Meereshöhe reduzierter Luftdruck:" << 16 << true << paint::kBlack;
    QTest::newRow("Label3") << "Label3"
                            << "Mittlerer Luftdruck für aktuelle Höhe:" << 16 << true << paint::kBlack;
    QTest::newRow("Label8") << "Label8"
                            << "1063,25 hPa" << 11 << false << paint::kBlue;
    QTest::newRow("Label16") << "Label16"
                             << "1053,25 hPa" << 11 << false << paint::kBlue;
    QTest::newRow("Label6") << "Label6"
                            << "1023,25 hPa" << 11 << false << paint::kBlue;
    QTest::newRow("Label7") << "Label7"
                            << "1013,25 hPa" << 11 << false << paint::kBlack;
    QTest::newRow("Label11") << "Label11"
                             << "1003,25 hPa" << 11 << false << paint::kRed;
    QTest::newRow("Label9") << "Label9"
                            << "963,25 hPa" << 11 << false << paint::kRed;
    QTest::newRow("range") << "range"
                           << "out of range" << 11 << false << paint::kRed;
    QTest::newRow("Label13") << "Label13"
                             << "1013,25 hPa" << 11 << false << paint::kBlack;
    QTest::newRow("Label14") << "Label14"
                             << "+15,99 hPa" << 11 << false << paint::kBlack;
}

void Form1Test::captions_fontsAndColours()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    // As created, before start-up replaces the placeholders.
    Window w(false, false);
    auto *label = w->findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(textColour(label), colour);
    const bool rightAligned = name == QLatin1String("Label13") || name == QLatin1String("Label14");
    QCOMPARE(bool(label->alignment() & Qt::AlignRight), rightAligned);
}

void Form1Test::scale_hasTwentyOneTicksAndSpine()
{
    Window w(false, false);
    const QList<Line *> lines = w->Frame2->findChildren<Line *>();
    QCOMPARE(lines.size(), 23); // spine, 21 ticks, latte
    int ticks = 0;
    for (const Line *line : lines) {
        if (line->objectName() == QLatin1String("Line1")) {
            QCOMPARE(line->Y1(), float(kScaleTopY));
            QCOMPARE(line->Y2(), float(kScaleBottomY));
            QCOMPARE(line->width(), 1);
        } else if (line != w->Frame2->latte) {
            ++ticks;
            QCOMPARE(line->Y1(), line->Y2());
            QCOMPARE((line->X1() + line->X2()) / 2, 1800.0f);
            QCOMPARE(line->colour(), paint::kBlack);
        }
    }
    QCOMPARE(ticks, 21);
    auto *centre = w->Frame2->findChild<Line *>(QStringLiteral("Line11"));
    QVERIFY(centre);
    QCOMPARE(centre->Y1(), float(kScaleCentreY));
    QCOMPARE(w->Frame2->latte->colour(), paint::kRed);
    QCOMPARE(w->Frame2->latte->Y1(), float(kScaleCentreY));
    QCOMPARE(w->Frame2->latte->X1(), float(kLongTickX1));
    QCOMPARE(w->Frame2->latte->X2(), float(kLongTickX2));
    QVERIFY(!w->Frame2->range->isVisibleTo(w.form.get()));
}

void Form1Test::menu_hasFourPlainEntries()
{
    Window w(false, false);
    const QList<QAction *> actions = w->menuBar()->actions();
    QCOMPARE(actions.size(), 4);
    const QStringList names{"Ende", "stat", "Hilfe", "Info"};
    const QStringList captions{"&Reset", "&Statistik", " &Hilfe ", " &Info "};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(actions[i]->objectName(), names[i]);
        QCOMPARE(actions[i]->text(), captions[i]);
        QVERIFY(!actions[i]->menu());
        QVERIFY(actions[i]->shortcut().isEmpty());
    }
}

void Form1Test::tab_cyclesThroughFiveControls()
{
    Window w;
    QCOMPARE(QApplication::focusWidget(), w->eingabe2);
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"eingabe1", "Command1", "eingabe3", "Command2", "eingabe2"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
}

// The window draws the session's screen (whose rows are in test_history):
// the texts, and the sentence and the deviation in its colour.
void Form1Test::evaluation_showsResults_data()
{
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("mean");
    QTest::addColumn<QString>("seaLevel");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("label14");
    QTest::addColumn<QColor>("colour");

    const QString above =
        QStringLiteral("Aktueller Luftdruck %1 hPa über mittlerem Luftdruck bezogen auf Meereshöhe.");
    const QString below =
        QStringLiteral("Aktueller Luftdruck %1 hPa unter mittlerem Luftdruck bezogen auf Meereshöhe.");
    const QString equal =
        QStringLiteral("Aktueller Luftdruck entspricht dem Mittleren Luftdruck bezogen auf Meereshöhe.");

    QTest::newRow("1000 m, 900 hPa") << "1000"
                                     << "900"
                                     << "898,54  hPa"
                                     << "1014,9  hPa" << above.arg("1,65") << "+1,65 hPa" << paint::kBlue;
    QTest::newRow("standard") << "0"
                              << "1013.25"
                              << "1013,25  hPa"
                              << "1013,25  hPa" << equal << "+/- 0 hPa" << paint::kBlack;
    QTest::newRow("below keeps its sign") << "0"
                                          << "1010"
                                          << "1013,25  hPa"
                                          << "1010  hPa" << below.arg("-3,25") << "-3,25 hPa" << paint::kRed;
}

void Form1Test::evaluation_showsResults()
{
    QFETCH(QString, altitude);
    QFETCH(QString, reading);
    QFETCH(QString, mean);
    QFETCH(QString, seaLevel);
    QFETCH(QString, message);
    QFETCH(QString, label14);
    QFETCH(QColor, colour);

    Window w;
    w.evaluate(altitude, reading);
    QVERIFY(w.platform->boxes.isEmpty());
    QCOMPARE(w->anzeige1->text(), mean);
    QCOMPARE(w->anzeige2->text(), seaLevel);
    QCOMPARE(w->anzeige4->text(), message);
    QCOMPARE(textColour(w->anzeige4), colour);
    QCOMPARE(w->Frame2->Label14->text(), label14);
    QCOMPARE(textColour(w->Frame2->Label14), colour);
    QCOMPARE(w->Frame2->Label13->text(), seaLevel);
    QCOMPARE(w->session().saveok, 1.0f);
}

// With a fallback font taller than Arial the empty sentence is laid out
// without wrapping; a sentence wider than its box must still wrap.
void Form1Test::evaluation_messageWrapsInAFallbackFont()
{
    Window w;
    QFont tall(QStringLiteral("DejaVu Sans"));
    tall.setPixelSize(18);
    tall.setBold(true);
    w->anzeige4->setFont(tall);
    w->anzeige4->clear();
    fitCaption(w->anzeige4);
    QVERIFY(!w->anzeige4->wordWrap());
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    QVERIFY(QFontMetrics(tall).horizontalAdvance(w->anzeige4->text()) > w->anzeige4->width());
    QVERIFY(w->anzeige4->wordWrap());
}

void Form1Test::evaluation_placesIndicator_data()
{
    QTest::addColumn<QString>("reading");
    QTest::addColumn<float>("latteY");
    QTest::addColumn<bool>("onScale");
    // Altitude 0, so the sea-level pressure is the reading itself.
    QTest::newRow("centre") << "1013.25" << float(kScaleCentreY) << true;
    QTest::newRow("+1.65") << "1014.9" << 2672.0f << true;
    QTest::newRow("-3.25") << "1010" << 2868.0f << true;
    QTest::newRow("fraction of a twip") << "1013.78" << static_cast<float>(indicatorY(0.53)) << true;
    QTest::newRow("top tick") << "1063.25" << float(kScaleTopY) << true;
    QTest::newRow("bottom tick") << "963.25" << float(kScaleBottomY) << true;
    QTest::newRow("above the scale") << "1063.26" << static_cast<float>(indicatorY(50.01)) << false;
    QTest::newRow("below the scale") << "963.24" << static_cast<float>(indicatorY(-50.01)) << false;
}

void Form1Test::evaluation_placesIndicator()
{
    QFETCH(QString, reading);
    QFETCH(float, latteY);
    QFETCH(bool, onScale);
    Window w;
    w.evaluate(QStringLiteral("0"), reading);
    QCOMPARE(w->Frame2->latte->Y1(), latteY);
    QCOMPARE(w->Frame2->latte->Y2(), latteY);
    QCOMPARE(w->Frame2->latte->y(), px(latteY));
    QCOMPARE(w->Frame2->label13Top(), latteY - 110);
    QCOMPARE(w->Frame2->label14Top(), latteY - 110 + 200);
    QCOMPARE(w->Frame2->Label13->y(), px(latteY - 110));
    QCOMPARE(w->Frame2->Label14->y(), px(latteY + 90));
    QCOMPARE(w->session().tendenzlatte.toNumber(), kTwipsPerHPa * w->session().tendenz.toNumber());
    QCOMPARE(w->Frame2->latte->isVisible(), onScale);
    QCOMPARE(w->Frame2->Label13->isVisible(), onScale);
    QCOMPARE(w->Frame2->Label14->isVisible(), onScale);
    QCOMPARE(w->Frame2->range->isVisible(), !onScale);
}

void Form1Test::evaluation_warnsAboutMissingInput_data()
{
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("focus");
    QTest::newRow("both empty") << ""
                                << "" << texts::kAltitudeMissing << "eingabe1";
    QTest::newRow("altitude empty") << ""
                                    << "950" << texts::kAltitudeMissing << "eingabe1";
    QTest::newRow("reading empty") << "500"
                                   << "" << texts::kReadingMissing << "eingabe2";
}

void Form1Test::evaluation_warnsAboutMissingInput()
{
    QFETCH(QString, altitude);
    QFETCH(QString, reading);
    QFETCH(QString, prompt);
    QFETCH(QString, focus);

    Window w;
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    const QString before4 = w->anzeige4->text();
    const float beforeY = w->Frame2->latte->Y1();
    w->session().saveok = 0; // the warning must not set it
    w->eingabe1->setText(altitude);
    w->eingabe2->setText(reading);
    QTest::keyClick(w->Command1, Qt::Key_Space); // press it from the keyboard
    QCOMPARE(w.platform->boxes.size(), 1);
    const auto &box = w.platform->boxes.first();
    QCOMPARE(box.prompt, prompt);
    QCOMPARE(box.title, texts::kTitle);
    QCOMPARE(box.icon, Platform::Icon::Warning);
    QCOMPARE(box.buttons, Platform::Buttons::Ok);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(w->anzeige4->text(), before4);
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    QCOMPARE(w->Frame2->latte->Y1(), beforeY);
    QCOMPARE(w->session().saveok, 0.0f);
}

void Form1Test::evaluation_startsFromStartState()
{
    Window w;
    w.evaluate(QStringLiteral("0"), QStringLiteral("1100"));
    QVERIFY(w->Frame2->range->isVisible());
    QVERIFY(!w->Frame2->latte->isVisible());
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    QVERIFY(!w->Frame2->range->isVisible());
    QVERIFY(w->Frame2->latte->isVisible());
    QCOMPARE(w->Frame2->latte->Y1(), 2672.0f);
    // The same inputs again leave the indicator where it is.
    w->Command1->click();
    QCOMPARE(w->Frame2->latte->Y1(), 2672.0f);
    QCOMPARE(w->Frame2->Label13->y(), px(2562));
}

void Form1Test::evaluation_isReachedByAltBAndEnter()
{
    Window w;
    w->eingabe1->setText(QStringLiteral("1000"));
    w->eingabe2->setText(QStringLiteral("900"));
    // The access key is the button's own mnemonic; the real key press is
    // covered by the end-to-end test under X.
    QCOMPARE(w->Command1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_B));
    QCOMPARE(w->Command2->shortcut(), QKeySequence(Qt::ALT | Qt::Key_K));
    // Alt+B typed in the altitude field: the button takes the focus and is
    // pressed at once, so releasing Alt afterwards does not clear the result.
    w->eingabe1->setFocus();
    QShortcutEvent accessKey(QKeySequence(Qt::ALT | Qt::Key_B), 0);
    QApplication::sendEvent(w->Command1, &accessKey);
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    QCOMPARE(QApplication::focusWidget(), w->Command1);
    QCOMPARE(w->eingabe1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt);
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));

    w->anzeige2->clear();
    w->Command1->setFocus();
    QTest::keyClick(w->Command1, Qt::Key_Return);
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
}

void Form1Test::evaluation_refusesAltitudeBeyondFormula()
{
    Window w;
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    // The field takes four digits; only a damaged file or a program error
    // could put more there.
    w->eingabe1->setMaxLength(10);
    w->eingabe1->setText(QStringLiteral("50000"));
    w->eingabe2->setFocus();
    w->Command1->click();
    QCOMPARE(w.platform->boxes.size(), 1);
    QCOMPARE(w.platform->boxes.first().icon, Platform::Icon::Warning);
    QVERIFY(w.platform->boxes.first().prompt.contains(QStringLiteral("9999")));
    QCOMPARE(QApplication::focusWidget(), w->eingabe1); // the field to mend
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    for (const QLabel *label : {w->anzeige4, w->Frame2->Label13, w->Frame2->Label14}) {
        QVERIFY(!label->text().contains(QStringLiteral("nan"), Qt::CaseInsensitive));
        QVERIFY(!label->text().contains(QStringLiteral("inf"), Qt::CaseInsensitive));
    }
}

void Form1Test::calibration_warnsInOrder_data()
{
    QTest::addColumn<QString>("weather");
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("focus");
    QTest::newRow("all empty") << ""
                               << ""
                               << "" << texts::kWeatherMissing << "eingabe3";
    QTest::newRow("weather empty") << ""
                                   << "1000"
                                   << "900" << texts::kWeatherMissing << "eingabe3";
    QTest::newRow("altitude and reading empty") << "1013"
                                                << ""
                                                << "" << texts::kAltitudeMissing << "eingabe1";
    QTest::newRow("reading empty") << "1013"
                                   << "1000"
                                   << "" << texts::kReadingMissing << "eingabe2";
}

void Form1Test::calibration_warnsInOrder()
{
    QFETCH(QString, weather);
    QFETCH(QString, altitude);
    QFETCH(QString, reading);
    QFETCH(QString, prompt);
    QFETCH(QString, focus);
    Window w;
    w->eingabe3->setText(weather);
    w->eingabe1->setText(altitude);
    w->eingabe2->setText(reading);
    w->Command2->click();
    QCOMPARE(w.platform->boxes.size(), 1);
    QCOMPARE(w.platform->boxes.first().prompt, prompt);
    QCOMPARE(w.platform->boxes.first().icon, Platform::Icon::Warning);
    QCOMPARE(w.platform->boxes.first().title, texts::kTitle);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
}

void Form1Test::calibration_reportsAndChangesNothingElse()
{
    Window w;
    w.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    w->session().saveok = 0;
    w->eingabe3->setText(QStringLiteral("1020.5"));
    const QString message = w->anzeige4->text();
    w->Command2->click();
    QCOMPARE(w.platform->boxes.size(), 1);
    const auto &box = w.platform->boxes.first();
    QCOMPARE(box.title, QStringLiteral("Barovista 1.1 - Kalibrierung"));
    QCOMPARE(box.icon, Platform::Icon::None);
    QCOMPARE(box.buttons, Platform::Buttons::Ok);
    QCOMPARE(box.prompt, QStringLiteral("Umgerechnet auf die aktuelle Höhe beträgt der Luftdruck \r\n"
                                        "des Wetterdienstes 904,97  hPa. \r\n\r\n"
                                        "Die Abweichung der Barometeranzeige beträgt -4,97  hPa."));
    QCOMPARE(w->session().druckabweichung, -4.97f);
    QCOMPARE(w->session().eingabe_wetterdienst.toNumber(), 1020.5);
    QCOMPARE(w->session().saveok, 0.0f);
    QCOMPARE(w->anzeige4->text(), message);
    QCOMPARE(w->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    QCOMPARE(w->Frame2->latte->Y1(), 2672.0f);
    QCOMPARE(w->Label12->text(), QStringLiteral("hPa"));
}

void Form1Test::calibration_isReachedByAltK()
{
    Window w;
    w->eingabe1->setText(QStringLiteral("1000"));
    w->eingabe2->setText(QStringLiteral("900"));
    w->eingabe3->setText(QStringLiteral("1013"));
    QShortcutEvent accessKey(QKeySequence(Qt::ALT | Qt::Key_K), 0);
    QApplication::sendEvent(w->Command2, &accessKey);
    QCOMPARE(w.platform->boxes.size(), 1);
    QCOMPARE(QApplication::focusWidget(), w->Command2);
    QCOMPARE(w.platform->boxes.size(), 1);
    QVERIFY(w.platform->boxes.first().prompt.contains(QStringLiteral("898,32  hPa. ")));
    QVERIFY(w.platform->boxes.first().prompt.endsWith(QStringLiteral("beträgt 1,68  hPa.")));
}

#include "test_ui_input.h"
#include "test_ui_windows.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    {
        Form1Test test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        InputFieldsTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        WindowsTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}

#include "test_ui.moc"
