// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a scaled screen. CTest runs this program with
// QT_SCALE_FACTOR=1, 1.5 and 2: the window grows by the factor, the lines and
// the indicator stay where their twips put them, one device pixel thick (at 1.75 too),
// text and pictures are drawn at the screen's resolution instead of being
// blown up, and no line of a message box wraps. The same pixels show that a
// dark desktop theme changes no text drawn on the fixed window colour. A
// fifth run shows the message boxes under the GTK platform theme on Xvfb.

#include "layouttable.h"
#include "uifixture.h"

#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/line.h"
#include "ui/messagebox.h"
#include "ui/twips.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <cmath>

using namespace barovista;
using namespace barovista::testing;

namespace {

// A frame's place in the client area, in logical pixels.
QPoint framePx(const QString &frame)
{
    const ControlPlace *place = placeOf(frame);
    return place ? QPoint(px(place->left), px(place->top)) : QPoint();
}

double scaleFactor()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

// Device rows in which at least 90 % of the pixels between x1 and x2 have
// exactly the given colour.
QList<int> rowsOfColour(const QImage &image, int x1, int x2, QRgb colour)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        int hits = 0;
        for (int x = x1; x < x2; ++x)
            hits += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
        if (hits * 10 >= (x2 - x1) * 9)
            rows.append(y);
    }
    return rows;
}

// The device rows of the window's picture in which a line of the given colour
// runs along the scale's long ticks, and the device row predicted for a
// height on the scale in twips.
struct ScaleRows
{
    QList<int> rows;
    double predicted = 0;
};

ScaleRows scaleRows(Window &w, double factor, double yTwips, QRgb colour)
{
    const QImage image = w->grab().toImage();
    const QPoint origin =
        w->centralWidget()->mapTo(w.form.get(), QPoint(0, 0)) + framePx(QStringLiteral("Frame2"));
    const int x1 = static_cast<int>(std::lround((origin.x() + kLongTickX1 / 15.0) * factor));
    const int x2 = static_cast<int>(std::lround((origin.x() + kLongTickX2 / 15.0) * factor));
    return {rowsOfColour(image, x1, x2, colour), (origin.y() + yTwips / 15.0) * factor};
}

// Pixels that are clearly not the window colour: text and lines.
bool isInk(QRgb pixel)
{
    const int distance = std::abs(qRed(pixel) - paint::kWindow.red())
                         + std::abs(qGreen(pixel) - paint::kWindow.green())
                         + std::abs(qBlue(pixel) - paint::kWindow.blue());
    return distance > 90;
}

QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Share of the 2x2 blocks touching ink whose four pixels are not all equal.
// A picture blown up from half the resolution has none.
double detailedBlockShare(const QImage &image)
{
    int inkBlocks = 0;
    int detailed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb a = image.pixel(x, y), b = image.pixel(x + 1, y), c = image.pixel(x, y + 1),
                       d = image.pixel(x + 1, y + 1);
            if (!(isInk(a) || isInk(b) || isInk(c) || isInk(d)))
                continue;
            ++inkBlocks;
            detailed += !(a == b && b == c && c == d);
        }
    }
    return inkBlocks ? double(detailed) / inkBlocks : 0.0;
}

// Bands of rows with dark ink, as a reader counts lines of text.
int inkLines(const QImage &image)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 110;
        bands += ink && !inBand;
        inBand = ink;
    }
    return bands;
}

// The statistics report of a history that holds one measurement with
// decimals, as the program forms it on the next start.
QString statisticsReportWithDecimals()
{
    QTemporaryDir appData;
    const QDateTime measured(QDate(2026, 12, 8), QTime(10, 15, 0));
    {
        Run first(appData.path(), measured, false);
        first.evaluate(QStringLiteral("500"), QStringLiteral("955.55"));
        first.close();
    }
    Run next(appData.path(), measured.addDays(1), false);
    next->stat_Click();
    return next.platform().boxes.isEmpty() ? QString() : next.platform().boxes.last().prompt;
}

