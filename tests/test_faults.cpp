// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside the program: history files that are damaged or not
// files at all, data folders that vanish or refuse writes, a process killed
// while it saves, and text pasted into the input fields. Every case ends with
// the bytes on disk checked.

#include "uifixture.h"

#include "history/datafolder.h"
#include "history/record.h"
#include "history/recordfile.h"
#include "pressure/calibration.h"
#include "pressure/evaluation.h"
#include "pressure/formulas.h"
#include "saverecords.h"
#include "ui/inputfield.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

#include <cstring>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

using namespace barovista;
using namespace barovista::testing;

namespace {

const QString kDamagedPrefix = QStringLiteral("save.dat.beschaedigt-");

// The bytes that undisturbed runs write, one evaluation (altitude, reading)
// each, on a new APPDATA: what a disturbed run must still end up with.
QByteArray undisturbedBytes(const QList<std::pair<QString, QString>> &evaluations)
{
    QTemporaryDir dir;
    for (const auto &[altitude, reading] : evaluations) {
        Run run(dir.path(), kMonday, false);
        run.evaluate(altitude, reading);
        run->close();
    }
    return readAll(dir.filePath(QStringLiteral("barovista/save.dat")));
}

QByteArray emptyRecordBytes()
{
    return encodeRecord(emptyRecord(toDaySerial(kMonday.date())));
}

// Drops the effective user id of a root process for a while, so that file
// permissions apply to it; restores it on leaving the scope.
class NotRoot
{
public:
    NotRoot()
    {
        if (geteuid() == 0)
            m_dropped = seteuid(65534) == 0; // nobody
    }
    ~NotRoot()
    {
        if (m_dropped && seteuid(0) != 0)
            qFatal("cannot regain root after the read-only test");
    }
    bool ok() const { return geteuid() != 0; }

private:
    bool m_dropped = false;
};

// Numbers as text that no screen may ever show.
const QRegularExpression kBrokenNumber(QStringLiteral("\\b(nan|inf|infinity)\\b|∞"),
                                       QRegularExpression::CaseInsensitiveOption);

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUp_keepsUnusableFileAndStartsAfresh_data();
    void startUp_keepsUnusableFileAndStartsAfresh();
    void startUp_fullRecordTruncatedAtEveryOffset();
    void startUp_notAFileIsLeftAlone_data();
    void startUp_notAFileIsLeftAlone();

    void shutdown_obstacle_data();
    void shutdown_obstacle();

    void kill_whileSaving_leavesOneWholeRecord();

    void pastedText_readsLeadingNumber_data();
    void pastedText_readsLeadingNumber();
    void pastedText_shiftInsert_data();
    void pastedText_shiftInsert();

private:
    TempAppData m_temp;
    bool m_mounted = false;
    QString appData() const { return m_temp.appData(); }
    QString folder() const { return m_temp.folder(); }
    QString file() const { return m_temp.file(); }
    QStringList keptFiles() const
    {
        return QDir(folder()).entryList({kDamagedPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    }
    // One warning box naming the kept file, which holds `bytes` unchanged, and
    // a new empty record in place of the old file.
    void verifyKeptAndStartedAfresh(const Run &run, const QByteArray &bytes);
};

void FaultsTest::init()
{
    m_temp.renew();
    QVERIFY(m_temp.isValid());
}

void FaultsTest::cleanup()
{
    if (std::exchange(m_mounted, false))
        QCOMPARE(::umount2(QFile::encodeName(folder()).constData(), MNT_DETACH), 0);
    // A failed read-only case must not leave a folder that cannot be removed.
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_temp.drop();
}

void FaultsTest::verifyKeptAndStartedAfresh(const Run &run, const QByteArray &bytes)
{
    QCOMPARE(run.platform().boxes.size(), 1);
    const Platform::MessageBox &box = run.platform().boxes.first();
    QCOMPARE(box.icon, Platform::Icon::Warning);
    QCOMPARE(box.buttons, Platform::Buttons::Ok);
    QCOMPARE(box.title, QStringLiteral("Barovista 1.1"));
    const QStringList kept = keptFiles();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept.first(), kDamagedPrefix + QStringLiteral("20261207-101500"));
    QVERIFY2(box.prompt.contains(kept.first()), qPrintable(box.prompt));
    QVERIFY(readAll(folder() + QLatin1Char('/') + kept.first()) == bytes);
    QCOMPARE(readAll(file()), emptyRecordBytes());
    QVERIFY(run->eingabe1->text().isEmpty());
    QVERIFY(run->anzeige4->text().isEmpty());
}

void FaultsTest::startUp_keepsUnusableFileAndStartsAfresh_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray random(1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(20261207);
    generator.fillRange(reinterpret_cast<quint32 *>(random.data()), random.size() / 4);

    // The longest text a length can announce, one byte short of it.
    const QByteArray longText = QByteArray::fromHex("0800ffff") + QByteArray(65534, 'a');
    // The same behind a complete first value, so that the fault lies further in.
    const QByteArray longTextLater = QByteArray::fromHex("08000300 353030 0800ffff") + QByteArray(1000, 'b');

    QTest::newRow("0 bytes") << QByteArray();
    QTest::newRow("1 MiB of random bytes") << random;
    QTest::newRow("text length 65535 past the end") << longText;
    QTest::newRow("second value's text past the end") << longTextLater;
}

void FaultsTest::startUp_keepsUnusableFileAndStartsAfresh()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(writeAll(file(), bytes));
    {
        Run run(appData(), kMonday, true);
        verifyKeptAndStartedAfresh(run, bytes);
        // The new history takes the next measurement as usual.
        run.evaluate(QStringLiteral("500"), QStringLiteral("955"));
        run->close();
        QCOMPARE(run.platform().boxes.size(), 1);
    }
    QCOMPARE(readAll(file()), undisturbedBytes({{"500", "955"}}));
    QVERIFY(readAll(folder() + QLatin1Char('/') + keptFiles().value(0)) == bytes);
}

