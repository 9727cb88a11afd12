#include "ui/form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace {

#ifdef Q_OS_UNIX
// Qt's own message without a display is cryptic; say what to do instead.
bool hasDisplay()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    if (!hasDisplay()) {
        std::fputs("barovista: no display (DISPLAY and WAYLAND_DISPLAY are not set); "
                   "to start it anyway under a virtual X server: xvfb-run make run\n",
                   stderr);
        return 1;
    }
#endif
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The menu bar stays in the window, whose client area is laid out below
    // it. A desktop's global menu would take it out, and asking the desktop
    // whether it has one costs a D-Bus round trip before the window shows.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("barovista"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    QApplication::setDesktopFileName(QStringLiteral("barovista"));

    // Qt's own texts (the edit menu of the input fields) in German, where
    // the translations are installed; the program's texts are German anyway.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    barovista::Form1 form;
    form.Form1_Load();
    form.adjustSize();
    if (const QScreen *screen = form.screen()) {
        const QRect available = screen->availableGeometry();
        form.move(available.center() - QPoint(form.width() / 2, form.height() / 2));
    }
    form.show();
    return app.exec();
}