// True when GTK has been loaded into this process, as the GTK platform theme
// does.
bool gtkLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libgtk-3.so");
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void window_growsByTheFactor();
    void ticks_lieOnTheirTwips_data();
    void ticks_lieOnTheirTwips();
    void indicator_liesOnItsTwips_data();
    void indicator_liesOnItsTwips();
    void captions_scaleWithTheWindow_data();
    void captions_scaleWithTheWindow();
    void text_isDrawnAtScreenResolution();
    void pictures_haveScreenResolution();
    void text_keepsItsColoursUnderADarkTheme_data();
    void text_keepsItsColoursUnderADarkTheme();
    void messageBoxes_keepEveryLineWhole_data();
    void messageBoxes_keepEveryLineWhole();

private:
    double m_factor = 1;
};

void HiDpiTest::initTestCase()
{
    m_factor = scaleFactor();
    qInfo("QT_SCALE_FACTOR %g", m_factor);
}

void HiDpiTest::window_growsByTheFactor()
{
    Window w;
    QCOMPARE(w->devicePixelRatioF(), m_factor);
    // The layout is in logical pixels and does not change with the factor.
    QCOMPARE(w->centralWidget()->size(), QSize(767, 374));

    const QImage image = w->grab().toImage();
    QCOMPARE(image.devicePixelRatio(), m_factor);
    QCOMPARE(image.size(), w->size() * m_factor);
}

void HiDpiTest::ticks_lieOnTheirTwips_data()
{
    QTest::addColumn<int>("yTwips");
    QTest::newRow("top, 1063,25 hPa") << kScaleTopY;
    QTest::newRow("centre, 1013,25 hPa") << kScaleCentreY;
    QTest::newRow("bottom, 963,25 hPa") << kScaleBottomY;
}

// The long ticks, black, with the indicator hidden as on a first start.
void HiDpiTest::ticks_lieOnTheirTwips()
{
    QFETCH(int, yTwips);
    Window w;
    QVERIFY(!w->Frame2->latte->isVisible());
    const auto [rows, predicted] = scaleRows(w, m_factor, yTwips, paint::kBlack.rgb());
    int nearest = -1;
    for (int row : rows)
        if (nearest < 0 || std::abs(row - predicted) < std::abs(nearest - predicted))
            nearest = row;
    QVERIFY2(nearest >= 0, "no black tick at all");
    QVERIFY2(std::abs(nearest - predicted) <= m_factor,
             qPrintable(QStringLiteral("tick at row %1, predicted %2").arg(nearest).arg(predicted)));
    // One device pixel thick at any factor.
    const int thickness = int(std::count_if(
        rows.begin(), rows.end(), [&](int row) { return std::abs(row - nearest) <= 2 * m_factor; }));
    QCOMPARE(thickness, 1);
}

void HiDpiTest::indicator_liesOnItsTwips_data()
{
    // At altitude 0 the reading is the sea-level pressure.
    QTest::addColumn<QString>("reading");
    QTest::addColumn<double>("hPaAbove");
    QTest::newRow("standard pressure") << "1013.25" << 0.0;
    QTest::newRow("high") << "1040" << 26.75;
    QTest::newRow("low") << "970" << -43.25;
    QTest::newRow("near the top") << "1060" << 46.75;
}

void HiDpiTest::indicator_liesOnItsTwips()
{
    QFETCH(QString, reading);
    QFETCH(double, hPaAbove);
    Window w;
    w.evaluate(QStringLiteral("0"), reading);
    QVERIFY(w->Frame2->latte->isVisible());

    const auto [rows, predicted] = scaleRows(w, m_factor, indicatorY(hPaAbove), paint::kRed.rgb());
    QVERIFY2(!rows.isEmpty(), "no red indicator drawn");
    QVERIFY2(
        std::abs(rows.first() - predicted) <= m_factor,
        qPrintable(QStringLiteral("indicator at row %1, predicted %2").arg(rows.first()).arg(predicted)));
    QCOMPARE(rows.size(), 1);
}

void HiDpiTest::captions_scaleWithTheWindow_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("scale top") << "Label8";
    QTest::newRow("scale centre") << "Label7";
    QTest::newRow("scale bottom") << "Label9";
    QTest::newRow("sea level, large bold") << "Label4";
    QTest::newRow("reading, bold") << "Label2";
    QTest::newRow("unit") << "Label12";
}

