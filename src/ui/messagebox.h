// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/platform.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace barovista {

// The box DesktopPlatform::showMessage shows, built but not yet shown. Its
// lines never wrap: the box grows as wide as its longest line, up to the
// screen's available width. The buttons of a yes/no box are named "yes" and
// "no", the single button "ok".
std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, const Platform::MessageBox &box);

} // namespace barovista
