// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileio.h"
#include "history/datafolder.h"
#include "history/historystore.h"
#include "history/record.h"
#include "history/recordfile.h"
#include "history/recording.h"
#include "history/session.h"
#include "history/statistics.h"
#include "messages/messages.h"

#include <QLockFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <QtEndian>
#include <array>
#include <bit>
#include <cerrno>
#include <limits>
#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace barovista;
using barovista::testing::readAll;
using barovista::testing::writeAll;

Q_DECLARE_METATYPE(barovista::TaggedValue)
Q_DECLARE_METATYPE(barovista::RecordField)
Q_DECLARE_METATYPE(barovista::DecodeError)

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The altitude and the reading typed into a session, and evaluated.
void evaluate(Session &session, const QString &altitude, const QString &reading)
{
    session.edited(Session::Field::Altitude, altitude);
    session.edited(Session::Field::Reading, reading);
    session.evaluate(DisplayLocale::german());
}
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TaggedValue text(const QString &value)
{
    return TaggedValue::fromText(value);
}
TaggedValue number(double value)
{
    return TaggedValue::fromDouble(value);
}
TaggedValue day(int year, int month, int dayOfMonth)
{
    return TaggedValue::fromDate(toDaySerial(QDate(year, month, dayOfMonth)));
}

QByteArray doubleBytes(quint16 tag, double value)
{
    QByteArray bytes(10, '\0');
    qToLittleEndian(tag, bytes.data());
    qToLittleEndian(std::bit_cast<quint64>(value), bytes.data() + 2);
    return bytes;
}

QByteArray textBytes(const QByteArray &cp1252)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(kTagText, bytes.data());
    qToLittleEndian(static_cast<quint16>(cp1252.size()), bytes.data() + 2);
    return bytes + cp1252;
}

// A record of empty values with `value` as the raw bytes at `field`.
QByteArray bytesWith(RecordField field, const QByteArray &value)
{
    QByteArray bytes;
    for (std::size_t i = 0; i < kRecordSize; ++i)
        bytes += static_cast<RecordField>(i) == field ? value : QByteArray(2, '\0');
    return bytes;
}

Record fullRecord()
{
    Record r;
    r[RecordField::Hoehe] = text("500");
    r[RecordField::Luftdruck] = text("955");
    r[RecordField::Tendenzlatte] = number(21.2);
    r[RecordField::Mitte] = text("954,5  hPa");
    r[RecordField::Meer] = text("1013,78  hPa");
    r[RecordField::Infotext] = text("Der Luftdruck liegt 0,53 hPa über dem Normaldruck.");
    r[RecordField::Kali] = text("1014");
    r[RecordField::Lastmess] = text("998,4  hPa");
    r[RecordField::Datelastmess] = day(2026, 12, 7);
    r[RecordField::Timelastmess] = text("10:15:00");
    r[RecordField::Minmeer] = number(998.4);
    r[RecordField::Maxmeer] = number(1020.5);
    r[RecordField::Timeminmeer] = text("10:15:00");
    r[RecordField::Dateminmeer] = day(2026, 12, 7);
    r[RecordField::Timemaxmeer] = text("08:01:02");
    r[RecordField::Datemaxmeer] = day(2026, 3, 1);
    r[RecordField::AbsolutLastmess] = number(940);
    r[RecordField::AbsolutMaxmeer] = number(955.12);
    r[RecordField::AbsolutMinmeer] = number(940);
    r[RecordField::Datestart] = day(2026, 1, 5);
    return r;
}

// Puts the system's disk calls back when a test that replaced them ends.
struct DiskCallsRestored
{
    const DiskCalls system = diskCalls;
    ~DiskCallsRestored() { diskCalls = system; }
};

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void neighboursAreNeverRemoved();
    void encodesValuesByteForByte_data();
    void encodesValuesByteForByte();
    void emptyRecordIs48Bytes();
    void everyWindows1252ByteSurvives();
    void randomRecordsRoundTrip();
    void everyTruncationIsRefused();
    void refusesUnusableValues_data();
    void refusesUnusableValues();

    void taggedValueRules_data();
    void taggedValueRules();

    void firstRecordingSetsLowestAndHighest();
    void clockIsReadForEveryDayAndTime();
    void recordingUpdatesExtremes_data();
    void recordingUpdatesExtremes();
    void unreducibleReadingKeepsFileReadable();

    void statisticsWorkedExample();
    void statisticsNeedsLastMeasurement_data();
    void statisticsNeedsLastMeasurement();
    void statisticsNeverShowsBrokenValues();

    void saveKeepsOldTail();
    void saveCreatesMissingFolder();
    void failedSaveLeavesOldFile_data();
    void failedSaveLeavesOldFile();
    void loadMissingFile();
    void damagedFileIsKeptAside_data();
    void damagedFileIsKeptAside();
    void damagedNamesNeverCollide();
    void leftAloneInPlace_data();
    void leftAloneInPlace();

    void closingRecordsOntoFileOnDisk_data();
    void closingRecordsOntoFileOnDisk();
    void lockIsRespected_data();
    void lockIsRespected();
    void sessionRecordsWhatIsPending();
    void sessionScreen_data();
    void sessionScreen();

    void dataFolderLocation_data();
    void dataFolderLocation();

private:
    const DisplayLocale m_german = DisplayLocale::german();
};

void TestHistory::encodesValuesByteForByte_data()
{
    QTest::addColumn<RecordField>("field");
    QTest::addColumn<TaggedValue>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readsBackEqual");

    QTest::newRow("double") << RecordField::Maxmeer << number(1013.25)
                            << QByteArray::fromHex("05000000000000aa8f40") << true;
    QTest::newRow("date") << RecordField::Datestart << day(2000, 1, 1)
                          << QByteArray::fromHex("070000000000c0d5e140") << true;
    QTest::newRow("umlaut text") << RecordField::Hoehe << text(QString::fromUtf8("über"))
                                 << QByteArray::fromHex("08000400fc626572") << true;
    QTest::newRow("empty text") << RecordField::Kali << text("") << QByteArray::fromHex("08000000") << true;
    QTest::newRow("0x80 block") << RecordField::Infotext << text(QString::fromUtf8("€„“Ÿ\u0081"))
                                << QByteArray::fromHex("080005008084939f81") << true;
    QTest::newRow("no cp1252 byte") << RecordField::Meer << text(QString::fromUtf8("a中😀\u0080b"))
                                    << QByteArray::fromHex("08000500613f3f3f62") << false;
    // The display form under ar_EG: the separator stored as the comma, never "?".
    QTest::newRow("Arabic decimal separator") << RecordField::Meer << text(QString::fromUtf8("1026٫02  hPa"))
                                              << QByteArray::fromHex("08000c00") + "1026,02  hPa" << false;
    // Cut at the most a length can say, never written with a wrapped length.
    QTest::newRow("text over 65535 bytes")
        << RecordField::Infotext << text(QString(65537, QLatin1Char('a')))
        << QByteArray::fromHex("0800ffff") + QByteArray(65535, 'a') << false;
}

