// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form2.h"

#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextCursor>

#include <algorithm>

#include "ui/pictures.h"
#include "ui/product.h"
#include "ui/twips.h"
#include "ui/widgets.h"

namespace barovista {

namespace {

QSize designedSize()
{
    return {px(7950), px(5295)};
}

QRect designedText()
{
    return twipRect(120, 120, 7695, 5055);
}

QRect designedFocusHolder()
{
    return twipRect(6960, 960, 255, 285);
}

} // namespace

Form2::Form2(QWidget *owner)
    : QDialog(owner,
              // A normal window type, not Qt::Dialog: window managers leave
              // dialogs out of the taskbar, and this window belongs there.
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    initWindowResources();

    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(titleOf(QStringLiteral("Hilfe")));
    setWindowIcon(windowPicture());
    setModal(true);
    setFixedSize(designedSize());

    setColours(this, {{QPalette::Window, kWindowQColor}});
    setAutoFillBackground(true);

    // Text2 comes first: it is first in the tab order, and created before
    // Text1 it lies beneath it, out of sight. It only holds the focus so that
    // the help text opens without a caret in it.
    Text2 = new QLineEdit(QStringLiteral("Text2"), this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(designedFocusHolder());
    Text2->setAccessibleName(QStringLiteral("Hilfe"));
    Text2->setAccessibleDescription(QStringLiteral("Mit der Tabulatortaste gelangen Sie in den Hilfetext."));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(designedText());
    Text1->setAccessibleName(QStringLiteral("Hilfetext"));
    // The help text is broken by hand at about 100 characters. Arial at 10
    // pixels keeps every one of those lines whole: the widest takes 458 of the
    // 489 pixels the text has beside the scroll bar. The 11-pixel font of the
    // other captions would need 505 and break four lines raggedly.
    Text1->setFont(arial(FontSize::Help));
    Text1->setReadOnly(true);
    // Black on white, as designed, under any desktop theme.
    setColours(Text1, {{QPalette::Base, Qt::white}, {QPalette::Text, Qt::black}});
    // Locked, not inert: the caret can be placed and text selected and
    // copied, with the mouse and the keyboard.
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->verticalScrollBar()->setAccessibleName(QStringLiteral("Hilfetext blättern"));
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->viewport()->setCursor(Qt::ArrowCursor);
    QString shown = helpText();
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text1->setPlainText(shown);

    setTabOrder(Text2, Text1);
}

void Form2::fitInto(const QRect &available, const QMargins &frame)
{
    const QSize designed = designedSize();
    const QSize fitted = designed.boundedTo(available.size().shrunkBy(frame)).expandedTo(QSize(1, 1));
    setFixedSize(fitted);
    Text1->resize((designedText().size() - (designed - fitted)).expandedTo(QSize(1, 1)));
    // Text2 stays hidden beneath the help text.
    Text2->move(std::min(designedFocusHolder().x(), Text1->geometry().right() - Text2->width()), Text2->y());
}

QString Form2::helpText()
{
    initWindowResources();
    QFile file(QStringLiteral(":/help/hilfe.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void Form2::showEvent(QShowEvent *event)
{
    // Every showing starts afresh: text at the top, focus in Text2.
    if (!event->spontaneous()) {
        Text1->moveCursor(QTextCursor::Start);
        Text1->verticalScrollBar()->setValue(0);
        Text2->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

} // namespace barovista
