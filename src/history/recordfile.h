// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/problem.h"
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
        Damaged,   // it was read whole, failed to decode and was moved aside (keptPath)
        Unreadable // left where it is: not a regular file, not readable just
                   // now, or damaged but it could not be moved aside
    };
    Status status = Status::Missing;
    Record record;
    QString keptPath; // where a damaged file was kept, in the form filePath has
    Problem reason;   // what was wrong, when not Loaded or Missing
};

// Reads the record. Anything in the file's place that is not a regular file
// (a folder, a FIFO, a socket, a device, also behind a link) is left alone and
// reported as Unreadable; reading never blocks on it. So is a file that cannot
// be opened or read just now. A damaged file (read whole, but its bytes are
// no record) is never overwritten: it is renamed beside the history file to
// "save.dat.beschaedigt-<yyyyMMdd-HHmmss of now>" (with "-2", "-3" … when
// taken), and the caller starts afresh.
// With DamagedFile::LeaveInPlace a damaged file is only reported (Damaged,
// no keptPath): for a reader that may not change the folder.
enum class DamagedFile { MoveAside, LeaveInPlace };
LoadResult loadRecordFile(const QString &filePath, const QDateTime &now,
                          DamagedFile damagedFile = DamagedFile::MoveAside);

struct SaveResult
{
    bool ok = false;
    Problem error;        // when not ok
    bool oldKept = false; // when not ok: there was a file, and it is still in place, unchanged
    Problem warning;      // when ok: saved, but its folder could not be synced
};

// Writes the record from byte 0, keeping whatever the old file held behind the
// new record's length. The new file replaces the old one whole (a temporary
// file in the same folder, then a rename), so a crash leaves either the old or
// the new bytes; the save counts as done once the file is on the disk and
// has replaced the old one. Every write and the sync are checked before the
// rename: a full disk leaves the old file byte for byte (oldKept). A folder
// whose entries cannot be synced after the rename (one that may not be
// opened, a file system that refuses it) leaves the save done, with a
// warning. Creates the folder when it is missing. Refuses to replace anything
// that is not a regular file.
SaveResult saveRecordFile(const QString &filePath, const Record &record);

// True when something other than a regular file (or a link to one) stands
// at the path: a folder, a FIFO, a socket, a device.
bool notAFile(const QString &filePath);
// What stands there then: a folder (FolderInPlace) or anything else (NotAFile).
Problem notAFileProblem(const QString &filePath);

enum class OpenOutcome { Opened, NotAFile, Failed };
// Opens the file for reading when it is a regular file, without blocking on
// anything else. On Failed, error says why.
OpenOutcome openForReading(QFile &file, const QString &filePath, QString &error);

// Creates the folder and any missing folders above it, each for the user
// alone (0700), and syncs the parent of every folder it made. True when the
// folder exists afterwards.
bool makeFolder(const QString &folder);

// Syncs a folder's entries to the disk; the error text, or empty.
QString syncFolder(const QString &folder);

// The calls through which a save reaches the disk. Tests put failing ones in
// their place (a short write, a sync that reports a lost write) to see each
// failure handled as a real disk would cause it.
struct DiskCalls
{
    qint64 (*write)(QFileDevice &file, const char *data, qint64 size); // may write less
    int (*syncData)(int fd);                                           // 0, or -1 and errno
    QString (*syncFolder)(const QString &folder);                      // after the rename
};
extern DiskCalls diskCalls;

} // namespace barovista
