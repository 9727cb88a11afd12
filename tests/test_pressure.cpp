// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressure/calibration.h"
#include "pressure/evaluation.h"
#include "pressure/formulas.h"
#include "pressure/numbers.h"

#include <QLocale>
#include <QtTest>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace barovista;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

DisplayLocale withPoint(QChar point)
{
    DisplayLocale locale = DisplayLocale::german();
    locale.decimalPoint = point;
    return locale;
}

// The nearest multiple of 0.01 to the exact binary value of x (|x| < 2^53),
// ties to even, worked out in integers: |x| = mantissa * 2^-shift, so
// 100 * |x| = mantissa * 100 / 2^shift with mantissa * 100 < 2^60.
struct Hundredths
{
    double value = 0;
    bool tie = false;
};

Hundredths exactHundredths(double x)
{
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(x), &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    const std::uint64_t scaled = mantissa * 100;
    std::uint64_t count = scaled;
    bool tie = false;
    if (shift >= 64) {
        count = 0; // scaled < 2^60 lies below half of 2^shift
    } else if (shift > 0) {
        count = scaled >> shift;
        const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        tie = remainder == half;
        if (remainder > half || (tie && count % 2 == 1))
            ++count;
    }
    const std::uint64_t cents = count % 100;
    const std::string text = (x < 0 ? "-" : "") + std::to_string(count / 100) + '.'
                             + static_cast<char>('0' + cents / 10) + static_cast<char>('0' + cents % 10);
    Hundredths result;
    result.tie = tie;
    std::from_chars(text.data(), text.data() + text.size(), result.value);
    return result;
}

} // namespace

// Exact comparison: QCOMPARE on floating point forgives the last digits,
// which are exactly what these tests are about.
#define COMPARE_EXACT(actual, expected)                                                                      \
    do {                                                                                                     \
        const double actual_ = (actual);                                                                     \
        const double expected_ = (expected);                                                                 \
        QVERIFY2(actual_ == expected_ || (std::isnan(actual_) && std::isnan(expected_)),                     \
                 qPrintable(QStringLiteral("got %1, expected %2").arg(exact(actual_), exact(expected_))));   \
    } while (false)

class TestPressure : public QObject
{
    Q_OBJECT

private slots:
    void barometricFactor_data()
    {
        // Bit-exact factors. At 498, 522 and 619 m, h / 288 * 0.00651 or
        // h * (0.00651 / 288) would change the last bit.
        QTest::addColumn<double>("altitude");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("mean");
        QTest::newRow("sea level") << 0.0 << 1.0 << "1013,25";
        QTest::newRow("500 m") << 500.0 << 0.9420182531098756 << "954,5";
        QTest::newRow("1000 m") << 1000.0 << 0.8867891884958687 << "898,54";
        QTest::newRow("9999 m, highest typeable") << 9999.0 << 0.26018217507017266 << "263,63";
        QTest::newRow("498 m") << 498.0 << 0.9422446284751667 << "954,73";
        QTest::newRow("522 m") << 522.0 << 0.9395310292502381 << "951,98";
        QTest::newRow("619 m") << 619.0 << 0.9286279545853147 << "940,93";
        QTest::newRow("below sea level") << -500.0 << 1.0608381745274462 << "1074,89";
    }
    void barometricFactor()
    {
        QFETCH(double, altitude);
        QFETCH(double, factor);
        QFETCH(QString, mean);
        const auto f = barovista::barometricFactor(altitude);
        QVERIFY(f.has_value());
        COMPARE_EXACT(*f, factor);
        const auto m = meanPressure(altitude);
        QVERIFY(m.has_value());
        QCOMPARE(formatNumber(*m, DisplayLocale::german()), mean);
    }

