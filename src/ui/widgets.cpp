// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets.h"

#include <QFontMetrics>
#include <QLabel>

static void initResourcesOfLibrary()
{
    Q_INIT_RESOURCE(resources);
}

namespace barovista {

QFont arial(FontSize size, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(size));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void fitCaption(QLabel *label)
{
    const QFontMetrics metrics(label->font());
    const bool severalLines = label->height() >= 2 * metrics.height();
    label->setWordWrap(severalLines || metrics.horizontalAdvance(label->text()) > label->width());
}

void setColours(QWidget *widget, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours)
{
    QPalette palette = widget->palette();
    for (const auto &[role, colour] : colours)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, QRect geometry,
                  const QFont &font, Qt::Alignment horizontal)
{
    // Named before it has a text: a screen reader's view of a label is made
    // when its text is first set, and some labels are told apart by name.
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setWordWrap(true);
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setFont(font);
    label->setGeometry(geometry);
    fitCaption(label);
    return label;
}

void initWindowResources()
{
    initResourcesOfLibrary();
}

} // namespace barovista