void FaultsTest::startUp_fullRecordTruncatedAtEveryOffset()
{
    const QByteArray full = undisturbedBytes({{"1000", "900"}});
    QVERIFY(decodeRecord(full).ok());
    QVERIFY(full.size() > 48);
    for (qsizetype length = 0; length < full.size(); ++length) {
        const QByteArray cut = full.left(length);
        QVERIFY(writeAll(file(), cut));
        Run run(appData(), kMonday, false);
        verifyKeptAndStartedAfresh(run, cut);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("cut after %1 of %2 bytes").arg(length).arg(full.size())));
        QVERIFY(QFile::remove(folder() + QLatin1Char('/') + keptFiles().first()));
    }
    qInfo("a full record of %lld bytes cut to each length from 0 to %lld: kept aside and started afresh",
          static_cast<long long>(full.size()), static_cast<long long>(full.size() - 1));
    // The whole record itself is no fault.
    QVERIFY(writeAll(file(), full));
    Run run(appData(), kMonday, false);
    QVERIFY(run.platform().boxes.isEmpty());
    QCOMPARE(run->eingabe1->text(), QStringLiteral("1000"));
    QCOMPARE(readAll(file()), full);
}

void FaultsTest::startUp_notAFileIsLeftAlone_data()
{
    QTest::addColumn<QString>("thing");
    QTest::newRow("folder") << "folder";
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("socket") << "socket";
    QTest::newRow("link to a device") << "device";
    QTest::newRow("link to a folder") << "folder link";
    // At the lock's place: a lock that can never be taken, and never opened.
    QTest::newRow("FIFO at the lock file") << "lock fifo";
    QTest::newRow("folder at the lock file") << "lock folder";
}