// Each caption stands at its twips in logical pixels whatever the factor,
// its text is drawn inside that box scaled by the factor, and the text is
// as tall as the font says, times the factor.
void HiDpiTest::captions_scaleWithTheWindow()
{
    QFETCH(QString, label);
    const ControlPlace *place = placeOf(label);
    QVERIFY(place && place->frame);
    Window w;
    auto *caption = w->findChild<QLabel *>(label);
    QVERIFY(caption);

    const QPoint client = w->centralWidget()->mapTo(w.form.get(), QPoint(0, 0));
    const QRect logical(client + framePx(QString::fromLatin1(place->frame))
                            + QPoint(px(place->left), px(place->top)),
                        QSize(px(place->width), px(place->height)));
    QCOMPARE(QRect(caption->mapTo(w.form.get(), QPoint(0, 0)), caption->size()), logical);

    const QImage image = w->grab().toImage();
    const QRect device(logical.topLeft() * m_factor, logical.size() * m_factor);
    const QRect ink = inkBounds(image.copy(device));
    QVERIFY2(!ink.isEmpty(), "no text drawn in the caption's box");

    const int textHeight = QFontMetrics(caption->font()).tightBoundingRect(caption->text()).height();
    QVERIFY2(
        std::abs(ink.height() - textHeight * m_factor) <= m_factor + 1,
        qPrintable(
            QStringLiteral("ink %1 device px high, text %2 logical px").arg(ink.height()).arg(textHeight)));
    QVERIFY2(ink.left() <= 3 * m_factor,
             qPrintable(QStringLiteral("text starts %1 device px into its box").arg(ink.left())));
}

void HiDpiTest::text_isDrawnAtScreenResolution()
{
    if (m_factor < 2)
        QSKIP("only on a scaled screen");
    Window w;
    for (QLabel *caption : {w->Label4, w->Label2, w->Frame2->Label8}) {
        const QPoint topLeft = caption->mapTo(w.form.get(), QPoint(0, 0));
        const QImage image = w->grab().toImage();
        const QImage text = image.copy(QRect(topLeft * m_factor, caption->size() * m_factor));
        const double share = detailedBlockShare(text);
        QVERIFY2(share > 0.2, qPrintable(QStringLiteral("%1: only %2 of the text's 2x2 blocks have detail")
                                             .arg(caption->objectName())
                                             .arg(share)));
    }
}

// The window icon offers a picture at least as large as the scaled 48 x 48
// pixels, and the info window's emblem is a picture of the screen's
// resolution, drawn with detail.
void HiDpiTest::pictures_haveScreenResolution()
{
    Window w;
    const int iconSide = int(48 * m_factor);
    bool largeEnough = false;
    for (const QSize &size : w->windowIcon().availableSizes())
        largeEnough = largeEnough || (size.width() >= iconSide && size.height() >= iconSide);
    QVERIFY2(largeEnough, "no window icon picture for this factor");

    w->Info_Click();
    Form3 *info = w->infoWindow();
    QVERIFY(info);
    const QPixmap emblem = info->Picture2->pixmap();
    QCOMPARE(emblem.devicePixelRatio(), m_factor);
    QCOMPARE(emblem.size(), QSize(48, 48) * m_factor);
    if (m_factor >= 2) {
        const QImage drawn =
            info->grab().toImage().copy(QRect(info->Picture2->pos() * m_factor, QSize(48, 48) * m_factor));
        QVERIFY(detailedBlockShare(drawn) > 0.2);
    }
}

void HiDpiTest::text_keepsItsColoursUnderADarkTheme_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("followsTheme");
    for (const char *control : {"anzeige2", "anzeige1", "anzeige4", "Frame4", "Frame2", "Label2", "Label5"})
        QTest::newRow(control) << "Form1" << control << false;
    QTest::newRow("help text") << "Form2"
                               << "Text1" << false;
    QTest::newRow("info name") << "Form3"
                               << "Label1" << false;
    QTest::newRow("info address") << "Form3"
                                  << "Label3" << false;
    // Input fields are in the desktop's colours: they do change.
    QTest::newRow("input field") << "Form1"
                                 << "eingabe2" << true;
}

