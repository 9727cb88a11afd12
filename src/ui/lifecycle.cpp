// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, shutdown and reset of the main window: everything that touches
// the history file.

#include "history/datafolder.h"
#include "history/historystore.h"
#include "history/log.h"
#include "history/recordfile.h"
#include "history/recording.h"
#include "pressure/formulas.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/inputfield.h"
#include "ui/line.h"
#include "ui/platform.h"

#include <QCoreApplication>
#include <QLabel>

#include <cmath>
#include <cstdlib>

namespace barovista {

void Form1::Form1_Load()
{
    saveok = 0;
    const QString folder = dataFolder();
    pfad = TaggedValue::fromText(folder);

    const OpenResult opened = openHistory(historyFilePath(folder), m_platform->now());
    // The reason names the file and, for a damaged one, where it was kept.
    if (opened.load.status == LoadResult::Status::Damaged) {
        warn(opened.load.reason + QStringLiteral("\r\nBarovista beginnt eine neue Statistik."));
    } else if (opened.load.status == LoadResult::Status::Unreadable) {
        m_historyUnwritable = true;
        warn(opened.load.reason
             + QStringLiteral("\r\nMessungen können in dieser Sitzung nicht gespeichert werden."));
    }
    setFromRecord(opened.record);
    if (!opened.saved.ok) {
        warn(QStringLiteral("Die Verlaufsdatei konnte nicht angelegt werden: ") + opened.saved.error
             + QStringLiteral("\r\nMessungen können in dieser Sitzung nicht gespeichert werden."));
    }

    eingabe1->setText(hoehe.toText(m_locale));
    eingabe2->setText(luftdruck.toText(m_locale));
    anzeige1->setText(mitte.toText(m_locale));
    anzeige2->setText(meer.toText(m_locale));
    setMessage(infotext.toText(m_locale));
    eingabe3->setText(kali.toText(m_locale));

    const double altitude = readLeadingNumber(eingabe1->text());
    const double reading = readLeadingNumber(eingabe2->text());
    const std::optional<Evaluation> result = evaluate(altitude, reading);
    const bool computable = result && std::isfinite(result->tendenz);
    storeEvaluation(altitude, computable ? result : std::nullopt);
    if (computable)
        applyDeviationMessage(result->tendenz);
    // The saved offset moves the indicator from its design position.
    placeIndicator(tendenzlatte.toNumber(), computable && scale::isOffScale(result->tendenz));

    // No saved evaluation, or one that cannot be computed again: a blank screen.
    if (hoehe.equalsEmptyText() || !computable) {
        range->hide();
        setMessage(QString());
        anzeige2->setText(QString());
        anzeige1->setText(QString());
        hideIndicator();
    }
    if (anzeige4->text().isEmpty())
        hideIndicator();
}

void Form1::Form1_Unload()
{
    saveMeasurement();
    closeAuxiliaryWindows();
}

bool Form1::measurementToSave() const
{
    // Start-up said that this session cannot save; a second box would only
    // repeat it.
    return !anzeige4->text().isEmpty() && saveok == 1 && !m_historyUnwritable && !m_ended;
}

Measurement Form1::currentMeasurement() const
{
    return {{eingabe1->text(), eingabe2->text(), eingabe3->text(), anzeige1->text(), anzeige2->text(),
             anzeige4->text()},
            tendenzlatte};
}

bool Form1::saveMeasurement()
{
    m_exitMeasurement.reset();
    if (!measurementToSave())
        return true;
    const QString folder = dataFolder();
    pfad = TaggedValue::fromText(folder);
    const RecordResult recorded = recordOntoHistory(historyFilePath(folder), currentMeasurement(),
                                                    [this] { return m_platform->now(); });
    if (recorded.status == RecordResult::Status::Saved) {
        setFromRecord(recorded.record);
        eingabe_hoehe = TaggedValue::fromDouble(recorded.altitude);
    }
    // The boxes come after the lock is let go, so no other window waits on them.
    if (!recorded.damaged.isEmpty())
        warn(recorded.damaged + QStringLiteral("\r\nBarovista beginnt eine neue Statistik."));
    if (recorded.status != RecordResult::Status::Saved)
        warn(QStringLiteral("Die Messung konnte nicht gespeichert werden: ") + recorded.error);
    return recorded.status == RecordResult::Status::Saved;
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
    if (m_endingBySignal)
        return;
    m_endingBySignal = true;
    if (!m_ended) {
        close(); // shutdown, as the close button runs it
        m_ended = true;
    }
    QCoreApplication::exit(0);
}

void Form1::commitSessionData()
{
    if (m_unloaded || !measurementToSave())
        return;
    // Recorded once; only a new evaluation is recorded again at closing. A
    // save that failed (busy, a full disk) keeps the measurement pending, so
    // closing and the exit handler try again.
    if (saveMeasurement())
        saveok = 0;
    prepareExitSave();
}

void Form1::keepMeasurementOnExit()
{
    static bool registered = false;
    s_exitSaveWindow = this;
    m_exitFile = historyFilePath(dataFolder());
    // Registered once the history has been opened, so that what the save
    // needs of Qt's own statics already exists and outlives the handler.
    if (!registered) {
        // The category exists before the handler is registered, so it
        // outlives the handler that may use it.
        lcHistory();
        registered = std::atexit(&Form1::saveOnExit) == 0;
    }
    prepareExitSave();
}

void Form1::prepareExitSave()
{
    if (s_exitSaveWindow != this)
        return;
    if (measurementToSave() && !m_unloaded)
        m_exitMeasurement = currentMeasurement();
    else
        m_exitMeasurement.reset();
}

// Runs inside exit(): no event loop, no boxes. It only records the prepared
// measurement onto the file, under the lock and crash-safely, as closing would.
void Form1::saveOnExit()
{
    Form1 *window = s_exitSaveWindow;
    if (!window || !window->m_exitMeasurement)
        return;
    const Measurement measurement = *window->m_exitMeasurement;
    window->m_exitMeasurement.reset();
    s_exitSaveWindow = nullptr;
    const RecordResult recorded =
        recordOntoHistory(window->m_exitFile, measurement, [] { return QDateTime::currentDateTime(); });
    // No box can be shown any more: stderr is the only place left to say it.
    if (recorded.status != RecordResult::Status::Saved)
        qCWarning(lcHistory).noquote()
            << "Die Messung konnte beim Beenden nicht gespeichert werden:" << recorded.error;
}

} // namespace barovista
