// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/record.h"

#include <QDateTime>
#include <QFile>
#include <QString>

namespace barovista {

// Reading and writing the history file "save.dat" in the data folder.
struct LoadResult
{
    enum class Status {
        Loaded,    // the file was read and decoded
        Missing,   // there is no file: a first start
        Damaged,   // it was moved aside (keptPath) because it cannot be used
        Unreadable // it exists but could not be read or moved aside
    };
    Status status = Status::Missing;
    Record record;
    QString keptPath; // where a damaged file was kept, in the form filePath has
    QString reason;   // German, for the user, when not Loaded or Missing
};

// Reads the record. Anything in the file's place that is not a regular file
// (a folder, a FIFO, a socket, a device, also behind a link) is left alone and
// reported as Unreadable; reading never blocks on it. A damaged file is never overwritten: it is renamed
// beside the history file to "save.dat.beschaedigt-<yyyyMMdd-HHmmss of now>" (with
// "-2", "-3" … when taken), and the caller starts afresh. A folder standing
// where the file belongs is left alone and reported as Unreadable.
// With DamagedFile::LeaveInPlace a damaged file is only reported (Damaged,
// no keptPath): for a reader that may not change the folder.
enum class DamagedFile { MoveAside, LeaveInPlace };
LoadResult loadRecordFile(const QString &filePath, const QDateTime &now,
                          DamagedFile damagedFile = DamagedFile::MoveAside);

struct SaveResult
{
    bool ok = false;
    QString error;       // German, for the user
    bool oldKept = true; // when not ok: the old file is still in place, unchanged
};

// Writes the record from byte 0, keeping whatever the old file held behind the
// new record's length. The new file replaces the old one whole (a temporary
// file in the same folder, then a rename), so a crash leaves either the old or
// the new bytes; the save counts as done only once the file and its folder
// entry are on the disk. Creates the folder when it is missing. Refuses to
// replace anything that is not a regular file.
SaveResult saveRecordFile(const QString &filePath, const Record &record);

// True when something other than a regular file (or a link to one) stands
// at the path: a folder, a FIFO, a socket, a device.
bool notAFile(const QString &filePath);

enum class OpenOutcome { Opened, NotAFile, Failed };
// Opens the file for reading when it is a regular file, without blocking on
// anything else. On Failed, error says why.
OpenOutcome openForReading(QFile &file, const QString &filePath, QString &error);

// Syncs a folder's entries to the disk; the error text, or empty.
QString syncFolder(const QString &folder);

// Removes what a save that was killed midway leaves behind: the temporary
// file beside the history file ("save.dat." and six letters or digits),
// when it is older than a minute, so that it cannot belong to a save under
// way. Returns how many were removed.
int removeStaleTemporaries(const QString &filePath, const QDateTime &now);

} // namespace barovista
