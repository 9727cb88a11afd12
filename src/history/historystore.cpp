// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/historystore.h"

#include "history/log.h"
#include "history/recording.h"
#include "history/taggedvalue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace barovista {

namespace {

// Holds the history's lock for as long as it lives. The folder is created
// first, since the lock file lives in it; a reset in another window may
// remove the folder in between, which only costs another try.
class HistoryLock
{
public:
    HistoryLock(const QString &filePath, int timeoutMs) : m_lock(historyLockPath(filePath))
    {
        // A lock whose process is gone is taken over at once, and so is one
        // older than any save can take, whoever wrote it: a lock from another
        // host of a shared home, or one whose number now names another
        // process. A window that holds its lock for longer keeps it, since
        // the file's own lock (flock) still stands while it lives.
        m_lock.setStaleLockTime(kStaleLockMs);
        const QString folder = QFileInfo(filePath).absolutePath();
        QDeadlineTimer deadline(timeoutMs);
        for (int attempt = 0; attempt < 3 && !m_lock.isLocked(); ++attempt) {
            if (!makeFolder(folder))
                break;
            if (acquire(deadline) || m_lock.error() == QLockFile::LockFailedError || !m_foreign.isEmpty())
                break;
        }
    }
    bool locked() const { return m_lock.isLocked(); }
    // Something other than a plain file stands at the lock's place (or at its
    // removal guard's): its path, or empty.
    const QString &foreign() const { return m_foreign; }
    // Another process holds it; otherwise the lock could not be made at all
    // (no folder, no write permission, a full disk), and the file operation
    // itself will meet and report the same obstacle.
    bool busy() const { return !locked() && m_lock.error() == QLockFile::LockFailedError; }
    void release() { m_lock.unlock(); }

private:
    bool acquire(const QDeadlineTimer &deadline)
    {
        for (;;) {
            // QLockFile opens a lock it cannot take to read its holder, and
            // opens it again to remove it: a FIFO there would block either
            // open for ever. So it is looked at first, without opening it.
            for (const QString &path : {m_lock.fileName(), guardPath()}) {
                if (notPlainFile(path)) {
                    m_foreign = path;
                    return false;
                }
            }
            if (m_lock.tryLock(0))
                return true;
            if (m_lock.error() != QLockFile::LockFailedError)
                return false;
            if (holdsNothing() && removeNameless()) {
                qCInfo(lcHistory) << "removed a lock file that named no holder:" << m_lock.fileName();
                continue;
            }
            if (deadline.hasExpired())
                return false;
            QThread::msleep(
                static_cast<unsigned long>(qBound(qint64(1), deadline.remainingTime(), qint64(50))));
        }
    }

    // A lock file that names no holder (empty, or cut short by a full disk
    // or a crash while it was written) is stale once it is a few seconds
    // old; younger, its holder may still be writing it.
    bool holdsNothing() const
    {
        qint64 pid = 0;
        QString host;
        QString application;
        if (m_lock.getLockInfo(&pid, &host, &application))
            return false;
        const QFileInfo info(m_lock.fileName());
        return info.exists()
               && qAbs(info.lastModified().msecsTo(QDateTime::currentDateTime())) >= kNamelessLockStaleMs;
    }

    // QLockFile guards its own removal of a stale lock with this second lock,
    // so that two processes never remove at once; a removal of ours takes it
    // too. Under it the lock is looked at again: another process may have
    // removed the nameless one and taken a live lock at the same path since.
    QString guardPath() const { return m_lock.fileName() + QStringLiteral(".rmlock"); }
    bool removeNameless()
    {
        QLockFile guard(guardPath());
        if (!guard.tryLock(0))
            return false;
        if (beforeNamelessLockRemoval)
            beforeNamelessLockRemoval(m_lock.fileName());
        return holdsNothing() && m_lock.removeStaleLockFile();
    }

    static bool notPlainFile(const QString &path)
    {
#ifdef Q_OS_UNIX
        struct stat status
        {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode);
#else
        const QFileInfo info(path);
        return info.isSymLink() || (info.exists() && !info.isFile());
#endif
    }

    QLockFile m_lock;
    QString m_foreign;
};

// Another process holds the lock.
Problem busy(const QString &filePath)
{
    Problem problem(Problem::What::Busy, filePath);
    problem.otherPath = historyLockPath(filePath);
    return problem;
}

// Something other than a plain file stands at the lock's place, foreignPath.
Problem foreignLock(const QString &foreignPath, const QString &filePath)
{
    Problem problem(Problem::What::ForeignLock, filePath);
    problem.otherPath = foreignPath;
    return problem;
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
    if (lock.busy() || !lock.foreign().isEmpty()) {
        // Reading is safe without the lock (a save replaces the file whole);
        // what a damaged or missing file needs is left to closing.
        // One that is left alone (not a file, not readable now) is reported
        // as at any start.
        const LoadResult loaded = loadRecordFile(filePath, startedAt, DamagedFile::LeaveInPlace);
        if (loaded.status == LoadResult::Status::Loaded || loaded.status == LoadResult::Status::Unreadable)
            result.load = loaded;
        result.record = loaded.status == LoadResult::Status::Loaded ? loaded.record : newHistory(startedAt);
        // A lock that can never be had: this session cannot change the file.
        if (!lock.foreign().isEmpty()) {
            result.load.status = LoadResult::Status::Unreadable;
            result.load.reason = foreignLock(lock.foreign(), filePath);
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
        result.error = busy(filePath);
        return result;
    }
    if (!lock.foreign().isEmpty()) {
        result.status = RecordResult::Status::LeftAlone;
        result.error = foreignLock(lock.foreign(), filePath);
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
        result.status = RecordResult::Status::LeftAlone;
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
        result.oldKept = saved.oldKept;
        return result;
    }
    result.status = RecordResult::Status::Saved;
    result.warning = saved.warning;
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
            result.error = busy(filePath);
            return result;
        }
        if (!lock.foreign().isEmpty()) {
            result.status = ResetResult::Status::NotAFile;
            result.error = foreignLock(lock.foreign(), filePath);
            return result;
        }
        if (notAFile(filePath)) {
            result.status = ResetResult::Status::NotAFile;
            result.error = notAFileProblem(filePath);
            return result;
        }
        // A file that is already gone needs no deleting.
        QFile history(filePath);
        const QFileInfo info(filePath);
        if ((info.exists() || info.isSymLink()) && !history.remove()) {
            result.status = ResetResult::Status::Failed;
            result.error = {Problem::What::NotDeleted, filePath};
            result.error.systemText = history.errorString();
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
