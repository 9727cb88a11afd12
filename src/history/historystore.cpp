// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/historystore.h"

#include "history/recording.h"
#include "history/taggedvalue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace barovista {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Holds the history's lock for as long as it lives. The folder is created
// first, since the lock file lives in it; a reset in another window may
// remove the folder in between, which only costs another try.
class HistoryLock
{
public:
    HistoryLock(const QString &filePath, int timeoutMs) : m_lock(historyLockPath(filePath))
    {
        // Only a lock whose process is gone is stale; a window that hangs
        // keeps its lock, and the others wait, then give up.
        m_lock.setStaleLockTime(0);
        const QString folder = QFileInfo(filePath).absolutePath();
        for (int attempt = 0; attempt < 3 && !m_lock.isLocked(); ++attempt) {
            if (!QDir().mkpath(folder))
                break;
            if (m_lock.tryLock(timeoutMs) || m_lock.error() == QLockFile::LockFailedError)
                break;
        }
    }
    bool locked() const { return m_lock.isLocked(); }
    // Another process holds it; otherwise the lock could not be made at all
    // (no folder, no write permission), and the file operation itself will
    // meet and report the same obstacle.
    bool busy() const { return !locked() && m_lock.error() == QLockFile::LockFailedError; }
    void release() { m_lock.unlock(); }

private:
    QLockFile m_lock;
};

QString busyText(const QString &filePath)
{
    return QStringLiteral("Die Verlaufsdatei %1 wird gerade von einem anderen Barovista-Fenster "
                          "benutzt.")
        .arg(native(filePath));
}

Record newHistory(const QDateTime &now)
{
    return emptyRecord(toDaySerial(now.date()));
}

} // namespace

QString historyLockPath(const QString &filePath)
{
    return filePath + QStringLiteral(".lock");
}

OpenResult openHistory(const QString &filePath, const QDateTime &startedAt, int lockTimeoutMs)
{
    OpenResult result;
    result.saved.ok = true;
    HistoryLock lock(filePath, lockTimeoutMs);
    const bool mayWrite = !lock.busy();
    if (mayWrite)
        removeStaleTemporaries(filePath, QDateTime::currentDateTime());

    if (!mayWrite) {
        // Reading is safe without the lock (a save replaces the file whole);
        // what a damaged or missing file needs is left to closing.
        const LoadResult loaded = loadRecordFile(filePath, startedAt, DamagedFile::LeaveInPlace);
        if (loaded.status == LoadResult::Status::Loaded) {
            result.load = loaded;
            result.record = loaded.record;
        } else {
            result.record = newHistory(startedAt);
        }
        return result;
    }

    result.load = loadRecordFile(filePath, startedAt);
    switch (result.load.status) {
    case LoadResult::Status::Loaded:
        result.record = result.load.record;
        break;
    case LoadResult::Status::Unreadable:
        result.record = newHistory(startedAt);
        break;
    case LoadResult::Status::Missing:
    case LoadResult::Status::Damaged:
        // A new history that begins today.
        result.record = newHistory(startedAt);
        result.saved = saveRecordFile(filePath, result.record);
        break;
    }
    return result;
}

RecordResult recordOntoHistory(const QString &filePath, const Measurement &measurement, const Clock &now,
                               int lockTimeoutMs)
{
    RecordResult result;
    HistoryLock lock(filePath, lockTimeoutMs);
    if (lock.busy()) {
        result.status = RecordResult::Status::Busy;
        result.error = busyText(filePath);
        return result;
    }

    // The clock is read for the recording alone; a damaged file found now is
    // named by the system clock.
    const LoadResult loaded = loadRecordFile(filePath, QDateTime::currentDateTime());
    switch (loaded.status) {
    case LoadResult::Status::Loaded:
        result.record = loaded.record;
        break;
    case LoadResult::Status::Unreadable:
        result.status = RecordResult::Status::NotAFile;
        result.error = loaded.reason;
        return result;
    case LoadResult::Status::Damaged:
        result.damaged = loaded.reason;
        [[fallthrough]];
    case LoadResult::Status::Missing:
        // Deleted while the window was open: it stays deleted, and a new
        // history begins today with this measurement alone.
        result.record = newHistory(now());
        break;
    }

    result.record[RecordField::Tendenzlatte] = measurement.tendenzlatte;
    result.altitude = recordMeasurement(result.record, measurement.screen, now);
    const SaveResult saved = saveRecordFile(filePath, result.record);
    if (!saved.ok) {
        result.status = RecordResult::Status::Failed;
        result.error = saved.error;
        if (saved.oldKept)
            result.error += QStringLiteral("\r\nDie bisherige Verlaufsdatei ist unverändert.");
        return result;
    }
    result.status = RecordResult::Status::Saved;
    return result;
}

ResetResult deleteHistory(const QString &filePath, int lockTimeoutMs)
{
    ResetResult result;
    const QString folder = QFileInfo(filePath).absolutePath();
    {
        // The lock is let go before the folder is removed: its file lives there.
        HistoryLock lock(filePath, lockTimeoutMs);
        if (lock.busy()) {
            result.status = ResetResult::Status::Busy;
            result.error = busyText(filePath);
            return result;
        }
        if (notAFile(filePath)) {
            result.status = ResetResult::Status::NotAFile;
            result.error = QStringLiteral("An Stelle der Verlaufsdatei %1 steht keine gewöhnliche Datei; "
                                          "sie wurde nicht gelöscht.")
                               .arg(native(filePath));
            return result;
        }
        // A file that is already gone needs no deleting.
        QFile history(filePath);
        const QFileInfo info(filePath);
        if ((info.exists() || info.isSymLink()) && !history.remove()) {
            result.status = ResetResult::Status::Failed;
            result.error = QStringLiteral("Die Verlaufsdatei ") + native(filePath)
                           + QStringLiteral(" konnte nicht gelöscht werden: ") + history.errorString();
            return result;
        }
        lock.release();
    }
    // Only an empty folder is removed; whatever else the user keeps there stays.
    QDir().rmdir(folder);
    result.status = ResetResult::Status::Deleted;
    return result;
}

} // namespace barovista
