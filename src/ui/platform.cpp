// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform.h"

#include "ui/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>

namespace barovista {

Platform::Answer DesktopPlatform::showMessage(QWidget *parent, const MessageBox &box)
{
    const std::unique_ptr<QMessageBox> dialog = makeMessageBox(parent, box);
    dialog->exec();
    if (box.buttons == Buttons::Ok)
        return Answer::Ok;
    const QAbstractButton *clicked = dialog->clickedButton();
    return clicked && clicked->objectName() == QLatin1String("yes") ? Answer::Yes : Answer::No;
}

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

} // namespace barovista
