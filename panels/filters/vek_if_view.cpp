#include "panels/filters/vek_if_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

VekIFView::VekIFView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    m_center = Point(float(width()) / 2, float(height()) / 2);
}

void VekIFView::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void VekIFView::undo()
{
    if (m_undo.canUndo())
        m_undo.undo();
}

void VekIFView::setShowCenter(bool show)
{
    m_showCenter = show;
    m_center = Point(float(width()) / 2, float(height()) / 2);
    update();
}

void VekIFView::setCurrentCenter(Point center)
{
    m_showCenter = true;
    m_center = center;
    update();
}

Rect VekIFView::imageBounds() const
{
    if (m_image.isNull())
        return Rect();
    float w = float(m_image.width()), h = float(m_image.height());
    const float s = std::min({1.0f, float(width()) / w, float(height()) / h});
    w *= s;
    h *= s;
    return Rect((float(width()) - w) / 2, (float(height()) - h) / 2, w, h);
}

void VekIFView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_image.isNull()) {
        const Rect r = imageBounds();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(r.origin.x, r.origin.y, r.width(), r.height()), m_image);
    }
    if (m_showCenter) {
        // A small red circle with a cross through it, 16 points across.
        painter.translate(m_center.x - 8, m_center.y - 8);
        painter.setPen(QPen(Qt::red, 1));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(QRectF(6.5, 6.5, 4, 4));
        painter.drawLine(QPointF(0.5, 8.5), QPointF(15.5, 8.5));
        painter.drawLine(QPointF(8.5, 0.5), QPointF(8.5, 15.5));
    }
}

void VekIFView::mousePressEvent(QMouseEvent *event)
{
    // Only a press inside the view starts a drag; the drag itself may leave the picture.
    m_tracking = event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (m_tracking)
        moveCenter(event->position());
}

void VekIFView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracking)
        moveCenter(event->position());
}

void VekIFView::moveCenter(QPointF to)
{
    m_center = Point(float(to.x()), float(to.y()));
    update();
}

void VekIFView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_tracking && event->button() == Qt::LeftButton)
        m_tracking = false;
}

void VekIFView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo))
        undo();
    else
        QWidget::keyPressEvent(event);
}
