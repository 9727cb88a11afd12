// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/problem.h"
#include "history/recordfile.h"
#include "history/recording.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace barovista {

// The history file as several Barovista windows share it. Every change to
// the file (the first start's empty record, recording a measurement at
// closing, the reset) reads what is on disk now and writes it back while
// holding a lock file beside it ("save.dat.lock"), so two windows never
// overwrite each other's measurement and a deleted history stays deleted.
// The lock belongs to the process that took it; one left by a killed
// process is taken over at once, one older than kStaleLockMs or naming no
// holder at all soon after. When it cannot be had, the problem names the lock
// file, so that the user can be told which file to remove. None of these
// functions shows or words anything: they answer in values, and the messages
// layer words them for the window and the command line.

// How long to wait for another window that holds the lock.
inline constexpr int kHistoryLockTimeoutMs = 5000;
// A lock older than this is left over: every hold is one read-record-write
// of a few hundred bytes (with a tail of a gigabyte, a few seconds).
inline constexpr int kStaleLockMs = 30000;
// A lock file that names no holder is left over once it is this old.
inline constexpr int kNamelessLockStaleMs = 3000;

// The lock file that guards the history file at filePath.
QString historyLockPath(const QString &filePath);

// Called where a lock file that names no holder has been found and is about
// to be removed, under the removal guard: the moment at which another
// process may have taken the lock over. Tests act as that process here.
inline void (*beforeNamelessLockRemoval)(const QString &lockPath) = nullptr;

struct OpenResult
{
    LoadResult load;  // what was found; Missing and Damaged start afresh; Unreadable
                      // also when something other than a file stands at the
                      // lock's place: the history is read, but cannot be changed
    Record record;    // the history to go on with
    SaveResult saved; // the first start's empty record; ok when nothing was written
};

// Start-up: reads the history and,
// where there was none or a damaged one was kept aside, writes a new one
// that begins today. A folder or anything else that is not a regular file in
// the history's place, or a file that cannot be read just now, is left alone
// (Unreadable). Nothing beside the history is ever removed. Without the lock within
// lockTimeoutMs it reads all the same and leaves the writing to closing.
// Something other than a plain file at the lock's place (a FIFO, a folder, a
// link) is never opened: it is a lock that cannot be taken over.
OpenResult openHistory(const QString &filePath, const QDateTime &now,
                       int lockTimeoutMs = kHistoryLockTimeoutMs);

using Clock = std::function<QDateTime()>;

// What closing a window records: the screen at that moment and the indicator
// offset of its last evaluation.
struct Measurement
{
    ScreenTexts screen;
    TaggedValue tendenzlatte;
};

struct RecordResult
{
    enum class Status {
        Saved,     // recorded onto the history on disk and written
        Busy,      // another window held the lock: nothing written
        LeftAlone, // not a history file, or one that cannot be read now, or
                   // something other than a file at the lock's place: untouched
        Failed     // the file could not be written; the old one is unchanged
    };
    Status status = Status::Failed;
    Record record;        // the history as written (Saved)
    double altitude = 0;  // the altitude read from the screen, rounded
    Problem damaged;      // a damaged file found and kept aside
    Problem error;        // why nothing was written (not Saved)
    bool oldKept = false; // Failed: there was a file, and it is still in place, unchanged
    Problem warning;      // Saved, but its folder could not be synced
};

// Closing: under the lock, reads the history as it is on disk now, records
// the measurement onto it and writes it back. A history that is gone (reset
// by another window, deleted by the user) is begun anew today with just
// this measurement; a damaged one is kept aside first.
RecordResult recordOntoHistory(const QString &filePath, const Measurement &measurement, const Clock &now,
                               int lockTimeoutMs = kHistoryLockTimeoutMs);

struct ResetResult
{
    enum class Status {
        Deleted,  // the file is gone (or was gone already)
        Busy,     // another window held the lock: nothing deleted
        NotAFile, // not a history file, or not a file at the lock's place: left alone
        Failed    // it could not be deleted
    };
    Status status = Status::Failed;
    Problem error; // why nothing was deleted (not Deleted)
};

// The reset: deletes the history file under the lock, then the data folder
// when it is empty. Only a regular file (or a link to one) is deleted.
ResetResult deleteHistory(const QString &filePath, int lockTimeoutMs = kHistoryLockTimeoutMs);

} // namespace barovista
