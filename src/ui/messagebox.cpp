// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace barovista {

namespace {

// A message box whose lines stay whole. The program breaks its lines itself,
// but QMessageBox wraps a text wider than about 500 pixels (half the screen
// on a narrow one) and cuts the box at 1000 pixels or the screen width less
// 480, each time it lays itself out: on showing and on every layout request.
// So after each of these the text label is given the size of its unbroken
// lines, measured with its own font, and the box is widened to hold it, up to
// the screen's available width. A label of fixed size no longer asks its box
// for a new layout when its word wrap is switched, so the two do not take
// turns.
class WholeLineMessageBox final : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent *event) override
    {
        const bool handled = QMessageBox::event(event);
        if ((event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) && !m_fitting) {
            m_fitting = true;
            keepLinesWhole();
            m_fitting = false;
        }
        return handled;
    }

private:
    void keepLinesWhole()
    {
        auto *label = findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        if (!label || !layout())
            return;
        label->setWordWrap(false);
        QSize lines = label->sizeHint();
        const QRect available = screen() ? screen()->availableGeometry() : QRect();
        if (available.isValid()) {
            // A line wider than the screen itself stays one line too, cut at
            // the screen's edge.
            const int labelInLayout =
                label->minimumWidth() > 0 ? label->minimumWidth() : label->minimumSizeHint().width();
            const int besideLabel = layout()->totalMinimumSize().width() - labelInLayout;
            const int frame = frameGeometry().width() - this->width();
            lines.setWidth(std::min(lines.width(), available.width() - frame - besideLabel));
        }
        if (label->minimumSize() != lines || label->maximumSize() != lines)
            label->setFixedSize(lines);

        layout()->activate();
        const QSize needed = layout()->totalMinimumSize();
        const int width = available.isValid() ? std::min(needed.width(), available.width()) : needed.width();
        if (width <= this->width() && needed.height() <= height())
            return;
        // Grow about the centre the box was placed on, within the screen.
        const int grownBy = std::max(width - this->width(), 0);
        setFixedSize(std::max(width, this->width()), std::max(needed.height(), height()));
        if (isVisible() && grownBy > 0) {
            int left = x() - grownBy / 2;
            if (available.isValid())
                left =
                    std::clamp(left, available.left(),
                               std::max(available.left(), available.right() + 1 - frameGeometry().width()));
            move(left, y());
        }
    }

    bool m_fitting = false;
};

} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, const Platform::MessageBox &box)
{
    auto dialog = std::make_unique<WholeLineMessageBox>(parent);
    dialog->setTextFormat(Qt::PlainText);
    dialog->setWindowTitle(box.title);
    // Qt breaks lines at LF; a CR would show as a stray glyph.
    QString shown = box.prompt;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    dialog->setText(shown);

    switch (box.icon) {
    case Platform::Icon::None:
        dialog->setIcon(QMessageBox::NoIcon);
        break;
    case Platform::Icon::Information:
        dialog->setIcon(QMessageBox::Information);
        break;
    case Platform::Icon::Warning:
        dialog->setIcon(QMessageBox::Warning);
        break;
    case Platform::Icon::Question:
        dialog->setIcon(QMessageBox::Question);
        break;
    }

    // German captions whatever the system language: Qt would show English
    // ones without loaded translations.
    if (box.buttons == Platform::Buttons::YesNo) {
        QPushButton *yes = dialog->addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton *no = dialog->addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        yes->setObjectName(QStringLiteral("yes"));
        no->setObjectName(QStringLiteral("no"));
        dialog->setDefaultButton(box.defaultButton == Platform::Answer::No ? no : yes);
        dialog->setEscapeButton(no);
    } else {
        QPushButton *ok = dialog->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        ok->setObjectName(QStringLiteral("ok"));
        dialog->setDefaultButton(ok);
        dialog->setEscapeButton(ok);
    }
    return dialog;
}

// The desktop's message box is this box, shown modally.
Platform::Answer DesktopPlatform::showMessage(QWidget *parent, const MessageBox &box)
{
    const std::unique_ptr<QMessageBox> dialog = makeMessageBox(parent, box);
    dialog->exec();
    if (box.buttons == Buttons::Ok)
        return Answer::Ok;
    const QAbstractButton *clicked = dialog->clickedButton();
    return clicked && clicked->objectName() == QLatin1String("yes") ? Answer::Yes : Answer::No;
}

} // namespace barovista