void TestHistory::encodesValuesByteForByte()
{
    QFETCH(RecordField, field);
    QFETCH(TaggedValue, value);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readsBackEqual);

    Record record;
    record[field] = value;
    const QByteArray expected = bytesWith(field, bytes);
    QCOMPARE(encodeRecord(record).toHex(' '), expected.toHex(' '));

    const DecodeResult decoded = decodeRecord(expected);
    QVERIFY(decoded.ok());
    if (readsBackEqual)
        QCOMPARE(decoded.record, record);
}

void TestHistory::emptyRecordIs48Bytes()
{
    const Record record = emptyRecord(36526);
    const QByteArray bytes = encodeRecord(record);
    QCOMPARE(bytes, QByteArray(38, '\0') + QByteArray::fromHex("070000000000c0d5e140"));
    QCOMPARE(decodeRecord(bytes).record, record);
}

void TestHistory::everyWindows1252ByteSurvives()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    QByteArray value = QByteArray::fromHex("08000001") + all;
    const QByteArray bytes = bytesWith(RecordField::Infotext, value);

    const DecodeResult decoded = decodeRecord(bytes);
    QVERIFY(decoded.ok());
    const QString read = decoded.record[RecordField::Infotext].textValue();
    QCOMPARE(read.at(0x80), QChar(0x20AC));
    QCOMPARE(read.at(0x9F), QChar(0x0178));
    QCOMPARE(read.at(0xFC), QChar(0x00FC));
    QCOMPARE(encodeRecord(decoded.record), bytes);
}

void TestHistory::randomRecordsRoundTrip()
{
    using F = RecordField;
    const QList<F> numbers = {F::Tendenzlatte,    F::Minmeer,        F::Maxmeer,
                              F::AbsolutLastmess, F::AbsolutMaxmeer, F::AbsolutMinmeer};
    const QList<F> days = {F::Datelastmess, F::Dateminmeer, F::Datemaxmeer, F::Datestart};

    QRandomGenerator random(20261207);
    const auto randomNumber = [&] { return number((random.generateDouble() - 0.5) * 1e6); };
    const auto randomDay = [&] { return TaggedValue::fromDate(random.bounded(-657434, 2958466)); };
    const auto randomText = [&] {
        // Any bytes, read as the file would be, so every character has a byte.
        QByteArray raw(random.bounded(300), '\0');
        for (char &c : raw)
            c = static_cast<char>(random.bounded(256));
        return decodeRecord(bytesWith(F::Kali, textBytes(raw))).record[F::Kali];
    };

    for (int n = 0; n < 300; ++n) {
        Record record;
        for (std::size_t i = 0; i < kRecordSize; ++i) {
            const auto field = static_cast<F>(i);
            TaggedValue &value = record[field];
            if (random.bounded(5) == 0)
                continue; // stays empty
            if (numbers.contains(field))
                value = randomNumber();
            else if (days.contains(field))
                value = randomDay();
            else if (field == F::Hoehe)
                value = text(QString::number(random.bounded(10000)));
            else
                value = std::array{randomText(), randomNumber(), randomDay()}[random.bounded(3)];
        }
        const QByteArray tail(random.bounded(8), 'x');
        const DecodeResult decoded = decodeRecord(encodeRecord(record) + tail);
        QVERIFY2(decoded.ok(), qPrintable(describeDecodeError(decoded)));
        QCOMPARE(decoded.record, record);
    }
}

void TestHistory::everyTruncationIsRefused()
{
    const QByteArray bytes = encodeRecord(fullRecord());
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        const DecodeResult decoded = decodeRecord(bytes.left(length));
        QVERIFY2(decoded.error == DecodeError::Truncated || decoded.error == DecodeError::TextPastEnd,
                 qPrintable(QString::number(length)));
        QCOMPARE(decoded.record, Record());
        QVERIFY(decoded.offset <= std::size_t(length));
    }
    QCOMPARE(decodeRecord(bytes).record, fullRecord());
}

void TestHistory::refusesUnusableValues_data()
{
    QTest::addColumn<RecordField>("field");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<DecodeError>("error");

    const auto date = [](double serial) { return doubleBytes(kTagDate, serial); };
    using F = RecordField;
    using E = DecodeError;

    QTest::newRow("tag 3") << F::Hoehe << QByteArray::fromHex("0300") << E::UnknownTag;
    QTest::newRow("tag ffff") << F::Infotext << QByteArray::fromHex("ffff") << E::UnknownTag;
    QTest::newRow("text length 65535") << F::Meer << QByteArray::fromHex("0800ffff41") << E::TextPastEnd;
    QTest::newRow("NaN") << F::Maxmeer << doubleBytes(kTagDouble, kNaN) << E::NotANumber;
    QTest::newRow("infinite offset") << F::Tendenzlatte << doubleBytes(kTagDouble, kInf) << E::NotANumber;
    QTest::newRow("infinite date") << F::Datestart << date(-kInf) << E::NotANumber;
    QTest::newRow("offset beyond float")
        << F::Tendenzlatte << doubleBytes(kTagDouble, 1e39) << E::UnusableValue;
    QTest::newRow("year 99") << F::Datelastmess << date(-657435) << E::DateRange;
    QTest::newRow("year 10000") << F::Dateminmeer << date(2958466) << E::DateRange;
    QTest::newRow("year 100") << F::Dateminmeer << date(-657434) << E::None;
    QTest::newRow("year 9999") << F::Datestart << date(2958465.5) << E::None;
    QTest::newRow("altitude 44240") << F::Hoehe << textBytes("44240") << E::AltitudeRange;
    QTest::newRow("altitude 44239") << F::Hoehe << textBytes("44239") << E::None;
    QTest::newRow("altitude as double") << F::Hoehe << doubleBytes(kTagDouble, 1e6) << E::AltitudeRange;
    QTest::newRow("altitude no number") << F::Hoehe << textBytes("abc") << E::None;
    QTest::newRow("text for lowest") << F::Minmeer << textBytes("1000") << E::UnusableValue;
    QTest::newRow("text for absolute lowest") << F::AbsolutMinmeer << textBytes("940") << E::UnusableValue;
    QTest::newRow("text for day") << F::Datemaxmeer << textBytes("07.12.2026") << E::UnusableValue;
    QTest::newRow("double for day") << F::Datestart << doubleBytes(kTagDouble, 46000) << E::UnusableValue;
    QTest::newRow("date for time text") << F::Timelastmess << date(46000) << E::None;
}

void TestHistory::refusesUnusableValues()
{
    QFETCH(RecordField, field);
    QFETCH(QByteArray, value);
    QFETCH(DecodeError, error);

    const DecodeResult decoded = decodeRecord(bytesWith(field, value));
    QCOMPARE(decoded.error, error);
    if (error == DecodeError::None)
        return;
    QCOMPARE(decoded.field, field);
    QCOMPARE(decoded.offset, 2 * static_cast<std::size_t>(field));
    QCOMPARE(decoded.record, Record());
    QVERIFY(describeDecodeError(decoded).contains(QLatin1String(recordFieldName(field))));
}

