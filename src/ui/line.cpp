// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/line.h"

#include "ui/twips.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace barovista {

Line::Line(QWidget *frame, float x1, float y1, float x2, float y2, const QColor &colour)
    : QWidget(frame), m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2), m_colour(colour)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    place();
}

void Line::setY1(float y)
{
    m_y1 = y;
    place();
}

void Line::setY2(float y)
{
    m_y2 = y;
    place();
}

void Line::place()
{
    // The widget is the line's bounding box, at least one pixel thick.
    const int left = px(std::min(m_x1, m_x2));
    const int top = px(std::min(m_y1, m_y2));
    const int width = std::max(1, px(std::fabs(m_x2 - m_x1)));
    const int height = std::max(1, px(std::fabs(m_y2 - m_y1)));
    setGeometry(left, top, width, height);
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Drawn in device pixels with a cosmetic pen, one device pixel wide at
    // any scale. A logical pixel of 1.75 device pixels would cover one row
    // here and two there, so the ends are snapped to the device pixels where
    // the widget's edges fall, the same rounding for every line.
    const QTransform toDevice = painter.deviceTransform();
    const QRectF box = toDevice.mapRect(QRectF(rect()));
    const int left = qRound(box.left());
    const int top = qRound(box.top());
    const int right = std::max(left, qRound(box.right()) - 1);
    const int bottom = std::max(top, qRound(box.bottom()) - 1);
    painter.setWorldTransform(toDevice.inverted());
    painter.setPen(QPen(m_colour, 0));
    if (width() == 1 || height() == 1) {
        const QPointF start(left + 0.5, top + 0.5);
        painter.drawLine(start,
                         width() == 1 ? QPointF(left + 0.5, bottom + 0.5) : QPointF(right + 0.5, top + 0.5));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const bool falling = (m_x2 - m_x1) * (m_y2 - m_y1) >= 0;
    if (falling)
        painter.drawLine(QPointF(left + 0.5, top + 0.5), QPointF(right + 0.5, bottom + 0.5));
    else
        painter.drawLine(QPointF(left + 0.5, bottom + 0.5), QPointF(right + 0.5, top + 0.5));
}

} // namespace barovista
