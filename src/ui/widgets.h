// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the three windows share: their colours, their fonts, the caption
// factory and the pictures' resources.

#include "pressure/evaluation.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

#include <initializer_list>
#include <utility>

class QLabel;
class QWidget;

namespace barovista {

inline QColor qColor(const Rgb &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// The fixed window colour of all three windows, and the text colours for
// pressures above and below the standard pressure.
inline const QColor kWindowQColor = qColor(kWindowColour);
inline const QColor kBlue = qColor(kAboveColour);
inline const QColor kRed = qColor(kBelowColour);

// Arial at pixel sizes, so the text does not depend on the screen's dpi.
enum class FontSize { Help = 10, Small = 11, Medium = 13, Large = 16, Huge = 19 };
QFont arial(FontSize size, bool bold = false);

// Captions wrap at blanks when they are wider than their box. Qt's own word
// wrap would also break a caption that fits to the pixel, so a one-line
// caption wraps only when its text really is wider.
void fitCaption(QLabel *label);

// Gives a widget these colours in its palette, whatever the desktop theme.
void setColours(QWidget *widget, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours);

// A plain-text caption, named, placed at its geometry in logical pixels and
// aligned to the top.
QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, QRect geometry,
                  const QFont &font, Qt::Alignment horizontal = Qt::AlignLeft);

// The pictures live in the static window library; each window initialises
// them, which keeps them linked in wherever a window is used.
void initWindowResources();

} // namespace barovista