void TestHistory::taggedValueRules_data()
{
    QTest::addColumn<TaggedValue>("value");
    QTest::addColumn<bool>("emptyText");
    QTest::addColumn<double>("asNumber");
    QTest::addColumn<QString>("asText");

    QTest::newRow("empty") << TaggedValue() << true << 0.0 << "";
    QTest::newRow("empty text") << text("") << true << 0.0 << "";
    QTest::newRow("blank") << text(" ") << false << 0.0 << " ";
    QTest::newRow("text with unit") << text("1013,25  hPa") << false << 1013.0 << "1013,25  hPa";
    QTest::newRow("text leading number") << text(" -12.5x") << false << -12.5 << " -12.5x";
    QTest::newRow("zero") << number(0) << false << 0.0 << "0";
    QTest::newRow("one decimal") << number(998.4) << false << 998.4 << "998,4";
    QTest::newRow("whole") << number(940) << false << 940.0 << "940";
    QTest::newRow("NaN") << number(kNaN) << false << kNaN << "";
    QTest::newRow("date") << day(2026, 12, 7) << false << 46363.0 << "07.12.2026";
    QTest::newRow("date out of range") << TaggedValue::fromDate(1e12) << false << 1e12 << "";
}

void TestHistory::taggedValueRules()
{
    QFETCH(TaggedValue, value);
    QFETCH(bool, emptyText);
    QFETCH(double, asNumber);
    QFETCH(QString, asText);

    QCOMPARE(value.equalsEmptyText(), emptyText);
    QCOMPARE(value.toNumber(), asNumber);
    QCOMPARE(value.toText(m_german), asText);
}

void TestHistory::firstRecordingSetsLowestAndHighest()
{
    Record record = emptyRecord(46027);
    record[RecordField::Tendenzlatte] = number(-8);
    const ScreenTexts screen{"500", "955", "1014", "954,5  hPa", "1013,78  hPa", "Hoch"};
    const QDateTime at(QDate(2026, 12, 7), QTime(10, 15, 0));

    QCOMPARE(recordMeasurement(record, screen, [&] { return at; }), 500.0);

    Record expected;
    expected[RecordField::Hoehe] = text("500");
    expected[RecordField::Luftdruck] = text("955");
    expected[RecordField::Tendenzlatte] = number(-8);
    expected[RecordField::Mitte] = text("954,5  hPa");
    expected[RecordField::Meer] = text("1013,78  hPa");
    expected[RecordField::Infotext] = text("Hoch");
    expected[RecordField::Kali] = text("1014");
    expected[RecordField::Lastmess] = text("1013,78  hPa");
    expected[RecordField::Minmeer] = expected[RecordField::Maxmeer] = number(1013.78);
    expected[RecordField::AbsolutLastmess] = expected[RecordField::AbsolutMinmeer] =
        expected[RecordField::AbsolutMaxmeer] = number(955);
    expected[RecordField::Datelastmess] = expected[RecordField::Dateminmeer] =
        expected[RecordField::Datemaxmeer] = day(2026, 12, 7);
    expected[RecordField::Timelastmess] = expected[RecordField::Timeminmeer] =
        expected[RecordField::Timemaxmeer] = text("10:15:00");
    expected[RecordField::Datestart] = TaggedValue::fromDate(46027);
    QCOMPARE(record, expected);
}

void TestHistory::clockIsReadForEveryDayAndTime()
{
    // One second passes with every look at the clock, across midnight.
    QDateTime clock(QDate(2026, 12, 7), QTime(23, 59, 58));
    int reads = 0;
    const auto now = [&] {
        ++reads;
        const QDateTime current = clock;
        clock = clock.addSecs(1);
        return current;
    };
    Record record;
    recordMeasurement(record, ScreenTexts{"0", "1000", "", "", "1000  hPa", "x"}, now);

    QCOMPARE(reads, 6);
    QCOMPARE(record[RecordField::Datelastmess], day(2026, 12, 7));
    QCOMPARE(record[RecordField::Timelastmess], text("23:59:59"));
    QCOMPARE(record[RecordField::Timeminmeer], text("00:00:00"));
    QCOMPARE(record[RecordField::Dateminmeer], day(2026, 12, 8));
    QCOMPARE(record[RecordField::Timemaxmeer], text("00:00:02"));
    QCOMPARE(timeOfDayText(QTime(7, 5, 3)), QString("07:05:03"));
}

void TestHistory::recordingUpdatesExtremes_data()
{
    QTest::addColumn<TaggedValue>("oldLowest");
    QTest::addColumn<TaggedValue>("oldHighest");
    QTest::addColumn<QString>("reading"); // at altitude 0, so it is the sea-level value
    QTest::addColumn<double>("seaLevel");
    QTest::addColumn<bool>("lowestTaken");
    QTest::addColumn<bool>("highestTaken");

    QTest::newRow("new lowest") << number(1000) << number(1020) << "990" << 990.0 << true << false;
    QTest::newRow("new highest") << number(1000) << number(1020) << "1021" << 1021.0 << false << true;
    QTest::newRow("in between") << number(1000) << number(1020) << "1010" << 1010.0 << false << false;
    QTest::newRow("equal lowest") << number(1000) << number(1020) << "1000" << 1000.0 << true << false;
    QTest::newRow("equal highest") << number(1000) << number(1020) << "1020.004" << 1020.0 << false << true;
    QTest::newRow("tie rounds to even")
        << number(1000) << number(1020) << "995.125" << 995.12 << true << false;
    QTest::newRow("empty highest is 0") << number(1000) << TaggedValue() << "0" << 0.0 << true << true;
    QTest::newRow("empty text lowest") << text("") << number(1020) << "1010" << 1010.0 << true << false;
}

void TestHistory::recordingUpdatesExtremes()
{
    QFETCH(TaggedValue, oldLowest);
    QFETCH(TaggedValue, oldHighest);
    QFETCH(QString, reading);
    QFETCH(double, seaLevel);
    QFETCH(bool, lowestTaken);
    QFETCH(bool, highestTaken);

    Record record = fullRecord();
    record[RecordField::Minmeer] = oldLowest;
    record[RecordField::Maxmeer] = oldHighest;
    const Record before = record;
    const QDateTime at(QDate(2027, 2, 3), QTime(4, 5, 6));
    recordMeasurement(record, ScreenTexts{"0", reading, "", "", "", "x"}, [&] { return at; });

    QCOMPARE(record[RecordField::AbsolutLastmess], number(seaLevel));
    const auto check = [&](RecordField value, RecordField date, RecordField time, RecordField absolute,
                           bool taken) {
        if (taken) {
            QCOMPARE(record[value], number(seaLevel));
            QCOMPARE(record[date], day(2027, 2, 3));
            QCOMPARE(record[time], text("04:05:06"));
            QCOMPARE(record[absolute], number(seaLevel));
        } else {
            for (RecordField f : {value, date, time, absolute})
                QCOMPARE(record[f], before[f]);
        }
    };
    check(RecordField::Minmeer, RecordField::Dateminmeer, RecordField::Timeminmeer,
          RecordField::AbsolutMinmeer, lowestTaken);
    check(RecordField::Maxmeer, RecordField::Datemaxmeer, RecordField::Timemaxmeer,
          RecordField::AbsolutMaxmeer, highestTaken);
}