void FaultsTest::startUp_notAFileIsLeftAlone()
{
    // Not a file of the program's: it is neither opened for good, moved nor
    // written into, and reading never waits on it; the user hears about it
    // once, at start-up, and neither closing nor the reset touches it.
    QFETCH(QString, thing);
    QVERIFY(QDir().mkpath(folder()));
    const QByteArray inside("Notizen, die niemand verlieren will");
    const bool atLock = thing.startsWith(QLatin1String("lock"));
    const QString placed = atLock ? file() + QStringLiteral(".lock") : file();
    if (thing == QLatin1String("lock fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(placed).constData(), 0600), 0);
    } else if (thing == QLatin1String("lock folder")) {
        QVERIFY(QDir().mkdir(placed));
    } else if (thing == QLatin1String("folder")) {
        QVERIFY(writeAll(file() + QStringLiteral("/notizen.txt"), inside));
    } else if (thing == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
    } else if (thing == QLatin1String("socket")) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(file());
        QVERIFY(path.size() < qsizetype(sizeof address.sun_path));
        std::memcpy(address.sun_path, path.constData(), path.size());
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
    } else if (thing == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file()));
    } else {
        QVERIFY(writeAll(appData() + QStringLiteral("/anderswo/notizen.txt"), inside));
        QVERIFY(QFile::link(appData() + QStringLiteral("/anderswo"), file()));
    }
    const QFileInfo before(placed);

    QElapsedTimer started;
    started.start();
    Run run(appData(), kMonday, true);
    // A start that waited on the thing would not get here at all; this
    // bound only turns such a wait into a clear failure.
    QVERIFY2(started.elapsed() < 10000, "start-up waited on the thing in the history's place");
    QCOMPARE(run.platform().boxes.size(), 1);
    QCOMPARE(run.platform().boxes.first().icon, Platform::Icon::Warning);
    QVERIFY2(run.platform().boxes.first().prompt.contains(QDir::toNativeSeparators(placed)),
             qPrintable(run.platform().boxes.first().prompt));
    QVERIFY(run.platform().boxes.first().prompt.endsWith(
        QStringLiteral("\r\nMessungen können in dieser Sitzung nicht gespeichert werden.")));
    QVERIFY(keptFiles().isEmpty());
    QVERIFY(run->eingabe1->text().isEmpty());

    run.evaluate(QStringLiteral("500"), QStringLiteral("955"));
    QVERIFY(!run->anzeige4->text().isEmpty());
    run->close();
    QCOMPARE(run.platform().boxes.size(), 1);

    // The reset of another window leaves it alone too.
    Run other(appData(), kMonday, false);
    other.platform().answers = {Platform::Answer::Yes};
    other->Ende_Click();
    const QString refused =
        atLock
            ? QStringLiteral(
                  "An Stelle der Sperrdatei %1 steht keine gewöhnliche Datei; solange sie dort steht, "
                  "kann die Verlaufsdatei %2 nicht geändert werden.\r\nDie Verlaufsdatei wurde nicht "
                  "gelöscht.")
                  .arg(QDir::toNativeSeparators(placed), QDir::toNativeSeparators(file()))
            : QStringLiteral("An Stelle der Verlaufsdatei %1 steht keine gewöhnliche Datei; sie wurde nicht "
                             "gelöscht.")
                  .arg(QDir::toNativeSeparators(file()));
    QCOMPARE(other.platform().boxes.last().prompt, refused);

    const QFileInfo after(placed);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.isFile(), false);
    QVERIFY(after.exists() || after.isSymLink());
    if (thing == QLatin1String("folder")) {
        QCOMPARE(QDir(file()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("notizen.txt")});
        QCOMPARE(readAll(file() + QStringLiteral("/notizen.txt")), inside);
    }
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             QStringList{QFileInfo(placed).fileName()});
}

void FaultsTest::shutdown_obstacle_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("cause"); // in German, where the system names a known one
    QTest::newRow("data folder read-only") << "read-only" << false << "Keine Berechtigung";
    QTest::newRow("regular file in place of the folder") << "file" << false << "";
    QTest::newRow("data folder removed while running") << "removed" << true << "";
    QTest::newRow("data folder on a full file system") << "full" << false << "Der Datenträger ist voll";
    QTest::newRow("data folder on a read-only file system")
        << "read-only fs" << false << "Das Dateisystem ist schreibgeschützt";
    // Written and renamed, but the folder may not be opened to sync it.
    QTest::newRow("data folder cannot be listed") << "unlisted" << true << "Keine Berechtigung";
}

