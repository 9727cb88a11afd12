// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/log.h"

namespace barovista {

Q_LOGGING_CATEGORY(lcHistory, "barovista.history", QtWarningMsg)

} // namespace barovista
