// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace barovista {

namespace {

// Renames the file beside itself under a name that says it is damaged and
// when it was found so; an existing name is never taken over. Returns the
// new path, or an empty text when the rename failed.
QString moveAside(const QString &filePath, const QDateTime &now)
{
    const QString base =
        filePath + QStringLiteral(".beschaedigt-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // QFile::rename refuses to replace an existing file, so a name taken
    // between the test and the rename only costs one more try.
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString candidate = attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
        if (QFile::rename(filePath, candidate))
            return candidate;
        if (!QFileInfo::exists(candidate))
            return {};
    }
    return {};
}

} // namespace

// A history file is a regular file, or a link to one. Anything else in its
// place (a folder, a FIFO, a socket, a device) is not ours to read or touch.
// What cannot be looked at (no permission) is left to the open, which fails
// and says why.
bool notAFile(const QString &filePath)
{
#ifdef Q_OS_UNIX
    struct stat status
    {};
    return ::stat(QFile::encodeName(filePath).constData(), &status) == 0 && !S_ISREG(status.st_mode);
#else
    const QFileInfo info(filePath);
    return info.exists() && !info.isFile();
#endif
}

Problem notAFileProblem(const QString &filePath)
{
    return {QFileInfo(filePath).isDir() ? Problem::What::FolderInPlace : Problem::What::NotAFile, filePath};
}

namespace {

LoadResult moveDamagedAside(const QString &filePath, const QDateTime &now, const DecodeFault &fault)
{
    LoadResult result;
    const QString kept = moveAside(filePath, now);
    if (kept.isEmpty()) {
        result.status = LoadResult::Status::Unreadable;
        result.reason = {Problem::What::DamagedNotMoved, filePath};
        result.reason.decode = fault;
        return result;
    }
    result.status = LoadResult::Status::Damaged;
    result.keptPath = kept;
    result.reason = {Problem::What::DamagedKeptAside, filePath};
    result.reason.otherPath = kept;
    result.reason.decode = fault;
    return result;
}

} // namespace

LoadResult loadRecordFile(const QString &filePath, const QDateTime &now, DamagedFile damagedFile)
{
    const QFileInfo info(filePath);
    if (!info.exists() && !info.isSymLink())
        return {};

    const auto leftAlone = [&] {
        // Not a file of ours: leave it where it is and let the user decide.
        LoadResult result;
        result.status = LoadResult::Status::Unreadable;
        result.reason = notAFileProblem(filePath);
        return result;
    };
    if (notAFile(filePath))
        return leftAlone();

    const auto damaged = [&](const DecodeFault &fault) {
        if (damagedFile == DamagedFile::MoveAside)
            return moveDamagedAside(filePath, now, fault);
        LoadResult result;
        result.status = LoadResult::Status::Damaged;
        result.reason = {Problem::What::Damaged, filePath};
        result.reason.decode = fault;
        return result;
    };

    // A file that cannot be opened or read just now (no permission, an I/O
    // error, a network home gone stale, too many open files) may be whole:
    // it stays where it is, untouched. Only bytes that were read whole and
    // fail to decode make a file damaged.
    const auto cannotRead = [&](const QString &why) {
        LoadResult result;
        result.status = LoadResult::Status::Unreadable;
        result.reason = {Problem::What::Unreadable, filePath};
        result.reason.systemText = why;
        return result;
    };

    QFile file;
    QString openError;
    switch (openForReading(file, filePath, openError)) {
    case OpenOutcome::Opened:
        break;
    case OpenOutcome::NotAFile:
        return leftAlone();
    case OpenOutcome::Failed:
        return cannotRead(openError);
    }
    // A record never takes more than this; a huge file is not loaded whole.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxRecordBytes));
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = file.errorString();
    file.close();
    if (readFailed)
        return cannotRead(readError);

    DecodeResult decoded = decodeRecord(bytes);
    if (!decoded.ok())
        return damaged(decoded);

    LoadResult result;
    result.status = LoadResult::Status::Loaded;
    result.record = std::move(decoded.record);
    return result;
}

namespace {

// Writes all of `bytes`. The file is unbuffered, so every write reaches the
// system at once and a full disk or a failing device shows in its result
// here, not in a flush that nobody checks. A short write is tried again, so
// that the error that stopped it is the one reported.
bool writeWhole(QSaveFile &file, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 now = diskCalls.write(file, bytes.constData() + written, bytes.size() - written);
        if (now <= 0)
            return false;
        written += now;
    }
    return true;
}

// Where the file really lives: a link is replaced in its target's folder, so
// that is the folder whose entries must reach the disk.
QString realFolder(const QString &filePath)
{
    const QFileInfo info(filePath);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
    return QFileInfo(target.isEmpty() ? filePath : target).absolutePath();
}

} // namespace

