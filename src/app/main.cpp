// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shellcommands.h"
#include "ui/form1.h"
#include "ui/placement.h"
#include "ui/product.h"
#include "ui/qttexts.h"
#include "ui/shutdownsignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSessionManager>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <tuple>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
// The program is built for the window subsystem and gets no console of its
// own. Started from cmd or PowerShell with arguments, it writes its answer
// into that console; where the shell redirected the output to a file or a
// pipe, the handle it passed is kept. Started from Explorer, there is no
// parent console and nothing changes.
void answerInParentConsole()
{
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    const auto unset = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    if (unset(STD_OUTPUT_HANDLE))
        std::freopen("CONOUT$", "w", stdout);
    if (unset(STD_ERROR_HANDLE))
        std::freopen("CONOUT$", "w", stderr);
}

// Tells the installer and the uninstaller that Barovista runs: they ask the
// user to close it first instead of failing to replace or remove the
// program. The mutex lives as long as the process; Windows closes it.
void announceRunning()
{
    CreateMutexW(nullptr, FALSE, L"Global\\Barovista");
}
#endif

#ifdef Q_OS_UNIX
// A standard descriptor that the caller closed ("barovista >&-") is taken by
// /dev/null, opened for reading only: no file, pipe or event descriptor that
// the program opens later gets its number and the text meant for the
// terminal, and a write to it still fails, so that a lost answer is reported.
void occupyClosedStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

// Qt's own message without a display is cryptic; say what to do instead.
bool hasDisplay()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

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

// Answers --help, --version and the options that evaluate, calibrate, record
// and report without a window (ShellCommands) on the terminal, and refuses
// any other argument, with the usage on stderr. Runs before QApplication,
// which needs a display, so a terminal without one gets its answer too.
// Returns the exit status when the program ends here.
std::optional<int> answerCommandLine(int &argc, char *argv[])
{
    if (argc < 2)
        return std::nullopt;
#ifdef Q_OS_WIN
    answerInParentConsole();
#endif
    const QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Air pressure calculator for barometer owners: reduces the reading\n"
                       "of a barometer to sea level and compares it with a weather service.\n"
                       "The window speaks German. More in the manual page barovista(1).\n\n"
                       "With --altitude and --pressure it prints the evaluation as the window\n"
                       "shows it, needing no display. Exit status: 0 done, 2 a value or option\n"
                       "refused, 3 the history is locked by another Barovista, 4 the history\n"
                       "could not be saved, 5 no readable history file in its place, 6 the\n"
                       "answer could not be written."));
    // Qt's own -session, with which a session manager restarts the program.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QCommandLineOption session(QStringLiteral("session"), QString(), QStringLiteral("id"));
    session.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOptions({session, help, version});
    const barovista::ShellCommands shell(parser);

    // "/?" is how Windows programs are asked for help.
    QStringList arguments = QCoreApplication::arguments();
    std::replace(arguments.begin() + 1, arguments.end(), QStringLiteral("/?"), QStringLiteral("--help"));
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error =
            parser.errorText().isEmpty()
                ? QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst())
                : parser.errorText();
        barovista::writeText(stderr, QStringLiteral("barovista: %1\n%2\n").arg(error, shell.usage()));
        return 2;
    }
    if (parser.isSet(help))
        return barovista::answer(parser.helpText());
    if (parser.isSet(version))
        return barovista::answer(QCoreApplication::applicationName() + QLatin1Char(' ')
                                 + QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    if (shell.requested())
        return shell.run();
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    occupyClosedStandardDescriptors();
#endif
    QApplication::setApplicationName(QStringLiteral("barovista"));
    QApplication::setApplicationVersion(QString::fromLatin1(barovista::kProductVersion));
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;
#ifdef Q_OS_WIN
    announceRunning();
#endif
#ifdef Q_OS_UNIX
    if (!hasDisplay()) {
        std::fputs("barovista: cannot open a window: no display found (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set). Start Barovista from a graphical desktop "
                   "session.\n",
                   stderr);
        return 1;
    }
#endif
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The menu bar stays in the window, whose client area is laid out below
    // it. A desktop's global menu would take it out, and asking the desktop
    // whether it has one costs a D-Bus round trip before the window shows.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
#ifdef Q_OS_UNIX
    g_handlerBeforeConnecting = qInstallMessageHandler(holdWhileConnecting);
#endif
    QApplication app(argc, argv);
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
    // What is pending is saved should Qt end the process through exit().
    form.session().saveOnExit();
    form.adjustSize();
    // A Wayland compositor places windows itself and ignores a position
    // asked for; elsewhere the window opens centred on the screen.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        barovista::centreOnScreen(form);
    form.show();
    return app.exec();
}
