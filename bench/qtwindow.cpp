// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of bench/startup.sh: a bare Qt 6 window, a main window with
// a menu bar and one line of text, shown at once. What a Qt Widgets program
// costs before it does anything of its own.
//   c++ -O2 -fPIC -o qtwindow qtwindow.cpp $(pkg-config --cflags --libs Qt6Widgets)
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Datei"));
    window.setCentralWidget(new QLabel(QStringLiteral("Luftdruck 1013,25 hPa")));
    window.show();
    return app.exec();
}
