// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/messages.h"

#include <QDir>

#include <cerrno>
#include <utility>

namespace barovista {

namespace {

using What = Problem::What;

// The sentence that a box adds on a line of its own: Barovista starts afresh.
QString withNewHistory(const QString &text)
{
    return text + QStringLiteral("\r\nBarovista beginnt eine neue Statistik.");
}

// The command line's words for a measurement that was not recorded, and why.
QString notSaved(const QString &why)
{
    return oneLine(QStringLiteral("Die Messung wurde nicht gespeichert: ") + why);
}

} // namespace

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString explainedCause(const QString &systemText)
{
#ifdef Q_OS_UNIX
    static const std::pair<int, const char *> kCauses[] = {
        {ENOSPC, "Der Datenträger ist voll"},
        {EDQUOT, "Das Speicherkontingent (Quota) ist ausgeschöpft"},
        {EACCES, "Keine Berechtigung"},
        {EPERM, "Keine Berechtigung"},
        {EROFS, "Das Dateisystem ist schreibgeschützt"},
    };
    for (const auto &[code, german] : kCauses) {
        if (systemText == qt_error_string(code))
            return QString::fromUtf8(german) + QStringLiteral(" (") + systemText + QLatin1Char(')');
    }
#endif
    return systemText;
}

QString describeDecodeError(const DecodeFault &fault)
{
    QString what;
    switch (fault.error) {
    case DecodeError::None:
        return {};
    case DecodeError::Truncated:
        what = QStringLiteral("Die Datei endet vorzeitig");
        break;
    case DecodeError::UnknownTag:
        what = QStringLiteral("Unbekannte Typkennung");
        break;
    case DecodeError::TextPastEnd:
        what = QStringLiteral("Ein Text reicht über das Dateiende hinaus");
        break;
    case DecodeError::UnusableValue:
        what = QStringLiteral("Ein Wert ist von unbrauchbarer Art oder Größe");
        break;
    case DecodeError::NotANumber:
        what = QStringLiteral("Eine Zahl ist ungültig oder unendlich");
        break;
    case DecodeError::AltitudeRange:
        what = QStringLiteral("Die Höhe liegt außerhalb des berechenbaren Bereichs");
        break;
    case DecodeError::DateRange:
        what = QStringLiteral("Ein Datum liegt außerhalb der Jahre 100 bis 9999");
        break;
    }
    return QStringLiteral("%1 (%2. Wert „%3“, ab Byte %4).")
        .arg(what)
        .arg(static_cast<int>(fault.field) + 1)
        .arg(QLatin1String(recordFieldName(fault.field)))
        .arg(static_cast<qulonglong>(fault.offset));
}

QString problemText(const Problem &problem)
{
    const QString file = native(problem.path);
    const QString other = native(problem.otherPath);
    switch (problem.what) {
    case What::None:
        break;
    case What::FolderInPlace:
        return QStringLiteral("An Stelle der Verlaufsdatei %1 steht ein Ordner.").arg(file);
    case What::NotAFile:
        return QStringLiteral("An Stelle der Verlaufsdatei %1 steht keine gewöhnliche Datei.").arg(file);
    case What::Unreadable:
        return QStringLiteral("Die Verlaufsdatei %1 lässt sich nicht lesen (%2).")
            .arg(file, problem.systemText);
    case What::Damaged:
        return QStringLiteral("Die Verlaufsdatei %1 ist beschädigt: %2")
            .arg(file, describeDecodeError(problem.decode));
    case What::DamagedKeptAside:
        return QStringLiteral("Die Verlaufsdatei war unbrauchbar und wurde unter %1 "
                              "aufbewahrt: %2")
            .arg(other, describeDecodeError(problem.decode));
    case What::DamagedNotMoved:
        return QStringLiteral("Die Verlaufsdatei %1 ist unbrauchbar und konnte nicht "
                              "beiseitegelegt werden: %2")
            .arg(file, describeDecodeError(problem.decode));
    case What::FolderNotCreated:
        return QStringLiteral("Der Ordner %1 konnte nicht angelegt werden.").arg(other);
    case What::OldNotOpened:
        return QStringLiteral("Die Verlaufsdatei %1 konnte nicht gelesen werden: %2")
            .arg(file, explainedCause(problem.systemText));
    case What::OldTailNotRead:
        // The failed read's own text, as it is.
        return QStringLiteral("Die Verlaufsdatei %1 konnte nicht gelesen werden: %2")
            .arg(file, problem.systemText);
    case What::NotWritten:
        return QStringLiteral("Die Verlaufsdatei %1 konnte nicht geschrieben werden: %2")
            .arg(file, explainedCause(problem.systemText));
    case What::FolderNotSynced:
        return QStringLiteral("Die Verlaufsdatei %1 wurde gespeichert, aber ihr Ordner %2 ließ "
                              "sich nicht auf den Datenträger übertragen: %3.\r\nNach einem "
                              "Stromausfall könnte die neue Fassung fehlen.")
            .arg(file, other, explainedCause(problem.systemText));
    case What::Busy:
        return QStringLiteral("Die Verlaufsdatei %1 wird gerade von einem anderen Barovista-Fenster "
                              "benutzt.\r\nIst kein anderes Barovista-Fenster offen, löschen Sie bitte die "
                              "Sperrdatei %2.")
            .arg(file, other);
    case What::ForeignLock:
        return QStringLiteral("An Stelle der Sperrdatei %1 steht keine gewöhnliche Datei; solange sie dort "
                              "steht, kann die Verlaufsdatei %2 nicht geändert werden.")
            .arg(other, file);
    case What::NotDeleted:
        return QStringLiteral("Die Verlaufsdatei ") + file + QStringLiteral(" konnte nicht gelöscht werden: ")
               + problem.systemText;
    }
    return {};
}

QString recordingFailureText(const RecordResult &recorded)
{
    QString text = problemText(recorded.error);
    if (recorded.oldKept)
        text += QStringLiteral("\r\nDie bisherige Verlaufsdatei ist unverändert.");
    return text;
}

QString damagedHistoryBox(const Problem &damaged)
{
    return withNewHistory(problemText(damaged));
}

QString unreadableHistoryBox(const Problem &reason)
{
    return problemText(reason)
           + QStringLiteral("\r\nMessungen können in dieser Sitzung nicht gespeichert werden.");
}

QString historyNotCreatedBox(const Problem &error)
{
    return QStringLiteral("Die Verlaufsdatei konnte nicht angelegt werden: ") + problemText(error)
           + QStringLiteral("\r\nBeim Schließen versucht Barovista erneut, eine Messung dieser Sitzung "
                            "zu speichern; ist die Ursache bis dahin behoben (etwa wieder Platz auf dem "
                            "Datenträger), wird sie gespeichert.");
}

QString notSavedBox(const RecordResult &recorded)
{
    return QStringLiteral("Die Messung konnte nicht gespeichert werden: ") + recordingFailureText(recorded);
}

QString resetRefusedBox(const ResetResult &reset)
{
    switch (reset.status) {
    case ResetResult::Status::Deleted:
        break;
    case ResetResult::Status::Busy:
        // Nothing was deleted; the user may try again.
        return problemText(reset.error) + QStringLiteral("\r\nDie Statistik wurde nicht gelöscht.");
    case ResetResult::Status::NotAFile:
        if (reset.error.what == What::ForeignLock)
            return problemText(reset.error) + QStringLiteral("\r\nDie Verlaufsdatei wurde nicht gelöscht.");
        // A folder or anything else in the file's place, in the same words.
        return QStringLiteral("An Stelle der Verlaufsdatei %1 steht keine gewöhnliche Datei; "
                              "sie wurde nicht gelöscht.")
            .arg(native(reset.error.path));
    case ResetResult::Status::Failed:
        return problemText(reset.error);
    }
    return {};
}

QString refusalBox(Refusal refusal)
{
    switch (refusal) {
    case Refusal::AltitudeMissing:
        return QStringLiteral("Bitte geben Sie die aktuelle Höhe in Metern ein, auf der Sie sich   \r\n"
                              "gegenwärtig befinden.");
    case Refusal::ReadingMissing:
        return QStringLiteral("Bitte geben Sie den aktuellen Luftdruck ein, den Ihr Barometer anzeigt.");
    case Refusal::WeatherServiceMissing:
        return QStringLiteral("Bitte geben Sie den aktuellen Luftdruck ein, der von einem   \r\n"
                              "Wetterdienst für Ihren gegenwärtigen Standort ausgewiesen wird.");
    case Refusal::BeyondFormula:
        break;
    }
    return QStringLiteral("Für diese Höhe kann der Luftdruck nicht berechnet werden.   \r\n"
                          "Bitte geben Sie eine Höhe zwischen 0 und 9999 Metern ein.");
}

QString oneLine(const QString &boxText)
{
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return text;
}

QString problemLine(const Problem &problem)
{
    return oneLine(problemText(problem));
}

QString damagedHistoryLine(const Problem &damaged)
{
    return oneLine(damagedHistoryBox(damaged));
}

QString notSavedLine(const Problem &reason)
{
    return notSaved(problemText(reason));
}

QString notSavedLine(const RecordResult &recorded)
{
    return notSaved(recordingFailureText(recorded));
}

QString notComputableLine()
{
    return QStringLiteral("Für diese Werte kann der Luftdruck nicht berechnet werden.");
}

QString outputLostLine(int error)
{
    const QString cause = error == EBADF    ? QStringLiteral(": Die Ausgabe ist geschlossen")
                          : error == ENOSPC ? QStringLiteral(": Der Datenträger ist voll")
                          : error != 0      ? QStringLiteral(": ") + qt_error_string(error)
                                            : QString();
    return QStringLiteral("Die Antwort konnte nicht ausgegeben werden") + cause + QLatin1Char('.');
}

QString exitRecordingLog(const RecordResult &recorded)
{
    if (recorded.status != RecordResult::Status::Saved)
        return QStringLiteral("Die Messung konnte beim Beenden nicht gespeichert werden: ")
               + recordingFailureText(recorded);
    return problemText(recorded.warning);
}

} // namespace barovista
