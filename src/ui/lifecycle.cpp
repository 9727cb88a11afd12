// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shutdown of the main window: the last screen restored from
// the session, and closing, the signals and the desktop session's end saving
// through it. The reset is with the menu entries in form1.cpp.

#include "messages/messages.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/platform.h"
#include "ui/scale.h"

#include <QCoreApplication>
#include <QLabel>

namespace barovista {

void Form1::Form1_Load()
{
    const OpenResult opened = m_session.open(m_platform->now());
    // The reason names the file and, for a damaged one, where it was kept.
    if (opened.load.status == LoadResult::Status::Damaged) {
        warn(damagedHistoryBox(opened.load.reason));
    } else if (opened.load.status == LoadResult::Status::Unreadable) {
        warn(unreadableHistoryBox(opened.load.reason));
    }
    if (!opened.saved.ok) {
        // Closing tries again, onto whatever history is there by then.
        warn(historyNotCreatedBox(opened.saved.error));
    }

    m_session.restore(m_locale);
    drawScreen();
}

void Form1::Form1_Unload()
{
    if (const std::optional<RecordResult> recorded = m_session.close([this] { return m_platform->now(); }))
        reportRecording(*recorded);
    closeAuxiliaryWindows();
}

void Form1::reportRecording(const RecordResult &recorded)
{
    // The session has let go of the lock, so no other window waits on the boxes.
    if (recorded.damaged)
        warn(damagedHistoryBox(recorded.damaged));
    if (recorded.status != RecordResult::Status::Saved)
        warn(notSavedBox(recorded));
    else if (recorded.warning)
        warn(problemText(recorded.warning));
}

void Form1::closeAuxiliaryWindows()
{
    if (m_form2)
        m_form2->close();
    if (m_form3)
        m_form3->close();
}

void Form1::endBySignal()
{
    // The first signal's shutdown may be showing a warning box; a second one
    // leaves it in place, and the program ends once the box is answered.
    if (m_session.hasEnded())
        return;
    close(); // shutdown, as the close button runs it
    m_platform->quit();
}

void Form1::commitSessionData()
{
    // Recorded once; only a new evaluation is recorded again at closing. A
    // save that failed (busy, a full disk) stays pending, so closing and the
    // exit handler try again.
    if (const std::optional<RecordResult> recorded = m_session.save([this] { return m_platform->now(); }))
        reportRecording(*recorded);
}

} // namespace barovista
