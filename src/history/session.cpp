// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/session.h"

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

void Session::edited(Field field, const QString &text)
{
    switch (field) {
    case Field::Altitude:
        m_screen.texts.eingabe1 = text;
        break;
    case Field::Reading:
        m_screen.texts.eingabe2 = text;
        break;
    case Field::WeatherService:
        m_screen.texts.eingabe3 = text;
        break;
    }
}

// Only the empty text counts as missing; a lone "." is evaluated as 0.
Answer<EvaluationScreen> Session::evaluate(const DisplayLocale &locale)
{
    ScreenTexts &texts = m_screen.texts;
    if (texts.eingabe1.isEmpty())
        return Refusal::AltitudeMissing;
    if (texts.eingabe2.isEmpty())
        return Refusal::ReadingMissing;
    const std::optional<EvaluationScreen> result = evaluateTexts(texts.eingabe1, texts.eingabe2, locale);
    if (!result)
        return Refusal::BeyondFormula;
    eingabe_hoehe = TaggedValue::fromDouble(result->altitude);
    normaldruck_meer = TaggedValue::fromDouble(result->numbers.meanPressure);
    tendenz = TaggedValue::fromDouble(result->numbers.tendenz);
    tendenzlatte = TaggedValue::fromDouble(result->indicatorOffset);
    texts.anzeige1 = result->meanPressureText;
    texts.anzeige2 = result->seaLevelText;
    texts.anzeige4 = result->message.message;
    m_screen.mark =
        scale::isOffScale(result->numbers.tendenz) ? Screen::Mark::OffScale : Screen::Mark::Indicator;
    m_screen.tendency = result->message.tendency;
    m_screen.deviationLabel = result->message.label;
    m_screen.indicatorOffset = result->indicatorOffset;
    saveok = 1;
    return *result;
}

Answer<Calibration> Session::calibrate()
{
    const ScreenTexts &texts = m_screen.texts;
    if (texts.eingabe3.isEmpty())
        return Refusal::WeatherServiceMissing;
    if (texts.eingabe1.isEmpty())
        return Refusal::AltitudeMissing;
    if (texts.eingabe2.isEmpty())
        return Refusal::ReadingMissing;
    const std::optional<Calibration> result = calibrateTexts(texts.eingabe1, texts.eingabe2, texts.eingabe3);
    if (!result)
        return Refusal::BeyondFormula;
    eingabe_hoehe = TaggedValue::fromDouble(result->altitude);
    eingabe_wetterdienst = TaggedValue::fromDouble(result->weatherService);
    druckabweichung = result->deviation;
    return *result;
}

const Screen &Session::recompute(const DisplayLocale &locale)
{
    if (m_screen.texts.eingabe1.isEmpty()) {
        m_screen.texts.anzeige1.clear();
        return m_screen;
    }
    const std::optional<Evaluation> result = storeNumbers();
    m_screen.texts.anzeige1 = result ? pressureFieldText(result->meanPressure, locale) : QString();
    return clearResult();
}

const Screen &Session::clearResult()
{
    m_screen.texts.anzeige2.clear();
    m_screen.texts.anzeige4.clear();
    m_screen.mark = Screen::Mark::None;
    return m_screen;
}

const Screen &Session::restore(const DisplayLocale &locale)
{
    ScreenTexts &texts = m_screen.texts;
    texts = {hoehe.toText(locale), luftdruck.toText(locale), kali.toText(locale),
             mitte.toText(locale), meer.toText(locale),      infotext.toText(locale)};
    // The formulas give no result where it would not be finite.
    const std::optional<Evaluation> result = storeNumbers();
    // No recorded evaluation, or one that cannot be computed again: the
    // input fields alone.
    if (hoehe.equalsEmptyText() || !result) {
        texts.anzeige1.clear();
        return clearResult();
    }
    const DeviationMessage deviation = deviationMessage(result->tendenz, locale);
    texts.anzeige4 = deviation.message;
    m_screen.mark = scale::isOffScale(result->tendenz) ? Screen::Mark::OffScale : Screen::Mark::Indicator;
    m_screen.tendency = deviation.tendency;
    m_screen.deviationLabel = deviation.label;
    // The recorded offset moves the indicator from its home line.
    m_screen.indicatorOffset = tendenzlatte.toNumber();
    return m_screen;
}

std::optional<Evaluation> Session::storeNumbers()
{
    const double altitude = readLeadingNumber(m_screen.texts.eingabe1);
    const std::optional<Evaluation> result =
        barovista::evaluate(altitude, readLeadingNumber(m_screen.texts.eingabe2));
    eingabe_hoehe = TaggedValue::fromDouble(altitude);
    if (result) {
        normaldruck_meer = TaggedValue::fromDouble(result->meanPressure);
        tendenz = TaggedValue::fromDouble(result->tendenz);
    }
    return result;
}

bool Session::pending() const
{
    return !m_screen.texts.anzeige4.isEmpty() && saveok == 1 && !m_unreadable && !m_ended;
}

std::optional<RecordResult> Session::save(const Clock &now)
{
    if (!pending())
        return std::nullopt;
    const RecordResult recorded = recordOntoHistory(m_filePath, {m_screen.texts, tendenzlatte}, now);
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
