// The floating rulers' close button.
#include "canvas/ui/mini_close_button.h"

#include <QPainter>

MiniCloseButton::MiniCloseButton(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    resize(Side, Side);
}

void MiniCloseButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QColor(150, 30, 30));
    painter.setBrush(isDown() ? QColor(170, 30, 30) : QColor(230, 70, 60));
    painter.drawEllipse(disc);
    if (underMouse() || isDown()) {
        painter.setPen(QPen(QColor(90, 0, 0), 1.5));
        const QRectF cross = disc.adjusted(3.5, 3.5, -3.5, -3.5);
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
    }
}
