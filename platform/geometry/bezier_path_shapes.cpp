// The Bezier path's ready-made outlines: rectangles, ovals, rounded rectangles, polylines
// and arcs (by angles and by tangents).
#include "platform/geometry/bezier_path.h"

#include <algorithm>
#include <cmath>

namespace {

// Control-point distance of a quarter circle of radius 1 drawn as one cubic curve.
constexpr double quarterCircleKappa = 0.55228474983079334;

double radians(double degrees)
{
    return degrees * M_PI / 180.0;
}

Point pointAt(double x, double y)
{
    return {float(x), float(y)};
}

} // namespace

BezierPath BezierPath::bezierPathWithRect(const Rect &r)
{
    BezierPath path;
    path.appendBezierPathWithRect(r);
    return path;
}

BezierPath BezierPath::bezierPathWithOvalInRect(const Rect &r)
{
    BezierPath path;
    path.appendBezierPathWithOvalInRect(r);
    return path;
}

BezierPath BezierPath::bezierPathWithRoundedRect(const Rect &r, float xRadius, float yRadius)
{
    BezierPath path;
    path.appendBezierPathWithRoundedRect(r, xRadius, yRadius);
    return path;
}

void BezierPath::appendBezierPathWithRect(const Rect &r)
{
    moveToPoint({r.minX(), r.minY()});
    lineToPoint({r.maxX(), r.minY()});
    lineToPoint({r.maxX(), r.maxY()});
    lineToPoint({r.minX(), r.maxY()});
    closePath();
}

void BezierPath::appendBezierPathWithOvalInRect(const Rect &r)
{
    const double cx = (double(r.minX()) + r.maxX()) / 2, cy = (double(r.minY()) + r.maxY()) / 2;
    const double rx = (double(r.maxX()) - r.minX()) / 2, ry = (double(r.maxY()) - r.minY()) / 2;
    const double kx = rx * quarterCircleKappa, ky = ry * quarterCircleKappa;
    moveToPoint(pointAt(cx + rx, cy));
    curveToPoint(pointAt(cx, cy + ry), pointAt(cx + rx, cy + ky), pointAt(cx + kx, cy + ry));
    curveToPoint(pointAt(cx - rx, cy), pointAt(cx - kx, cy + ry), pointAt(cx - rx, cy + ky));
    curveToPoint(pointAt(cx, cy - ry), pointAt(cx - rx, cy - ky), pointAt(cx - kx, cy - ry));
    curveToPoint(pointAt(cx + rx, cy), pointAt(cx + kx, cy - ry), pointAt(cx + rx, cy - ky));
    closePath();
}

void BezierPath::appendBezierPathWithRoundedRect(const Rect &r, float xRadius, float yRadius)
{
    const double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
    const double rx = std::min(double(xRadius), (x1 - x0) / 2), ry = std::min(double(yRadius), (y1 - y0) / 2);
    if (!(rx > 0 && ry > 0)) {
        appendBezierPathWithRect(r);
        return;
    }
    const double kx = rx * (1 - quarterCircleKappa), ky = ry * (1 - quarterCircleKappa);
    moveToPoint(pointAt(x0 + rx, y0));
    lineToPoint(pointAt(x1 - rx, y0));
    curveToPoint(pointAt(x1, y0 + ry), pointAt(x1 - kx, y0), pointAt(x1, y0 + ky));
    lineToPoint(pointAt(x1, y1 - ry));
    curveToPoint(pointAt(x1 - rx, y1), pointAt(x1, y1 - ky), pointAt(x1 - kx, y1));
    lineToPoint(pointAt(x0 + rx, y1));
    curveToPoint(pointAt(x0, y1 - ry), pointAt(x0 + kx, y1), pointAt(x0, y1 - ky));
    lineToPoint(pointAt(x0, y0 + ry));
    curveToPoint(pointAt(x0 + rx, y0), pointAt(x0, y0 + ky), pointAt(x0 + kx, y0));
    closePath();
}