void FaultsTest::shutdown_obstacle()
{
    QFETCH(QString, obstacle);
    QFETCH(bool, saved);
    QFETCH(QString, cause);

    if (obstacle == QLatin1String("full") || obstacle == QLatin1String("read-only fs")) {
        // A real full file system: a 64 KiB tmpfs of the test's own.
        QVERIFY(QDir().mkpath(folder()));
        if (::mount("tmpfs", QFile::encodeName(folder()).constData(), "tmpfs", 0, "size=64k,mode=0700") != 0)
            QSKIP("cannot mount a tmpfs (needs root); run the test under `unshare -rm` to try a full disk");
        m_mounted = true;
    }
    // A history from an earlier run, so that there is something to lose.
    const QByteArray earlier = undisturbedBytes({{"1000", "900"}});
    QVERIFY(writeAll(file(), earlier));

    Run run(appData(), kMonday, true);
    QVERIFY(run.platform().boxes.isEmpty());
    run.evaluate(QStringLiteral("500"), QStringLiteral("955"));

    const QByteArray squatter("kein Ordner");
    const QString movedFolder = folder() + QStringLiteral(".weggelegt");
    if (obstacle == QLatin1String("read-only")) {
        // The temporary folder is private; the unprivileged user needs a way in.
        // Its group too: the user nobody keeps root's group.
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(appData(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | others));
        QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner | others));
        // Root writes into read-only folders; as root the close runs as nobody.
        NotRoot notRoot;
        if (!notRoot.ok())
            QSKIP("running as root and cannot switch to the user nobody; a read-only folder stops nothing");
        run->close();
    } else if (obstacle == QLatin1String("unlisted")) {
        // Write and enter, but no reading, for everyone: also for the user nobody.
        const QFile::Permissions enter = QFile::WriteOwner | QFile::ExeOwner | QFile::WriteGroup
                                         | QFile::ExeGroup | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(
            QFile::setPermissions(appData(), enter | QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                  | QFile::WriteGroup | QFile::ReadOther
                                                  | QFile::WriteOther));
        QVERIFY(QFile::setPermissions(folder(), enter));
        NotRoot notRoot;
        if (!notRoot.ok())
            QSKIP("running as root and cannot switch to the user nobody; root opens any folder");
        run->close();
    } else if (obstacle == QLatin1String("file")) {
        QVERIFY(QDir().rename(folder(), movedFolder));
        QVERIFY(writeAll(folder(), squatter));
        run->close();
    } else if (obstacle == QLatin1String("full")) {
        // Filled to the last byte; the history file itself stays as it was.
        QFile filler(folder() + QStringLiteral("/voll"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) > 0) {
        }
        filler.close();
        run->close();
        QVERIFY(filler.remove());
    } else if (obstacle == QLatin1String("read-only fs")) {
        QCOMPARE(::mount("tmpfs", QFile::encodeName(folder()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                         "size=64k,mode=0700"),
                 0);
        run->close();
    } else {
        QVERIFY(QDir(folder()).removeRecursively());
        run->close();
    }

    if (obstacle == QLatin1String("unlisted")) {
        // Saved: one warning that says so and names the folder, nothing "unchanged".
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readAll(file()), undisturbedBytes({{"1000", "900"}, {"500", "955"}}));
        QCOMPARE(run.platform().boxes.size(), 1);
        const QString prompt = run.platform().boxes.first().prompt;
        QVERIFY2(prompt.startsWith(QStringLiteral("Die Verlaufsdatei ") + QDir::toNativeSeparators(file())
                                   + QStringLiteral(" wurde gespeichert, aber ihr Ordner ")
                                   + QDir::toNativeSeparators(folder())),
                 qPrintable(prompt));
        QVERIFY2(!prompt.contains(QStringLiteral("unverändert")) && prompt.contains(cause),
                 qPrintable(prompt));
        return;
    }
    if (saved) {
        QVERIFY(run.platform().boxes.isEmpty());
        // The deleted history stays deleted: a new one holds this measurement alone.
        QCOMPARE(readAll(file()), undisturbedBytes({{"500", "955"}}));
        return;
    }
    QCOMPARE(run.platform().boxes.size(), 1);
    const Platform::MessageBox &box = run.platform().boxes.first();
    QCOMPARE(box.icon, Platform::Icon::Warning);
    QVERIFY2(box.prompt.startsWith(QStringLiteral("Die Messung konnte nicht gespeichert werden"))
                 && box.prompt.contains(cause),
             qPrintable(box.prompt));
    // Only a file that is there is unchanged: not where a file stands in the folder's place.
    QVERIFY2(box.prompt.endsWith(QStringLiteral("\r\nDie bisherige Verlaufsdatei ist unverändert."))
                 == (obstacle != QLatin1String("file")),
             qPrintable(box.prompt));
    if (obstacle == QLatin1String("file")) {
        QCOMPARE(readAll(folder()), squatter);
        QCOMPARE(readAll(movedFolder + QStringLiteral("/save.dat")), earlier);
    } else {
        QCOMPARE(readAll(file()), earlier);
        QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("save.dat")});
    }
}

