// Geometry of a whole Bezier path: tight bounds, containment under both winding rules,
// flattening into lines and reversal.
#include "platform/geometry/bezier_path.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int maxSubdivisionDepth = 16;
// Curves are flattened this finely (in path units) to decide containment.
constexpr float containmentTolerance = 0.01f;

Point mid(Point a, Point b)
{
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f};
}

// The largest distance of the control points from the chord p0-p3.
float controlDeviation(Point p0, Point c1, Point c2, Point p3)
{
    const double dx = double(p3.x) - p0.x, dy = double(p3.y) - p0.y;
    const double len = std::hypot(dx, dy);
    auto dist = [&](Point c) {
        const double ex = double(c.x) - p0.x, ey = double(c.y) - p0.y;
        return len > 0 ? std::fabs(ex * dy - ey * dx) / len : std::hypot(ex, ey);
    };
    return float(std::max(dist(c1), dist(c2)));
}

// Appends the end points of the lines that follow the curve within `tolerance`
// (the start p0 is not appended).
void flattenCurve(Point p0, Point c1, Point c2, Point p3, float tolerance, int depth, std::vector<Point> &out)
{
    if (depth >= maxSubdivisionDepth || !(controlDeviation(p0, c1, c2, p3) > tolerance)) {
        out.push_back(p3);
        return;
    }
    const Point a = mid(p0, c1), b = mid(c1, c2), c = mid(c2, p3);
    const Point ab = mid(a, b), bc = mid(b, c), m = mid(ab, bc);
    flattenCurve(p0, a, ab, m, tolerance, depth + 1, out);
    flattenCurve(m, bc, c, p3, tolerance, depth + 1, out);
}

// The parameters in (0, 1) where one coordinate of the cubic has an extremum.
int cubicExtrema(double p0, double p1, double p2, double p3, double t[2])
{
    const double a = p1 - p0, b = p2 - p1, c = p3 - p2;
    const double qa = a - 2 * b + c, qb = 2 * (b - a), qc = a;
    int n = 0;
    auto keep = [&](double r) {
        if (r > 0 && r < 1)
            t[n++] = r;
    };
    if (std::fabs(qa) < 1e-12) {
        if (std::fabs(qb) > 1e-12)
            keep(-qc / qb);
        return n;
    }
    const double disc = qb * qb - 4 * qa * qc;
    if (disc < 0)
        return n;
    const double s = std::sqrt(disc);
    keep((-qb + s) / (2 * qa));
    keep((-qb - s) / (2 * qa));
    return n;
}

double cubicAt(double t, double p0, double p1, double p2, double p3)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * t * u * u * p1 + 3 * t * t * u * p2 + t * t * t * p3;
}

// Walks the outline as straight edges: each sub-path is closed back to its start, and
// curves are flattened within `tolerance`.
void forEachEdge(const BezierPath &path, float tolerance, const std::function<void(Point, Point)> &edge)
{
    Point start, current;
    bool open = false;
    std::vector<Point> flat;
    auto closeSubpath = [&] {
        if (open && current != start)
            edge(current, start);
        current = start;
        open = false;
    };
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement:
            closeSubpath();
            start = current = e.points[0];
            break;
        case LineToBezierPathElement:
            edge(current, e.points[0]);
            current = e.points[0];
            open = true;
            break;
        case CurveToBezierPathElement:
            flat.clear();
            flattenCurve(current, e.points[0], e.points[1], e.points[2], tolerance, 0, flat);
            for (Point p : flat) {
                edge(current, p);
                current = p;
            }
            open = true;
            break;
        case ClosePathBezierPathElement:
            closeSubpath();
            break;
        }
    }
    closeSubpath();
}

} // namespace

Rect BezierPath::bounds() const
{
    if (m_elements.empty())
        return {};
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    auto add = [&](double x, double y) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    };
    Point current;
    for (const PathElement &e : m_elements) {
        if (e.kind == ClosePathBezierPathElement)
            continue;
        const Point end = e.endPoint();
        add(end.x, end.y);
        if (e.kind == CurveToBezierPathElement) {
            const Point c1 = e.points[0], c2 = e.points[1];
            double t[2];
            for (int i = 0, n = cubicExtrema(current.x, c1.x, c2.x, end.x, t); i < n; ++i)
                add(cubicAt(t[i], current.x, c1.x, c2.x, end.x), cubicAt(t[i], current.y, c1.y, c2.y, end.y));
            for (int i = 0, n = cubicExtrema(current.y, c1.y, c2.y, end.y, t); i < n; ++i)
                add(cubicAt(t[i], current.x, c1.x, c2.x, end.x), cubicAt(t[i], current.y, c1.y, c2.y, end.y));
        }
        current = end;
    }
    if (x0 > x1)
        return {};
    return {float(x0), float(y0), float(x1 - x0), float(y1 - y0)};
}

