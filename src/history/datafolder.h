// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace barovista {

// The data folder: APPDATA + separator + "barovista" where APPDATA is set to
// an absolute path, else the user's data folder ($XDG_DATA_HOME when it is
// absolute, or ~/.local/share) + "/barovista". In native form.
QString dataFolder();
// The same from given environment values, for tests.
QString dataFolderFrom(const QString &appData, const QString &xdgDataHome, const QString &home);
// A path from the bytes of an environment variable, decoded as file names
// are; empty when the bytes are no valid name in that encoding.
QString pathFromEnvironment(const QByteArray &bytes);
// The history file in a data folder.
QString historyFilePath(const QString &folder);

} // namespace barovista