void BezierPath::appendBezierPathWithPoints(const Point *points, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i == 0 && isEmpty())
            moveToPoint(points[i]);
        else
            lineToPoint(points[i]);
    }
}

void BezierPath::appendArcSegments(Point center, double radius, double startRadians, double sweepRadians)
{
    if (!std::isfinite(sweepRadians) || std::fabs(sweepRadians) > 2 * M_PI + 1e-9)
        return;
    const int segments = std::max(1, int(std::ceil(std::fabs(sweepRadians) / (M_PI / 2) - 1e-9)));
    const double step = sweepRadians / segments;
    const double k = 4.0 / 3.0 * std::tan(step / 4) * radius;
    double a = startRadians;
    for (int i = 0; i < segments; ++i) {
        const double b = startRadians + sweepRadians * (i + 1) / segments;
        const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
        curveToPoint(pointAt(center.x + radius * cb, center.y + radius * sb),
                     pointAt(center.x + radius * ca - k * sa, center.y + radius * sa + k * ca),
                     pointAt(center.x + radius * cb + k * sb, center.y + radius * sb - k * cb));
        a = b;
    }
}

void BezierPath::appendBezierPathWithArcWithCenter(Point center, float radius, float startAngle, float endAngle,
                                                   bool clockwise)
{
    double sweep = double(endAngle) - startAngle;
    if (std::fabs(sweep) >= 360)
        sweep = clockwise ? -360 : 360;
    else if (!clockwise && sweep < 0)
        sweep += 360;
    else if (clockwise && sweep > 0)
        sweep -= 360;
    const double a0 = radians(startAngle);
    const Point start = pointAt(center.x + radius * std::cos(a0), center.y + radius * std::sin(a0));
    if (isEmpty())
        moveToPoint(start);
    else
        lineToPoint(start);
    if (sweep != 0)
        appendArcSegments(center, radius, a0, radians(sweep));
}

void BezierPath::appendBezierPathWithArcFromPoint(Point point1, Point point2, float radius)
{
    const Point p0 = currentPoint();
    const double v1x = double(p0.x) - point1.x, v1y = double(p0.y) - point1.y;
    const double v2x = double(point2.x) - point1.x, v2y = double(point2.y) - point1.y;
    const double l1 = std::hypot(v1x, v1y), l2 = std::hypot(v2x, v2y);
    const double r = std::fabs(double(radius));
    const double u1x = v1x / l1, u1y = v1y / l1, u2x = v2x / l2, u2y = v2y / l2;
    const double cross = u1x * u2y - u1y * u2x;
    auto joinTo = [this](Point p) {
        if (isEmpty())
            moveToPoint(p);
        else
            lineToPoint(p);
    };
    if (!(l1 > 0 && l2 > 0 && r > 0) || !(std::fabs(cross) >= 1e-9)) {
        joinTo(point1);
        return;
    }
    // theta is the angle at point1 between the two legs; the circle touches both legs at
    // distance r / tan(theta/2) from the corner and its centre lies on the bisector.
    const double theta = std::acos(std::clamp(u1x * u2x + u1y * u2y, -1.0, 1.0));
    const double tangent = r / std::tan(theta / 2);
    const double bx = u1x + u2x, by = u1y + u2y, bl = std::hypot(bx, by);
    const double toCenter = r / std::sin(theta / 2);
    const double cx = point1.x + bx / bl * toCenter, cy = point1.y + by / bl * toCenter;
    const double t1x = point1.x + u1x * tangent, t1y = point1.y + u1y * tangent;
    const double t2x = point1.x + u2x * tangent, t2y = point1.y + u2y * tangent;
    joinTo(pointAt(t1x, t1y));
    const double a = std::atan2(t1y - cy, t1x - cx);
    double sweep = std::atan2(t2y - cy, t2x - cx) - a;
    if (sweep > M_PI)
        sweep -= 2 * M_PI;
    else if (sweep < -M_PI)
        sweep += 2 * M_PI;
    appendArcSegments(pointAt(cx, cy), r, a, sweep);
}
