// The dial: its geometry comes from dialReadingAt, measured with y growing upwards.
#include "panels/shadow/vek_shadow_view.h"

#include "panels/shadow/shadow_values.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

VekShadowView::VekShadowView(QWidget *parent) : QWidget(parent)
{
    // Square, so that the dial is a circle and its readings measure the same in x and y.
    setFixedSize(72, 72);
}

void VekShadowView::setOffset(float offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    update();
}

void VekShadowView::setOffsetFromPoint(QPointF p)
{
    const DialReading reading =
        dialReadingAt(Point(float(p.x()), float(height() - p.y())), Size(float(width()), float(height())));
    m_angle = reading.angle;
    setOffset(reading.offset);
    update();
    if (m_changed)
        m_changed(m_offset, m_angle);
}

void VekShadowView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const float r = std::min(width(), height()) * 0.5f;
    p.setPen(QPen(Qt::gray, 2));
    p.setBrush(Qt::lightGray);
    p.drawEllipse(QPointF(width() * 0.5, height() * 0.5), r - 1, r - 1);
    float a = m_angle - 90;
    if (a < 0)
        a += 360;
    // The dial is drawn y-up: a turn of t counter-clockwise is -t in Qt's y-down space.
    const double t = -a * M_PI / 180;
    const double length = r > 30 ? m_offset * r / 30 : m_offset;
    p.translate(width() * 0.5, height() * 0.5);
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(QPointF(0, 0), QPointF(length * std::cos(t), -length * std::sin(t)));
}

void VekShadowView::mousePressEvent(QMouseEvent *event)
{
    setOffsetFromPoint(event->position());
}

void VekShadowView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        setOffsetFromPoint(event->position());
}
