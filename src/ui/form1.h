// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Form1 is Barovista's main window. How one measurement travels through the
// program:
//   - the user types a barometer reading into eingabe2 and the altitude into
//     eingabe1; the input fields filter the keys and, while the altitude is
//     typed, show the mean pressure for it (ui/inputfield, Form1's key
//     handlers);
//   - Command1 evaluates: the formulas of pressure/formulas reduce the
//     reading to sea level, pressure/evaluation words the deviation from
//     1013.25 hPa and places the indicator latte on the scale in Frame2;
//   - Command2 compares the barometer with a weather service's value
//     (pressure/calibration) and reports it in a box;
//   - the window's Session (history/session) holds the 28 members and the
//     history file: at start-up (ui/lifecycle) the file is read into the
//     members and the last screen is restored; on closing after an
//     evaluation the session records the measurement (history/recording)
//     onto the file as it is on disk, under its lock (history/historystore).
//     The statistics report (history/statistics) works on the members, the
//     reset on the file.
// The window is built from its layout table in form1layout.cpp; what the
// buttons and menu entries do is in form1.cpp, the keys, the focus and the
// mouse in form1keys.cpp, start-up, shutdown and the signals that end the
// program in lifecycle.cpp. Every control carries its name as
// objectName. Everything that needs a real desktop (boxes, beep, browser,
// modal windows, clock, ending the event loop) goes through the Platform
// seam.

#include "history/session.h"
#include "pressure/evaluation.h"
#include "pressure/inputfilter.h"
#include "pressure/numbers.h"
#include "ui/platform.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class QAction;
class QColor;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace barovista {

class Form2;
class Form3;
class InputField;
class Line;
class Scale;

class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    // The window takes the platform seam; nullptr means the real desktop.
    explicit Form1(std::unique_ptr<Platform> platform = nullptr,
                   const DisplayLocale &locale = DisplayLocale::system());
    ~Form1() override;

    Platform &platform() { return *m_platform; }
    // The history and the 28 members.
    Session &session() { return m_session; }
    const Session &session() const { return m_session; }
    const DisplayLocale &displayLocale() const { return m_locale; }

    // Start-up: reads the history file through the session and restores
    // the last screen. Runs once, before the window is first shown.
    void Form1_Load();
    // Shutdown: records the measurement and writes the history file when an
    // evaluation was completed; closes the auxiliary windows.
    void Form1_Unload();

    // SIGTERM, SIGHUP or SIGINT: saves as closing the window does, then ends
    // the program with status 0. A signal that comes once the session has
    // ended (closing, a reset or an earlier signal shows a warning box)
    // changes nothing: the program ends once the box is answered.
    void endBySignal();
    // The desktop session is ending: the measurement is saved now, since the
    // process may not get to close its window. A later evaluation is saved
    // again at closing, and so is this one when its save failed.
    void commitSessionData();

    // Handlers of the controls, named by control and event.
    void Command1_Click();
    void Command2_Click();
    void Ende_Click();
    void stat_Click();
    void Hilfe_Click();
    void Info_Click();

    // True once closing, a signal or the reset has ended the session; closing
    // then saves nothing.
    bool hasEnded() const { return m_session.hasEnded(); }

    // The auxiliary windows while they exist.
    Form2 *helpWindow() const;
    Form3 *infoWindow() const;

    // Controls, by their names.
    QAction *Ende = nullptr;
    QAction *stat = nullptr;
    QAction *Hilfe = nullptr;
    QAction *Info = nullptr;

    QGroupBox *Frame1 = nullptr;
    Scale *Frame2 = nullptr; // the pressure scale
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame4 = nullptr;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *anzeige4 = nullptr;

    InputField *eingabe1 = nullptr;
    InputField *eingabe2 = nullptr;
    InputField *eingabe3 = nullptr;
    QLineEdit *anzeige1 = nullptr;
    QLineEdit *anzeige2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    Line *Line21 = nullptr;
    Line *Line22 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void connectHandlers();

    // Key handlers of the input fields.
    void eingabe1_KeyDown(int key);
    void eingabe1_KeyUp(int key);
    void eingabe2_KeyDown(int key);
    void eingabe2_KeyUp(int key);
    void eingabe3_KeyDown(int key);
    // A typed character through the field's filter; beeps where it says so.
    char16_t filteredKeyPress(InputFilter filter, InputField *field, char16_t character);

    void liveRecomputation();
    void resultClearing();

    // Focus entry and exit of the input fields.
    void focusTo(QWidget *widget);
    void syncFocus();
    void focusEntry(InputField *field);
    void focusExit(InputField *field);

    // Draws the session's screen: the fields, the displays, the sentence in
    // its colour and the scale. The one place the window takes them from.
    void drawScreen();
    void setMessage(const QString &text);

    bool menuBarKey(QKeyEvent *event);

    // Shows the boxes a recording's outcome calls for, in the words of the
    // messages layer.
    void reportRecording(const RecordResult &recorded);
    void closeAuxiliaryWindows();

    void warn(const QString &prompt);
    // A refused evaluation or calibration: the box says why, and the focus
    // goes to the field to mend.
    void refuse(Refusal refusal);

    std::unique_ptr<Platform> m_platform;
    DisplayLocale m_locale;
    Session m_session;
    QPointer<Form2> m_form2;
    QPointer<Form3> m_form3;
    QPointer<QWidget> m_logicalFocus;
};

} // namespace barovista