void TestHistory::unreducibleReadingKeepsFileReadable()
{
    Record record = fullRecord();
    const QString huge = QString(400, QLatin1Char('9'));
    recordMeasurement(record, ScreenTexts{"0", huge, "", "", "", "x"},
                      [] { return QDateTime(QDate(2027, 1, 1), QTime(0, 0)); });

    QCOMPARE(record[RecordField::Luftdruck], text(huge));
    QCOMPARE(record[RecordField::AbsolutLastmess], TaggedValue());
    QCOMPARE(record[RecordField::Maxmeer], fullRecord()[RecordField::Maxmeer]);
    QVERIFY(decodeRecord(encodeRecord(record)).ok());
}

void TestHistory::statisticsWorkedExample()
{
    const std::optional<QString> report = statisticsReport(fullRecord(), QDate(2026, 12, 8), m_german);
    QVERIFY(report);
    QCOMPARE(*report, QString::fromUtf8("LUFTDRUCK-STATISTIK \r\n"
                                        "Zeitraum: 05.01.2026 bis 08.12.2026 \r\n"
                                        "\r\n"
                                        "Letzte Messung:    998,4  hPa / absolut:  940  hPa  (07.12.2026, "
                                        "10:15:00) \r\n"
                                        "\r\n"
                                        "Maximalwert:    1020,5  hPa / absolut:  955,12  hPa  (01.03.2026, "
                                        "08:01:02) \r\n"
                                        "Minimalwert:    998,4  hPa / absolut:  940  hPa  (07.12.2026, "
                                        "10:15:00) "));
}

void TestHistory::statisticsNeedsLastMeasurement_data()
{
    QTest::addColumn<TaggedValue>("lastmess");
    QTest::addColumn<bool>("shown");

    QTest::newRow("empty") << TaggedValue() << false;
    QTest::newRow("empty text") << text("") << false;
    QTest::newRow("blank text") << text(" ") << true;
    QTest::newRow("number zero") << number(0) << true;
}

void TestHistory::statisticsNeedsLastMeasurement()
{
    QFETCH(TaggedValue, lastmess);
    QFETCH(bool, shown);

    Record record = emptyRecord(46027);
    record[RecordField::Lastmess] = lastmess;
    QCOMPARE(statisticsReport(record, QDate(2026, 12, 8), m_german).has_value(), shown);
}

void TestHistory::statisticsNeverShowsBrokenValues()
{
    Record record = fullRecord();
    record[RecordField::AbsolutLastmess] = number(kNaN);
    record[RecordField::Maxmeer] = number(-kInf);
    record[RecordField::Datemaxmeer] = TaggedValue::fromDate(1e15);
    record[RecordField::Minmeer] = number(-3);
    record[RecordField::Datestart] = TaggedValue();

    const QStringList lines =
        statisticsReport(record, QDate(2026, 12, 8), m_german)->split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[1], QString("Zeitraum:  bis 08.12.2026 "));
    QCOMPARE(lines[3], QString("Letzte Messung:    998,4  hPa / absolut:    hPa  (07.12.2026, 10:15:00) "));
    QCOMPARE(lines[5], QString("Maximalwert:      hPa / absolut:  955,12  hPa  (, 08:01:02) "));
    QVERIFY(lines[6].startsWith(QLatin1String("Minimalwert:    -3  hPa")));
}

void TestHistory::saveKeepsOldTail()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("save.dat");
    const QByteArray old = encodeRecord(fullRecord()) + QByteArray("TAIL");
    QVERIFY(writeAll(path, old));

    const Record shorter = emptyRecord(46027);
    const SaveResult saved = saveRecordFile(path, shorter);
    QVERIFY2(saved.ok, qPrintable(problemText(saved.error)));
    QCOMPARE(readAll(path), encodeRecord(shorter) + old.mid(48));

    const LoadResult loaded = loadRecordFile(path, QDateTime::currentDateTime());
    QCOMPARE(loaded.status, LoadResult::Status::Loaded);
    QCOMPARE(loaded.record, shorter);

    // A longer record simply covers the old bytes.
    QVERIFY(saveRecordFile(path, fullRecord()).ok);
    QCOMPARE(readAll(path), old);

    // A system that takes a few bytes per write: the rest is written on.
    const DiskCallsRestored restored;
    QVERIFY(saveRecordFile(path, shorter).ok);
    diskCalls.write = [](QFileDevice &file, const char *data, qint64 size) {
        return file.write(data, qMin<qint64>(size, 5));
    };
    QVERIFY(saveRecordFile(path, fullRecord()).ok);
    QCOMPARE(readAll(path), old);

    // The folder cannot be synced after the rename: saved, with a warning
    // that names the folder and the cause.
    diskCalls = restored.system;
    diskCalls.syncFolder = [](const QString &) { return qt_error_string(EACCES); };
    const SaveResult unsynced = saveRecordFile(path, shorter);
    const QString warning = problemText(unsynced.warning);
    QVERIFY2(unsynced.ok && warning.contains(QDir::toNativeSeparators(dir.path())), qPrintable(warning));
    QCOMPARE(readAll(path), encodeRecord(shorter) + old.mid(48));
#ifdef Q_OS_UNIX
    // The causes are worded in German where the system's errors are errno's.
    QVERIFY2(warning.contains("Keine Berechtigung"), qPrintable(warning));
#endif
    // Saved at exit(): the log has the warning, or nothing to say.
    RecordResult atExit;
    atExit.status = RecordResult::Status::Saved;
    QVERIFY(exitRecordingLog(atExit).isEmpty());
    atExit.warning = unsynced.warning;
    QCOMPARE(exitRecordingLog(atExit), warning);
}

void TestHistory::saveCreatesMissingFolder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a/barovista/save.dat");
    const SaveResult saved = saveRecordFile(path, emptyRecord(46027));
    QVERIFY2(saved.ok, qPrintable(problemText(saved.error)));
    QCOMPARE(readAll(path), encodeRecord(emptyRecord(46027)));
}

void TestHistory::failedSaveLeavesOldFile_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("cause"); // the German words the error must hold
    QTest::newRow("file in place of folder") << "file"
                                             << "";
    QTest::newRow("folder in place of file") << "folder"
                                             << "";
    QTest::newRow("read-only folder") << "read-only"
                                      << "Keine Berechtigung (";
    // Disk calls that fail as a real disk makes them fail: the system's error.
    QTest::newRow("write takes nothing") << "write 0"
                                         << "";