bool BezierPath::containsPoint(Point p) const
{
    const Rect box = controlPointBounds();
    if (m_elements.empty() || p.x < box.minX() || p.x > box.maxX() || p.y < box.minY() || p.y > box.maxY())
        return false;
    // Winding number of the edges around p, counted on a ray towards +x.
    int winding = 0;
    forEachEdge(*this, containmentTolerance, [&](Point a, Point b) {
        const double side = (double(b.x) - a.x) * (double(p.y) - a.y) - (double(p.x) - a.x) * (double(b.y) - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0)
                ++winding;
        } else if (b.y <= p.y && side < 0) {
            --winding;
        }
    });
    return m_windingRule == EvenOddWindingRule ? (winding & 1) != 0 : winding != 0;
}

BezierPath BezierPath::bezierPathByFlatteningPath() const
{
    BezierPath out = *this;
    out.m_elements.clear();
    const float tolerance = std::max(m_flatness, 0.001f);
    Point start, current;
    std::vector<Point> flat;
    for (const PathElement &e : m_elements) {
        switch (e.kind) {
        case MoveToBezierPathElement:
            start = current = e.points[0];
            out.m_elements.push_back(e);
            break;
        case LineToBezierPathElement:
            current = e.points[0];
            out.m_elements.push_back(e);
            break;
        case CurveToBezierPathElement:
            flat.clear();
            flattenCurve(current, e.points[0], e.points[1], e.points[2], tolerance, 0, flat);
            for (Point q : flat)
                out.lineToPoint(q);
            current = e.points[2];
            break;
        case ClosePathBezierPathElement:
            current = start;
            out.m_elements.push_back(e);
            break;
        }
    }
    return out;
}

BezierPath BezierPath::bezierPathByReversingPath() const
{
    // Split into sub-paths: [first, last) element ranges, each starting with a move-to
    // (implicit at the previous sub-path's start, or at (0, 0), when missing).
    struct Subpath {
        Point start;
        size_t first, last;
        bool closed;
    };
    std::vector<Subpath> subpaths;
    Point start;
    for (size_t i = 0; i < m_elements.size();) {
        Subpath s{start, i, i, false};
        if (m_elements[i].kind == MoveToBezierPathElement)
            s.start = m_elements[i++].points[0];
        while (i < m_elements.size() && m_elements[i].kind != MoveToBezierPathElement
               && m_elements[i].kind != ClosePathBezierPathElement)
            ++i;
        s.last = i;
        if (i < m_elements.size() && m_elements[i].kind == ClosePathBezierPathElement) {
            s.closed = true;
            ++i;
        }
        // Segments are the elements after the move-to.
        s.first = (m_elements[s.first].kind == MoveToBezierPathElement) ? s.first + 1 : s.first;
        start = s.start;
        subpaths.push_back(s);
    }

    BezierPath out = *this;
    out.m_elements.clear();
    for (auto sp = subpaths.rbegin(); sp != subpaths.rend(); ++sp) {
        // The point each segment starts from.
        auto segmentStart = [&](size_t i) { return i == sp->first ? sp->start : m_elements[i - 1].endPoint(); };
        // Appends segment i run backwards: a line back to its start, or the curve with its
        // control points swapped.
        auto appendReversed = [&](size_t i) {
            const PathElement &e = m_elements[i];
            if (e.kind == CurveToBezierPathElement)
                out.curveToPoint(segmentStart(i), e.points[1], e.points[0]);
            else
                out.lineToPoint(segmentStart(i));
        };
        const Point end = sp->last > sp->first ? m_elements[sp->last - 1].endPoint() : sp->start;
        if (!sp->closed) {
            out.moveToPoint(end);
            for (size_t i = sp->last; i-- > sp->first;)
                appendReversed(i);
            continue;
        }
        out.moveToPoint(sp->start);
        if (end != sp->start)
            out.lineToPoint(end);
        for (size_t i = sp->last; i-- > sp->first;) {
            // The first segment, when straight, is drawn by the close-path.
            if (i == sp->first && m_elements[i].kind != CurveToBezierPathElement)
                break;
            appendReversed(i);
        }
        out.closePath();
    }
    return out;
}
