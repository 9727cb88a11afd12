// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>

namespace barovista {

void DesktopPlatform::beep()
{
    QApplication::beep();
}

void DesktopPlatform::openUrl(const QUrl &url)
{
    // The result is deliberately ignored: a failure shows nothing.
    QDesktopServices::openUrl(url);
}

void DesktopPlatform::runModal(QDialog &dialog)
{
    dialog.exec();
}

QDateTime DesktopPlatform::now()
{
    return QDateTime::currentDateTime();
}

void DesktopPlatform::quit()
{
    QCoreApplication::exit(0);
}

} // namespace barovista