#ifdef Q_OS_UNIX
    // The data is synced with fdatasync() on Unix only.
    const auto sync = [](int code) { return QStringLiteral("sync %1").arg(code); };
    QTest::newRow("sync: disk full") << sync(ENOSPC) << "Der Datenträger ist voll (";
    QTest::newRow("sync: over quota") << sync(EDQUOT) << "Das Speicherkontingent (Quota) ist ausgeschöpft (";
    QTest::newRow("sync: read-only file system") << sync(EROFS) << "Das Dateisystem ist schreibgeschützt (";
    QTest::newRow("sync: I/O error") << sync(EIO) << "";
    QTest::newRow("sync fails, no history yet") << "no file, " + sync(ENOSPC) << "Der Datenträger ist voll (";
#endif
}

void TestHistory::failedSaveLeavesOldFile()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, cause);

    const DiskCallsRestored restored;
    static int failure = 0; // the errno of the failing disk call
    if (obstacle.contains("sync")) {
#ifndef Q_OS_UNIX
        QSKIP("the data is synced with fdatasync() on Unix only");
#endif
        failure = obstacle.section(' ', -1).toInt();
        diskCalls.syncData = [](int) {
            errno = failure;
            return -1;
        };
    } else if (obstacle == "write 0") {
        diskCalls.write = [](QFileDevice &, const char *, qint64) { return qint64(0); };
    }

    QTemporaryDir dir;
    const QByteArray old = encodeRecord(fullRecord());
    QString path;
    QString watched; // a file whose bytes must survive
    if (obstacle == "file") {
        watched = dir.filePath("barovista");
        path = watched + "/save.dat";
    } else if (obstacle == "folder") {
        path = dir.filePath("save.dat");
        QVERIFY(QDir(dir.path()).mkdir("save.dat"));
        watched = path + "/inside";
    } else if (obstacle != "read-only") {
        path = watched = dir.filePath("save.dat");
    } else {
#ifdef Q_OS_UNIX
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
#else
        QSKIP("the read-only attribute of a folder does not keep files out of it");
#endif
        path = watched = dir.filePath("ro/save.dat");
        QVERIFY(QDir(dir.path()).mkdir("ro"));
    }
    const bool hadFile = !obstacle.startsWith("no file");
    if (hadFile)
        QVERIFY(writeAll(watched, old));
    if (obstacle == "read-only")
        QVERIFY(QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner));

    const SaveResult saved = saveRecordFile(path, emptyRecord(46027));
    // Recording onto it says the old file is unchanged only where there is one.
    const RecordResult recorded = recordOntoHistory(
        path, {{"0", "1000", "", "", "1000  hPa", "x"}, number(0)},
        [] { return QDateTime::currentDateTime(); }, 200);
    QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(!saved.ok && problemText(saved.error).contains(cause), qPrintable(problemText(saved.error)));
    QCOMPARE(saved.oldKept, obstacle == "read-only" || obstacle.startsWith("sync") || obstacle == "write 0");
    QCOMPARE(recorded.status == RecordResult::Status::Saved, false);
    QCOMPARE(notSavedBox(recorded).contains("Die bisherige Verlaufsdatei ist unverändert."), saved.oldKept);
    QCOMPARE(exitRecordingLog(recorded),
             "Die Messung konnte beim Beenden nicht gespeichert werden: " + recordingFailureText(recorded));
    if (hadFile)
        QCOMPARE(readAll(watched), old);
    else
        QVERIFY(!QFileInfo::exists(path));
}

void TestHistory::loadMissingFile()
{
    QTemporaryDir dir;
    const LoadResult loaded = loadRecordFile(dir.filePath("save.dat"), QDateTime::currentDateTime());
    QCOMPARE(loaded.status, LoadResult::Status::Missing);
    QCOMPARE(loaded.record, Record());
}

void TestHistory::damagedFileIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray full = encodeRecord(fullRecord());
    QTest::newRow("no bytes") << QByteArray();
    QTest::newRow("cut short") << full.left(full.size() - 1);
    QTest::newRow("unknown tag") << QByteArray::fromHex("0200") + full;
    QTest::newRow("altitude") << bytesWith(RecordField::Hoehe, textBytes("1000000"));
}

void TestHistory::damagedFileIsKeptAside()
{
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    const QString path = dir.filePath("save.dat");
    QVERIFY(writeAll(path, bytes));

    const LoadResult loaded = loadRecordFile(path, QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0)));
    QCOMPARE(loaded.status, LoadResult::Status::Damaged);
    QCOMPARE(loaded.keptPath, path + ".beschaedigt-20261208-101500");
    QCOMPARE(loaded.record, Record());
    QCOMPARE(loaded.reason.what, Problem::What::DamagedKeptAside);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(readAll(loaded.keptPath), bytes);
}

void TestHistory::damagedNamesNeverCollide()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("save.dat");
    const QDateTime at(QDate(2026, 12, 8), QTime(10, 15, 0));
    QStringList kept;
    for (const char *bytes : {"first", "second", "third"}) {
        QVERIFY(writeAll(path, bytes));
        const LoadResult loaded = loadRecordFile(path, at);
        QCOMPARE(loaded.status, LoadResult::Status::Damaged);
        QVERIFY(!kept.contains(loaded.keptPath));
        kept << loaded.keptPath;
    }
    QCOMPARE(readAll(kept[0]), QByteArray("first"));
    QCOMPARE(readAll(kept[1]), QByteArray("second"));
    QCOMPARE(readAll(kept[2]), QByteArray("third"));
}

void TestHistory::leftAloneInPlace_data()
{
    QTest::addColumn<QString>("thing");
    QTest::newRow("folder") << "folder";
#ifdef Q_OS_UNIX
    // Opening fails (ELOOP), as it fails for a file that cannot be read just
    // now, and even for root. (A link on Windows is a shortcut file.)
    QTest::newRow("cannot be read now") << "link loop";
#endif
}

void TestHistory::leftAloneInPlace()
{
    QFETCH(QString, thing);
    QTemporaryDir dir;
    const QString path = dir.filePath("save.dat");
    if (thing == "folder")
        QVERIFY(QDir(dir.path()).mkdir("save.dat"));
    else
        QVERIFY(QFile::link(path, path));
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

    const QDateTime now(QDate(2026, 12, 8), QTime(10, 15, 0));
    const LoadResult loaded = loadRecordFile(path, now);
    QCOMPARE(loaded.status, LoadResult::Status::Unreadable);
    QVERIFY2(problemText(loaded.reason).contains(QDir::toNativeSeparators(path)),
             qPrintable(problemText(loaded.reason)));
    QCOMPARE(openHistory(path, now, 200).load.status, LoadResult::Status::Unreadable);
    const RecordResult recorded = recordOntoHistory(
        path, {{"0", "1000", "", "", "1000  hPa", "x"}, number(0)}, [&] { return now; }, 200);
    QCOMPARE(recorded.status, RecordResult::Status::LeftAlone);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
    QCOMPARE(QFileInfo(path).isSymLink(), thing == "link loop");
}

