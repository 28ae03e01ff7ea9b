// Straightening and smoothing of Bezier paths.
#include "toolkit/path_smoothing.h"

#include "toolkit/path_editing.h"
#include "toolkit/path_measure.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float NoAngle = 1000.0f;
constexpr float Pi = std::numbers::pi_v<float>;
constexpr float degrees(float d) { return d * Pi / 180.0f; }

float direction(Point from, Point to)
{
    return std::atan2(to.y - from.y, to.x - from.x);
}

// The turn between two directions, the short way round; NoAngle when either is missing.
float turnBetween(float a, float b)
{
    if (a == NoAngle || b == NoAngle)
        return NoAngle;
    const float d = std::fabs(a - b);
    return d > Pi ? 2 * Pi - d : d;
}

// The point that follows element i: the point of the next line or curve, the sub-path
// start for a close-path, none (NoPoint) before a move-to or at the end.
Point nextPoint(const BezierPath &path, int i, Point subPathStart)
{
    if (i + 1 >= path.elementCount())
        return NoPoint;
    const PathElement &next = path.element(i + 1);
    switch (next.kind) {
    case MoveToBezierPathElement: return NoPoint;
    case ClosePathBezierPathElement: return subPathStart;
    default: return next.endPoint();
    }
}

bool endsInMove(const BezierPath &path)
{
    return !path.isEmpty() && path.element(path.elementCount() - 1).kind == MoveToBezierPathElement;
}

// The walk of smoother(): the new path and what it remembers about the source.
class Smoothing {
public:
    explicit Smoothing(const BezierPath &path) : m_src(path), m_out(path) { m_out.removeAllPoints(); }

    BezierPath run()
    {
        for (m_i = 0; m_i < m_src.elementCount(); ++m_i) {
            const PathElement &el = m_src.element(m_i);
            if (el.kind == MoveToBezierPathElement)
                m_srcStart = el.points[0];
            m_next = nextPoint(m_src, m_i, m_srcStart);
            switch (el.kind) {
            case MoveToBezierPathElement: moveTo(el.points[0]); break;
            case LineToBezierPathElement: lineTo(el.points[0]); break;
            case CurveToBezierPathElement: curveTo(el.points[0], el.points[1], el.points[2]); break;
            case ClosePathBezierPathElement: closePath(); break;
            }
        }
        return m_out;
    }

private:
    bool isLast() const { return m_i == m_src.elementCount() - 1; }

    // The turn at the new path's current point between the way to `p` and the way on to
    // the next source point.
    float turnTo(Point p) const
    {
        return m_next == NoPoint ? NoAngle : turnBetween(direction(m_cur, m_next), direction(m_cur, p));
    }

    void emitted(Point end)
    {
        m_prev = m_cur;
        m_cur = end;
        m_run = 0;
    }

    void emitCurve(Point end, Point c1, Point c2)
    {
        m_out.curveToPoint(end, c1, c2);
        emitted(end);
    }

    void moveTo(Point p)
    {
        if (m_run > 0)
            restoreDroppedEnd();
        m_out.moveToPoint(p);
        m_cur = m_srcPoint = m_start = p;
        m_start2 = m_next;
        m_run = 0;
        m_prev = NoPoint;
        m_firstCurve = -1;
    }

    // The ending sub-path lost its last points: its end goes back to the last source point.
    void restoreDroppedEnd()
    {
        const int last = m_out.elementCount() - 1;
        if (last >= 0 && m_out.element(last).kind == CurveToBezierPathElement) {
            PathElement curve = m_out.element(last);
            curve.points[2] = m_srcPoint;
            m_out.setAssociatedPoints(curve.points, last);
        } else {
            m_out.lineToPoint(m_srcPoint);
        }
    }

    void lineTo(Point p)
    {
        const float d = distanceBetweenPoints(m_srcPoint, p);
        const float runBefore = m_run;
        const float run = m_run + d;
        const float turn = turnTo(p);
        m_srcPoint = p;
        if (run > 100 || isLast()) {
            if (endsInMove(m_out))
                m_start2 = p;
            m_out.lineToPoint(p);
            emitted(p);
            return;
        }
        const bool corner = turn > degrees(20) && turn < NoAngle;
        const bool tooShort = !corner && m_next != NoPoint && run <= 10
            && !(runBefore > d && distanceBetweenPoints(m_cur, m_next) > runBefore);
        if ((run < 40 && turn < degrees(2)) || tooShort) {
            m_run = run;
            return;
        }
        Point previous = m_prev;
        if (previous == NoPoint) {
            previous = m_start != NoPoint ? m_start : m_cur;
            m_firstCurve = m_out.elementCount();
        }
        if (endsInMove(m_out))
            m_start2 = p;
        Point c1, c2;
        ctrlPsBtwnP1(m_cur, p, previous, m_next != NoPoint ? m_next : p, c1, c2);
        emitCurve(p, c1, c2);
    }

