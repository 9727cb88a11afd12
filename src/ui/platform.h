// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

class QDialog;
class QWidget;

namespace barovista {

// What the program asks of the desktop that a test cannot do with a real
// screen: message boxes, the beep, opening a web address, showing a modal
// window, the clock, and ending the event loop. Form1 owns one; tests put in
// a recording fake.
class Platform
{
public:
    enum class Icon { None, Information, Warning, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct MessageBox
    {
        QString prompt; // CR LF between lines, exactly as the program forms it
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        Answer defaultButton = Answer::Ok;
    };

    virtual ~Platform() = default;

    virtual Answer showMessage(QWidget *parent, const MessageBox &box) = 0;
    virtual void beep() = 0;
    virtual void openUrl(const QUrl &url) = 0;
    // Shows a dialog modally and returns when it has been closed.
    virtual void runModal(QDialog &dialog) = 0;
    virtual QDateTime now() = 0;
    // Ends the program's event loops (a box's too) with status 0.
    virtual void quit() = 0;
};

// The real desktop.
class DesktopPlatform final : public Platform
{
public:
    Answer showMessage(QWidget *parent, const MessageBox &box) override;
    void beep() override;
    void openUrl(const QUrl &url) override;
    void runModal(QDialog &dialog) override;
    QDateTime now() override;
    void quit() override;
};

} // namespace barovista
