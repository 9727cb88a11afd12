// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTranslator;

namespace barovista {

// Loads Qt's own texts in German (the edit menu of the input fields): from
// the system's Qt translations where they are installed, else from the copy
// built into the program, which the Windows build carries since no Qt is
// installed beside it. False when neither is there.
bool loadQtTexts(QTranslator &translator);

} // namespace barovista
