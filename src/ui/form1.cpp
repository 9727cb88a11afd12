// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include "history/statistics.h"
#include "messages/messages.h"
#include "pressure/inputfilter.h"
#include "ui/accessibility.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/placement.h"
#include "ui/platform.h"
#include "ui/product.h"
#include "ui/scale.h"
#include "ui/widgets.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace barovista {

Form1::Form1(std::unique_ptr<Platform> platform, const DisplayLocale &locale)
    : m_platform(platform ? std::move(platform) : std::make_unique<DesktopPlatform>()), m_locale(locale)
{
    initWindowResources();
    installAccessibility();
    buildWindow();
    connectHandlers();
}

Form1::~Form1()
{
    delete m_form2;
    delete m_form3;
    // The controls outlive this destructor by a moment (QWidget deletes its
    // children later) and may still see focus events or change their texts:
    // detach them from the handlers of an object that is no longer a Form1,
    // and whose session is gone.
    for (InputField *field : {eingabe1, eingabe2, eingabe3}) {
        field->keyDown = nullptr;
        field->keyPress = nullptr;
        field->keyUp = nullptr;
        field->focusChanged = nullptr;
    }
    for (QObject *child : findChildren<QObject *>()) {
        child->removeEventFilter(this);
        child->disconnect(this);
    }
}

Form2 *Form1::helpWindow() const
{
    return m_form2;
}

Form3 *Form1::infoWindow() const
{
    return m_form3;
}

void Form1::connectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Ende, &QAction::triggered, this, &Form1::Ende_Click);
    connect(stat, &QAction::triggered, this, &Form1::stat_Click);
    connect(Hilfe, &QAction::triggered, this, &Form1::Hilfe_Click);
    connect(Info, &QAction::triggered, this, &Form1::Info_Click);

    eingabe1->keyDown = [this](int key) { eingabe1_KeyDown(key); };
    eingabe1->keyPress = [this](char16_t c) { return filteredKeyPress(altitudeFilter, eingabe1, c); };
    eingabe1->keyUp = [this](int key) { eingabe1_KeyUp(key); };
    eingabe2->keyDown = [this](int key) { eingabe2_KeyDown(key); };
    eingabe2->keyPress = [this](char16_t c) { return filteredKeyPress(pressureFilter, eingabe2, c); };
    eingabe2->keyUp = [this](int key) { eingabe2_KeyUp(key); };
    eingabe3->keyDown = [this](int key) { eingabe3_KeyDown(key); };
    eingabe3->keyPress = [this](char16_t c) { return filteredKeyPress(pressureFilter, eingabe3, c); };
    for (InputField *field : {eingabe1, eingabe2, eingabe3}) {
        field->focusChanged = [this, field](QFocusEvent *event) {
            syncFocus();
            // Qt selects the whole text when a field is tabbed into, after
            // the entry has placed the caret: place it again.
            const Qt::FocusReason reason = event->reason();
            const bool realEntry = event->gotFocus() && reason != Qt::ActiveWindowFocusReason
                                   && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason;
            if (realEntry && m_logicalFocus == field)
                focusEntry(field);
        };
    }

    for (QWidget *widget : {static_cast<QWidget *>(Command1), static_cast<QWidget *>(Command2),
                            static_cast<QWidget *>(anzeige1), static_cast<QWidget *>(anzeige2)})
        widget->installEventFilter(this);

    // What the user types or pastes reaches the session.
    const std::pair<InputField *, Session::Field> inputs[] = {{eingabe1, Session::Field::Altitude},
                                                              {eingabe2, Session::Field::Reading},
                                                              {eingabe3, Session::Field::WeatherService}};
    for (const auto &[field, which] : inputs)
        connect(field, &QLineEdit::textChanged, this,
                [this, which = which](const QString &text) { m_session.edited(which, text); });
    // The scale shows and names the sea-level pressure on screen.
    connect(anzeige2, &QLineEdit::textChanged, Frame2, &Scale::setReading);
}

// ---------------------------------------------------------------------------
// Evaluation and calibration

void Form1::warn(const QString &prompt)
{
    m_platform->showMessage(
        this, {prompt, kMainTitle, Platform::Buttons::Ok, Platform::Icon::Warning, Platform::Answer::Ok});
}

void Form1::refuse(Refusal refusal)
{
    warn(refusalBox(refusal));
    // The focus goes to the field to mend; beyond the formula, the altitude.
    switch (refusal) {
    case Refusal::ReadingMissing:
        focusTo(eingabe2);
        break;
    case Refusal::WeatherServiceMissing:
        focusTo(eingabe3);
        break;
    case Refusal::AltitudeMissing:
    case Refusal::BeyondFormula:
        focusTo(eingabe1);
        break;
    }
}