// Two windows on one history: each closing reads what is on disk now, so
// both measurements count, and the last one closed gives the last measurement.
void TestHistory::closingRecordsOntoFileOnDisk_data()
{
    QTest::addColumn<QStringList>("readings"); // at 0 m, in closing order
    QTest::addColumn<bool>("deletedBetween");  // the history deleted before the last closing
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::newRow("high one closed first") << QStringList{"1040", "990"} << false << 990.0 << 1040.0;
    QTest::newRow("low one closed first") << QStringList{"990", "1040"} << false << 990.0 << 1040.0;
    QTest::newRow("history deleted in between") << QStringList{"1050", "990"} << true << 990.0 << 990.0;
}

void TestHistory::closingRecordsOntoFileOnDisk()
{
    QFETCH(QStringList, readings);
    QFETCH(bool, deletedBetween);
    QFETCH(double, lowest);
    QFETCH(double, highest);
    QTemporaryDir dir;
    const QString path = dir.filePath("barovista/save.dat");
    const QDateTime started(QDate(2026, 1, 5), QTime(9, 0, 0));
    const QDateTime closed(QDate(2026, 12, 7), QTime(10, 15, 0));
    QCOMPARE(openHistory(path, started).saved.ok, true);

    for (const QString &reading : readings) {
        if (deletedBetween && reading == readings.last())
            QVERIFY(QFile::remove(path));
        const QString shown = reading + QStringLiteral("  hPa");
        const RecordResult result =
            recordOntoHistory(path, {{"0", reading, "", shown, shown, "x"}, number(reading.toDouble() / 10)},
                              [&] { return closed; });
        QCOMPARE(result.status, RecordResult::Status::Saved);
    }
    const DecodeResult decoded = decodeRecord(readAll(path));
    QVERIFY(decoded.ok());
    const Record &record = decoded.record;
    QCOMPARE(record[RecordField::Minmeer].doubleValue(), lowest);
    QCOMPARE(record[RecordField::Maxmeer].doubleValue(), highest);
    // The screen and the last measurement are those of the window closed last.
    QCOMPARE(record[RecordField::Luftdruck].textValue(), readings.last());
    QCOMPARE(record[RecordField::Lastmess].textValue(), readings.last() + QStringLiteral("  hPa"));
    QCOMPARE(record[RecordField::Tendenzlatte].doubleValue(), readings.last().toDouble() / 10);
    // A deleted history stays deleted: the new one begins on the day of closing.
    QCOMPARE(record[RecordField::Datestart], deletedBetween ? day(2026, 12, 7) : day(2026, 1, 5));
    QVERIFY(!QFileInfo::exists(historyLockPath(path)));
}

void TestHistory::lockIsRespected_data()
{
    QTest::addColumn<QString>("holder");
    QTest::addColumn<bool>("busy");
    QTest::newRow("held by a window that hangs") << "alive" << true;
    QTest::newRow("left behind by a killed process") << "killed" << false;
    // Lock files that no living process holds, written by hand: their
    // contents and their age, in seconds.
    QTest::newRow("empty, just written") << "empty 0" << true;
    QTest::newRow("empty, a few seconds old") << "empty 5" << false;
    QTest::newRow("another host, a day old") << "other-host 86400" << false;
    QTest::newRow("a live process's number, a day old") << "live-pid 86400" << false;
    // A nameless lock found stale, but by the time it is removed another
    // process has taken it over (removed it and locked anew): its live lock stays.
    QTest::newRow("empty, taken over before its removal") << "taken-over 5" << true;
    // Another process is removing a stale lock: only one removes at a time.
    QTest::newRow("empty, another process removing it") << "guarded 5" << true;
}

namespace {
// A lock as a live process writes it: this process's number, name and host.
QByteArray liveLockContents()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + "\n"
           + QCoreApplication::applicationName().toUtf8() + "\n" + QSysInfo::machineHostName().toUtf8()
           + "\n";
}
} // namespace

