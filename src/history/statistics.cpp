// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/statistics.h"

#include "pressure/numbers.h"

#include <QStringList>

namespace barovista {

std::optional<QString> statisticsReport(const Record &record, QDate today, const DisplayLocale &locale)
{
    if (record[RecordField::Lastmess].equalsEmptyText())
        return std::nullopt;

    const auto text = [&](RecordField field) { return record[field].toText(locale); };

    const QStringList lines = {
        QStringLiteral("LUFTDRUCK-STATISTIK "),
        QStringLiteral("Zeitraum: ") + text(RecordField::Datestart) + QStringLiteral(" bis ")
            + formatDate(toDaySerial(today), locale) + QStringLiteral(" "),
        QString(),
        QStringLiteral("Letzte Messung:    ") + text(RecordField::Lastmess) + QStringLiteral(" / absolut:  ")
            + text(RecordField::AbsolutLastmess) + QStringLiteral("  hPa  (")
            + text(RecordField::Datelastmess) + QStringLiteral(", ") + text(RecordField::Timelastmess)
            + QStringLiteral(") "),
        QString(),
        QStringLiteral("Maximalwert:    ") + text(RecordField::Maxmeer) + QStringLiteral("  hPa / absolut:  ")
            + text(RecordField::AbsolutMaxmeer) + QStringLiteral("  hPa  (") + text(RecordField::Datemaxmeer)
            + QStringLiteral(", ") + text(RecordField::Timemaxmeer) + QStringLiteral(") "),
        QStringLiteral("Minimalwert:    ") + text(RecordField::Minmeer) + QStringLiteral("  hPa / absolut:  ")
            + text(RecordField::AbsolutMinmeer) + QStringLiteral("  hPa  (") + text(RecordField::Dateminmeer)
            + QStringLiteral(", ") + text(RecordField::Timeminmeer) + QStringLiteral(") "),
    };

    return lines.join(QStringLiteral("\r\n"));
}

QString noHistoryText()
{
    return QStringLiteral("Keine historischen Daten vorhanden!");
}

} // namespace barovista