    void altitudeRange_data()
    {
        QTest::addColumn<double>("altitude");
        QTest::addColumn<bool>("inRange");
        QTest::newRow("44239 m") << 44239.0 << true;
        QTest::newRow("44239.6 m") << 44239.6 << true;
        QTest::newRow("44239.7 m") << 44239.7 << false;
        QTest::newRow("44240 m") << 44240.0 << false;
        QTest::newRow("1e9 m") << 1e9 << false;
        QTest::newRow("infinity") << kInf << false;
        QTest::newRow("minus infinity") << -kInf << false;
        QTest::newRow("nan") << kNan << false;
    }
    void altitudeRange()
    {
        QFETCH(double, altitude);
        QFETCH(bool, inRange);
        const auto f = barovista::barometricFactor(altitude);
        QCOMPARE(f.has_value(), inRange);
        QCOMPARE(altitudeInRange(altitude), inRange);
        QCOMPARE(meanPressure(altitude).has_value(), inRange);
        QCOMPARE(evaluate(altitude, 900).has_value(), inRange);
        QCOMPARE(calibrate(altitude, 900, 1013).has_value(), inRange);
        if (f)
            QVERIFY(std::isfinite(*f) && *f > 0);
    }

    void refusesNonFiniteResults()
    {
        // A pasted 1000-digit reading reads as infinity; it must never reach a field.
        QVERIFY(!evaluate(0, readLeadingNumber(QString(1000, QLatin1Char('9')))).has_value());
        QVERIFY(!seaLevelPressure(1e308, 9999).has_value());
    }

    void conversionAndMeanPressureAgree()
    {
        // Both directions use the same factor: 1013.25 at sea level converted
        // to an altitude is the mean pressure there, to the last bit.
        for (int h = 0; h <= 9999; ++h) {
            const auto converted = pressureAtAltitude(kStandardPressure, h);
            const auto mean = meanPressure(h);
            QVERIFY(converted && mean);
            QVERIFY2(*converted == *mean, qPrintable(QString::number(h)));
        }
    }

    void evaluatesTypedInputs_data()
    {
        QTest::addColumn<QString>("altitudeText");
        QTest::addColumn<QString>("barometerText");
        QTest::addColumn<QString>("mean");
        QTest::addColumn<QString>("seaLevel");
        QTest::addColumn<double>("tendenz");
        QTest::newRow("standard") << "0"
                                  << "1013.25"
                                  << "1013,25  hPa"
                                  << "1013,25  hPa" << 0.0;
        QTest::newRow("high at sea level") << "0"
                                           << "1020"
                                           << "1013,25  hPa"
                                           << "1020  hPa" << 6.75;
        QTest::newRow("low at sea level") << "0"
                                          << "1010"
                                          << "1013,25  hPa"
                                          << "1010  hPa" << -3.25;
        QTest::newRow("500 m") << "500"
                               << "955"
                               << "954,5  hPa"
                               << "1013,78  hPa" << 0.53;
        QTest::newRow("reading kept unrounded") << "500"
                                                << "955.005"
                                                << "954,5  hPa"
                                                << "1013,79  hPa" << 0.54;
        QTest::newRow("1000 m, D not 1.6499") << "1000"
                                              << "900"
                                              << "898,54  hPa"
                                              << "1014,9  hPa" << 1.65;
        QTest::newRow("9999 m") << "9999"
                                << "263.63"
                                << "263,63  hPa"
                                << "1013,25  hPa" << 0.0;
        QTest::newRow("tie below even") << "0"
                                        << "101.675"
                                        << "1013,25  hPa"
                                        << "101,67  hPa" << -911.58;
        QTest::newRow("exact tie") << "0"
                                   << "950.125"
                                   << "1013,25  hPa"
                                   << "950,12  hPa" << -63.13;
        QTest::newRow("lone point reads 0") << "0"
                                            << "."
                                            << "1013,25  hPa"
                                            << "0  hPa" << -1013.25;
    }
    void evaluatesTypedInputs()
    {
        QFETCH(QString, altitudeText);
        QFETCH(QString, barometerText);
        QFETCH(QString, mean);
        QFETCH(QString, seaLevel);
        QFETCH(double, tendenz);
        const DisplayLocale german = DisplayLocale::german();
        const auto result = evaluate(readLeadingNumber(altitudeText), readLeadingNumber(barometerText));
        QVERIFY(result.has_value());
        QCOMPARE(pressureFieldText(result->meanPressure, german), mean);
        QCOMPARE(pressureFieldText(result->seaLevel, german), seaLevel);
        COMPARE_EXACT(result->tendenz, tendenz);
    }

