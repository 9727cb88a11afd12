// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/platform.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

namespace barovista::testing {

// Records what the program asks of the desktop and answers as the test says.
// Nothing ever blocks: modal windows are shown, recorded and left open for
// the test to inspect.
class FakePlatform final : public Platform
{
public:
    QList<MessageBox> boxes;
    QList<QUrl> openedUrls;
    QStringList modalWindows;
    int beeps = 0;
    int quits = 0;
    QList<Answer> answers;                  // answers to the next boxes, in order
    std::function<void(QDialog &)> onModal; // runs while a modal window is "open"
    std::function<void(const MessageBox &)> onMessage;
    QDateTime clock = QDateTime(QDate(2026, 12, 7), QTime(10, 15, 0));
    int clockStepSeconds = 0; // the clock advances by this much on each read

    Answer showMessage(QWidget *, const MessageBox &box) override
    {
        boxes.append(box);
        if (onMessage)
            onMessage(box);
        if (!answers.isEmpty())
            return answers.takeFirst();
        return box.buttons == Buttons::YesNo ? box.defaultButton : Answer::Ok;
    }
    void beep() override { ++beeps; }
    void openUrl(const QUrl &url) override { openedUrls.append(url); }
    void runModal(QDialog &dialog) override
    {
        modalWindows.append(dialog.objectName());
        dialog.show();
        if (onModal)
            onModal(dialog);
    }
    void quit() override { ++quits; }
    QDateTime now() override
    {
        const QDateTime current = clock;
        clock = clock.addSecs(clockStepSeconds);
        return current;
    }
};

} // namespace barovista::testing
