// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's words for what went wrong, in one place: the history's
// problems (history/problem.h) and the outcomes of start-up, recording and
// the reset, worded for the main window's boxes and for the command line's
// lines on stderr, and the prompts that refuse an evaluation. The window and
// the command line word some things differently (a box breaks its lines with
// "\r\n", a line on stderr is one line; "konnte nicht gespeichert werden" in
// a box, "wurde nicht gespeichert" on the command line); both forms are made
// here. QtCore only.

#include "history/historystore.h"
#include "history/problem.h"
#include "history/record.h"
#include "history/session.h"

#include <QString>

namespace barovista {

// A path as the user's system writes it (backslashes on Windows).
QString native(const QString &path);

// The system's text for a failure, in German where its cause is a known one
// (a full disk, a quota, no permission, a read-only file system), with the
// system's own text kept as a detail behind it; any other text as it is.
QString explainedCause(const QString &systemText);

// Why a history file's bytes are no record: the fault, the value (its number
// and its member's name) and the byte where that value begins.
QString describeDecodeError(const DecodeFault &fault);

// The sentence that tells the user of a problem; empty for none.
QString problemText(const Problem &problem);

// Why a recording wrote nothing, and where there was a file, that it is unchanged.
QString recordingFailureText(const RecordResult &recorded);

// The main window's boxes.

// Start-up or closing found a damaged history and kept it aside.
QString damagedHistoryBox(const Problem &damaged);
// Start-up found no usable history in its place; nothing is recorded in this run.
QString unreadableHistoryBox(const Problem &reason);
// Start-up could not write the new history.
QString historyNotCreatedBox(const Problem &error);
// Closing, or the desktop session's end, could not record the measurement.
QString notSavedBox(const RecordResult &recorded);
// The reset deleted nothing (Busy), or could not delete the history.
QString resetRefusedBox(const ResetResult &reset);

// Why an evaluation or a calibration was refused: the field left empty, or
// an altitude the formulas cannot take.
QString refusalBox(Refusal refusal);

// The command line's lines on stderr, each one line, without the program's
// name in front and the line break behind.

// The same words as the box or the problem's sentence, on one line.
QString oneLine(const QString &boxText);
QString problemLine(const Problem &problem);
QString damagedHistoryLine(const Problem &damaged);
// The measurement was not recorded: nothing readable in the history's place.
QString notSavedLine(const Problem &reason);
// The measurement was not recorded: the recording's problem.
QString notSavedLine(const RecordResult &recorded);
// The values given have no result in the formulas.
QString notComputableLine();
// The answer could not be written to stdout; `error` is the errno of the write.
QString outputLostLine(int error);

// What a recording made inside exit(), where no box can be shown any more,
// has to say on the log: a failure, or a saved one's warning. Empty where
// there is nothing to say.
QString exitRecordingLog(const RecordResult &recorded);

} // namespace barovista
