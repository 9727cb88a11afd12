// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/datafolder.h"

#include <QDir>
#include <QFile>

namespace barovista {

QString dataFolder()
{
    return dataFolderFrom(qgetenv("APPDATA"), qgetenv("XDG_DATA_HOME"), QDir::homePath());
}

QString dataFolderFrom(const QByteArray &appData, const QByteArray &xdgDataHome, const QString &home)
{
    if (!appData.isEmpty())
        return QDir::toNativeSeparators(QFile::decodeName(appData) + QLatin1String("/barovista"));

    // A relative XDG_DATA_HOME is invalid and to be ignored, as with any
    // other program that follows the base-directory rules.
    const QString xdg = QFile::decodeName(xdgDataHome);
    const QString base =
        !xdg.isEmpty() && QDir::isAbsolutePath(xdg) ? xdg : home + QLatin1String("/.local/share");
    return QDir::toNativeSeparators(base + QLatin1String("/barovista"));
}

QString historyFilePath(const QString &folder)
{
    return QDir::toNativeSeparators(folder + QLatin1String("/save.dat"));
}

} // namespace barovista
