// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QUrl>

#include <memory>

class QDialog;
class QMessageBox;
class QWidget;

namespace barovista {

// What the program asks of the desktop that a test cannot do with a real
// screen: message boxes, the beep, opening a web address, showing a modal
// window, and the clock. Form1 owns one; tests put in a recording fake.
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
};

// The box DesktopPlatform::showMessage shows, built but not yet shown. Its
// lines never wrap: the box grows as wide as its longest line, up to the
// screen's available width. The buttons of a yes/no box are named "yes" and
// "no", the single button "ok".
std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, const Platform::MessageBox &box);

// The client rectangle of a window of the given client size and frame
// margins whose frame stands centred over the owner's frame, title bars
// included, and within the available area where the frame fits.
QRect centredOver(const QRect &ownerFrame, const QSize &client, const QMargins &frame,
                  const QRect &available);

// The frame margins a window will have: its own once it has been on screen,
// until then its owner's.
QMargins expectedFrame(const QWidget &window, const QWidget &owner);

// Places a window centred on the usable area of its screen before it is
// first shown. One larger than that area has its top-left corner, title bar
// included, in the area's top-left corner.
void centreOnScreen(QWidget &window);

// Places a window centred over its owner before it is shown. Its own frame
// is known only once it has been on screen; until then the owner's stands in
// for it, and the window is centred again as soon as its own frame is known,
// should that differ.
void centreOver(QWidget &window, const QWidget &owner);

} // namespace barovista
