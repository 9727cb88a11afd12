// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QMargins>
#include <QRect>

class QLineEdit;
class QPlainTextEdit;

namespace barovista {

// The help window: the German help text, read-only, scrollable.
class Form2 : public QDialog
{
    Q_OBJECT
public:
    explicit Form2(QWidget *owner);

    QPlainTextEdit *Text1 = nullptr; // the help text
    QLineEdit *Text2 = nullptr;      // holds the focus when the window opens

    // The help text as shipped in the resources, CR LF line breaks.
    static QString helpText();

    // Takes its designed size, or on a screen too small for that the usable
    // area less the frame; the help text then scrolls in a smaller box.
    void fitInto(const QRect &available, const QMargins &frame);

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace barovista
