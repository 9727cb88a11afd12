// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window.h"
#include "history/log.h"
#include "messages/messages.h"
#include "ui/form1.h"
#include "ui/placement.h"
#include "ui/qttexts.h"
#include "ui/shutdownsignals.h"

#include <QApplication>
#include <QSessionManager>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <tuple>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
// Tells the installer and the uninstaller that Barovista runs: they ask the
// user to close it first instead of failing to replace or remove the
// program. The mutex lives as long as the process; Windows closes it.
void announceRunning()
{
    CreateMutexW(nullptr, FALSE, L"Global\\Barovista");
}
#endif

#ifdef Q_OS_UNIX
// While the application connects to the display, Qt's platform messages wait
// here. A display that is named but cannot be reached (DISPLAY=:99 without an
// X server) makes Qt give up with a fatal message and abort(); the program
// ends instead with status 1 and its own line, as without a display.
QtMessageHandler g_handlerBeforeConnecting = nullptr;
QList<std::tuple<QtMsgType, QByteArray, QString>> g_heldMessages;

void holdWhileConnecting(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_heldMessages.append({type, QByteArray(context.category ? context.category : ""), message});
        return;
    }
    const char *display = std::getenv("WAYLAND_DISPLAY");
    if (!display || !*display)
        display = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "barovista: cannot open a window: the display %s cannot be reached. Start Barovista "
                 "from a graphical desktop session.\n",
                 display && *display ? display : "asked for");
    std::fflush(stderr);
    std::_Exit(1);
}

// Connected: Qt's messages of the connection go where they would have gone.
void releaseHeldMessages()
{
    qInstallMessageHandler(g_handlerBeforeConnecting);
    for (const auto &[type, category, message] : std::as_const(g_heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr,
                                         category.isEmpty() ? nullptr : category.constData());
        qt_message_output(type, context, message);
    }
    g_heldMessages.clear();
}
#endif

} // namespace

extern "C" int barovista_run_window(int *argc, char **argv)
{
#ifdef Q_OS_WIN
    announceRunning();
#endif
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The menu bar stays in the window, whose client area is laid out below
    // it. A desktop's global menu would take it out, and asking the desktop
    // whether it has one costs a D-Bus round trip before the window shows.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
#ifdef Q_OS_UNIX
    g_handlerBeforeConnecting = qInstallMessageHandler(holdWhileConnecting);
#endif
    QApplication app(*argc, argv);
#ifdef Q_OS_UNIX
    releaseHeldMessages();
#endif
    QApplication::setDesktopFileName(QStringLiteral("barovista"));

    // Qt's own texts (the edit menu of the input fields) in German; the
    // program's texts are German anyway.
    QTranslator qtTexts;
    if (barovista::loadQtTexts(qtTexts))
        QApplication::installTranslator(&qtTexts);

    barovista::Form1 form;
    // Logout, kill, a closed terminal and Ctrl+C save as the close button does.
    barovista::ShutdownSignals shutdownSignals;
    QObject::connect(&shutdownSignals, &barovista::ShutdownSignals::received, &form,
                     &barovista::Form1::endBySignal);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager &) { form.commitSessionData(); });
    form.Form1_Load();
    if (form.hasEnded()) // a signal came while start-up showed a box
        return 0;
    // What is pending is saved should Qt end the process through exit(); no
    // box can be shown then, so what it has to say goes to the log (stderr).
    form.session().saveOnExit([](const barovista::RecordResult &recorded) {
        const QString log = barovista::exitRecordingLog(recorded);
        if (!log.isEmpty())
            qCWarning(barovista::lcHistory).noquote() << log;
    });
    form.adjustSize();
    // A Wayland compositor places windows itself and ignores a position
    // asked for; elsewhere the window opens centred on the screen.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        barovista::centreOnScreen(form);
    form.show();
    return app.exec();
}
