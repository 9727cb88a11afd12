// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/datafolder.h"

#include <QDir>
#include <QFile>

namespace barovista {

namespace {

// A folder named in the environment, as the file system names it. Windows
// keeps its environment in UTF-16; read through the ANSI code page, a
// profile folder such as "Łukasz" would turn into "Lukasz", another folder.
QString environmentPath(const char *name)
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable(name);
#else
    return pathFromEnvironment(qgetenv(name));
#endif
}

// Only an absolute path names the same folder from wherever the program is
// started; a relative one would give every working folder its own history.
bool usable(const QString &path)
{
    return !path.isEmpty() && QDir::isAbsolutePath(path);
}

} // namespace

QString pathFromEnvironment(const QByteArray &bytes)
{
    // Bytes that are not a name in the file system's encoding (not UTF-8)
    // cannot be held in a QString: decoding replaces them, and the result
    // would be another folder. Such a value counts as unset.
    const QString decoded = QFile::decodeName(bytes);
    return QFile::encodeName(decoded) == bytes ? decoded : QString();
}

QString dataFolder()
{
    return dataFolderFrom(environmentPath("APPDATA"), environmentPath("XDG_DATA_HOME"), QDir::homePath());
}

QString dataFolderFrom(const QString &appData, const QString &xdgDataHome, const QString &home)
{
    if (usable(appData))
        return QDir::toNativeSeparators(appData + QLatin1String("/barovista"));

    // A relative XDG_DATA_HOME is invalid and to be ignored, as with any
    // other program that follows the base-directory rules.
    const QString base = usable(xdgDataHome) ? xdgDataHome : home + QLatin1String("/.local/share");
    return QDir::toNativeSeparators(base + QLatin1String("/barovista"));
}

QString historyFilePath(const QString &folder)
{
    return QDir::toNativeSeparators(folder + QLatin1String("/save.dat"));
}

} // namespace barovista
