// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, several processes at a time, on one history under a real
// X server (Xvfb, no window manager), driven with real key events (xdotool):
// two windows closed in either order, a reset beside an open window, the
// signals of a logout, a kill or Ctrl+C, and the X server going away. Every
// case ends with the history file decoded. Skipped where Xvfb, xdotool or
// xclose is missing.

#include "fileio.h"
#include "history/record.h"
#include "history/taggedvalue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <map>
#include <memory>

using namespace barovista;

namespace {

// An X server of its own on a free display.
class Xvfb
{
public:
    bool start()
    {
        const QString binary = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (binary.isEmpty())
            return false;
        int fds[2];
        if (::pipe(fds) != 0)
            return false;
        // -displayfd writes the display number it chose to the descriptor;
        // -noreset keeps the server from resetting, and refusing the next
        // window's connection meanwhile, when the last window has gone.
        m_process.setChildProcessModifier([fds] { ::dup2(fds[1], 3); });
        m_process.start(binary,
                        {QStringLiteral("-displayfd"), QStringLiteral("3"), QStringLiteral("-screen"),
                         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp"), QStringLiteral("-noreset")});
        ::close(fds[1]);
        QByteArray number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        m_display = QStringLiteral(":") + QString::fromLatin1(number);
        return !number.isEmpty();
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    ~Xvfb() { kill(); }
    QString display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

struct Tools
{
    QString xdotool;
    QString xclose = QStringLiteral(BAROVISTA_XCLOSE);
    QString app = QStringLiteral(BAROVISTA_APP);
};

// One running Barovista and its window.
class App
{
public:
    App(const Tools &tools, const QString &display, const QString &appData)
        : m_tools(tools), m_display(display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("APPDATA"), appData);
        env.insert(QStringLiteral("DISPLAY"), display);
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(tools.app, {});
        if (!m_process.waitForStarted(10000))
            return;
        const QString found =
            xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--all"), QStringLiteral("--pid"), QString::number(m_process.processId()),
                     QStringLiteral("--name"), QStringLiteral("^Barovista 1\\.1$")});
        m_window = found.section(QLatin1Char('\n'), 0, 0).trimmed();
    }
    ~App()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool ok() const { return !m_window.isEmpty(); }

    QString run(const QString &program, const QStringList &arguments) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        tool.setProcessEnvironment(env);
        tool.start(program, arguments);
        tool.waitForFinished(30000);
        return QString::fromLocal8Bit(tool.readAllStandardOutput());
    }
    QString xdotool(const QStringList &arguments) const { return run(m_tools.xdotool, arguments); }
    void keys(const QStringList &keys) const
    {
        xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--window"), m_window} + keys);
    }
    void type(const QString &text) const
    {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }
    void focus() const
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window});
        QTest::qWait(300);
    }

    // Reading, Enter, altitude, Enter to the button, Enter: the evaluation.
    void evaluate(const QString &reading, const QString &altitude) const
    {
        focus();
        const QStringList clear =
            QStringList{QStringLiteral("End")} + QStringList(12, QStringLiteral("BackSpace"));
        xdotool(QStringList{QStringLiteral("key")} + clear);
        type(reading);
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        xdotool(QStringList{QStringLiteral("key")} + clear);
        type(altitude);
        xdotool({QStringLiteral("key"), QStringLiteral("Return"), QStringLiteral("Return")});
        QTest::qWait(300);
    }
    // The close button, as a window manager sends it.
    void close() const { run(m_tools.xclose, {m_window}); }
    // The menu entry "Reset" by its access key, then Enter for the default "Ja".
    void reset() const
    {
        focus();
        xdotool({QStringLiteral("key"), QStringLiteral("alt+r")});
        QTest::qWait(500);
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }
    void signal(int number) { ::kill(static_cast<pid_t>(m_process.processId()), number); }

    bool waitForEnd() { return m_process.waitForFinished(15000); }
    int exitCode() const
    {
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    const Tools &m_tools;
    QString m_display;
    QProcess m_process;
    QString m_window;
};

} // namespace

class SessionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void history_data();
    void history();

private:
    Tools m_tools;
    Xvfb m_xvfb;
};

void SessionsTest::initTestCase()
{
    m_tools.xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (m_tools.xdotool.isEmpty())
        QSKIP("xdotool is not installed (scripts/install-deps installs it)");
    if (m_tools.xclose.isEmpty() || !QFileInfo(m_tools.xclose).isExecutable())
        QSKIP("xclose was not built: the X11 headers (libx11-dev) are missing");
    if (!m_xvfb.start())
        QSKIP("Xvfb is not installed or did not start (scripts/install-deps installs it)");
}

