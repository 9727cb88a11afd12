// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility.h"

#include "ui/line.h"
#include "ui/scale.h"

#include <QAccessibleWidget>
#include <QGroupBox>

namespace barovista {

namespace {

// A frame with its title as name. Its lines are left out of its children.
// Every frame of the windows gets this interface, whenever Qt first asks
// for it (a frame's title is announced while the frame is being built,
// before it has a name or lines).
class FrameAccessible final : public QAccessibleWidget
{
public:
    explicit FrameAccessible(QGroupBox *frame) : QAccessibleWidget(frame, QAccessible::Grouping) {}

    int childCount() const override { return int(children().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> shown = children();
        if (index < 0 || index >= shown.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(shown.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(children().indexOf(qobject_cast<QWidget *>(child->object())));
    }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty()) {
            QString title = frame()->title();
            return title.remove(QLatin1Char('&'));
        }
        if (t == QAccessible::Description) {
            if (const auto *scale = qobject_cast<const Scale *>(frame()))
                return scale->description();
        }
        return own;
    }

private:
    QGroupBox *frame() const { return static_cast<QGroupBox *>(widget()); }

    QList<QWidget *> children() const
    {
        QList<QWidget *> shown;
        for (QObject *object : frame()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !qobject_cast<Line *>(child))
                shown.append(child);
        }
        return shown;
    }
};

QAccessibleInterface *barovistaInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("QGroupBox"))
        return new FrameAccessible(static_cast<QGroupBox *>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(barovistaInterface);
        return true;
    }();
    (void)installed;
}

} // namespace barovista
