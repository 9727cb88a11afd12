// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace barovista {

// Exit statuses of the options that answer without a window; 1 stays the
// window's "no display".
namespace shellstatus {
inline constexpr int kOk = 0;
inline constexpr int kBadInput = 2;    // an option's value or their combination
inline constexpr int kBusy = 3;        // the history stayed locked: nothing written
inline constexpr int kSaveFailed = 4;  // the history could not be written; the old one stays
inline constexpr int kNotAHistory = 5; // not a readable history file in its place: left alone
inline constexpr int kOutputLost = 6;  // the answer could not be written to stdout
} // namespace shellstatus

// The evaluation, the calibration, the statistics and the recording on the
// command line, answered on stdout and stderr with the very texts the window
// shows, without a window and without a display.
class ShellCommands
{
public:
    // Adds the options to the program's parser.
    explicit ShellCommands(QCommandLineParser &parser);

    // After parsing: whether any of these options was given.
    bool requested() const;
    // Answers them and returns the exit status.
    int run() const;

    // The usage line of every option, for a refused command line.
    static QString usage();

private:
    const QCommandLineParser &m_parser;
    QCommandLineOption m_altitude;
    QCommandLineOption m_pressure;
    QCommandLineOption m_weather;
    QCommandLineOption m_json;
    QCommandLineOption m_statistics;
    QCommandLineOption m_record;
};

// Writes text to stdout or stderr: UTF-16 to a Windows console, so that its
// umlauts show whatever the console's code page; UTF-8 everywhere else.
// Control characters other than the line break are written visibly
// ("\x1b"), so that no value or history text can drive the terminal.
// False when the text could not be written whole (a full disk, a closed
// output).
bool writeText(FILE *stream, const QString &text);

// Writes the answer to stdout. Where it cannot be written, says so on
// stderr and returns kOutputLost, else `status`.
int answer(const QString &text, int status = shellstatus::kOk);

} // namespace barovista