SaveResult saveRecordFile(const QString &filePath, const Record &record)
{
    SaveResult result;
    const auto fail = [&](Problem::What what, const QString &systemText) {
        result.error = {what, filePath};
        result.error.systemText = systemText;
        return result;
    };
    using What = Problem::What;

    const QFileInfo info(filePath);
    const QString folder = info.absolutePath();
    // Only a file that is there can be left unchanged by a failure.
    result.oldKept = info.isFile();
    if (!makeFolder(folder)) {
        result.error = {What::FolderNotCreated, filePath};
        result.error.otherPath = folder;
        return result;
    }

    const QByteArray bytes = encodeRecord(record);

    // Whatever the old file held behind the new record stays there; without
    // reading it the tail would be lost, so an unreadable old file stops the save.
    QFile old;
    if (notAFile(filePath)) {
        result.error = notAFileProblem(filePath);
        return result;
    }
    if (info.exists()) {
        QString openError;
        switch (openForReading(old, filePath, openError)) {
        case OpenOutcome::Opened:
            break;
        case OpenOutcome::NotAFile:
            result.error = notAFileProblem(filePath);
            return result;
        case OpenOutcome::Failed:
            return fail(What::OldNotOpened, openError);
        }
    }
#ifdef Q_OS_UNIX
    // QSaveFile refuses a file it may not write in words of its own, which
    // name no cause; the system's answer does (no permission, a read-only
    // file system).
    if (info.exists() && ::access(QFile::encodeName(filePath).constData(), W_OK) != 0)
        return fail(What::NotWritten, qt_error_string(errno));
#endif

    // Until commit() nothing replaces the old file: every failure before it
    // discards the temporary file and leaves the old bytes as they were.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(What::NotWritten, file.errorString());
    if (!writeWhole(file, bytes))
        return fail(What::NotWritten, file.errorString());
    if (old.isOpen() && old.size() > bytes.size()) {
        if (!old.seek(bytes.size()))
            return fail(What::OldTailNotRead, old.errorString());
        // In pieces, since the tail may be of any size.
        while (!old.atEnd()) {
            const QByteArray piece = old.read(64 * 1024);
            if (old.error() != QFileDevice::NoError)
                return fail(What::OldTailNotRead, old.errorString());
            if (piece.isEmpty())
                break;
            if (!writeWhole(file, piece))
                return fail(What::NotWritten, file.errorString());
        }
    }
    old.close();
#ifdef Q_OS_UNIX
    // commit() syncs as well but does not look at the result; a file system
    // that reports a lost write only now (over quota on a network home, an
    // I/O error) must stop the rename.
    if (diskCalls.syncData(file.handle()) != 0)
        return fail(What::NotWritten, qt_error_string(errno));
#endif
    if (!file.commit())
        return fail(What::NotWritten, file.errorString());
    // The new file stands in the old one's place: the save is done. The
    // folder's entry for it is synced too, so that a power cut keeps it; a
    // folder that refuses (one that may not be opened for reading, a file
    // system without the call) only leaves it less safe, and the user is told.
    result.ok = true;
    const QString folderSynced = realFolder(filePath);
    const QString syncError = diskCalls.syncFolder(folderSynced);
    if (!syncError.isEmpty()) {
        result.warning = {What::FolderNotSynced, filePath};
        result.warning.otherPath = folderSynced;
        result.warning.systemText = syncError;
    }
    return result;
}

bool makeFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList missing;
    for (QString at = path; !QFileInfo(at).exists() && !QFileInfo(at).isSymLink();) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QString &newFolder : std::as_const(missing)) {
#ifdef Q_OS_UNIX
        // For the user alone, as the data folders of the desktop are; a
        // folder made meanwhile by another window is as good.
        if (::mkdir(QFile::encodeName(newFolder).constData(), 0700) != 0 && errno != EEXIST)
            return false;
        // The new folder's entry in its parent reaches the disk before a
        // file is saved into it.
        syncFolder(QFileInfo(newFolder).path());
#else
        QDir().mkdir(newFolder);
#endif
    }
    return QFileInfo(path).isDir();
}

OpenOutcome openForReading(QFile &file, const QString &filePath, QString &error)
{
    file.setFileName(filePath);
#ifdef Q_OS_UNIX
    // Never block: opening a FIFO for reading would wait for a writer for
    // ever. The type is checked on what was opened, so nothing can be
    // swapped in between a check and the open.
    const int fd =
        ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int code = errno;
        if (code == ENXIO) // a socket
            return OpenOutcome::NotAFile;
        error = qt_error_string(code);
        return OpenOutcome::Failed;
    }
    struct stat status
    {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return OpenOutcome::NotAFile;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return OpenOutcome::Failed;
    }
    return OpenOutcome::Opened;
#else
    if (notAFile(filePath))
        return OpenOutcome::NotAFile;
    if (file.open(QIODevice::ReadOnly))
        return OpenOutcome::Opened;
    error = file.errorString();
    return OpenOutcome::Failed;
#endif
}

namespace {

qint64 systemWrite(QFileDevice &file, const char *data, qint64 size)
{
    return file.write(data, size);
}

int systemSyncData(int fd)
{
#ifdef Q_OS_UNIX
    return ::fdatasync(fd);
#else
    Q_UNUSED(fd);
    return 0;
#endif
}

} // namespace

DiskCalls diskCalls = {&systemWrite, &systemSyncData, &syncFolder};

QString syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? QString() : qt_error_string(error);
#else
    // Windows has no handle on a folder to flush; the rename is journalled.
    Q_UNUSED(folder);
    return {};
#endif
}

} // namespace barovista