void TestHistory::lockIsRespected()
{
    QFETCH(QString, holder);
    QFETCH(bool, busy);
    QTemporaryDir dir;
    const QString path = dir.filePath("save.dat");
    QVERIFY(writeAll(path, encodeRecord(fullRecord())));
    const QByteArray before = readAll(path);

    QLockFile alive(historyLockPath(path));
    QLockFile guard(historyLockPath(path) + ".rmlock");
    const QString kind = holder.section(' ', 0, 0);
    if (kind == "alive") {
        QVERIFY(alive.tryLock());
    } else if (kind == "killed") {
#ifndef Q_OS_UNIX
        QSKIP("a child process that dies holding the lock needs fork()");
#else
        // A child takes the lock and dies without letting it go.
        const pid_t child = fork();
        if (child == 0) {
            QLockFile lock(historyLockPath(path));
            _exit(lock.tryLock() ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFileInfo::exists(historyLockPath(path)));
#endif
    } else {
        // pid, application and host, as QLockFile writes them.
        QByteArray contents;
        if (kind == "other-host")
            contents = "4242\nbarovista\nwetterstation.example\n";
        else if (kind == "live-pid")
            contents = liveLockContents();
        else if (kind == "guarded")
            QVERIFY(guard.tryLock());
        else if (kind == "taken-over")
            beforeNamelessLockRemoval = [](const QString &lockPath) {
                // The other process: the old lock gone, its own in place.
                QFile::remove(lockPath);
                writeAll(lockPath, liveLockContents());
            };
        QVERIFY(writeAll(historyLockPath(path), contents));
        QFile lock(historyLockPath(path));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        const int age = holder.section(' ', 1).toInt();
        QVERIFY(
            lock.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
    }

    const auto now = [] { return QDateTime(QDate(2026, 12, 8), QTime(7, 0, 0)); };
    const RecordResult recorded =
        recordOntoHistory(path, {{"0", "1000", "", "", "1000  hPa", "x"}, number(0)}, now, 200);
    beforeNamelessLockRemoval = nullptr;
    if (kind == "taken-over")
        QCOMPARE(readAll(historyLockPath(path)), liveLockContents());
    if (busy) {
        QCOMPARE(recorded.status, RecordResult::Status::Busy);
        // The problem names the lock file, so that the user can be told to remove it.
        QCOMPARE(recorded.error.otherPath, historyLockPath(path));
        QCOMPARE(readAll(path), before);
        const ResetResult reset = deleteHistory(path, 200);
        QCOMPARE(reset.status, ResetResult::Status::Busy);
        QVERIFY(resetRefusedBox(reset).endsWith("\r\nDie Statistik wurde nicht gelöscht."));
        QCOMPARE(readAll(path), before);
        // A start meanwhile reads the history, and leaves a damaged one in place.
        QCOMPARE(openHistory(path, now(), 200).record, fullRecord());
        QVERIFY(writeAll(path, QByteArray("kaputt")));
        const OpenResult opened = openHistory(path, now(), 200);
        QCOMPARE(opened.record, emptyRecord(toDaySerial(now().date())));
        QCOMPARE(readAll(path), QByteArray("kaputt"));
        // The file and the lock, and the other remover's guard.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), kind == "guarded" ? 3 : 2);
        return;
    }
    QCOMPARE(recorded.status, RecordResult::Status::Saved);
    QCOMPARE(decodeRecord(readAll(path)).record[RecordField::Luftdruck].textValue(), QStringLiteral("1000"));
    QCOMPARE(deleteHistory(path, 200).status, ResetResult::Status::Deleted);
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(dir.path())); // the emptied folder goes too
}

void TestHistory::dataFolderLocation_data()
{
    QTest::addColumn<QByteArray>("appData");
    QTest::addColumn<QByteArray>("xdgDataHome");
    QTest::addColumn<QString>("folder");

    QTest::newRow("APPDATA") << QByteArray("/w/AppData") << QByteArray("/x") << "/w/AppData/barovista";
    // The environment holds file-name bytes: UTF-8 on Linux, the ANSI code
    // page on Windows.
    QTest::newRow("APPDATA non-ASCII") << QFile::encodeName(QString::fromUtf8("/tmp/Jürgen")) << QByteArray()
                                       << QString::fromUtf8("/tmp/Jürgen/barovista");
    QTest::newRow("XDG_DATA_HOME") << QByteArray() << QByteArray("/x/data") << "/x/data/barovista";
    QTest::newRow("neither") << QByteArray() << QByteArray() << "/home/u/.local/share/barovista";
    QTest::newRow("relative XDG_DATA_HOME")
        << QByteArray() << QByteArray("data") << "/home/u/.local/share/barovista";
    // Relative to the folder it was started from: each would get a history.
    QTest::newRow("relative APPDATA")
        << QByteArray("AppData") << QByteArray() << "/home/u/.local/share/barovista";
#ifndef Q_OS_WIN
    // Not UTF-8: decoded, it would name another folder.
    QTest::newRow("APPDATA not UTF-8") << QByteArray("/tmp/J\xfcrgen") << QByteArray("/x") << "/x/barovista";
#endif
}

void TestHistory::dataFolderLocation()
{
    QFETCH(QByteArray, appData);
    QFETCH(QByteArray, xdgDataHome);
    QFETCH(QString, folder);

    // In native form: with backslashes on Windows.
    QCOMPARE(dataFolderFrom(pathFromEnvironment(appData), pathFromEnvironment(xdgDataHome), "/home/u"),
             QDir::toNativeSeparators(folder));
    QCOMPARE(historyFilePath(folder), QDir::toNativeSeparators(folder + "/save.dat"));
}

void TestHistory::neighboursAreNeverRemoved()
{
    // Files of the user's own beside the history, named as a temporary file
    // or a copy would be, and old: starting, closing and saving keep them all.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("save.dat"));
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList names = {"save.dat.Ab3dE9", "save.dat.backup", "save.dat.sicher",
                               "save.dat.beschaedigt-20261207-101500", "notizen.txt"};
    for (const QString &name : names) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(name.toLatin1());
        f.flush();
        QVERIFY(f.setFileTime(now.addDays(-1), QFileDevice::FileModificationTime));
    }
    QVERIFY(openHistory(file, now).saved.ok);
    QCOMPARE(
        recordOntoHistory(file, {{"0", "1000", "", "", "1000  hPa", "x"}, number(0)}, [&] { return now; })
            .status,
        RecordResult::Status::Saved);
    for (const QString &name : names)
        QCOMPARE(readAll(dir.filePath(name)), name.toLatin1());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), names.size() + 1);
}

// The screen each call leaves. "restore" starts from a recorded altitude and
// reading (and the recorded displays "M" and "S"), "evaluate" from typed
// ones; `then` is typed next: an altitude, recomputed, or "clear", a key in
// the barometer field, or "-", nothing. Start-up shows a recorded evaluation
// only where it can be computed again, and nothing where none was recorded.
void TestHistory::sessionScreen_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("mean");
    QTest::addColumn<QString>("seaLevel");
    QTest::addColumn<Screen::Mark>("mark");
    QTest::addColumn<QString>("label");
    using M = Screen::Mark;
    struct Row
    {
        const char *name, *call, *altitude, *reading, *then, *mean, *seaLevel;
        M mark;
        const char *label = "";
    };
    // "9…" reads a number of 400 digits, which has no finite result.
    const Row rows[] = {
        {"restore: nothing", "restore", "", "", "-", "", "", M::None},
        {"restore: below", "restore", "500", "950.5", "-", "M", "S", M::Indicator, "-4,25 hPa"},
        {"restore: +50", "restore", "0", "1063.25", "-", "M", "S", M::Indicator, "+50 hPa"},
        {"restore: off the scale", "restore", "0", "1063.26", "-", "M", "S", M::OffScale, "+50,01 hPa"},
        {"restore: -50.01", "restore", "0", "963.24", "-", "M", "S", M::OffScale, "-50,01 hPa"},
        {"restore: beyond the formula", "restore", "50000", "950", "-", "", "", M::None},
        {"restore: no finite result", "restore", "0", "9…", "-", "", "", M::None},
        {"1000 m, 900 hPa", "evaluate", "1000", "900", "-", "898,54  hPa", "1014,9  hPa", M::Indicator,
         "+1,65 hPa"},
        {"500 m, 955 hPa", "evaluate", "500", "955", "-", "954,5  hPa", "1013,78  hPa", M::Indicator,
         "+0,53 hPa"},
        {"standard", "evaluate", "0", "1013.25", "-", "1013,25  hPa", "1013,25  hPa", M::Indicator,
         "+/- 0 hPa"},
        {"lone point reads 0", "evaluate", "0", ".", "-", "1013,25  hPa", "0  hPa", M::OffScale,
         "-1013,25 hPa"},
        {"tie to even 101.675", "evaluate", "0", "101.675", "-", "1013,25  hPa", "101,67  hPa", M::OffScale,
         "-911,58 hPa"},
        {"tie to even 950.125", "evaluate", "0", "950.125", "-", "1013,25  hPa", "950,12  hPa", M::OffScale,
         "-63,13 hPa"},
        {"highest altitude", "evaluate", "9999", "263.63", "-", "263,63  hPa", "1013,25  hPa", M::Indicator,
         "+/- 0 hPa"},
        {"evaluate: off the scale", "evaluate", "0", "963.24", "-", "1013,25  hPa", "963,24  hPa",
         M::OffScale, "-50,01 hPa"},
        {"evaluate: no altitude", "evaluate", "", "900", "-", "", "", M::None},
        {"evaluate: no finite result", "evaluate", "0", "9…", "-", "", "", M::None},
        {"recompute", "evaluate", "1000", "900", "500", "954,5  hPa", "", M::None},
        {"recompute: beyond", "evaluate", "1000", "900", "50000", "", "", M::None},
        {"recompute: empty altitude", "evaluate", "1000", "900", "", "", "1014,9  hPa", M::Indicator,
         "+1,65 hPa"},
        {"clear", "evaluate", "1000", "900", "clear", "898,54  hPa", "", M::None},
    };
    for (const Row &row : rows) {
        const QString reading = QString::fromUtf8(row.reading);
        QTest::newRow(row.name) << QString::fromUtf8(row.call) << QString::fromUtf8(row.altitude)
                                << (reading == u"9…" ? QString(400, u'9') : reading)
                                << QString::fromUtf8(row.then) << QString::fromUtf8(row.mean)
                                << QString::fromUtf8(row.seaLevel) << row.mark
                                << QString::fromUtf8(row.label);
    }
}