// Each step: "start W", "evaluate W READING", "close W", "reset W",
// "signal W TERM|HUP|INT", "kill X"; W names a window. All readings are
// taken at 0 m, where the sea-level pressure is the reading itself.
void SessionsTest::history_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("lowest"); // "" when no history is left
    QTest::addColumn<QString>("highest");
    QTest::addColumn<QString>("last"); // the reading on the screen saved last

    const QStringList twoWindows{"start A", "start B", "evaluate A 1040", "evaluate B 990"};
    QTest::newRow("two windows, A closed first") << twoWindows + QStringList{"close A", "close B"} << "990"
                                                 << "1040"
                                                 << "990";
    QTest::newRow("two windows, B closed first") << twoWindows + QStringList{"close B", "close A"} << "990"
                                                 << "1040"
                                                 << "1040";
    QTest::newRow("reset beside an open window")
        << QStringList{"start A", "evaluate A 1050", "close A", "start A",
                       "start B", "evaluate B 990",  "reset A", "close B"}
        << "990"
        << "990"
        << "990";
    QTest::newRow("reset, the other window unevaluated")
        << QStringList{"start A", "evaluate A 1050", "close A", "start A", "start B", "reset A", "close B"}
        << ""
        << ""
        << "";
    for (const char *name : {"TERM", "HUP", "INT"}) {
        QTest::addRow("SIG%s after an evaluation", name)
            << QStringList{"start A", "evaluate A 1040", QStringLiteral("signal A ") + QLatin1String(name)}
            << "1040"
            << "1040"
            << "1040";
    }
    QTest::newRow("X server killed after an evaluation")
        << QStringList{"start A", "evaluate A 1040", "kill X"} << "1040"
        << "1040"
        << "1040";
}

void SessionsTest::history()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, lowest);
    QFETCH(QString, highest);
    QFETCH(QString, last);

    QTemporaryDir appData;
    const QString file = appData.filePath(QStringLiteral("barovista/save.dat"));
    // A server of its own where the case kills it.
    std::unique_ptr<Xvfb> ownServer;
    QString display = m_xvfb.display();
    if (steps.contains(QStringLiteral("kill X"))) {
        ownServer = std::make_unique<Xvfb>();
        QVERIFY(ownServer->start());
        display = ownServer->display();
    }

    std::map<QString, std::unique_ptr<App>> apps;
    for (const QString &step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QString &verb = words.at(0);
        if (verb == QLatin1String("kill")) {
            ownServer->kill();
            for (auto &[name, app] : apps)
                QVERIFY2(app->waitForEnd(), qPrintable(name + QStringLiteral(" outlived its display")));
            continue;
        }
        std::unique_ptr<App> &app = apps[words.at(1)];
        if (verb == QLatin1String("start")) {
            app = std::make_unique<App>(m_tools, display, appData.path());
            QVERIFY2(app->ok(), qPrintable(step + QStringLiteral(": no window")));
        } else if (verb == QLatin1String("evaluate")) {
            app->evaluate(words.at(2), QStringLiteral("0"));
        } else if (verb == QLatin1String("close") || verb == QLatin1String("reset")
                   || verb == QLatin1String("signal")) {
            if (verb == QLatin1String("close"))
                app->close();
            else if (verb == QLatin1String("reset"))
                app->reset();
            else
                app->signal(words.at(2) == QLatin1String("TERM")  ? SIGTERM
                            : words.at(2) == QLatin1String("HUP") ? SIGHUP
                                                                  : SIGINT);
            QVERIFY2(app->waitForEnd(), qPrintable(step + QStringLiteral(": the program did not end")));
            QCOMPARE(app->exitCode(), 0);
            app.reset();
        }
    }

    if (lowest.isEmpty()) {
        QVERIFY2(!QFileInfo::exists(file), "the deleted history came back");
        return;
    }
    const DecodeResult decoded = decodeRecord(barovista::testing::readAll(file));
    QVERIFY(decoded.ok());
    const Record &record = decoded.record;
    QCOMPARE(record[RecordField::Minmeer].doubleValue(), lowest.toDouble());
    QCOMPARE(record[RecordField::Maxmeer].doubleValue(), highest.toDouble());
    QCOMPARE(record[RecordField::Luftdruck].textValue(), last);
    QCOMPARE(record[RecordField::Lastmess].textValue(), last + QStringLiteral("  hPa"));
    QCOMPARE(record[RecordField::AbsolutLastmess].doubleValue(), last.toDouble());
    QCOMPARE(record[RecordField::Hoehe].textValue(), QStringLiteral("0"));
    QVERIFY(!QFileInfo::exists(file + QStringLiteral(".lock")));
}

QTEST_GUILESS_MAIN(SessionsTest)
#include "test_sessions.moc"
