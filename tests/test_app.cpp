// SPDX-License-Identifier: GPL-3.0-or-later
// The whole life of the program with a temporary APPDATA: first start,
// evaluation, closing, restoring, statistics, reset, damaged files, and the
// command line recording beside the window.

#include "uifixture.h"

#include "history/datafolder.h"
#include "history/record.h"
#include "ui/inputfield.h"
#include "ui/line.h"
#include "ui/twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using namespace barovista;
using namespace barovista::testing;

namespace {} // namespace

class LifecycleTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStart_createsFolderAndEmptyRecord();
    void firstStart_folderNotMade_closingTriesAgain();
    void closingWithoutEvaluation_writesNothing();
    void life_firstStartEvaluateCloseRestoreReset();
    void reset_noChangesNothing();
    void reset_toleratesMissingFileAndForeignFiles();
    void damagedFile_isKeptAndUserTold_data();
    void damagedFile_isKeptAndUserTold();
    void shutdown_cannotWrite_tellsUserAndKeepsOldFile();
    void shutdown_removedHistoryBeginsAnew();
    void sessionEnd_savesAtOnce();
    void signalAgainDuringWarning_leavesBoxInPlace(); // last: it asks the application to quit

private:
    TempAppData m_temp;
    QString appData() const { return m_temp.appData(); }
    QString folder() const { return m_temp.folder(); }
    QString file() const { return m_temp.file(); }
};

void LifecycleTest::init()
{
    m_temp.renew();
    QVERIFY(m_temp.isValid());
}

void LifecycleTest::firstStart_createsFolderAndEmptyRecord()
{
    Run run(appData(), kMonday, true);
    QCOMPARE(run->session().pfad.textValue(), QDir::toNativeSeparators(folder()));
    const QByteArray bytes = readAll(file());
    QCOMPARE(bytes.size(), 48);
    QCOMPARE(bytes.left(38), QByteArray(38, '\0'));
    QCOMPARE(bytes.mid(38, 2), QByteArray("\x07\x00", 2));
    QCOMPARE(run->session().datestart.doubleValue(), toDaySerial(kMonday.date()));
    QVERIFY(run.platform().boxes.isEmpty());
#ifdef Q_OS_UNIX
    // The folder the program makes is the user's alone.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(folder()) & others, QFile::Permissions());
#endif
    for (QLineEdit *field : {static_cast<QLineEdit *>(run->eingabe1), static_cast<QLineEdit *>(run->eingabe2),
                             static_cast<QLineEdit *>(run->eingabe3), run->anzeige1, run->anzeige2})
        QVERIFY(field->text().isEmpty());
    QVERIFY(run->anzeige4->text().isEmpty());
    QVERIFY(!run->Frame2->latte->isVisible());
    QVERIFY(!run->Frame2->Label13->isVisible());
    QVERIFY(!run->Frame2->Label14->isVisible());
    QVERIFY(!run->Frame2->range->isVisible());
    QCOMPARE(run->session().saveok, 0.0f);
    QCOMPARE(QApplication::focusWidget(), run->eingabe2);
}

void LifecycleTest::firstStart_folderNotMade_closingTriesAgain()
{
    QVERIFY(writeAll(folder(), "kein Ordner"));
    Run run(appData(), kMonday, true);
    QCOMPARE(run.platform().boxes.size(), 1);
    QCOMPARE(run.platform().boxes.first().prompt,
             QStringLiteral(
                 "Die Verlaufsdatei konnte nicht angelegt werden: Der Ordner %1 konnte nicht angelegt "
                 "werden.\r\nBeim Schließen versucht Barovista erneut, eine Messung dieser Sitzung zu "
                 "speichern; ist die Ursache bis dahin behoben (etwa wieder Platz auf dem Datenträger), "
                 "wird sie gespeichert.")
                 .arg(QDir::toNativeSeparators(folder())));
    run.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    QVERIFY(QFile::remove(folder()));
    run.close();
    QCOMPARE(run.platform().boxes.size(), 1);
    QCOMPARE(decodeRecord(readAll(file())).record[RecordField::Luftdruck].textValue(), QStringLiteral("900"));
}

void LifecycleTest::closingWithoutEvaluation_writesNothing()
{
    {
        Run(appData(), kMonday, true).close();
    }
    const QByteArray before = readAll(file());
    Run run(appData(), kMonday.addDays(1), true);
    run->eingabe1->setText(QStringLiteral("500"));
    run->eingabe3->setText(QStringLiteral("1013"));
    run->Command2->click(); // a calibration alone does not count
    run.close();
    QCOMPARE(readAll(file()), before);
}

