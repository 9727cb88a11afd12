// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace barovista {

// Where windows open: the main window on its screen, the help and info
// windows over the main window, always with the title bar on the screen.
// The client rectangle of a window of the given client size and frame
// margins whose frame stands centred over the owner's frame, title bars
// included, and within the available area where the frame fits.
QRect centredOver(const QRect &ownerFrame, const QSize &client, const QMargins &frame,
                  const QRect &available);

// The frame margins a window will have: its own once it has been on screen,
// until then its owner's.
QMargins expectedFrame(const QWidget &window, const QWidget &owner);

// Places a window centred on the usable area of its screen before it is
// first shown. One larger than that area has its top-left corner, title bar
// included, in the area's top-left corner.
void centreOnScreen(QWidget &window);

// Places a window centred over its owner before it is shown. Its own frame
// is known only once it has been on screen; until then the owner's stands in
// for it, and the window is centred again as soon as its own frame is known,
// should that differ.
void centreOver(QWidget &window, const QWidget &owner);

} // namespace barovista
