// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/session.h"

#include "history/datafolder.h"
#include "history/log.h"
#include "history/recordfile.h"
#include "history/statistics.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace barovista {

namespace {

using Member = TaggedValue Session::*;

// The record's fields and the members that hold them.
#define BAROVISTA_FIELD_MEMBER(field, member, kind) {RecordField::field, &Session::member},
constexpr std::pair<RecordField, Member> kRecordMembers[] = {BAROVISTA_RECORD_FIELDS(BAROVISTA_FIELD_MEMBER)};
#undef BAROVISTA_FIELD_MEMBER
static_assert(std::size(kRecordMembers) == kRecordSize);

} // namespace

Session::Session(const QString &folder) : m_folder(folder), m_filePath(historyFilePath(folder)) {}

Session::~Session()
{
    if (s_exitSession == this)
        s_exitSession = nullptr;
}

Record Session::toRecord() const
{
    Record record;
    for (const auto &[field, member] : kRecordMembers)
        record[field] = this->*member;
    return record;
}

void Session::setFromRecord(const Record &record)
{
    for (const auto &[field, member] : kRecordMembers)
        this->*member = record[field];
}

OpenResult Session::open(const QDateTime &now, Access access)
{
    saveok = 0;
    pfad = TaggedValue::fromText(m_folder);
    const OpenResult opened = access == Access::Window ? openHistory(m_filePath, now) : readHistory(now);
    m_unreadable = opened.load.status == LoadResult::Status::Unreadable;
    setFromRecord(opened.record);
    return opened;
}

OpenResult Session::readHistory(const QDateTime &now) const
{
    OpenResult read;
    read.saved.ok = true;
    read.load = loadRecordFile(m_filePath, now, DamagedFile::LeaveInPlace);
    read.record = read.load.status == LoadResult::Status::Loaded ? read.load.record
                                                                 : emptyRecord(toDaySerial(now.date()));
    return read;
}

std::optional<EvaluationScreen> Session::evaluate(const QString &altitude, const QString &reading,
                                                  const QString &weatherService, const DisplayLocale &locale)
{
    std::optional<EvaluationScreen> result = evaluateTexts(altitude, reading, locale);
    if (!result)
        return result;
    eingabe_hoehe = TaggedValue::fromDouble(result->altitude);
    normaldruck_meer = TaggedValue::fromDouble(result->numbers.meanPressure);
    tendenz = TaggedValue::fromDouble(result->numbers.tendenz);
    tendenzlatte = TaggedValue::fromDouble(result->indicatorOffset);
    m_screen = {altitude,
                reading,
                weatherService,
                result->meanPressureText,
                result->seaLevelText,
                result->message.message};
    saveok = 1;
    return result;
}

std::optional<QString> Session::recompute(const QString &altitude, const QString &reading,
                                          const DisplayLocale &locale)
{
    if (altitude.isEmpty()) {
        m_screen.anzeige1.clear();
        return std::nullopt;
    }
    const std::optional<Evaluation> result = storeNumbers(altitude, reading);
    m_screen.anzeige1 = result ? pressureFieldText(result->meanPressure, locale) : QString();
    clearResult();
    return m_screen.anzeige1;
}

void Session::clearResult()
{
    m_screen.anzeige2.clear();
    m_screen.anzeige4.clear();
}

void Session::edited(Field field, const QString &text)
{
    switch (field) {
    case Field::Altitude:
        m_screen.eingabe1 = text;
        break;
    case Field::Reading:
        m_screen.eingabe2 = text;
        break;
    case Field::WeatherService:
        m_screen.eingabe3 = text;
        break;
    }
}