// The control drawn under the default palette and under a dark one set on
// the application before the windows are built, as a dark desktop theme
// sets it: the same pixels.
void HiDpiTest::text_keepsItsColoursUnderADarkTheme()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(bool, followsTheme);
    const auto render = [&]() -> QImage {
        Window w;
        w.evaluate(QStringLiteral("500"), QStringLiteral("950"));
        QWidget *shown = w.open(window);
        auto *widget = shown->findChild<QWidget *>(control);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
            widget = area->viewport(); // the text, without the themed scroll bar
        return widget ? shown->grab(QRect(widget->mapTo(shown, QPoint(0, 0)), widget->size())).toImage()
                      : QImage();
    };
    const QImage standard = render();
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(53, 53, 53))); // light text on dark grey
    const QImage dark = render();
    QApplication::setPalette(saved);
    QVERIFY(!standard.isNull());
    QCOMPARE(standard == dark, !followsTheme);
}

void HiDpiTest::messageBoxes_keepEveryLineWhole_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    const int ok = int(Platform::Buttons::Ok);

    const QString report = statisticsReportWithDecimals();
    QVERIFY2(report.contains(QStringLiteral("955,55  hPa  (08.12.2026, 10:15:00) ")), qPrintable(report));
    QTest::newRow("statistics report with decimals") << report << int(Platform::Icon::None) << ok;
    QTest::newRow("one-line prompt") << texts::kReadingMissing << int(Platform::Icon::Warning) << ok;
    Window w(true, false);
    w.platform->answers = {Platform::Answer::No};
    w->Ende_Click();
    QTest::newRow("reset question") << w.platform->boxes.last().prompt << int(Platform::Icon::Question)
                                    << int(Platform::Buttons::YesNo);
    // Wider than the 800 pixels to which Qt cuts a box on a 1280-pixel screen.
    QTest::newRow("long data folder")
        << QStringLiteral("/home/benutzerin-mit-einem-langen-namen/Dokumente/Wetterbeobachtungen/"
                          "Barometer-Aufzeichnungen-der-Wetterstation-am-Hang/Daten-und-Sicherungen/"
                          "barovista")
        << int(Platform::Icon::None) << ok;
}

// The box as the desktop shows it: every line on one line of its own, the
// box as wide as the longest line in the box's own font, within the screen.
void HiDpiTest::messageBoxes_keepEveryLineWhole()
{
    QFETCH(QString, prompt);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QVERIFY(!prompt.isEmpty());
    if (qgetenv("QT_QPA_PLATFORMTHEME") == "gtk3" && !gtkLoaded())
        QSKIP("the GTK platform theme is not installed (qt6-gtk-platformtheme)");

    const auto box = makeMessageBox(nullptr, {prompt, texts::kTitle, Platform::Buttons(buttons),
                                              Platform::Icon(icon), Platform::Answer::Ok});
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QCoreApplication::processEvents(); // the layout requests that follow the showing
    auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);

    const QStringList lines = prompt.split(QStringLiteral("\r\n"));
    const QFontMetrics metrics(label->font());
    int longest = 0;
    for (const QString &line : lines)
        longest = std::max(longest, metrics.horizontalAdvance(line));
    QVERIFY(!label->wordWrap());
    // As wide as the longest line, unless the box already fills the screen.
    const int screenWidth = box->screen()->availableGeometry().width();
    if (box->frameGeometry().width() < screenWidth)
        QVERIFY2(label->contentsRect().width() >= longest,
                 qPrintable(QStringLiteral("label %1 px, longest line %2 px")
                                .arg(label->contentsRect().width())
                                .arg(longest)));
    QVERIFY(box->rect().contains(label->geometry()));
    QVERIFY(box->frameGeometry().width() <= screenWidth);

    // On the pixels: one band of ink per line that is not empty.
    const qsizetype written = lines.size() - lines.count(QString());
    QCOMPARE(inkLines(label->grab().toImage()), int(written));
}

QTEST_MAIN(HiDpiTest)
#include "test_hidpi.moc"
