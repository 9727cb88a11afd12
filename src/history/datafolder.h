// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace barovista {

// The data folder: APPDATA + separator + "barovista" where APPDATA is set and
// not empty, else the user's data folder ($XDG_DATA_HOME or ~/.local/share)
// + "/barovista". In native form.
QString dataFolder();
// The same from given environment values, for tests.
QString dataFolderFrom(const QByteArray &appData, const QByteArray &xdgDataHome, const QString &home);
// The history file in a data folder.
QString historyFilePath(const QString &folder);

} // namespace barovista