void LifecycleTest::life_firstStartEvaluateCloseRestoreReset()
{
    {
        Run run(appData(), kMonday, true);
        run.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
        run->eingabe3->setText(QStringLiteral("1013"));
        run->stat->trigger();
        QCOMPARE(run.platform().boxes.last().prompt, QStringLiteral("Keine historischen Daten vorhanden!"));
        QCOMPARE(run.platform().boxes.last().icon, Platform::Icon::Information);
        run.close();
    }
    {
        Run run(appData(), kMonday.addSecs(3600), true);
        QCOMPARE(run->eingabe1->text(), QStringLiteral("1000"));
        QCOMPARE(run->eingabe2->text(), QStringLiteral("900"));
        QCOMPARE(run->eingabe3->text(), QStringLiteral("1013"));
        QCOMPARE(run->anzeige1->text(), QStringLiteral("898,54  hPa"));
        QCOMPARE(run->anzeige2->text(), QStringLiteral("1014,9  hPa"));
        QCOMPARE(
            run->anzeige4->text(),
            QStringLiteral("Aktueller Luftdruck 1,65 hPa über mittlerem Luftdruck bezogen auf Meereshöhe."));
        QCOMPARE(textColour(run->anzeige4), paint::kBlue);
        QCOMPARE(run->Frame2->Label14->text(), QStringLiteral("+1,65 hPa"));
        QCOMPARE(run->Frame2->Label13->text(), QStringLiteral("1014,9  hPa"));
        QCOMPARE(run->Frame2->latte->Y1(), 2672.0f);
        QCOMPARE(run->Frame2->Label13->y(), px(2562));
        QCOMPARE(run->Frame2->Label14->y(), px(2762));
        QVERIFY(run->Frame2->latte->isVisible());
        QCOMPARE(run->session().saveok, 0.0f);

        run->stat->trigger();
        QCOMPARE(run.platform().boxes.size(), 1);
        QCOMPARE(run.platform().boxes.first().title, QStringLiteral("Barovista 1.1 - Statistik"));
        QCOMPARE(run.platform().boxes.first().icon, Platform::Icon::None);
        QCOMPARE(
            run.platform().boxes.first().prompt,
            QStringLiteral("LUFTDRUCK-STATISTIK \r\n"
                           "Zeitraum: 07.12.2026 bis 07.12.2026 \r\n"
                           "\r\n"
                           "Letzte Messung:    1014,9  hPa / absolut:  900  hPa  (07.12.2026, 10:15:00) \r\n"
                           "\r\n"
                           "Maximalwert:    1014,9  hPa / absolut:  900  hPa  (07.12.2026, 10:15:00) \r\n"
                           "Minimalwert:    1014,9  hPa / absolut:  900  hPa  (07.12.2026, 10:15:00) "));
        QCOMPARE(QApplication::focusWidget(), run->eingabe2);
        // A key in the reading field clears the restored result, not the mean pressure.
        QTest::keyClick(run->eingabe2, Qt::Key_End);
        QVERIFY(run->anzeige4->text().isEmpty());
        QCOMPARE(run->anzeige1->text(), QStringLiteral("898,54  hPa"));

        // A higher and then a lower value, each equal to nothing stored.
        run.evaluate(QStringLiteral("1000"), QStringLiteral("910"));
        run.close();
    }
    {
        Run run(appData(), kMonday.addDays(1), true);
        run.evaluate(QStringLiteral("1000"), QStringLiteral("900")); // equals the lowest
        run.close();
    }
    {
        Run run(appData(), kMonday.addDays(2), true);
        run.evaluate(QStringLiteral("1000"), QStringLiteral("910")); // equals the highest
        run.close();
    }
    {
        Run run(appData(), kMonday.addDays(3), true);
        run->stat->trigger();
        const QStringList lines = run.platform().boxes.first().prompt.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[1], QStringLiteral("Zeitraum: 07.12.2026 bis 10.12.2026 "));
        QVERIFY2(lines[3].endsWith(QStringLiteral("absolut:  910  hPa  (09.12.2026, 10:15:00) ")),
                 qPrintable(lines[3]));
        QVERIFY2(lines[5].startsWith(
                     QStringLiteral("Maximalwert:    1026,17  hPa / absolut:  910  hPa  (09.12.2026")),
                 qPrintable(lines[5]));
        QVERIFY2(lines[6].startsWith(
                     QStringLiteral("Minimalwert:    1014,9  hPa / absolut:  900  hPa  (08.12.2026")),
                 qPrintable(lines[6]));

        run.evaluate(QStringLiteral("0"), QStringLiteral("1000"));
        run.platform().answers = {Platform::Answer::Yes};
        run->Ende->trigger();
        const auto &question = run.platform().boxes.last();
        QCOMPARE(question.prompt,
                 QStringLiteral("Möchten Sie die Statistik sowie sämtliche Eingaben löschen und   \r\n"
                                "das Programm beenden?  "));
        QCOMPARE(question.title, QStringLiteral("Barovista 1.1 - Reset"));
        QCOMPARE(question.icon, Platform::Icon::Question);
        QCOMPARE(question.buttons, Platform::Buttons::YesNo);
        QCOMPARE(question.defaultButton, Platform::Answer::Yes);
        QVERIFY(run->hasEnded() && run.platform().quits == 1);
        QVERIFY(!QFile::exists(file()));
        QVERIFY(!QDir(folder()).exists());
        run.close(); // the window is gone already; closing again saves nothing
        QVERIFY(!QFile::exists(file()));
    }
    {
        Run run(appData(), kMonday.addDays(4), true);
        QCOMPARE(readAll(file()).size(), 48);
        QVERIFY(run->eingabe1->text().isEmpty());
        run->stat->trigger();
        QCOMPARE(run.platform().boxes.last().prompt, QStringLiteral("Keine historischen Daten vorhanden!"));
        QCOMPARE(run->session().datestart.doubleValue(), toDaySerial(kMonday.date().addDays(4)));
    }
}