void FaultsTest::kill_whileSaving_leavesOneWholeRecord()
{
    const QString path = folder() + QStringLiteral("/save.dat");
    const Record a = saveRecordA();
    const Record b = saveRecordB();
    const QByteArray bytesA = encodeRecord(a);
    const QByteArray bytesB = encodeRecord(b);
    QVERIFY(bytesA.size() > bytesB.size());
    // B written over A keeps A's tail; A covers B whole.
    const QByteArray stateA = bytesA;
    const QByteArray stateB = bytesB + bytesA.mid(bytesB.size());
    QVERIFY(saveRecordFile(path, a).ok);

    constexpr int kKills = 200;
    QRandomGenerator generator(20261207);
    int survived = 0;
    int foundA = 0;
    int foundB = 0;
    for (int i = 0; i < kKills; ++i) {
        QProcess saver;
        saver.start(QStringLiteral(BAROVISTA_SAVEKILLER), {path});
        QVERIFY2(saver.waitForStarted(10000), qPrintable(saver.errorString()));
        QVERIFY2(saver.waitForReadyRead(10000), "savekiller did not start saving");
        QThread::usleep(generator.bounded(30001)); // 0 to 30 ms
        saver.kill();
        QVERIFY(saver.waitForFinished(10000));
        QVERIFY2(saver.exitStatus() == QProcess::CrashExit,
                 qPrintable(QStringLiteral("savekiller ended by itself: ") + saver.readAllStandardError()));

        const QByteArray bytes = readAll(path);
        QVERIFY2(
            bytes == stateA || bytes == stateB,
            qPrintable(
                QStringLiteral("kill %1 left %2 bytes that are neither record").arg(i).arg(bytes.size())));
        const DecodeResult decoded = decodeRecord(bytes);
        QVERIFY(decoded.ok());
        QVERIFY(decoded.record == a || decoded.record == b);
        (decoded.record == a ? foundA : foundB) += 1;
        ++survived;
    }
    // Both records on disk at some kill: the helper really was saving.
    QVERIFY(foundA > 0);
    QVERIFY(foundB > 0);

    // QSaveFile writes an unnamed file where the file system allows it, else
    // "save.dat.XXXXXX" beside it; a kill can leave only the latter behind.
    const QRegularExpression temporary(QStringLiteral("^save\\.dat\\.[A-Za-z0-9]{6}$"));
    int leftovers = 0;
    for (const QString &name :
         QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (name == QLatin1String("save.dat"))
            continue;
        QVERIFY2(temporary.match(name).hasMatch(), qPrintable(QStringLiteral("unexpected file ") + name));
        ++leftovers;
    }
    qInfo("%d of %d kills survived: record A on disk %d times, record B %d times; "
          "%d temporary files of QSaveFile left behind",
          survived, kKills, foundA, foundB, leftovers);
}

void FaultsTest::pastedText_readsLeadingNumber_data()
{
    // What the altitude field (4 characters) and the pressure fields (7) hold
    // after the text arrives, and the number that must be read from it.
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("altitude");
    QTest::addColumn<double>("pressure");
    QTest::newRow("minus") << "-5" << -5.0 << -5.0;
    QTest::newRow("exponent") << "1e5" << 1.0 << 1.0;
    QTest::newRow("hexadecimal") << "0x1F" << 0.0 << 0.0;
    QTest::newRow("two points") << ".." << 0.0 << 0.0;
    QTest::newRow("leading blanks") << "  12" << 12.0 << 12.0;
    QTest::newRow("1000 nines") << QString(1000, QLatin1Char('9')) << 9999.0 << 9999999.0;
    QTest::newRow("1000 characters with points") << QStringLiteral("12.5").repeated(250) << 12.5 << 12.512;
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("١٢٣") << 0.0 << 0.0;
    QTest::newRow("infinity sign") << QString::fromUtf8("∞") << 0.0 << 0.0;
    QTest::newRow("nan") << "nan" << 0.0 << 0.0;
    QTest::newRow("inf") << "inf" << 0.0 << 0.0;
    QTest::newRow("decimal comma") << "1013,25" << 1013.0 << 1013.0;
    QTest::newRow("signed exponent") << "  -7.5e3" << -7.0 << -7.5;
}

