// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressure/numbers.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace barovista {

namespace {

const QDate kDayZero(1899, 12, 30);

// A short date format with a four-digit year; Qt's own short formats often
// carry only two digits.
QString withFourDigitYear(QString format)
{
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString localised(const char *begin, const char *end, QChar decimalPoint)
{
    QString text = QString::fromLatin1(begin, end - begin);
    text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

} // namespace

DisplayLocale DisplayLocale::german()
{
    return DisplayLocale{};
}

DisplayLocale DisplayLocale::system()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        return german();
    DisplayLocale result;
    const QString point = locale.decimalPoint();
    result.decimalPoint = point.size() == 1 ? point.front() : QLatin1Char('.');
    result.shortDateFormat = withFourDigitYear(locale.dateFormat(QLocale::ShortFormat));
    return result;
}

double readLeadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;

    std::string number;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            number += '-';
        ++i;
    }
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            number += static_cast<char>(c);
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            number += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0.0;

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Hundreds of digits: too large for a double, or too close to zero.
        const bool negative = number.front() == '-';
        const bool tiny = number.find_first_of("123456789") > number.find('.');
        if (tiny)
            return negative ? -0.0 : 0.0;
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

double roundTo2(double value)
{
    if (!std::isfinite(value))
        return value;
    // to_chars rounds the exact binary value correctly, ties to even; reading
    // the digits back gives the nearest double to the rounded decimal.
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    double rounded = value;
    std::from_chars(buffer, written.ptr, rounded);
    return rounded;
}

namespace {

// The display form of either precision: `digits` significant digits, fixed
// notation where the general form would use an exponent.
template<typename Float>
QString formatWith(Float value, int digits, const DisplayLocale &locale)
{
    if (!std::isfinite(value))
        return QString();
    if (value == Float(0))
        value = Float(0); // no "-0"
    char buffer[400];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    if (std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)).find('e')
        != std::string_view::npos)
        written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return localised(buffer, written.ptr, locale.decimalPoint);
}

} // namespace

QString formatNumber(double value, const DisplayLocale &locale)
{
    return formatWith(value, 15, locale);
}

QString formatSingle(float value, const DisplayLocale &locale)
{
    return formatWith(value, 7, locale);
}

double toDaySerial(QDate date)
{
    return static_cast<double>(kDayZero.daysTo(date));
}

QDate fromDaySerial(double serial)
{
    if (!std::isfinite(serial))
        return QDate();
    static const double first = toDaySerial(QDate(100, 1, 1));
    static const double last = toDaySerial(QDate(9999, 12, 31));
    // The whole part is the day; a fraction would be a time of day.
    const double day = std::trunc(serial);
    if (day < first || day > last)
        return QDate();
    return kDayZero.addDays(static_cast<qint64>(day));
}

QString formatDate(double serial, const DisplayLocale &locale)
{
    const QDate date = fromDaySerial(serial);
    return date.isValid() ? date.toString(locale.shortDateFormat) : QString();
}

} // namespace barovista