void LifecycleTest::reset_noChangesNothing()
{
    Run run(appData(), kMonday, true);
    run.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    run.platform().answers = {Platform::Answer::No};
    run->Ende->trigger();
    QVERIFY(!run->hasEnded());
    QVERIFY(QFile::exists(file()));
    QCOMPARE(run->anzeige2->text(), QStringLiteral("1014,9  hPa"));
    run.close();
    QVERIFY(readAll(file()).size() > 48); // closing still saves
}

void LifecycleTest::reset_toleratesMissingFileAndForeignFiles()
{
    Run run(appData(), kMonday, true);
    QFile::remove(file());
    QVERIFY(writeAll(folder() + QStringLiteral("/notizen.txt"), "meine Notizen"));
    run.platform().answers = {Platform::Answer::Yes};
    run->Ende->trigger();
    QVERIFY(run->hasEnded());
    QCOMPARE(run.platform().boxes.size(), 1); // only the question
    QCOMPARE(readAll(folder() + QStringLiteral("/notizen.txt")), QByteArray("meine Notizen"));
}

void LifecycleTest::damagedFile_isKeptAndUserTold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray unknownTag(48, '\0');
    unknownTag[0] = 9;
    QByteArray textPastEnd("\x08\x00\xff\xff", 4);
    QByteArray notANumber(2, '\0');
    notANumber += QByteArray("\x08\x00\x03\x00"
                             "900",
                             7);
    notANumber += QByteArray("\x05\x00\x00\x00\x00\x00\x00\x00\xf8\x7f", 10); // NaN offset
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("ends early") << QByteArray(20, '\0');
    QTest::newRow("unknown tag") << unknownTag;
    QTest::newRow("text past the end") << textPastEnd;
    QTest::newRow("NaN offset") << notANumber + QByteArray(34, '\0');
}

void LifecycleTest::damagedFile_isKeptAndUserTold()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(writeAll(file(), bytes));
    Run run(appData(), kMonday, true);
    QCOMPARE(run.platform().boxes.size(), 1);
    const auto &box = run.platform().boxes.first();
    QCOMPARE(box.icon, Platform::Icon::Warning);
    // The kept file is named in the box and holds the old bytes unchanged.
    const QStringList kept = QDir(folder()).entryList(QDir::Files).filter(QStringLiteral("save.dat."));
    QCOMPARE(kept.size(), 1);
    QVERIFY2(box.prompt.contains(kept.first()), qPrintable(box.prompt));
    QCOMPARE(readAll(folder() + QLatin1Char('/') + kept.first()), bytes);
    // A first start follows.
    QCOMPARE(readAll(file()).size(), 48);
    QVERIFY(run->anzeige4->text().isEmpty());
    QVERIFY(!run->Frame2->latte->isVisible());
    // Damaged again while the window is open: closing keeps it aside as
    // well, says so, and records the measurement onto a new history.
    run.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    QVERIFY(writeAll(file(), bytes));
    run.platform().clock = kMonday.addSecs(60);
    run.close();
    QCOMPARE(run.platform().boxes.size(), 2);
    QVERIFY2(run.platform().boxes.last().prompt.endsWith(
                 QStringLiteral("\r\nBarovista beginnt eine neue Statistik.")),
             qPrintable(run.platform().boxes.last().prompt));
    QCOMPARE(QDir(folder()).entryList(QDir::Files).filter(QStringLiteral("save.dat.")).size(), 2);
    QCOMPARE(decodeRecord(readAll(file())).record[RecordField::Luftdruck].textValue(), QStringLiteral("900"));
}

