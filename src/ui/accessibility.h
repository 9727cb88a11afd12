// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace barovista {

// What a screen reader gets beyond Qt's own accessible interfaces:
//   - a frame reports its captions, fields and buttons, but not the lines
//     drawn on it (the ticks and spine of the scale, the separators of the
//     results), which are pictures, not objects to review one by one;
//   - the scale frame Frame2 describes where its indicator stands
//     (Scale::description).
// The web address of the info window is a link whose action opens it; Form3
// installs that interface itself.
// Installs the interfaces once per process; call it before the windows
// create their controls, since Qt keeps the interface it first made.
void installAccessibility();

} // namespace barovista
