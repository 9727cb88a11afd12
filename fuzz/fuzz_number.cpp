// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the leading-number reading on arbitrary UTF-16 text.
//
// Pairs of input bytes are UTF-16 code units, lone surrogates included, as
// text pasted into a field or read from a damaged history file may hold.
// The reading must never give NaN and must agree with itself:
//   - anything behind the number does not change it;
//   - blanks in front do not change it;
//   - a minus sign in front of an unsigned number negates it;
//   - a finite result, written out in full, reads back as the same double;
//   - the value is the one glibc's strtod gives for the same characters in
//     the C locale, an independent conversion.

#include "pressure/numbers.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

using namespace barovista;

namespace {

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "fuzz_number: %s for \"%s\"\n", what, qUtf8Printable(text.left(200)));
    std::abort();
}

bool same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Characters that can never continue a number, whatever came before.
constexpr const char16_t *kEnders[] = {u"e5",     u"E+3", u"x1F",    u",25", u"\u0661\u0662",
                                       u"\u221E", u"nan", u"\uFF11", u"_7",  u"\n1"};

// The characters the reading takes: blanks skipped, a sign, digits and at
// most one point; empty when there is no digit among them.
std::string numberCharacters(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += static_cast<char>(text[i++].unicode());
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c != u'.' || point)
            break;
        point = point || c == u'.';
        number += static_cast<char>(c);
    }
    return digit ? number : std::string();
}

double strtodC(const std::string &number)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(number.c_str(), nullptr, c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

    const double value = readLeadingNumber(text);
    if (std::isnan(value))
        fail("NaN", text);

    const std::string number = numberCharacters(text);
    const double expected = number.empty() ? 0.0 : strtodC(number);
    if (!same(value, expected))
        fail("the value differs from strtod's", text);

    const std::size_t ender = size == 0 ? 0 : data[0] % std::size(kEnders);
    if (!same(readLeadingNumber(text + QString::fromUtf16(kEnders[ender])), value))
        fail("trailing characters changed the number", text);
    if (!same(readLeadingNumber(QLatin1String("  \t") + text), value))
        fail("leading blanks changed the number", text);

    QStringView rest(text);
    while (!rest.isEmpty() && (rest.front() == QLatin1Char(' ') || rest.front() == QLatin1Char('\t')))
        rest = rest.mid(1);
    if (!rest.isEmpty() && (rest.front().isDigit() || rest.front() == QLatin1Char('.'))
        && rest.front().unicode() < 0x80) {
        // Compared as numbers: a text without digits reads as plain 0 either way.
        const double negated = readLeadingNumber(QLatin1Char('-') + rest.toString());
        if (!(negated == -value))
            fail("a minus sign did not negate the number", text);
    }

    if (std::isfinite(value)) {
        // The shortest fixed form that reads back as the same double.
        char buffer[400];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        if (written.ec != std::errc())
            fail("to_chars failed", text);
        const QString fixed = QString::fromLatin1(buffer, written.ptr - buffer);
        if (!same(readLeadingNumber(fixed), value))
            fail("a number written out in full reads back differently", text);
    }
    return 0;
}
