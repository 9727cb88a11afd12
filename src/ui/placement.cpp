// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/placement.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace barovista {

QRect centredOver(const QRect &ownerFrame, const QSize &client, const QMargins &frame, const QRect &available)
{
    QRect placed(QPoint(), client.grownBy(frame));
    // QRect::center() rounds down twice; centre on the exact middle instead.
    placed.moveTopLeft(QPoint(ownerFrame.left() + (ownerFrame.width() - placed.width()) / 2,
                              ownerFrame.top() + (ownerFrame.height() - placed.height()) / 2));
    if (available.isValid()) {
        placed.moveLeft(std::clamp(placed.left(), available.left(),
                                   std::max(available.left(), available.right() + 1 - placed.width())));
        placed.moveTop(std::clamp(placed.top(), available.top(),
                                  std::max(available.top(), available.bottom() + 1 - placed.height())));
    }
    return placed.marginsRemoved(frame);
}

namespace {

QMargins frameOf(const QWidget &widget)
{
    const QWindow *window = widget.windowHandle();
    if (!window)
        return {};
    const QMargins frame = window->frameMargins();
    // Qt rounds the frame to logical pixels. At a fractional scale factor the
    // frame can be wider by a fraction of a pixel (20 device pixels of title
    // bar at 1.75 are 11.4 logical ones, given as 11), so one pixel more on
    // each side keeps the whole frame within the screen.
    const qreal ratio = window->devicePixelRatio();
    if (frame.isNull() || ratio == std::floor(ratio))
        return frame;
    return frame + QMargins(1, 1, 1, 1);
}

QRect availableFor(const QWidget &owner)
{
    return owner.screen() ? owner.screen()->availableGeometry() : QRect();
}

// Centres a window again over its owner once its own frame is known (the
// window manager reports it after the window is mapped), if it differs from
// the frame the window was placed with.
class FrameFollower final : public QObject
{
public:
    static constexpr const char *kName = "barovista_frameFollower";

    FrameFollower(QWidget &window, const QWidget &owner, const QMargins &assumed)
        : QObject(&window), m_window(&window), m_owner(&owner), m_assumed(assumed)
    {
        setObjectName(QLatin1String(kName));
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window || (event->type() != QEvent::Move && event->type() != QEvent::Resize))
            return false;
        const QMargins actual = frameOf(*m_window);
        if (actual.isNull() || !m_owner)
            return false;
        m_window->removeEventFilter(this);
        if (actual != m_assumed)
            m_window->setGeometry(
                centredOver(m_owner->frameGeometry(), m_window->size(), actual, availableFor(*m_owner)));
        deleteLater();
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPointer<const QWidget> m_owner;
    QMargins m_assumed;
};

} // namespace

QMargins expectedFrame(const QWidget &window, const QWidget &owner)
{
    const QMargins own = frameOf(window);
    return own.isNull() ? frameOf(owner) : own;
}

void centreOnScreen(QWidget &window)
{
    const QRect available = availableFor(window);
    if (!available.isValid())
        return;
    const QMargins frame = frameOf(window);
    const QRect client = centredOver(available, window.size(), frame, available);
    // Before the first showing, move() places the frame's top-left corner,
    // title bar included, whose size is not known yet.
    window.move(client.topLeft() - QPoint(frame.left(), frame.top()));
}

void centreOver(QWidget &window, const QWidget &owner)
{
    for (QObject *old :
         window.findChildren<QObject *>(QLatin1String(FrameFollower::kName), Qt::FindDirectChildrenOnly))
        delete old;
    const bool ownKnown = !frameOf(window).isNull();
    const QMargins frame = expectedFrame(window, owner);
    window.setGeometry(centredOver(owner.frameGeometry(), window.size(), frame, availableFor(owner)));
    if (!ownKnown)
        new FrameFollower(window, owner, frame);
}

} // namespace barovista
