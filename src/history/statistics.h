// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/record.h"

#include <QDate>
#include <QString>
#include <optional>

namespace barovista {

// The seven lines of the statistics report, joined by CR LF; empty when no
// measurement has been recorded yet.
std::optional<QString> statisticsReport(const Record &record, QDate today, const DisplayLocale &locale);

// What the statistics say instead while no measurement has been recorded.
QString noHistoryText();

} // namespace barovista