    void roundsTiesToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("1013.125") << 1013.125 << 1013.12;
        QTest::newRow("1013.375") << 1013.375 << 1013.38;
        QTest::newRow("0.125") << 0.125 << 0.12;
        QTest::newRow("0.375") << 0.375 << 0.38;
        QTest::newRow("2.675 lies below the tie") << 2.675 << 2.67;
        QTest::newRow("1.005 lies below the tie") << 1.005 << 1.0;
        QTest::newRow("0.005 lies above the tie") << 0.005 << 0.01;
        QTest::newRow("0.995 lies below the tie") << 0.995 << 0.99;
        QTest::newRow("next double above 0.995") << std::nextafter(0.995, 1.0) << 1.0;
        QTest::newRow("-1013.125") << -1013.125 << -1013.12;
        QTest::newRow("-0.375") << -0.375 << -0.38;
        QTest::newRow("-2.675") << -2.675 << -2.67;
        QTest::newRow("tiny") << 1e-300 << 0.0;
        QTest::newRow("large tie") << 123456789.125 << 123456789.12;
        QTest::newRow("2^52 - 0.5") << 4503599627370495.5 << 4503599627370495.5;
        QTest::newRow("1e17") << 1e17 << 1e17;
        QTest::newRow("1e300") << 1e300 << 1e300;
        QTest::newRow("infinity") << kInf << kInf;
        QTest::newRow("nan") << kNan << kNan;
    }
    void roundsTiesToEven()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        COMPARE_EXACT(roundTo2(value), rounded);
    }

    void roundingMatchesExactDecimal()
    {
        std::mt19937_64 random(20240229);
        const auto unit = [&random] { return std::ldexp(static_cast<double>(random() >> 11), -53); };
        const auto below = [&random](std::uint64_t n) { return static_cast<double>(random() % n); };
        std::vector<double> values;
        for (int i = 0; i < 3000; ++i) {
            values.push_back((2 * unit() - 1) * 1e6);
            values.push_back(std::ldexp(1 + unit(), static_cast<int>(below(83)) - 30)); // 2^-30 .. 2^52
            values.push_back(below(1'000'000'000) / 1000);
            values.push_back(below(100'000'000) / 100 + 0.005);
            const double eighths = below(8'000'000) / 8; // odd multiples of 1/8 are exact ties
            values.push_back(eighths);
            values.push_back(std::nextafter(eighths, kInf));
            values.push_back(-std::nextafter(eighths, 0.0));
        }
        int ties = 0;
        for (const double x : values) {
            const Hundredths expected = exactHundredths(x);
            ties += expected.tie;
            const double actual = roundTo2(x);
            QVERIFY2(actual == expected.value,
                     qPrintable(QStringLiteral("%1 rounded to %2, expected %3")
                                    .arg(exact(x), exact(actual), exact(expected.value))));
        }
        QVERIFY2(ties > 1000, "the sample holds too few exact ties");
    }

    void formatsNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("text");
        const QChar comma = QLatin1Char(',');
        QTest::newRow("trailing zero dropped") << 954.5 << comma << "954,5";
        QTest::newRow("whole") << 940.0 << comma << "940";
        QTest::newRow("negative") << -3.07 << comma << "-3,07";
        QTest::newRow("1013") << 1013.0 << comma << "1013";
        QTest::newRow("1014.9") << 1014.9 << comma << "1014,9";
        QTest::newRow("zero") << 0.0 << comma << "0";
        QTest::newRow("negative zero") << -0.0 << comma << "0";
        QTest::newRow("15 significant digits") << 0.1 + 0.2 << comma << "0,3";
        QTest::newRow("unrounded difference") << 1014.9 - 1013.25 << comma << "1,64999999999998";
        QTest::newRow("0.01") << 0.01 << comma << "0,01";
        QTest::newRow("0.00001") << 0.00001 << comma << "0,00001";
        QTest::newRow("no thousands separator") << 1234567.89 << comma << "1234567,89";
        QTest::newRow("1e7") << 1e7 << comma << "10000000";
        QTest::newRow("123456789.12") << 123456789.12 << comma << "123456789,12";
        QTest::newRow("1e15") << 1e15 << comma << "1000000000000000";
        QTest::newRow("nan") << kNan << comma << "";
        QTest::newRow("infinity") << kInf << comma << "";
        QTest::newRow("minus infinity") << -kInf << comma << "";
        QTest::newRow("point locale") << 1014.9 << QChar(QLatin1Char('.')) << "1014.9";
    }
    void formatsNumbers()
    {
        QFETCH(double, value);
        QFETCH(QChar, point);
        QFETCH(QString, text);
        QCOMPARE(formatNumber(value, withPoint(point)), text);
    }

    void formatsSinglePrecision_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.68") << 1.68f << "1,68";
        QTest::newRow("difference 900 - 898.32") << static_cast<float>(900 - 898.32) << "1,68";
        QTest::newRow("-4.97") << -4.97f << "-4,97";
        QTest::newRow("7 significant digits") << 1.23456789f << "1,234568";
        QTest::newRow("1013.25") << 1013.25f << "1013,25";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("1e7") << 1e7f << "10000000";
        QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN() << "";
    }
    void formatsSinglePrecision()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(formatSingle(value, DisplayLocale::german()), text);
    }

    void readsLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "  " << 0.0;
        QTest::newRow("leading blank") << " 12" << 12.0;
        QTest::newRow("decimal point") << "1013.25" << 1013.25;
        QTest::newRow("comma ends the number") << "1013,25" << 1013.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("two points") << ".." << 0.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("minus") << "-5" << -5.0;
        QTest::newRow("plus") << "+5" << 5.0;
        QTest::newRow("minus point") << "-.5" << -0.5;
        QTest::newRow("blank after sign") << "- 5" << 0.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("exponent ends") << "1e5" << 1.0;
        QTest::newRow("hex prefix ends") << "0x1F" << 0.0;
        QTest::newRow("letters end") << "12abc" << 12.0;
        QTest::newRow("correctly rounded") << "0.1" << 0.1;
        QTest::newRow("more digits than a double") << "1013.2500000000000001" << 1013.25;
        QTest::newRow("1000 digits") << QString(1000, QLatin1Char('9')) << kInf;
        QTest::newRow("minus 1000 digits")
            << QString(1000, QLatin1Char('9')).prepend(QLatin1Char('-')) << -kInf;
        QTest::newRow("1000 leading zeros")
            << QString(1000, QLatin1Char('0')).append(QLatin1Char('5')) << 5.0;
        QTest::newRow("1e300 written out")
            << QString(300, QLatin1Char('0')).prepend(QLatin1Char('1')) << 1e300;
        QTest::newRow("far below the smallest double")
            << QString(400, QLatin1Char('0')).prepend(QLatin1String("0.")).append(QLatin1Char('1')) << 0.0;
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("١٢") << 0.0;
        QTest::newRow("fullwidth digits") << QString::fromUtf8("１２") << 0.0;
        QTest::newRow("Arabic-Indic digit ends") << QString::fromUtf8("12١") << 12.0;
    }
    void readsLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        COMPARE_EXACT(readLeadingNumber(text), value);
    }

    void ignoresTheCLibraryLocale()
    {
        const DisplayLocale german = DisplayLocale::german();
        const auto sample = [&german] {
            return QStringList{exact(roundTo2(2.675)),
                               exact(roundTo2(1014.8973529171446)),
                               formatNumber(1014.9, german),
                               formatNumber(1014.9, withPoint(QLatin1Char('.'))),
                               formatSingle(-4.97f, german),
                               exact(readLeadingNumber(u"1013.25")),
                               exact(evaluate(1000, 900).value().tendenz)};
        };
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        struct Restore
        {
            std::string name;
            ~Restore() { std::setlocale(LC_ALL, name.c_str()); }
        } restore{previous};

        QVERIFY(std::setlocale(LC_ALL, "C"));
        const QStringList underC = sample();
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            QSKIP("locale de_DE.UTF-8 is not installed (the set-up script generates it)");
        QCOMPARE(QString::fromLatin1(std::localeconv()->decimal_point), QStringLiteral(","));
        const QStringList underGerman = sample();
        QCOMPARE(underGerman, underC);
        QCOMPARE(underGerman, (QStringList{exact(2.67), exact(1014.9), "1014,9", "1014.9", "-4,97",
                                           exact(1013.25), exact(1.65)}));
    }

    void deviationMessage_data()
    {
        QTest::addColumn<double>("tendenz");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("colour");
        const QChar comma = QLatin1Char(',');
        const QString equalText =
            QStringLiteral("Aktueller Luftdruck entspricht dem Mittleren Luftdruck bezogen auf Meereshöhe.");
        const auto over = [](const char *d) {
            return QStringLiteral(
                       "Aktueller Luftdruck %1 hPa über mittlerem Luftdruck bezogen auf Meereshöhe.")
                .arg(QLatin1String(d));
        };
        const auto under = [](const char *d) {
            return QStringLiteral(
                       "Aktueller Luftdruck %1 hPa unter mittlerem Luftdruck bezogen auf Meereshöhe.")
                .arg(QLatin1String(d));
        };
        QTest::newRow("above") << 1.65 << comma << over("1,65") << "+1,65 hPa"
                               << "0,0,192";
        QTest::newRow("smallest above") << 0.01 << comma << over("0,01") << "+0,01 hPa"
                                        << "0,0,192";
        QTest::newRow("whole above") << 7.0 << comma << over("7") << "+7 hPa"
                                     << "0,0,192";
        QTest::newRow("below keeps its sign") << -3.25 << comma << under("-3,25") << "-3,25 hPa"
                                              << "192,0,0";
        QTest::newRow("smallest below") << -0.01 << comma << under("-0,01") << "-0,01 hPa"
                                        << "192,0,0";
        QTest::newRow("barometer reads 0") << -1013.25 << comma << under("-1013,25") << "-1013,25 hPa"
                                           << "192,0,0";
        QTest::newRow("equal") << 0.0 << comma << equalText << "+/- 0 hPa"
                               << "0,0,0";
        QTest::newRow("negative zero") << -0.0 << comma << equalText << "+/- 0 hPa"
                                       << "0,0,0";
        QTest::newRow("point locale") << 1.65 << QChar(QLatin1Char('.')) << over("1.65") << "+1.65 hPa"
                                      << "0,0,192";
    }
    void deviationMessage()
    {
        QFETCH(double, tendenz);
        QFETCH(QChar, point);
        QFETCH(QString, message);
        QFETCH(QString, label);
        QFETCH(QString, colour);
        const DeviationMessage result = barovista::deviationMessage(tendenz, withPoint(point));
        QCOMPARE(result.message, message);
        QCOMPARE(result.label, label);
        const Rgb rgb = colourOf(result.tendency);
        QCOMPARE(QStringLiteral("%1,%2,%3").arg(rgb.red).arg(rgb.green).arg(rgb.blue), colour);
    }

    void placesIndicator_data()
    {
        QTest::addColumn<double>("tendenz");
        QTest::addColumn<double>("offset");
        QTest::addColumn<float>("latteY");
        QTest::addColumn<float>("label13Top");
        QTest::addColumn<float>("label14Top");
        QTest::addColumn<bool>("offScale");
        QTest::newRow("centre") << 0.0 << 0.0 << 2738.0f << 2628.0f << 2828.0f << false;
        QTest::newRow("1.65") << 1.65 << 66.0 << 2672.0f << 2562.0f << 2762.0f << false;
        QTest::newRow("-3.25") << -3.25 << -130.0 << 2868.0f << 2758.0f << 2958.0f << false;
        const float fraction = static_cast<float>(2738 - 21.2);
        QTest::newRow("fraction of a twip")
            << 0.53 << 21.2 << fraction << fraction - 110 << fraction + 90 << false;
        // Rounded once from the double difference, not from a float offset.
        QTest::newRow("single precision") << 42.87 << 1714.8 << 1023.2f << 913.2f << 1113.2f << false;
        QTest::newRow("top tick") << 50.0 << 2000.0 << 738.0f << 628.0f << 828.0f << false;
        QTest::newRow("bottom tick") << -50.0 << -2000.0 << 4738.0f << 4628.0f << 4828.0f << false;
        QTest::newRow("above the top") << 50.01 << 2000.4 << 737.6f << 627.6f << 827.6f << true;
        QTest::newRow("below the bottom") << -50.01 << -2000.4 << 4738.4f << 4628.4f << 4828.4f << true;
        QTest::newRow("barometer reads 0")
            << -1013.25 << -40530.0 << 43268.0f << 43158.0f << 43358.0f << true;
    }
    void placesIndicator()
    {
        QFETCH(double, tendenz);
        QFETCH(double, offset);
        QFETCH(float, latteY);
        QFETCH(float, label13Top);
        QFETCH(float, label14Top);
        QFETCH(bool, offScale);
        const double actualOffset = scale::indicatorOffset(tendenz);
        QVERIFY2(std::fabs(actualOffset - offset) < 1e-9, qPrintable(exact(actualOffset)));
        const float y = scale::movedY(scale::kHomeY, actualOffset);
        COMPARE_EXACT(y, latteY);
        COMPARE_EXACT(y - scale::kLabel13Above, label13Top);
        COMPARE_EXACT(y - scale::kLabel13Above + scale::kLabel14Below, label14Top);
        QCOMPARE(scale::isOffScale(tendenz), offScale);
    }

    void calibrates_data()
    {
        QTest::addColumn<double>("altitude");
        QTest::addColumn<double>("reading");
        QTest::addColumn<double>("weatherService");
        QTest::addColumn<double>("roundedAltitude");
        QTest::addColumn<double>("roundedReading");
        QTest::addColumn<double>("roundedWeatherService");
        QTest::addColumn<QString>("converted");
        QTest::addColumn<QString>("deviation");
        QTest::newRow("worked example") << 1000.0 << 900.0 << 1013.0 << 1000.0 << 900.0 << 1013.0 << "898,32"
                                        << "1,68";
        QTest::newRow("barometer low") << 1000.0 << 900.0 << 1020.5 << 1000.0 << 900.0 << 1020.5 << "904,97"
                                       << "-4,97";
        QTest::newRow("sea level, equal")
            << 0.0 << 1013.25 << 1013.25 << 0.0 << 1013.25 << 1013.25 << "1013,25"
            << "0";
        QTest::newRow("sea level, low") << 0.0 << 1000.0 << 1013.25 << 0.0 << 1000.0 << 1013.25 << "1013,25"
                                        << "-13,25";
        QTest::newRow("reading rounded first")
            << 0.0 << 950.125 << 950.12 << 0.0 << 950.12 << 950.12 << "950,12"
            << "0";
        QTest::newRow("weather service rounded first")
            << 0.0 << 950.12 << 950.125 << 0.0 << 950.12 << 950.12 << "950,12"
            << "0";
        QTest::newRow("altitude rounded first")
            << 1000.004 << 900.0 << 1013.0 << 1000.0 << 900.0 << 1013.0 << "898,32"
            << "1,68";
    }
    void calibrates()
    {
        QFETCH(double, altitude);
        QFETCH(double, reading);
        QFETCH(double, weatherService);
        QFETCH(double, roundedAltitude);
        QFETCH(double, roundedReading);
        QFETCH(double, roundedWeatherService);
        QFETCH(QString, converted);
        QFETCH(QString, deviation);
        const DisplayLocale german = DisplayLocale::german();
        const auto result = calibrate(altitude, reading, weatherService);
        QVERIFY(result.has_value());
        COMPARE_EXACT(result->altitude, roundedAltitude);
        COMPARE_EXACT(result->reading, roundedReading);
        COMPARE_EXACT(result->weatherService, roundedWeatherService);
        QCOMPARE(formatNumber(result->converted, german), converted);
        QCOMPARE(formatSingle(result->deviation, german), deviation);
    }

    void calibrationReport()
    {
        const auto worked = calibrate(1000, 900, 1013);
        const auto low = calibrate(1000, 900, 1020.5);
        QVERIFY(worked && low);
        QCOMPARE(barovista::calibrationReport(*worked, DisplayLocale::german()),
                 QStringLiteral("Umgerechnet auf die aktuelle Höhe beträgt der Luftdruck \r\n"
                                "des Wetterdienstes 898,32  hPa. \r\n\r\n"
                                "Die Abweichung der Barometeranzeige beträgt 1,68  hPa."));
        QCOMPARE(barovista::calibrationReport(*low, withPoint(QLatin1Char('.'))),
                 QStringLiteral("Umgerechnet auf die aktuelle Höhe beträgt der Luftdruck \r\n"
                                "des Wetterdienstes 904.97  hPa. \r\n\r\n"
                                "Die Abweichung der Barometeranzeige beträgt -4.97  hPa."));
    }

    void daySerials_data()
    {
        QTest::addColumn<double>("serial");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("day zero") << 0.0 << QDate(1899, 12, 30) << "30.12.1899";
        QTest::newRow("leap day") << 45351.0 << QDate(2024, 2, 29) << "29.02.2024";
        QTest::newRow("time of day ignored") << 45351.99 << QDate(2024, 2, 29) << "29.02.2024";
        QTest::newRow("before day zero") << -1.5 << QDate(1899, 12, 29) << "29.12.1899";
        QTest::newRow("first day") << -657434.0 << QDate(100, 1, 1) << "01.01.0100";
        QTest::newRow("last day") << 2958465.0 << QDate(9999, 12, 31) << "31.12.9999";
        QTest::newRow("before the first day") << -657435.0 << QDate() << "";
        QTest::newRow("after the last day") << 2958466.0 << QDate() << "";
        QTest::newRow("nan") << kNan << QDate() << "";
    }
    void daySerials()
    {
        QFETCH(double, serial);
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(fromDaySerial(serial), date);
        QCOMPARE(formatDate(serial, DisplayLocale::german()), text);
        if (date.isValid() && serial == std::trunc(serial))
            COMPARE_EXACT(toDaySerial(date), serial);
    }

    // The program is made for German: where the system locale is C/POSIX it
    // speaks German too. CTest runs this under C.UTF-8 and under de_DE.UTF-8.
    void systemLocaleIsGermanUnderCAndGerman()
    {
        const QString name = QLocale::system().name();
        if (QLocale::system().language() != QLocale::C && QLocale::system().language() != QLocale::German)
            QSKIP(qPrintable(QStringLiteral("system locale is ") + name));
        const DisplayLocale locale = DisplayLocale::system();
        QCOMPARE(locale.decimalPoint, QLatin1Char(','));
        QCOMPARE(formatDate(toDaySerial(QDate(2026, 12, 7)), locale), QStringLiteral("07.12.2026"));
        QCOMPARE(formatNumber(1014.9, locale), QStringLiteral("1014,9"));
    }
};

QTEST_GUILESS_MAIN(TestPressure)
#include "test_pressure.moc"
