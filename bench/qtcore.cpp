// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of bench/commandline.sh: the least a QtCore program does for
// the same answer. It starts a QCoreApplication, computes the reduction to
// sea level of 987,5 hPa at 321 m with the same formula and prints the
// figures as JSON, with the decimal point of QLocale::c(). Nothing else:
// no options, no history, no checks of the input.
//   c++ -O2 -fPIC -o qtcore qtcore.cpp $(pkg-config --cflags --libs Qt6Core)
#include <QCoreApplication>
#include <QLocale>

#include <cmath>
#include <cstdio>

int main(int argc, char *argv[])
{
    const QCoreApplication app(argc, argv);
    const int altitude = 321;
    const double pressure = 987.5;
    const double factor = std::pow(1 - altitude * 0.00651 / 288, 5.255);
    const double seaLevel = std::round(pressure / factor * 100) / 100;
    const QLocale c = QLocale::c();
    const auto number = [&c](double value) { return c.toString(value, 'f', 2); };
    const QString json = QStringLiteral("{\"altitude\":%1,\"pressure\":%2,\"mean_pressure\":%3,"
                                        "\"sea_level_pressure\":%4,\"deviation\":%5}\n")
                             .arg(altitude)
                             .arg(c.toString(pressure))
                             .arg(number(std::round(factor * 1013.25 * 100) / 100), number(seaLevel),
                                  number(std::round((seaLevel - 1013.25) * 100) / 100));
    std::fputs(json.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
