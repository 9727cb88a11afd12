// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/record.h"

#include <QString>

namespace barovista {

// What stood in the way of reading, saving or deleting the history file, as
// a code and the facts that belong to it. This layer only finds problems;
// the messages layer (messages/messages.h) words them for the window's boxes
// and the command line.
struct Problem
{
    enum class What {
        None,
        // The history file's place (path).
        FolderInPlace,    // a folder stands where the history file belongs
        NotAFile,         // something else that is not a regular file stands there
        Unreadable,       // the file cannot be opened or read just now (systemText)
        Damaged,          // read whole, but its bytes are no record (decode); left in place
        DamagedKeptAside, // the same, and the file was moved aside to otherPath
        DamagedNotMoved,  // the same, and it could not be moved aside: left in place
        // Saving the file at path.
        FolderNotCreated, // its folder otherPath could not be created
        OldNotOpened,     // the old file, whose tail is kept, could not be opened (systemText)
        OldTailNotRead,   // the old file's tail could not be read (systemText)
        NotWritten,       // the new file could not be written or put in place (systemText)
        FolderNotSynced,  // saved, but its folder otherPath could not be synced (systemText)
        // The lock of the history file at path.
        Busy,        // another process holds the lock file otherPath
        ForeignLock, // something other than a plain file stands at otherPath, the lock's place
        // Deleting the file at path.
        NotDeleted, // the system refused (systemText)
    };

    Problem() = default;
    Problem(What problem, const QString &filePath) : what(problem), path(filePath) {}

    What what = What::None;
    QString path;       // the history file
    QString otherPath;  // the folder, the kept file or the lock, where `what` names one
    QString systemText; // the system's own text for the cause, where `what` names one
    DecodeFault decode; // why the bytes are no record, for the damaged ones

    explicit operator bool() const { return what != What::None; }
};

} // namespace barovista
