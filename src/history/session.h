// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/datafolder.h"
#include "history/historystore.h"
#include "history/record.h"
#include "history/recording.h"
#include "history/taggedvalue.h"
#include "pressure/calibration.h"
#include "pressure/evaluation.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>

namespace barovista {

// What the main window shows, as one value: the window draws it and holds
// nothing of its own.
struct Screen
{
    ScreenTexts texts; // the input fields, the two displays and the sentence
    // What the scale shows: nothing, the indicator, or "out of range".
    enum class Mark { None, Indicator, OffScale };
    Mark mark = Mark::None;
    // With a mark: the sentence's colour, the deviation beside the
    // indicator, and the indicator's offset above its home line (twips).
    Tendency tendency = Tendency::Equal;
    QString deviationLabel;
    double indicatorOffset = 0;
};

// Why an evaluation or a calibration was refused: an input field is empty,
// or the formula has no finite value for the fields.
enum class Refusal { AltitudeMissing, ReadingMissing, WeatherServiceMissing, BeyondFormula };

// A call's value, or the reason it was refused.
template<typename T>
class Answer
{
public:
    Answer(T value) : m_value(std::move(value)) {}
    Answer(Refusal refusal) : m_refusal(refusal) {}
    bool refused() const { return !m_value; }
    Refusal refusal() const { return m_refusal; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    Refusal m_refusal = Refusal::BeyondFormula;
};

// One window's life with the history file: the data folder and the file,
// worked out once; the main window's 28 members, under their names; and the
// measurement that closing would record. Start-up, closing, the session's
// end, the reset and the statistics are calls that answer in values and
// codes; the window draws the screen, and the messages layer words the
// answers. QtCore only, so all of it runs without a window.
class Session
{
public:
    // The history in the data folder `folder` (native form), by default the
    // user's own.
    explicit Session(const QString &folder = dataFolder());
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    TaggedValue datestart;            // day the history began
    TaggedValue hoehe;                // altitude text at the last recording
    float saveok = 0;                 // 1 while an evaluation of this run is not yet recorded
    TaggedValue luftdruck;            // barometer text at the last recording
    TaggedValue tendenz;              // deviation from 1013.25 hPa, rounded
    TaggedValue mitte;                // mean-pressure display at the last recording
    TaggedValue meer;                 // sea-level display at the last recording
    TaggedValue infotext;             // evaluation message at the last recording
    TaggedValue kali;                 // weather-service text at the last recording
    TaggedValue pfad;                 // data folder
    TaggedValue normaldruck_meer;     // mean pressure for the altitude, rounded
    TaggedValue tendenzlatte;         // indicator offset above its home line, twips
    TaggedValue maxmeer;              // highest recorded sea-level pressure
    TaggedValue minmeer;              // lowest recorded sea-level pressure
    TaggedValue datemaxmeer;          // day of maxmeer
    TaggedValue dateminmeer;          // day of minmeer
    TaggedValue timemaxmeer;          // time of day of maxmeer
    TaggedValue timeminmeer;          // time of day of minmeer
    TaggedValue lastmess;             // sea-level display of the last recording
    TaggedValue datelastmess;         // day of the last recording
    TaggedValue timelastmess;         // time of day of the last recording
    TaggedValue xxpfad;               // history file path, formed by the reset
    TaggedValue eingabe_hoehe;        // altitude as a number
    TaggedValue eingabe_wetterdienst; // weather-service value as a number
    TaggedValue absolut_lastmess;     // barometer reading of the last recording
    TaggedValue absolut_maxmeer;      // barometer reading belonging to maxmeer
    TaggedValue absolut_minmeer;      // barometer reading belonging to minmeer
    float druckabweichung = 0;        // barometer deviation of the last calibration

    const QString &folder() const { return m_folder; }
    const QString &filePath() const { return m_filePath; }

    // The twenty members that form the history file's record.
    Record toRecord() const;
    void setFromRecord(const Record &record);

    // How a run meets the history at its start: a window takes the lock and
    // begins a history where there is none or a damaged one; a run without a
    // window (the command line) only reads, and leaves all writing to the
    // recording.
    enum class Access { Window, ReadOnly };
    // Start-up: reads the history into the members (openHistory). A history
    // that cannot be read in its place lets nothing be recorded in this run.
    OpenResult open(const QDateTime &now, Access access = Access::Window);

    // What the user typed or pasted into an input field.
    enum class Field { Altitude, Reading, WeatherService };
    void edited(Field field, const QString &text);

    // The evaluation of the altitude and barometer fields: the members take
    // its numbers, the screen its texts, its sentence and the indicator, and
    // it waits to be recorded. Refused, nothing changes.
    Answer<EvaluationScreen> evaluate(const DisplayLocale &locale);
    // The calibration of the three fields: the members take its numbers; the
    // screen stays as it is.
    Answer<Calibration> calibrate();
    // The live recomputation while the altitude is typed: the members take
    // the altitude and, where the formula has a value, the mean pressure and
    // the deviation; the mean-pressure display shows it (empty where there
    // is none) and the result is cleared. An empty altitude empties the
    // display and changes nothing else.
    const Screen &recompute(const DisplayLocale &locale);
    // The result clearing: the sea-level display, the sentence and the
    // indicator go, the mean pressure stays.
    const Screen &clearResult();
    // What start-up shows of the history just opened: the recorded texts,
    // the sentence worded anew with its colour, and the indicator at its
    // recorded offset, where the recorded evaluation can be computed again;
    // else the input fields alone. The members take the numbers as the live
    // recomputation does.
    const Screen &restore(const DisplayLocale &locale);

    // The screen as the calls above left it, and as closing would record it.
    const Screen &screen() const { return m_screen; }

    // An evaluation of this run, with its sentence on the screen, is not yet
    // recorded, and the history can take it.
    bool pending() const;

    // Records the pending measurement onto the history on disk; empty when
    // none is pending. A saved one updates the members and is no longer
    // pending; one that could not be saved stays pending for the next try.
    std::optional<RecordResult> save(const Clock &now);
    // Closing, by the window, a signal or exit(): saves what is pending;
    // after it nothing is recorded any more. The first call alone saves.
    std::optional<RecordResult> close(const Clock &now);
    // Closed or reset: the session records nothing any more.
    bool hasEnded() const { return m_ended; }
    // The reset: deletes the history and, unless another window held it,
    // ends the session, so that nothing is recorded any more.
    ResetResult reset(int lockTimeoutMs = kHistoryLockTimeoutMs);

    // The statistics report; empty while no measurement has been recorded.
    std::optional<QString> statistics(QDate today, const DisplayLocale &locale) const;

    // Should the process end through exit() without the window closing, as
    // Qt ends it when the display connection breaks, what is pending then is
    // recorded with the system clock, and the outcome handed to `report`,
    // which the program installs to log a failure or a warning. For the
    // program's one session; a session that is destroyed first is forgotten.
    using ExitReport = void (*)(const RecordResult &recorded);
    void saveOnExit(ExitReport report);

private:
    static void exitHandler();
    OpenResult readHistory(const QDateTime &now) const;
    // The altitude into the members and, where there is one, the result.
    std::optional<Evaluation> storeNumbers();

    QString m_folder;
    QString m_filePath;
    Screen m_screen;
    bool m_unreadable = false; // start-up found the history unusable in place
    bool m_ended = false;      // closed or reset
    static inline Session *s_exitSession = nullptr;
    static inline ExitReport s_exitReport = nullptr;
};

} // namespace barovista