void TestHistory::sessionScreen()
{
    QFETCH(QString, call);
    QFETCH(QString, altitude);
    QFETCH(QString, reading);
    QFETCH(QString, then);
    QFETCH(QString, mean);
    QFETCH(QString, seaLevel);
    QFETCH(Screen::Mark, mark);
    QFETCH(QString, label);
    QTemporaryDir dir;
    Session session(dir.filePath(QStringLiteral("barovista")));
    if (call == QLatin1String("restore")) {
        session.hoehe = TaggedValue::fromText(altitude);
        session.luftdruck = TaggedValue::fromText(reading);
        session.mitte = TaggedValue::fromText(QStringLiteral("M"));
        session.meer = TaggedValue::fromText(QStringLiteral("S"));
        session.tendenzlatte = TaggedValue::fromDouble(7); // the recorded offset, whatever the reading
        QCOMPARE(session.restore(m_german).indicatorOffset, mark == Screen::Mark::None ? 0 : 7);
    } else {
        session.edited(Session::Field::Altitude, altitude);
        session.edited(Session::Field::Reading, reading);
        QCOMPARE(session.evaluate(m_german).refused(),
                 mark == Screen::Mark::None && then == QLatin1String("-"));
    }
    if (then == QLatin1String("clear")) {
        session.clearResult();
    } else if (then != QLatin1String("-")) {
        session.edited(Session::Field::Altitude, then);
        session.recompute(m_german);
    }
    const Screen &screen = session.screen();
    QCOMPARE(screen.texts.eingabe2, reading);
    QCOMPARE(screen.texts.anzeige1, mean);
    QCOMPARE(screen.texts.anzeige2, seaLevel);
    QCOMPARE(screen.mark, mark);
    if (mark != Screen::Mark::None)
        QCOMPARE(screen.deviationLabel, label);
    QCOMPARE(screen.texts.anzeige4.isEmpty(), mark == Screen::Mark::None);
    QCOMPARE(session.pending(), call == QLatin1String("evaluate") && mark != Screen::Mark::None);
}

// The session's end and closing record only what is pending: a save that
// fails (a file where the folder belongs) stays pending for the next try, and
// a saved measurement is recorded again only after a new evaluation.
void TestHistory::sessionRecordsWhatIsPending()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("barovista"));
    const QDateTime now = QDateTime::currentDateTime();
    const Clock clock = [&] { return now; };
    Session session(folder);
    QVERIFY(session.open(now).saved.ok);
    evaluate(session, QStringLiteral("0"), QStringLiteral("1000"));
    const QString moved = folder + QStringLiteral(".weg");
    QVERIFY(QDir().rename(folder, moved) && writeAll(folder, "x"));
    QVERIFY(session.save(clock).value().status != RecordResult::Status::Saved);
    QVERIFY(QFile::remove(folder) && QDir().rename(moved, folder));
    QCOMPARE(session.save(clock).value().status, RecordResult::Status::Saved);
    const QByteArray saved = readAll(session.filePath());
    QCOMPARE(decodeRecord(saved).record[RecordField::Luftdruck].textValue(), QStringLiteral("1000"));
    QVERIFY(!session.save(clock));
    QCOMPARE(readAll(session.filePath()), saved);
    evaluate(session, QStringLiteral("0"), QStringLiteral("990"));
    // Pasted after the evaluation, without a key: recorded as the field holds it.
    session.edited(Session::Field::Reading, QStringLiteral("990.0"));
    QCOMPARE(session.close(clock).value().status, RecordResult::Status::Saved);
    const Record record = decodeRecord(readAll(session.filePath())).record;
    QCOMPARE(record[RecordField::Luftdruck].textValue(), QStringLiteral("990.0"));
    QCOMPARE(record[RecordField::Maxmeer].doubleValue(), 1000.0);
    QCOMPARE(record[RecordField::Minmeer].doubleValue(), 990.0);

    // After closing nothing is recorded any more, not even by a late save.
    const QByteArray closed = readAll(session.filePath());
    evaluate(session, QStringLiteral("0"), QStringLiteral("980"));
    QVERIFY(!session.save(clock));
    QCOMPARE(readAll(session.filePath()), closed);

    // A reset refused while another window holds the history keeps the
    // session going: its measurement is still recorded.
    Session other(folder);
    other.open(now);
    evaluate(other, QStringLiteral("0"), QStringLiteral("970"));
    {
        QLockFile held(historyLockPath(other.filePath()));
        QVERIFY(held.tryLock());
        QCOMPARE(other.reset(200).status, ResetResult::Status::Busy);
    }
    QCOMPARE(readAll(other.filePath()), closed);
    other.edited(Session::Field::Altitude, QStringLiteral("12")); // pasted: recorded as it reads
    const std::optional<RecordResult> kept = other.save(clock);
    QVERIFY(kept && kept->status == RecordResult::Status::Saved);
    QCOMPARE(other.eingabe_hoehe.toNumber(), 12.0);
    // A reset done ends it: the measurement deleted stays deleted.
    evaluate(other, QStringLiteral("0"), QStringLiteral("960"));
    QCOMPARE(other.reset(200).status, ResetResult::Status::Deleted);
    QVERIFY(!other.save(clock));
    QVERIFY(!other.close(clock));
    QVERIFY(!QFileInfo::exists(other.filePath()));

#ifdef Q_OS_UNIX
    // The exit handler forgets a session that is gone: a new one in the same
    // place, never handed to it, records nothing at exit().
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        alignas(Session) unsigned char place[sizeof(Session)];
        Session *first = new (place) Session(folder);
        first->saveOnExit([](const RecordResult &) { std::_Exit(3); });
        first->~Session();
        Session *second = new (place) Session(folder);
        second->open(now);
        evaluate(*second, QStringLiteral("0"), QStringLiteral("950"));
        std::exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(readAll(other.filePath()), encodeRecord(emptyRecord(toDaySerial(now.date()))));
#endif
}

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