void Form1::Command1_Click()
{
    const Answer<EvaluationScreen> evaluated = m_session.evaluate(m_locale);
    if (evaluated.refused()) {
        refuse(evaluated.refusal());
        return;
    }
    drawScreen();
}

void Form1::Command2_Click()
{
    const Answer<Calibration> calibrated = m_session.calibrate();
    if (calibrated.refused()) {
        refuse(calibrated.refusal());
        return;
    }
    m_platform->showMessage(this, {calibrationReport(*calibrated, m_locale),
                                   titleOf(QStringLiteral("Kalibrierung")), Platform::Buttons::Ok,
                                   Platform::Icon::None, Platform::Answer::Ok});
}

void Form1::drawScreen()
{
    const Screen &screen = m_session.screen();
    const ScreenTexts &texts = screen.texts;
    // The fields hold what the user typed; only start-up gives them a text.
    for (const auto &[field, text] :
         {std::pair{eingabe1, &texts.eingabe1}, std::pair{eingabe2, &texts.eingabe2},
          std::pair{eingabe3, &texts.eingabe3}})
        if (field->text() != *text)
            field->setText(*text);
    anzeige1->setText(texts.anzeige1);
    anzeige2->setText(texts.anzeige2);
    if (anzeige4->text() != texts.anzeige4)
        setMessage(texts.anzeige4);
    if (screen.mark == Screen::Mark::None) {
        Frame2->hideIndicator();
        return;
    }
    const QColor colour = qColor(colourOf(screen.tendency));
    setColours(anzeige4, {{QPalette::WindowText, colour}});
    Frame2->setDeviation(screen.deviationLabel, colour);
    // The sea-level display has told the scale its text by now.
    Frame2->showIndicator(screen.indicatorOffset, screen.mark == Screen::Mark::OffScale);
}

// The sentence under the results. A screen reader says the field's name,
// "Ergebnis", and then the sentence itself, so it goes into the description
// too, and leaves it when the sentence does.
void Form1::setMessage(const QString &text)
{
    anzeige4->setText(text);
    // Whether the sentence wraps is decided from this text in the font the
    // label really got: a fallback font wider or taller than Arial must wrap
    // it rather than clip it.
    fitCaption(anzeige4);
    anzeige4->setAccessibleDescription(text);
}

// ---------------------------------------------------------------------------
// Menu

void Form1::Ende_Click()
{
    const Platform::Answer answer = m_platform->showMessage(
        this, {QStringLiteral("Möchten Sie die Statistik sowie sämtliche Eingaben löschen und   \r\n"
                              "das Programm beenden?  "),
               titleOf(QStringLiteral("Reset")), Platform::Buttons::YesNo, Platform::Icon::Question,
               Platform::Answer::Yes});
    if (answer != Platform::Answer::Yes || m_session.hasEnded())
        return;

    const ResetResult reset = m_session.reset();
    if (reset.status == ResetResult::Status::Busy) {
        // Nothing was deleted; the user may try again.
        warn(resetRefusedBox(reset));
        return;
    }
    // A file that stays would keep the history the user asked to delete: say so.
    if (reset.status != ResetResult::Status::Deleted)
        warn(resetRefusedBox(reset));

    closeAuxiliaryWindows();
    close();
    m_platform->quit();
}

void Form1::Hilfe_Click()
{
    if (!m_form2)
        m_form2 = new Form2(this);
    if (const QScreen *shownOn = screen())
        m_form2->fitInto(shownOn->availableGeometry(), expectedFrame(*m_form2, *this));
    centreOver(*m_form2, *this);
    m_platform->runModal(*m_form2);
}

void Form1::Info_Click()
{
    if (!m_form3)
        m_form3 = new Form3(this, *m_platform);
    centreOver(*m_form3, *this);
    m_platform->runModal(*m_form3);
}

void Form1::stat_Click()
{
    const QString title = titleOf(QStringLiteral("Statistik"));
    const std::optional<QString> report = m_session.statistics(m_platform->now().date(), m_locale);
    if (!report) {
        m_platform->showMessage(this, {noHistoryText(), title, Platform::Buttons::Ok,
                                       Platform::Icon::Information, Platform::Answer::Ok});
        return;
    }
    m_platform->showMessage(
        this, {*report, title, Platform::Buttons::Ok, Platform::Icon::None, Platform::Answer::Ok});
    focusTo(eingabe2);
}

// Every way out comes here: the close button, Alt+F4, a signal and the
// reset. The session's close is the one door: only its first call saves.
void Form1::closeEvent(QCloseEvent *event)
{
    Form1_Unload();
    event->accept();
}

} // namespace barovista
