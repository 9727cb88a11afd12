// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading and writing whole files in tests, for the programs with a window
// and those without one alike.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace barovista::testing {

// A file's bytes; a marker where it cannot be read, so that a missing file
// never compares equal to an empty one.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes the bytes in place of whatever the file held, creating its folder
// where it is missing.
inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace barovista::testing
