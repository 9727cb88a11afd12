// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringView>

namespace barovista {

// How numbers and dates are turned into text for the user. The core never
// asks the system for this itself: the windows pass it in, so that tests can
// pin it.
struct DisplayLocale
{
    QChar decimalPoint = QLatin1Char(',');
    QString shortDateFormat = QStringLiteral("dd.MM.yyyy");

    // German: decimal comma, dd.MM.yyyy.
    static DisplayLocale german();
    // The system locale's separator and short date (with a four-digit year);
    // German where the system locale is C/POSIX.
    static DisplayLocale system();
};

// Reads the number at the start of a text: skips blanks, an optional sign,
// digits with at most one "."; stops at anything else. Nothing read gives 0.
// Never looks at the locale; "1e5" reads 1, "0x1F" reads 0.
double readLeadingNumber(QStringView text);

// Rounds to the nearest multiple of 0.01 of the double's exact value; an
// exact tie goes to the even neighbour. Non-finite values are returned as they
// are.
double roundTo2(double value);

// Display form: 15 significant digits, trailing zeros dropped, no exponent for
// the magnitudes this program meets, no thousands separator, no "+".
// Non-finite values give the empty text: they must never reach the screen.
QString formatNumber(double value, const DisplayLocale &locale);
// The same for a single-precision value, with 7 significant digits.
QString formatSingle(float value, const DisplayLocale &locale);

// Days since 1899-12-30, the form dates are stored in.
double toDaySerial(QDate date);
// The calendar day of a day serial (its whole part); an invalid QDate when the
// serial is not finite or lies outside the years 100 to 9999.
QDate fromDaySerial(double serial);
// A day serial in the locale's short date form; "" when it is not a valid day.
QString formatDate(double serial, const DisplayLocale &locale);

} // namespace barovista
