// Hit tests on a path: whether a point lies on its outline, or over one of its own points.
#include "toolkit/path_measure.h"

#include <algorithm>
#include <cmath>

namespace {

// Half the side of the square a point must share with the outline, and with a knob.
constexpr double onPathHalfSide = 1.5;
constexpr double knobHalfSide = 2.5;
// Curves are cut into chords this close to the curve before they are measured.
constexpr float curveChordTolerance = 0.02f;
constexpr int maxCurveDepth = 20;

bool inSquare(Point p, Point centre, double half)
{
    return std::fabs(double(p.x) - centre.x) <= half && std::fabs(double(p.y) - centre.y) <= half;
}

// The point of a segment closest to a centre, measured as the larger of the x and y
// distances (so a point is within a square exactly when that distance is at most half
// its side).
struct Nearest {
    Point point;
    double distance = HUGE_VAL;
};

Nearest nearestOnSegment(Point a, Point b, Point centre)
{
    const double ax = double(a.x) - centre.x, ay = double(a.y) - centre.y;
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    auto distanceAt = [&](double s) { return std::max(std::fabs(ax + s * dx), std::fabs(ay + s * dy)); };
    // The distance is convex and piecewise linear in s: its minimum lies at an end or
    // where x or y crosses the centre or |x| meets |y|.
    double candidates[6] = {0, 1, 0, 0, 0, 0};
    int count = 2;
    auto add = [&](double num, double den) {
        if (den != 0) {
            const double s = num / den;
            if (s > 0 && s < 1)
                candidates[count++] = s;
        }
    };
    add(-ax, dx);
    add(-ay, dy);
    add(ay - ax, dx - dy);
    add(-ax - ay, dx + dy);
    double best = 0, bestDistance = HUGE_VAL;
    for (int i = 0; i < count; ++i) {
        const double d = distanceAt(candidates[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidates[i];
        }
    }
    return {{float(a.x + best * dx), float(a.y + best * dy)}, bestDistance};
}

void keepNearer(Nearest &best, const Nearest &candidate)
{
    if (candidate.distance < best.distance)
        best = candidate;
}

// Searches the parts of the curve whose control points come within `half` of the centre;
// flat enough parts are measured as chords.
void nearestOnCurve(const BezierCurve &c, Point centre, double half, int depth, Nearest &best)
{
    const float minX = std::min({c.x0, c.x1, c.x2, c.x3}), maxX = std::max({c.x0, c.x1, c.x2, c.x3});
    const float minY = std::min({c.y0, c.y1, c.y2, c.y3}), maxY = std::max({c.y0, c.y1, c.y2, c.y3});
    if (minX > centre.x + half || maxX < centre.x - half || minY > centre.y + half || maxY < centre.y - half)
        return;
    const Point p0{c.x0, c.y0}, p3{c.x3, c.y3};
    const float chord = distanceBetween(c.x0, c.y0, c.x3, c.y3);
    const float polygon = distanceBetween(c.x0, c.y0, c.x1, c.y1) + distanceBetween(c.x1, c.y1, c.x2, c.y2)
        + distanceBetween(c.x2, c.y2, c.x3, c.y3);
    if (depth >= maxCurveDepth || !(polygon - chord > curveChordTolerance)) {
        keepNearer(best, nearestOnSegment(p0, p3, centre));
        return;
    }
    BezierCurve left, right;
    splitCurve(c, left, right, 0.5f);
    nearestOnCurve(left, centre, half, depth + 1, best);
    nearestOnCurve(right, centre, half, depth + 1, best);
}

} // namespace

bool isOnPath(const BezierPath &path, Point point, Point *confirmed, int *inElement, Point *previousPoint)
{
    Point previous = NoPoint, start = NoPoint;
    auto hit = [&](Point found) {
        if (confirmed)
            *confirmed = found;
        if (previousPoint)
            *previousPoint = previous;
        return true;
    };
    auto segmentHit = [&](Point from, Point to, Point &found) {
        const Nearest n = nearestOnSegment(from, to, point);
        found = n.point;
        return n.distance <= onPathHalfSide;
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        if (inElement)
            *inElement = i;
        const PathElement &e = path.element(i);
        Point found;
        switch (e.kind) {
        case MoveToBezierPathElement:
            previous = start = e.points[0];
            if (inSquare(e.points[0], point, onPathHalfSide))
                return hit(e.points[0]);
            break;
        case LineToBezierPathElement:
            if (inSquare(e.points[0], point, onPathHalfSide))
                return hit(e.points[0]);
            if (previous != NoPoint && segmentHit(previous, e.points[0], found))
                return hit(found);
            previous = e.points[0];
            break;
        case CurveToBezierPathElement:
            if (inSquare(e.points[2], point, onPathHalfSide))
                return hit(e.points[2]);
            if (previous != NoPoint) {
                Nearest best;
                nearestOnCurve(BezierCurve(previous, e), point, onPathHalfSide, 0, best);
                if (best.distance <= onPathHalfSide)
                    return hit(best.point);
            }
            previous = e.points[2];
            break;
        case ClosePathBezierPathElement:
            if (previous != NoPoint && start != NoPoint && segmentHit(previous, start, found))
                return hit(found);
            previous = start;
            break;
        }
    }
    if (previousPoint)
        *previousPoint = previous;
    return false;
}

bool pointUnder(const BezierPath &path, Point point, int *selectedElementNr, int *pointNrInElement)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const PathElement &e = path.element(i);
        if (selectedElementNr)
            *selectedElementNr = i;
        for (int k = 0; k < std::max(e.pointCount(), 1); ++k) {
            if (pointNrInElement)
                *pointNrInElement = k;
            if (k < e.pointCount() && inSquare(e.points[k], point, knobHalfSide))
                return true;
        }
    }
    return false;
}
