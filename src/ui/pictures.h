// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace barovista {

// The window icon of the main and the help window: 48 pixels and twice that
// for scaled screens and large task switchers. Menus and launchers take the
// installed icons (up to 256 pixels and the SVG); a 256-pixel window icon
// would cost a decode and a quarter megabyte at every start.
inline QIcon windowPicture()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/barovista.png"));
    icon.addFile(QStringLiteral(":/icons/barovista@2x.png"));
    return icon;
}

} // namespace barovista
