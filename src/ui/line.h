// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace barovista {

// A straight, one-pixel line given by its end points in the twips of its
// frame. It takes no pointer events, so the frame beneath it gets them.
class Line : public QWidget
{
    Q_OBJECT
public:
    Line(QWidget *frame, float x1, float y1, float x2, float y2, const QColor &colour = Qt::black);

    float X1() const { return m_x1; }
    float Y1() const { return m_y1; }
    float X2() const { return m_x2; }
    float Y2() const { return m_y2; }
    void setY1(float y);
    void setY2(float y);
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    float m_x1;
    float m_y1;
    float m_x2;
    float m_y2;
    QColor m_colour;
};

} // namespace barovista
