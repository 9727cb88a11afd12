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
    if (width() == 1 || height() == 1) {
        painter.fillRect(rect(), m_colour);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_colour, 1));
    const bool falling = (m_x2 - m_x1) * (m_y2 - m_y1) >= 0;
    if (falling)
        painter.drawLine(QPointF(0.5, 0.5), QPointF(width() - 0.5, height() - 0.5));
    else
        painter.drawLine(QPointF(0.5, height() - 0.5), QPointF(width() - 0.5, 0.5));
}

} // namespace barovista
