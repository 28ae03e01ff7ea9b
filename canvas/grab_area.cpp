// The grab area's state, its corner picking and its overlay.
#include "canvas/grab_area.h"

#include "model/services/canvas_services.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/geometry_extensions.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The side of the square around each corner that picks it.
constexpr float CornerSquare = 4.0f;
// Smaller areas are not offered for saving.
constexpr float LeastSide = 2.0f;
// Below this on both sides the area counts as a point and shows only the position.
constexpr float ThinSide = 0.9f;

bool nearCorner(Point p, Point corner)
{
    return pointInRect(p, Rect(corner.x - CornerSquare / 2, corner.y - CornerSquare / 2, CornerSquare, CornerSquare));
}

// In canvas units whatever the device: the size is whole, so it can be a pixel size.
QFont labelFont(int resolution)
{
    QFont font;
    font.setPixelSize(std::max(1, int(GrabArea::labelFontSize(resolution))));
    return font;
}

} // namespace

void GrabArea::begin()
{
    end();
    m_active = true;
    m_grabPoint = NoPoint;
    m_bounds = Rect();
}

bool GrabArea::end()
{
    if (!m_active)
        return false;
    m_active = false;
    m_bounds = Rect();
    m_grabPoint = Point();
    return true;
}

void GrabArea::mouseMovedTo(Point p)
{
    if (m_active && m_grabPoint == NoPoint) {
        m_grabPoint = p;
        m_bounds = Rect(p, Size());
    }
}

void GrabArea::mouseDown(Point p)
{
    const Rect b = m_bounds;
    if (m_grabPoint == NoPoint || m_grabPoint == p || (b.width() == 0 && b.height() == 0)) {
        m_bounds = Rect(p, Size());
        m_grabPoint = p;
        m_anchor = p;
        m_corner = 0;
        return;
    }
    const float left = b.origin.x, top = b.origin.y, right = left + b.width(), bottom = top + b.height();
    if (nearCorner(p, {left, top})) {
        m_corner = 2;
        m_anchor = {right, bottom};
    } else if (nearCorner(p, {right, top})) {
        m_corner = 1;
        m_anchor = {left, bottom};
    } else if (nearCorner(p, {left, bottom})) {
        m_corner = 3;
        m_anchor = {right, top};
    } else {
        m_corner = 0;
        m_anchor = {left, top};
    }
}

void GrabArea::mouseDragged(Point p)
{
    m_grabPoint = p;
    m_bounds = VekRectFromPointsAtCorner(m_anchor, p, m_corner);
}

GrabOutcome GrabArea::mouseUp(Point p, const Question &ask, const SaveHandler &save)
{
    mouseDragged(p);
    if (m_bounds.width() < LeastSide || m_bounds.height() < LeastSide) {
        end();
        return GrabOutcome::Ended;
    }
    switch (ask ? ask() : GrabChoice::Cancel) {
    case GrabChoice::Save:
        if (save)
            save(m_bounds);
        return GrabOutcome::Saved;
    case GrabChoice::Adjust:
        return GrabOutcome::Adjusting;
    case GrabChoice::Cancel:
        break;
    }
    end();
    return GrabOutcome::Ended;
}

QString GrabArea::label() const
{
    const int x = int(m_grabPoint.x), y = int(m_grabPoint.y);
    if (m_bounds.width() < ThinSide && m_bounds.height() < ThinSide)
        return QStringLiteral(" %1 %2 ").arg(x).arg(y);
    return QStringLiteral(" %1 %2 %3 %4 ").arg(x).arg(y).arg(int(m_bounds.width())).arg(int(m_bounds.height()));
}

float GrabArea::labelFontSize(int resolution)
{
    return std::trunc(float(resolution) * 8.0f / 72.0f);
}

Point GrabArea::labelOrigin(Size labelSize) const
{
    Point origin = m_bounds.origin;
    if (origin.x < m_grabPoint.x)
        origin.x = m_grabPoint.x - labelSize.width;
    if (origin.y < m_grabPoint.y)
        origin.y = m_grabPoint.y - labelSize.height;
    return origin;
}

void GrabArea::drawOverlay(GraphicsContext &context, CanvasServices &view, int resolution) const
{
    if (!m_active)
        return;
    const Color red = Color::redColor();
    if (!(m_bounds.width() < ThinSide && m_bounds.height() < ThinSide)) {
        GraphicsStateSaver saver(context);
        BezierPath frame = BezierPath::bezierPathWithRect(m_bounds);
        frame.setLineWidth(0);
        context.setStrokeColor(red);
        context.strokePath(frame);
        const Rect &b = m_bounds;
        for (const Point corner : {b.origin, Point{b.origin.x + b.width(), b.origin.y},
                                   Point{b.origin.x, b.origin.y + b.height()},
                                   Point{b.origin.x + b.width(), b.origin.y + b.height()}})
            view.drawKnobAtPoint(corner, red);
    }
    QPainter *painter = context.painter();
    if (!painter)
        return;
    const QFont font = labelFont(resolution);
    const QString text = label();
    const QFontMetricsF metrics(font);
    const Size size{float(metrics.horizontalAdvance(text)), float(metrics.height())};
    const Point origin = labelOrigin(size);
    painter->save();
    painter->setFont(font);
    painter->setPen(QColor(Qt::red));
    painter->drawText(QRectF(origin.x, origin.y, size.width, size.height), Qt::AlignLeft | Qt::AlignTop, text);
    painter->restore();
}