    void curveTo(Point c1, Point c2, Point end)
    {
        const float length = curveLength(m_src, BezierCurve(m_srcPoint, c1, c2, end), 0.001f);
        const float run = m_run + length;
        const float turn = turnTo(end);
        m_srcPoint = end;
        if (run > 100) {
            if (m_run > 0 && m_next != NoPoint && m_prev != NoPoint) {
                Point k1, k2;
                ctrlPsBtwnP1(m_cur, end, m_prev, m_next, k1, k2);
                emitCurve(end, k1, k2);
            } else {
                emitCurve(end, c1, c2);
            }
            return;
        }
        const bool corner = turn > degrees(20) && turn < NoAngle;
        if ((turn < degrees(2) && run < 40) || (run <= 10 && !corner && !isLast())) {
            m_run = run;
            return;
        }
        // A neighbouring curve or line is merged into this one.
        const PathElement *following = isLast() ? nullptr : &m_src.element(m_i + 1);
        if (following && following->kind == CurveToBezierPathElement) {
            const Point q = following->points[2];
            emitCurve(q, 0.5f * (c1 + c2), 0.5f * (following->points[0] + following->points[1]));
            m_srcPoint = q;
            ++m_i;
        } else if (following && following->kind == LineToBezierPathElement) {
            const Point q = following->points[0];
            emitCurve(q, c1, c2);
            m_srcPoint = q;
            ++m_i;
        } else {
            emitCurve(end, c1, c2);
        }
    }

    void closePath()
    {
        m_srcPoint = m_srcStart;
        if (m_start == NoPoint) {
            m_out.closePath();
            m_cur = m_out.currentPoint();
            return;
        }
        const Point before = m_cur;
        const Point start = m_start;
        Point c1, c2;
        ctrlPsBtwnP1(before, start, m_prev != NoPoint ? m_prev : start,
                     m_start2 != NoPoint ? m_start2 : start, c1, c2);
        emitCurve(start, c1, c2);
        if (m_firstCurve >= 0 && m_start2 != NoPoint) {
            // The first curve leaves the start along the tangent the closing curve arrives on.
            PathElement first = m_out.element(m_firstCurve);
            Point unused;
            ctrlPsBtwnP1(start, first.points[2], before, first.points[2], first.points[0], unused);
            m_out.setAssociatedPoints(first.points, m_firstCurve);
        }
        m_start = m_start2 = NoPoint;
        m_firstCurve = -1;
    }

    const BezierPath &m_src;
    BezierPath m_out;
    int m_i = 0;
    Point m_next = NoPoint;       // the source point after the current element
    Point m_srcPoint{};           // where the current source element starts
    Point m_srcStart = NoPoint;   // the source sub-path's start
    // The new path's current point; a path that does not begin with a move-to starts at
    // the origin, as in the measuring functions.
    Point m_cur{};
    Point m_prev = NoPoint;       // where the last emitted element started
    Point m_start = NoPoint;      // the sub-path start, until the sub-path is closed
    Point m_start2 = NoPoint;     // the sub-path's second point
    float m_run = 0;              // length of the source dropped since the last emitted element
    int m_firstCurve = -1;        // index in the new path of the sub-path's first curve
};

} // namespace

BezierPath straighten(const BezierPath &path)
{
    if (path.elementCount() <= 1)
        return path;
    BezierPath out = path;
    out.removeAllPoints();
    Point start = NoPoint;
    Point kept = NoPoint;
    float current = NoAngle;
    for (int i = 0; i < path.elementCount(); ++i) {
        const PathElement &el = path.element(i);
        const Point next = nextPoint(path, i, el.kind == MoveToBezierPathElement ? el.points[0] : start);
        switch (el.kind) {
        case MoveToBezierPathElement:
            out.moveToPoint(el.points[0]);
            start = kept = el.points[0];
            current = next == NoPoint ? NoAngle : direction(kept, next);
            break;
        case LineToBezierPathElement:
        case CurveToBezierPathElement: {
            const Point p = el.endPoint();
            if (next == NoPoint) {
                out.lineToPoint(p);
                kept = p;
                break;
            }
            // Before any kept point the direction is that of the next point's own coordinates.
            const float nextDirection = kept == NoPoint ? std::atan2(next.y, next.x) : direction(kept, next);
            if (turnBetween(nextDirection, current) > degrees(10)) {
                out.lineToPoint(p);
                kept = p;
                current = direction(p, next);
            }
            break;
        }
        case ClosePathBezierPathElement:
            if (start == NoPoint)
                break;
            out.closePath();
            kept = start;
            if (next != NoPoint)
                current = direction(start, next);
            break;
        }
    }
    return out;
}

BezierPath smoother(const BezierPath &path)
{
    if (path.elementCount() <= 2)
        return path;
    return Smoothing(path).run();
}

void ctrlPsBtwnP1(Point p1, Point p2, Point prev, Point next, Point &ctrl1, Point &ctrl2)
{
    const Point m = 0.5f * (p1 + p2);
    const Point a = 0.5f * (prev + p1);
    const Point b = 0.5f * (p2 + next);
    const float d0 = distanceBetweenPoints(prev, p1);
    const float d1 = distanceBetweenPoints(p1, p2);
    const float d2 = distanceBetweenPoints(p2, next);
    // With coinciding points the weight does not matter (the midpoints coincide too).
    const float k1 = d0 + d1 > 0 ? d0 / (d0 + d1) : 0;
    const float k2 = d1 + d2 > 0 ? d1 / (d1 + d2) : 0;
    ctrl1 = p1 + m - (a + k1 * (m - a));
    ctrl2 = p2 + m - (m + k2 * (b - m));
}
