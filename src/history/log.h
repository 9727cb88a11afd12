// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace barovista {

// What happens to the history where no box can tell the user: a save at
// exit(), a lock taken over. Warnings reach stderr; QT_LOGGING_RULES
// ("barovista.history.info=true") shows the rest.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

} // namespace barovista
