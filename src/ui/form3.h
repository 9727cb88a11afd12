// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

namespace barovista {

class Platform;

// The product web page, scheme included. Label3 shows it in capitals without
// the scheme.
QString productUrl();

// The info window: name, version, rights, the link to the product page and
// the emblem.
class Form3 : public QDialog
{
    Q_OBJECT
public:
    Form3(QWidget *owner, Platform &platform);

    QLabel *Label1 = nullptr;   // the product name and version
    QLabel *Label2 = nullptr;   // rights line
    QLabel *Label3 = nullptr;   // the web address, a link
    QLabel *Picture2 = nullptr; // the emblem

    // Opens the product web page: a click on the address, Enter or Space on
    // it, or a screen reader's action.
    void Label3_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    Platform &m_platform;
    bool m_linkPressed = false; // the left button went down on Label3
};

} // namespace barovista
