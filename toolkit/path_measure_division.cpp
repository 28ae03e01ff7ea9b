// Points along a path: at equal distances, and at the centres of glyphs laid along it.
#include "toolkit/path_measure.h"

#include <algorithm>
#include <cmath>

namespace {

Point lerp(Point from, Point to, double f)
{
    return {float(from.x + (double(to.x) - from.x) * f), float(from.y + (double(to.y) - from.y) * f)};
}

// Whether a straight segment counts as vertical for laying glyphs: its direction lies
// within 0.01 pi of straight up or down.
bool isVertical(Point from, Point to)
{
    const double turn = std::fabs(std::atan2(double(from.y) - to.y, double(from.x) - to.x) / M_PI);
    return turn > 0.49 && turn < 0.51;
}

bool hasClosePath(const BezierPath &path)
{
    return std::any_of(path.elements().begin(), path.elements().end(),
                       [](const PathElement &e) { return e.kind == ClosePathBezierPathElement; });
}

// Walks the drawn segments of a path in order. `segment(length, vertical, pointAt)` is
// called for every line, curve and closing leg with its length (curves by curveApproxLen)
// and a function giving the point at a fraction of it; `move(point, isLast)` for every
// move-to. Both return false to stop the walk. The walk starts at (0, 0).
template<typename Segment, typename Move>
Point walkSegments(const BezierPath &path, Segment segment, Move move)
{
    Point current, start;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const PathElement &e = path.element(i);
        bool goOn = true;
        switch (e.kind) {
        case MoveToBezierPathElement:
            current = start = e.points[0];
            goOn = move(current, i == count - 1);
            break;
        case LineToBezierPathElement:
        case ClosePathBezierPathElement: {
            const Point from = current, to = e.kind == LineToBezierPathElement ? e.points[0] : start;
            goOn = segment(double(distanceBetweenPoints(from, to)), isVertical(from, to),
                           [from, to](double f) { return lerp(from, to, f); });
            current = to;
            break;
        }
        case CurveToBezierPathElement: {
            const BezierCurve curve(current, e);
            goOn = segment(double(curveApproxLen(curve)), false,
                           [&curve](double f) { return pointOnCurve(float(f), curve); });
            current = e.points[2];
            break;
        }
        }
        if (!goOn)
            break;
    }
    return current;
}

} // namespace

std::vector<Point> divideInto(const BezierPath &path, int n)
{
    std::vector<Point> points;
    if (n < 1 || path.isEmpty())
        return points;
    const size_t wanted = size_t(n);
    const bool startsWithMove = path.element(0).kind == MoveToBezierPathElement;
    const Point origin = startsWithMove ? path.element(0).points[0] : Point{};
    const double total = totalLength(path);
    if (n == 1 || !(total > 0) || !std::isfinite(total))
        return {origin};

    // An open path gets points at both ends; a closed one does not repeat its start.
    const double step = hasClosePath(path) ? total / n : total / (n - 1);
    points.reserve(std::min<size_t>(wanted, 4096));
    if (!startsWithMove)
        points.push_back(origin);
    // The distance travelled along the path since the last placed point; move-tos jump
    // without adding to it.
    double carry = 0;
    const Point end = walkSegments(
        path,
        [&](double length, bool, auto pointAt) {
            if (length > 0) {
                double d = step - carry;
                for (; d <= length && points.size() < wanted; d += step)
                    points.push_back(pointAt(d / length));
                carry = length - (d - step);
            }
            return points.size() < wanted;
        },
        [&](Point p, bool isLast) {
            if (points.empty() || carry == 0 || isLast)
                points.push_back(p);
            return points.size() < wanted;
        });
    // Rounding may leave the far end of an open path just out of reach.
    if (points.size() == wanted - 1)
        points.push_back(end);
    return points;
}

std::vector<Point> divideIntoAccordingToWithSpaceSlant(const BezierPath &path,
                                                       const std::vector<Size> &glyphSizes, float space,
                                                       int slant)
{
    std::vector<Point> centres;
    const size_t n = glyphSizes.size();
    if (n == 0)
        return centres;
    centres.reserve(n);
    // The distance since the last centre, or since the sub-path's start while no glyph has
    // been placed on it (`restart`): spacing begins afresh on every sub-path.
    double carry = 0;
    bool restart = true;
    walkSegments(
        path,
        [&](double length, bool vertical, auto pointAt) {
            if (length > 0) {
                const bool byHeight = vertical && slant == 0;
                auto half = [&](size_t k) {
                    return double(byHeight ? glyphSizes[k].height : glyphSizes[k].width) / 2;
                };
                size_t m = centres.size();
                double d = (restart ? half(m) : half(m - 1) + space + half(m)) - carry;
                d = std::max(d, 0.0);
                double last = -1;
                while (d <= length && m < n) {
                    centres.push_back(pointAt(d / length));
                    last = d;
                    d += half(m) + space;
                    if (++m < n)
                        d += half(m);
                }
                if (last >= 0) {
                    carry = length - last;
                    restart = false;
                } else {
                    carry += length;
                }
            }
            return centres.size() < n;
        },
        [&](Point p, bool isLast) {
            if (isLast)
                centres.push_back(p);
            carry = 0;
            restart = true;
            return centres.size() < n;
        });
    return centres;
}
