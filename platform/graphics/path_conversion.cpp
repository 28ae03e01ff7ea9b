// Bezier paths and their line attributes turned into Qt's paths and pens for painting.
#include "platform/graphics/path_conversion.h"

#include <cmath>

QPainterPath toQPainterPath(const BezierPath &path)
{
    QPainterPath out;
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement: out.moveTo(e.points[0].x, e.points[0].y); break;
        case LineToBezierPathElement: out.lineTo(e.points[0].x, e.points[0].y); break;
        case CurveToBezierPathElement:
            out.cubicTo(e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y, e.points[2].x, e.points[2].y);
            break;
        case ClosePathBezierPathElement: out.closeSubpath(); break;
        }
    }
    out.setFillRule(path.windingRule() == EvenOddWindingRule ? Qt::OddEvenFill : Qt::WindingFill);
    return out;
}

BezierPath fromQPainterPath(const QPainterPath &path)
{
    BezierPath out;
    out.setWindingRule(path.fillRule() == Qt::OddEvenFill ? EvenOddWindingRule : NonZeroWindingRule);
    Point start, last;
    bool open = false;
    auto closeIfBack = [&] {
        if (open && start == last)
            out.closePath();
        open = false;
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const Point p{float(e.x), float(e.y)};
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeIfBack();
            out.moveToPoint(p);
            start = last = p;
            open = true;
            break;
        case QPainterPath::LineToElement:
            out.lineToPoint(p);
            last = p;
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
                last = Point{float(end.x), float(end.y)};
                out.curveToPoint(last, p, Point{float(c2.x), float(c2.y)});
                i += 2;
            }
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    closeIfBack();
    return out;
}

QtDash toQtDash(const std::vector<float> &pattern, float phase, float width, qreal deviceScale)
{
    QtDash dash;
    double sum = 0;
    for (float v : pattern) {
        if (!(v >= 0) || !std::isfinite(v))
            return dash;
        sum += v;
    }
    if (!(sum > 0))
        return dash;
    const qreal unit = width > 0 ? 1.0 / width : deviceScale;
    const int copies = pattern.size() % 2 ? 2 : 1;
    for (int c = 0; c < copies; ++c)
        for (float v : pattern)
            dash.pattern.append(v * unit);
    dash.offset = std::isfinite(phase) ? phase * unit : 0;
    return dash;
}

QPen penForPath(const BezierPath &path, const QBrush &brush, qreal deviceScale)
{
    const float width = path.lineWidth() > 0 ? path.lineWidth() : 0.0f;
    QPen pen(brush, width);
    switch (path.lineCapStyle()) {
    case ButtLineCapStyle: pen.setCapStyle(Qt::FlatCap); break;
    case RoundLineCapStyle: pen.setCapStyle(Qt::RoundCap); break;
    case SquareLineCapStyle: pen.setCapStyle(Qt::SquareCap); break;
    }
    switch (path.lineJoinStyle()) {
    case MiterLineJoinStyle: pen.setJoinStyle(Qt::SvgMiterJoin); break;
    case RoundLineJoinStyle: pen.setJoinStyle(Qt::RoundJoin); break;
    case BevelLineJoinStyle: pen.setJoinStyle(Qt::BevelJoin); break;
    }
    pen.setMiterLimit(path.miterLimit());
    const QtDash dash = toQtDash(path.lineDash(), path.lineDashPhase(), width, deviceScale);
    if (!dash.pattern.isEmpty()) {
        pen.setDashPattern(dash.pattern);
        pen.setDashOffset(dash.offset);
    }
    return pen;
}
