#include "ui/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace barovista {

Platform::Answer DesktopPlatform::showMessage(QWidget *parent, const MessageBox &box)
{
    QMessageBox dialog(parent);
    dialog.setTextFormat(Qt::PlainText);
    dialog.setWindowTitle(box.title);
    // Qt breaks lines at LF; a CR would show as a stray glyph.
    QString shown = box.prompt;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    dialog.setText(shown);
    // The program breaks its lines itself; a report line must not wrap.
    if (auto *label = dialog.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
        label->setWordWrap(false);

    switch (box.icon) {
    case Icon::None: dialog.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: dialog.setIcon(QMessageBox::Information); break;
    case Icon::Warning: dialog.setIcon(QMessageBox::Warning); break;
    case Icon::Question: dialog.setIcon(QMessageBox::Question); break;
    }

    // German captions whatever the system language: Qt would show English
    // ones without loaded translations.
    if (box.buttons == Buttons::YesNo) {
        QPushButton *yes = dialog.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton *no = dialog.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        yes->setObjectName(QStringLiteral("yes"));
        no->setObjectName(QStringLiteral("no"));
        dialog.setDefaultButton(box.defaultButton == Answer::No ? no : yes);
        dialog.setEscapeButton(no);
        dialog.exec();
        return dialog.clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    QPushButton *ok = dialog.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    dialog.setDefaultButton(ok);
    dialog.setEscapeButton(ok);
    dialog.exec();
    return Answer::Ok;
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
