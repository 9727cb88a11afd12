// Start-up, shutdown and reset of the main window: everything that touches
// the history file.

#include "history/datafolder.h"
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
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include <cmath>

namespace barovista {

void Form1::Form1_Load()
{
    saveok = 0;
    const QString folder = dataFolder();
    pfad = TaggedValue::fromText(folder);
    const QString file = historyFilePath(folder);

    const QDateTime now = m_platform->now();
    removeStaleTemporaries(file, QDateTime::currentDateTime());
    LoadResult loaded = loadRecordFile(file, now);
    // The reason names the file and, for a damaged one, where it was kept.
    if (loaded.status == LoadResult::Status::Damaged) {
        warn(loaded.reason + QStringLiteral("\r\nBarovista beginnt eine neue Statistik."));
    } else if (loaded.status == LoadResult::Status::Unreadable) {
        m_historyUnwritable = true;
        warn(loaded.reason
             + QStringLiteral("\r\nMessungen können in dieser Sitzung nicht gespeichert werden."));
    }
    if (loaded.status == LoadResult::Status::Loaded) {
        setFromRecord(loaded.record);
    } else {
        // First start: a new history that begins today.
        datestart = TaggedValue::fromDate(toDaySerial(now.date()));
        const Record fresh = emptyRecord(datestart.doubleValue());
        setFromRecord(fresh);
        if (loaded.status != LoadResult::Status::Unreadable) {
            const SaveResult saved = saveRecordFile(file, fresh);
            if (!saved.ok) {
                warn(QStringLiteral("Die Verlaufsdatei konnte nicht angelegt werden: ") + saved.error
                     + QStringLiteral("\r\nMessungen können in dieser Sitzung nicht gespeichert werden."));
            }
        }
    }

    eingabe1->setText(hoehe.toText(m_locale));
    eingabe2->setText(luftdruck.toText(m_locale));
    anzeige1->setText(mitte.toText(m_locale));
    anzeige2->setText(meer.toText(m_locale));
    setMessage(infotext.toText(m_locale));
    eingabe3->setText(kali.toText(m_locale));

    // The saved offset moves the indicator from its design position.
    const double offset = tendenzlatte.toNumber();
    latte->setY1(scale::movedY(latte->Y1(), offset));
    latte->setY2(scale::movedY(latte->Y2(), offset));

    const double altitude = readLeadingNumber(eingabe1->text());
    const double reading = readLeadingNumber(eingabe2->text());
    eingabe_hoehe = TaggedValue::fromDouble(altitude);
    const std::optional<Evaluation> result = evaluate(altitude, reading);
    const bool computable = result && std::isfinite(result->tendenz);
    if (computable) {
        normaldruck_meer = TaggedValue::fromDouble(result->meanPressure);
        tendenz = TaggedValue::fromDouble(result->tendenz);
        applyDeviationMessage(result->tendenz);
    }

    setLabelTop(Label13, latte->Y1() - scale::kLabel13Above);
    setLabelTop(Label14, m_label13Top + scale::kLabel14Below);
    setCaption(Label13, anzeige2->text());

    if (computable && scale::isOffScale(result->tendenz)) {
        latte->hide();
        range->show();
        Label13->hide();
        Label14->hide();
    }
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
    // Start-up said that this session cannot save; a second box would only
    // repeat it.
    if (!anzeige4->text().isEmpty() && saveok == 1 && !m_historyUnwritable) {
        Record record = toRecord();
        const ScreenTexts screen{eingabe1->text(), eingabe2->text(), eingabe3->text(),
                                 anzeige1->text(), anzeige2->text(), anzeige4->text()};
        const double altitude = recordMeasurement(record, screen, [this] { return m_platform->now(); });
        setFromRecord(record);
        eingabe_hoehe = TaggedValue::fromDouble(altitude);

        const QString folder = dataFolder();
        pfad = TaggedValue::fromText(folder);
        const SaveResult saved = saveRecordFile(historyFilePath(folder), toRecord());
        if (!saved.ok) {
            warn(QStringLiteral("Die Messung konnte nicht gespeichert werden: ") + saved.error
                 + QStringLiteral("\r\nDie bisherige Verlaufsdatei ist unverändert."));
        }
    }
    if (m_form2)
        m_form2->close();
    if (m_form3)
        m_form3->close();
}

void Form1::Ende_Click()
{
    const Platform::Answer answer = m_platform->showMessage(
        this, {QStringLiteral("Möchten Sie die Statistik sowie sämtliche Eingaben löschen und   \r\n"
                              "das Programm beenden?  "),
               QStringLiteral("Barovista 1.1 - Reset"), Platform::Buttons::YesNo, Platform::Icon::Question,
               Platform::Answer::Yes});
    if (answer != Platform::Answer::Yes)
        return;

    const QString folder = dataFolder();
    xxpfad = TaggedValue::fromText(historyFilePath(folder));
    QFile history(xxpfad.textValue());
    // A file that is already gone needs no deleting. One that stays would
    // keep the history the user asked to delete: say so.
    if (history.exists() && !history.remove()) {
        warn(QStringLiteral("Die Verlaufsdatei ") + QDir::toNativeSeparators(history.fileName())
             + QStringLiteral(" konnte nicht gelöscht werden: ") + history.errorString());
    }
    // Only an empty folder is removed; whatever else the user keeps there stays.
    QDir().rmdir(pfad.textValue());

    if (m_form2)
        m_form2->close();
    if (m_form3)
        m_form3->close();

    m_ended = true;
    emit ended();
    close();
    QCoreApplication::exit(0);
}

} // namespace barovista