void FaultsTest::pastedText_readsLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, altitude);
    QFETCH(double, pressure);
    const DisplayLocale german = DisplayLocale::german();
    const auto meanText = [&german](double metres) {
        const auto mean = meanPressure(metres);
        return mean ? pressureFieldText(*mean, german) : QString();
    };
    const auto seaLevelText = [&german](double reading, double metres) {
        return pressureFieldText(seaLevelPressure(reading, metres).value(), german);
    };
    const auto report = [&german](double metres, double reading, double weather) {
        return calibrationReport(calibrate(metres, reading, weather).value(), german);
    };

    Run run(appData(), kMonday, true);
    Form1 &f = *run.window->form;
    const QList<Platform::MessageBox> &boxes = run.platform().boxes;

    // In the altitude field, with a key there for the live recomputation.
    f.eingabe2->setText(QStringLiteral("950"));
    f.eingabe3->setText(QStringLiteral("1013"));
    f.eingabe1->setText(text);
    QCOMPARE(f.eingabe1->text(), text.left(4));
    f.eingabe1->setFocus();
    QTest::keyClick(f.eingabe1, Qt::Key_End);
    QCOMPARE(f.anzeige1->text(), meanText(altitude));
    f.Command1->click();
    QVERIFY(boxes.isEmpty());
    QCOMPARE(f.anzeige2->text(), seaLevelText(950, altitude));
    f.Command2->click();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.last().prompt, report(altitude, 950, 1013));

    // In the barometer field.
    f.eingabe1->setText(QStringLiteral("500"));
    f.eingabe2->setText(text);
    QCOMPARE(f.eingabe2->text(), text.left(7));
    f.Command1->click();
    QCOMPARE(f.anzeige2->text(), seaLevelText(pressure, 500));
    QCOMPARE(f.Frame2->Label13->text(), f.anzeige2->text());
    QTest::keyClick(f.eingabe1, Qt::Key_End);
    QCOMPARE(f.anzeige1->text(), meanText(500));
    QVERIFY(f.anzeige2->text().isEmpty());
    f.Command2->click();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.last().prompt, report(500, pressure, 1013));

    // In the weather-service field.
    f.eingabe2->setText(QStringLiteral("950"));
    f.eingabe3->setText(text);
    QCOMPARE(f.eingabe3->text(), text.left(7));
    f.Command2->click();
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(boxes.last().prompt, report(500, 950, pressure));

    // The worst case for the scale: the pasted text as reading, evaluated.
    f.eingabe2->setText(text);
    f.Command1->click();
    QCOMPARE(boxes.size(), 3);
    QStringList shown{f.anzeige1->text(), f.anzeige2->text(), f.anzeige4->text(), f.Frame2->Label13->text(),
                      f.Frame2->Label14->text()};
    for (const Platform::MessageBox &box : boxes)
        shown << box.prompt;
    for (const QString &s : shown)
        QVERIFY2(!kBrokenNumber.match(s).hasMatch(), qPrintable(s));
}

void FaultsTest::pastedText_shiftInsert_data()
{
    pastedText_readsLeadingNumber_data();
}

void FaultsTest::pastedText_shiftInsert()
{
    QFETCH(QString, text);
    QFETCH(double, altitude);
    QFETCH(double, pressure);
    const DisplayLocale german = DisplayLocale::german();

    Run run(appData(), kMonday, true);
    Form1 &f = *run.window->form;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    if (clipboard->text() != text)
        QSKIP("this platform has no clipboard");

    // Shift+Insert types no character, so the filters never see the text:
    // it arrives as the clipboard holds it, cut to the field's length.
    f.eingabe2->setFocus();
    QTest::keyClick(f.eingabe2, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(f.eingabe2->text(), text.left(7));
    QTest::keyClick(f.eingabe2, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.eingabe1);
    QTest::keyClick(f.eingabe1, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(f.eingabe1->text(), text.left(4));
    const auto mean = meanPressure(altitude);
    QCOMPARE(f.anzeige1->text(), mean ? pressureFieldText(*mean, german) : QString());

    // Enter moves on to the evaluation button, and Enter there evaluates.
    QTest::keyClick(f.eingabe1, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.Command1);
    QTest::keyClick(f.Command1, Qt::Key_Return);
    QVERIFY(run.platform().boxes.isEmpty());
    QCOMPARE(f.anzeige2->text(), pressureFieldText(seaLevelPressure(pressure, altitude).value(), german));
    for (const QString &s : {f.anzeige1->text(), f.anzeige2->text(), f.anzeige4->text(),
                             f.Frame2->Label13->text(), f.Frame2->Label14->text()})
        QVERIFY2(!kBrokenNumber.match(s).hasMatch(), qPrintable(s));
}

QTEST_MAIN(FaultsTest)
#include "test_faults.moc"