void LifecycleTest::shutdown_cannotWrite_tellsUserAndKeepsOldFile()
{
    {
        Run(appData(), kMonday, true).close();
    }
    const QByteArray before = readAll(file());
    Run run(appData(), kMonday, true);
    run.evaluate(QStringLiteral("1000"), QStringLiteral("900"));
    // A directory where the new file would go stops the rename.
    QVERIFY(QFile::rename(file(), file() + QStringLiteral(".bak")));
    QVERIFY(QDir().mkpath(file()));
    run.close();
    QCOMPARE(run.platform().boxes.size(), 1);
    QVERIFY(run.platform().boxes.first().prompt.startsWith(
        QStringLiteral("Die Messung konnte nicht gespeichert werden")));
    QCOMPARE(run.platform().boxes.first().icon, Platform::Icon::Warning);
    QVERIFY(QFileInfo(file()).isDir());
    QCOMPARE(readAll(file() + QStringLiteral(".bak")), before);
}

void LifecycleTest::shutdown_removedHistoryBeginsAnew()
{
    // A history from an earlier day, deleted while the window is open.
    {
        Run earlier(appData(), kMonday.addDays(-30), false);
        earlier.evaluate("0", "1050");
        earlier.close();
    }
    Run run(appData(), kMonday, true);
    run.evaluate(QStringLiteral("500"), QStringLiteral("955"));
    QVERIFY(QDir(folder()).removeRecursively());
    run.platform().clock = kMonday.addDays(1);
    run.close();
    QVERIFY(run.platform().boxes.isEmpty());
    const DecodeResult decoded = decodeRecord(readAll(file()));
    QVERIFY(decoded.ok());
    // It stays deleted: a new history, begun on the day of closing, holds
    // this measurement alone.
    QCOMPARE(decoded.record[RecordField::Datestart],
             TaggedValue::fromDate(toDaySerial(kMonday.date().addDays(1))));
    QCOMPARE(decoded.record[RecordField::Meer].textValue(), QStringLiteral("1013,78  hPa"));
    QCOMPARE(decoded.record[RecordField::Minmeer].doubleValue(), 1013.78);
    QCOMPARE(decoded.record[RecordField::Maxmeer].doubleValue(), 1013.78);
}

// The desktop session's end records the measurement at once; closing
// without a new evaluation then records nothing twice.
void LifecycleTest::sessionEnd_savesAtOnce()
{
    Run run(appData(), kMonday, true);
    run.evaluate(QStringLiteral("0"), QStringLiteral("1000"));
    run->commitSessionData();
    const QByteArray atSessionEnd = readAll(file());
    QCOMPARE(decodeRecord(atSessionEnd).record[RecordField::Luftdruck].textValue(), QStringLiteral("1000"));
    run.platform().clock = kMonday.addSecs(60); // a second recording would show
    run.close();
    QCOMPARE(readAll(file()), atSessionEnd);
}

// A second signal while the first one's warning box is up leaves the box
// in place: the shutdown under way is not ended a second time.
void LifecycleTest::signalAgainDuringWarning_leavesBoxInPlace()
{
    Run run(appData(), kMonday, true);
    run.evaluate(QStringLiteral("0"), QStringLiteral("1000"));
    QVERIFY(QDir(folder()).removeRecursively() && writeAll(folder(), "x"));
    int quitsUnderBox = -1;
    run.platform().onMessage = [&](const Platform::MessageBox &) {
        run->endBySignal();
        quitsUnderBox = run.platform().quits;
    };
    run->endBySignal();
    QCOMPARE(run.platform().boxes.size(), 1);
    QCOMPARE(quitsUnderBox, 0);
    QCOMPARE(run.platform().quits, 1);
}

QTEST_MAIN(LifecycleTest)
#include "test_app.moc"
