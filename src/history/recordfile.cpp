#include "history/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

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
    const QString base = filePath + QStringLiteral(".beschaedigt-")
                         + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // QFile::rename refuses to replace an existing file, so a name taken
    // between the test and the rename only costs one more try.
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString candidate =
            attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
        if (QFile::rename(filePath, candidate))
            return candidate;
        if (!QFileInfo::exists(candidate))
            return {};
    }
    return {};
}

LoadResult damaged(const QString &filePath, const QDateTime &now, const QString &why)
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

LoadResult loadRecordFile(const QString &filePath, const QDateTime &now)
{
    const QFileInfo info(filePath);
    if (!info.exists() && !info.isSymLink())
        return {};

    if (info.isDir()) {
        // Not a file of ours: leave it where it is and let the user decide.
        LoadResult result;
        result.status = LoadResult::Status::Unreadable;
        result.reason =
            QStringLiteral("An Stelle der Verlaufsdatei %1 steht ein Ordner.").arg(native(filePath));
        return result;
    }

    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return damaged(filePath, now,
                       QStringLiteral("Sie lässt sich nicht lesen (%1).").arg(file.errorString()));
    }
    // A record never takes more than this; a huge file is not loaded whole.
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxRecordBytes));
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = file.errorString();
    file.close();
    if (readFailed) {
        return damaged(filePath, now,
                       QStringLiteral("Sie lässt sich nicht lesen (%1).").arg(readError));
    }

    DecodeResult decoded = decodeRecord(bytes);
    if (!decoded.ok())
        return damaged(filePath, now, describeDecodeError(decoded));

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
    const QString cannotWrite =
        QStringLiteral("Die Verlaufsdatei %1 konnte nicht geschrieben werden: %2");

    const QFileInfo info(filePath);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("Der Ordner %1 konnte nicht angelegt werden.").arg(native(folder));
        return result;
    }

    const QByteArray bytes = encodeRecord(record);

    // Whatever the old file held behind the new record stays there; without
    // reading it the tail would be lost, so an unreadable old file stops the save.
    QFile old(filePath);
    if (info.exists() && !old.open(QIODevice::ReadOnly))
        return fail(cannotRead, old.errorString());

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
    if (!file.commit())
        return fail(cannotWrite, file.errorString());
    result.ok = true;
    return result;
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
