// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace barovista {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

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

namespace {

QString notAFileReason(const QString &filePath)
{
    return QFileInfo(filePath).isDir()
               ? QStringLiteral("An Stelle der Verlaufsdatei %1 steht ein Ordner.").arg(native(filePath))
               : QStringLiteral("An Stelle der Verlaufsdatei %1 steht keine gewöhnliche Datei.")
                     .arg(native(filePath));
}

LoadResult moveDamagedAside(const QString &filePath, const QDateTime &now, const QString &why)
{
    LoadResult result;
    const QString kept = moveAside(filePath, now);
    if (kept.isEmpty()) {
        result.status = LoadResult::Status::Unreadable;
        result.reason = QStringLiteral("Die Verlaufsdatei %1 ist unbrauchbar und konnte nicht "
                                       "beiseitegelegt werden: %2")
                            .arg(native(filePath), why);
        return result;
    }
    result.status = LoadResult::Status::Damaged;
    result.keptPath = kept;
    result.reason = QStringLiteral("Die Verlaufsdatei war unbrauchbar und wurde unter %1 "
                                   "aufbewahrt: %2")
                        .arg(native(kept), why);
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
        result.reason = notAFileReason(filePath);
        return result;
    };
    if (notAFile(filePath))
        return leftAlone();

    const auto damaged = [&](const QString &why) {
        if (damagedFile == DamagedFile::MoveAside)
            return moveDamagedAside(filePath, now, why);
        LoadResult result;
        result.status = LoadResult::Status::Damaged;
        result.reason = why;
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
        return damaged(QStringLiteral("Sie lässt sich nicht lesen (%1).").arg(openError));
    }
    // A record never takes more than this; a huge file is not loaded whole.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxRecordBytes));
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = file.errorString();
    file.close();
    if (readFailed) {
        return damaged(QStringLiteral("Sie lässt sich nicht lesen (%1).").arg(readError));
    }

    DecodeResult decoded = decodeRecord(bytes);
    if (!decoded.ok())
        return damaged(describeDecodeError(decoded));

    LoadResult result;
    result.status = LoadResult::Status::Loaded;
    result.record = std::move(decoded.record);
    return result;
}

SaveResult saveRecordFile(const QString &filePath, const Record &record)
{
    SaveResult result;
    const auto fail = [&](const QString &message, const QString &detail) {
        result.error = message.arg(native(filePath), detail);
        return result;
    };
    const QString cannotRead = QStringLiteral("Die Verlaufsdatei %1 konnte nicht gelesen werden: %2");
    const QString cannotWrite = QStringLiteral("Die Verlaufsdatei %1 konnte nicht geschrieben werden: %2");

    const QFileInfo info(filePath);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("Der Ordner %1 konnte nicht angelegt werden.").arg(native(folder));
        return result;
    }

    const QByteArray bytes = encodeRecord(record);

    // Whatever the old file held behind the new record stays there; without
    // reading it the tail would be lost, so an unreadable old file stops the save.
    QFile old;
    if (notAFile(filePath)) {
        result.error = notAFileReason(filePath);
        return result;
    }
    if (info.exists()) {
        QString openError;
        switch (openForReading(old, filePath, openError)) {
        case OpenOutcome::Opened:
            break;
        case OpenOutcome::NotAFile:
            result.error = notAFileReason(filePath);
            return result;
        case OpenOutcome::Failed:
            return fail(cannotRead, openError);
        }
    }

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(cannotWrite, file.errorString());
    if (file.write(bytes) != bytes.size())
        return fail(cannotWrite, file.errorString()); // the temporary file is discarded
    if (old.isOpen() && old.size() > bytes.size()) {
        if (!old.seek(bytes.size()))
            return fail(cannotRead, old.errorString());
        // In pieces, since the tail may be of any size.
        while (!old.atEnd()) {
            const QByteArray piece = old.read(64 * 1024);
            if (old.error() != QFileDevice::NoError)
                return fail(cannotRead, old.errorString());
            if (piece.isEmpty())
                break;
            if (file.write(piece) != piece.size())
                return fail(cannotWrite, file.errorString());
        }
    }
    old.close();
    // QSaveFile syncs the new file's bytes before it renames it over the
    // old one; the folder's entry for the new name is synced here, so that a
    // power cut after the save keeps the new record.
    if (!file.commit())
        return fail(cannotWrite, file.errorString());
    const QString syncError = syncFolder(folder);
    if (!syncError.isEmpty()) {
        result.oldKept = false;
        result.error = QStringLiteral("Die Verlaufsdatei %1 wurde geschrieben, aber nicht sicher auf "
                                      "dem Datenträger abgelegt: %2")
                           .arg(native(filePath), syncError);
        return result;
    }
    result.ok = true;
    return result;
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

int removeStaleTemporaries(const QString &filePath, const QDateTime &now)
{
    const QFileInfo info(filePath);
    const QRegularExpression temporary(QLatin1Char('^') + QRegularExpression::escape(info.fileName())
                                       + QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QFileInfoList entries = info.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (!temporary.match(entry.fileName()).hasMatch() || entry.isSymLink())
            continue;
        if (entry.lastModified().secsTo(now) < 60)
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

} // namespace barovista
