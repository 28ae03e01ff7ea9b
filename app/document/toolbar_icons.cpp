// Toolbar pictures on a 32 x 32 grid.
#include "app/document/toolbar_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace {

constexpr int Side = 32;

void drawBars(QPainter &p, bool vertical, const std::initializer_list<std::pair<int, int>> &bars)
{
    // Each bar: its start along the cross axis and its length; bars lie 9 apart.
    int offset = 5;
    for (const auto &[start, length] : bars) {
        p.drawRect(vertical ? QRect(offset, start, 6, length) : QRect(start, offset, length, 6));
        offset += 9;
    }
}

void draw(QPainter &p, ToolbarIcon icon)
{
    const QColor ink = QApplication::palette().color(QPalette::WindowText);
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::NoBrush);
    switch (icon) {
    case ToolbarIcon::ZoomOut:
    case ToolbarIcon::ZoomIn:
        p.drawEllipse(QRectF(4, 4, 18, 18));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        p.drawLine(QPointF(8, 13), QPointF(18, 13));
        if (icon == ToolbarIcon::ZoomIn)
            p.drawLine(QPointF(13, 8), QPointF(13, 18));
        return;
    case ToolbarIcon::PreviousPage:
    case ToolbarIcon::NextPage: {
        const bool next = icon == ToolbarIcon::NextPage;
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(next ? 10 : 22, 6), QPointF(next ? 10 : 22, 26), QPointF(next ? 24 : 8, 16)}));
        return;
    }
    case ToolbarIcon::AddPage:
        p.drawRect(QRectF(6, 3, 16, 24));
        p.drawLine(QPointF(20, 22), QPointF(30, 22));
        p.drawLine(QPointF(25, 17), QPointF(25, 27));
        return;
    case ToolbarIcon::Grid:
        for (int i = 4; i <= 28; i += 8) {
            p.drawLine(i, 4, i, 28);
            p.drawLine(4, i, 28, i);
        }
        return;
    case ToolbarIcon::ControlPoints:
        p.setBrush(ink);
        for (const QPointF &c : {QPointF(6, 26), QPointF(16, 8), QPointF(26, 26)})
            p.drawRect(QRectF(c.x() - 3, c.y() - 3, 6, 6));
        return;
    case ToolbarIcon::ControlLines: {
        QPainterPath curve(QPointF(4, 26));
        curve.cubicTo(QPointF(10, 4), QPointF(22, 4), QPointF(28, 26));
        p.drawPath(curve);
        p.setPen(QPen(ink, 1, Qt::DashLine));
        p.drawLine(QPointF(4, 26), QPointF(10, 4));
        p.drawLine(QPointF(22, 4), QPointF(28, 26));
        return;
    }
    case ToolbarIcon::AlignLeft:
        p.drawLine(4, 2, 4, 30);
        drawBars(p, false, {{6, 22}, {6, 12}, {6, 17}});
        return;
    case ToolbarIcon::AlignCenterX:
        p.drawLine(16, 2, 16, 30);
        drawBars(p, false, {{5, 22}, {10, 12}, {7, 18}});
        return;
    case ToolbarIcon::AlignRight:
        p.drawLine(28, 2, 28, 30);
        drawBars(p, false, {{4, 22}, {14, 12}, {9, 17}});
        return;
    case ToolbarIcon::AlignTop:
        p.drawLine(2, 4, 30, 4);
        drawBars(p, true, {{6, 22}, {6, 12}, {6, 17}});
        return;
    case ToolbarIcon::AlignCenterY:
        p.drawLine(2, 16, 30, 16);
        drawBars(p, true, {{5, 22}, {10, 12}, {7, 18}});
        return;
    case ToolbarIcon::AlignBottom:
        p.drawLine(2, 28, 30, 28);
        drawBars(p, true, {{4, 22}, {14, 12}, {9, 17}});
        return;
    case ToolbarIcon::SpaceVertically:
        for (int y : {4, 14, 24})
            p.drawRect(QRect(8, y, 16, 4));
        return;
    case ToolbarIcon::SpaceHorizontally:
        for (int x : {4, 14, 24})
            p.drawRect(QRect(x, 8, 4, 16));
        return;
    case ToolbarIcon::ShowColors: {
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colors[i]);
            p.drawEllipse(QRectF(3 + 8 * i, i == 1 ? 4 : 12, 14, 14));
        }
        return;
    }
    case ToolbarIcon::Print:
        p.drawRect(QRectF(4, 12, 24, 12));
        p.drawRect(QRectF(9, 4, 14, 8));
        p.drawRect(QRectF(9, 20, 14, 9));
        return;
    case ToolbarIcon::Customize:
        p.drawEllipse(QRectF(8, 8, 16, 16));
        for (int angle = 0; angle < 360; angle += 45) {
            p.save();
            p.translate(16, 16);
            p.rotate(angle);
            p.drawLine(0, 8, 0, 13);
            p.restore();
        }
        return;
    }
}

} // namespace

QIcon toolbarIcon(ToolbarIcon icon)
{
    QPixmap picture(Side, Side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, icon);
    return QIcon(picture);
}
