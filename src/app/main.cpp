// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shellcommands.h"
#include "app/window.h"
#include "ui/product.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef BAROVISTA_WINDOW_MODULE
#include <dlfcn.h>
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

#ifdef BAROVISTA_WINDOW_MODULE
// Loads the window's module and runs it. Its place is fixed at build time
// relative to the program (BAROVISTA_WINDOW_MODULE: from the program's
// folder to the private library folder, laid out the same way in the build
// tree), never taken from the environment.
int runWindowModule(int &argc, char *argv[])
{
    std::string path;
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    if (length > 0 && static_cast<size_t>(length) < sizeof self) {
        path.assign(self, static_cast<size_t>(length));
        path.erase(path.rfind('/') + 1);
        path += BAROVISTA_WINDOW_MODULE;
    }
    using Entry = int (*)(int *, char **);
    // Bound as the program itself is: lazily, unless the module was linked
    // for immediate binding (Debian's hardened build), as the loader would
    // have bound these libraries had the program linked them.
    void *module = path.empty() ? nullptr : ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto entry =
        module ? reinterpret_cast<Entry>(::dlsym(module, BAROVISTA_WINDOW_ENTRY_NAME)) : nullptr;
    if (!entry) {
        const char *why = path.empty() ? nullptr : ::dlerror();
        std::fprintf(stderr, "barovista: cannot open a window: %s\n",
                     why ? why : "the program's own path is unknown (/proc/self/exe)");
        return 1;
    }
    // Not unloaded: what the window registered to run at exit stays there.
    return entry(&argc, argv);
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    occupyClosedStandardDescriptors();
#endif
    QCoreApplication::setApplicationName(QStringLiteral("barovista"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(barovista::kProductVersion));
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;
#ifdef Q_OS_UNIX
    if (!hasDisplay()) {
        std::fputs("barovista: cannot open a window: no display found (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set). Start Barovista from a graphical desktop "
                   "session.\n",
                   stderr);
        return 1;
    }
#endif
#ifdef BAROVISTA_WINDOW_MODULE
    return runWindowModule(argc, argv);
#else
    return barovista_run_window(&argc, argv);
#endif
}