Session::Restored Session::restore(const DisplayLocale &locale)
{
    Restored restored;
    restored.texts = {hoehe.toText(locale), luftdruck.toText(locale), kali.toText(locale),
                      mitte.toText(locale), meer.toText(locale),      infotext.toText(locale)};
    // The formulas give no result where it would not be finite.
    const std::optional<Evaluation> result = barovista::evaluate(readLeadingNumber(restored.texts.eingabe1),
                                                                 readLeadingNumber(restored.texts.eingabe2));
    storeNumbers(restored.texts.eingabe1, result);
    if (result) {
        restored.deviation = deviationMessage(result->tendenz, locale);
        restored.texts.anzeige4 = restored.deviation->message;
    }
    // The saved offset moves the indicator from its design position.
    restored.indicatorOffset = tendenzlatte.toNumber();
    restored.offScale = result && scale::isOffScale(result->tendenz);
    restored.blank = hoehe.equalsEmptyText() || !result;
    m_screen = restored.texts;
    if (restored.blank) {
        m_screen.anzeige1.clear();
        clearResult();
    }
    return restored;
}

std::optional<Evaluation> Session::storeNumbers(const QString &altitude, const QString &reading)
{
    const std::optional<Evaluation> result =
        barovista::evaluate(readLeadingNumber(altitude), readLeadingNumber(reading));
    storeNumbers(altitude, result);
    return result;
}

void Session::storeNumbers(const QString &altitude, const std::optional<Evaluation> &result)
{
    eingabe_hoehe = TaggedValue::fromDouble(readLeadingNumber(altitude));
    if (!result)
        return;
    normaldruck_meer = TaggedValue::fromDouble(result->meanPressure);
    tendenz = TaggedValue::fromDouble(result->tendenz);
}

std::optional<Calibration> Session::calibrate(const QString &altitude, const QString &reading,
                                              const QString &weatherService)
{
    std::optional<Calibration> result = calibrateTexts(altitude, reading, weatherService);
    if (!result)
        return result;
    eingabe_hoehe = TaggedValue::fromDouble(result->altitude);
    eingabe_wetterdienst = TaggedValue::fromDouble(result->weatherService);
    druckabweichung = result->deviation;
    return result;
}

bool Session::pending() const
{
    return !m_screen.anzeige4.isEmpty() && saveok == 1 && !m_unreadable && !m_ended;
}

std::optional<RecordResult> Session::save(const Clock &now)
{
    if (!pending())
        return std::nullopt;
    const RecordResult recorded = recordOntoHistory(m_filePath, {m_screen, tendenzlatte}, now);
    if (recorded.status == RecordResult::Status::Saved) {
        setFromRecord(recorded.record);
        eingabe_hoehe = TaggedValue::fromDouble(recorded.altitude);
        saveok = 0;
    }
    return recorded;
}

std::optional<RecordResult> Session::close(const Clock &now)
{
    std::optional<RecordResult> recorded = save(now);
    m_ended = true;
    return recorded;
}

ResetResult Session::reset(int lockTimeoutMs)
{
    xxpfad = TaggedValue::fromText(m_filePath);
    const ResetResult reset = deleteHistory(m_filePath, lockTimeoutMs);
    if (reset.status != ResetResult::Status::Busy)
        m_ended = true;
    return reset;
}

std::optional<QString> Session::statistics(QDate today, const DisplayLocale &locale) const
{
    return statisticsReport(toRecord(), today, locale);
}

void Session::saveOnExit(ExitReport report)
{
    static bool registered = false;
    s_exitSession = this;
    s_exitReport = report;
    // Registered once the history has been opened, so that what the save
    // needs of Qt's own statics already exists and outlives the handler; the
    // logging category is made first for the same reason.
    if (!registered) {
        lcHistory();
        registered = std::atexit(&Session::exitHandler) == 0;
    }
}

// Runs inside exit(): no event loop, no boxes, and the window's widgets may
// be half gone. The session holds its own copy of the screen, so only it is
// read.
void Session::exitHandler()
{
    Session *session = s_exitSession;
    s_exitSession = nullptr;
    if (!session)
        return;
    const std::optional<RecordResult> recorded = session->close([] { return QDateTime::currentDateTime(); });
    // No box can be shown any more: the program's report says it on stderr.
    if (recorded && s_exitReport)
        s_exitReport(*recorded);
}

} // namespace barovista
