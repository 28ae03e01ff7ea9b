// Cubic curve evaluation, splitting and length, and the length and trimming of whole paths.
#include "toolkit/path_measure.h"

#include <algorithm>
#include <cmath>

namespace {

// Halving a curve 16 times leaves pieces far below any drawing error; the limit only
// guards against error bounds of 0 or less and non-finite coordinates, which would
// otherwise never meet the bound.
constexpr int maxLengthDepth = 16;

void addBoundedLength(const BezierCurve &c, float &length, float errVal, int depth)
{
    const float polygon = distanceBetween(c.x0, c.y0, c.x1, c.y1) + distanceBetween(c.x1, c.y1, c.x2, c.y2)
        + distanceBetween(c.x2, c.y2, c.x3, c.y3);
    const float chord = distanceBetween(c.x0, c.y0, c.x3, c.y3);
    if (polygon - chord > errVal && depth < maxLengthDepth) {
        BezierCurve left, right;
        splitCurve(c, left, right, 0.5f);
        addBoundedLength(left, length, errVal, depth + 1);
        addBoundedLength(right, length, errVal, depth + 1);
        return;
    }
    length += polygon;
}

Point lerp(Point from, Point to, double f)
{
    return {float(from.x + (double(to.x) - from.x) * f), float(from.y + (double(to.y) - from.y) * f)};
}

// The part of `curve` whose approximate length matches `remaining` within 0.01, found by
// bisection on the parameter.
BezierCurve leftPartOfLength(const BezierCurve &curve, double remaining)
{
    float t = 0.5f, low = 0, high = 1;
    BezierCurve left, right;
    for (int i = 0; i < 64; ++i) {
        splitCurve(curve, left, right, t);
        const double leftLength = curveApproxLen(left);
        if (std::fabs(remaining - leftLength) < 0.01)
            break;
        const float next = leftLength < remaining ? (t + high) / 2 : (low + t) / 2;
        (leftLength < remaining ? low : high) = t;
        if (next == t)
            break;
        t = next;
    }
    return left;
}

} // namespace

float bezierInterpolation(float t, float a, float b, float c, float d)
{
    const float u = 1 - t;
    return u * u * u * a + 3 * t * u * u * b + 3 * t * t * u * c + t * t * t * d;
}

Point pointOnCurve(float t, const BezierCurve &c)
{
    return {bezierInterpolation(t, c.x0, c.x1, c.x2, c.x3), bezierInterpolation(t, c.y0, c.y1, c.y2, c.y3)};
}

void splitCurve(const BezierCurve &c, BezierCurve &left, BezierCurve &right, float t)
{
    const float u = 1 - t;
    auto at = [u, t](float a, float b) { return u * a + t * b; };
    const float x01 = at(c.x0, c.x1), y01 = at(c.y0, c.y1);
    const float x12 = at(c.x1, c.x2), y12 = at(c.y1, c.y2);
    const float x23 = at(c.x2, c.x3), y23 = at(c.y2, c.y3);
    const float x012 = at(x01, x12), y012 = at(y01, y12);
    const float x123 = at(x12, x23), y123 = at(y12, y23);
    const float xm = at(x012, x123), ym = at(y012, y123);
    const BezierCurve source = c; // left or right may alias c
    left = {source.x0, source.y0, x01, y01, x012, y012, xm, ym};
    right = {xm, ym, x123, y123, x23, y23, source.x3, source.y3};
}

float curveApproxLen(const BezierCurve &c)
{
    const Point m = pointOnCurve(0.5f, c);
    return distanceBetween(c.x0, c.y0, m.x, m.y) + distanceBetween(m.x, m.y, c.x3, c.y3);
}

float distanceBetween(float x0, float y0, float x1, float y1)
{
    return std::hypot(x1 - x0, y1 - y0);
}

float curveLength(const BezierPath &path, const BezierCurve &curve, float errVal)
{
    float length = 0;
    addIfClose(path, curve, length, errVal);
    return length;
}

void addIfClose(const BezierPath &, const BezierCurve &curve, float &length, float errVal)
{
    addBoundedLength(curve, length, errVal, 0);
}

float totalLength(const BezierPath &path)
{
    float length = 0;
    Point current, start;
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement:
            current = start = e.points[0];
            break;
        case LineToBezierPathElement:
            length += distanceBetweenPoints(current, e.points[0]);
            current = e.points[0];
            break;
        case CurveToBezierPathElement:
            length += curveApproxLen(BezierCurve(current, e));
            current = e.points[2];
            break;
        case ClosePathBezierPathElement:
            length += distanceBetweenPoints(current, start);
            current = start;
            break;
        }
    }
    return length;
}

BezierPath bezierPathByTrimmingToLength(const BezierPath &path, double length)
{
    if (length >= totalLength(path))
        return path;
    if (!(length > 0)) // negative or NaN
        length = 0;
    BezierPath out = path;
    out.removeAllPoints();
    double sum = 0;
    Point current, start;
    for (const PathElement &e : path.elements()) {
        const double remaining = length - sum;
        switch (e.kind) {
        case MoveToBezierPathElement:
            out.moveToPoint(e.points[0]);
            current = start = e.points[0];
            break;
        case LineToBezierPathElement:
        case ClosePathBezierPathElement: {
            const Point end = e.kind == LineToBezierPathElement ? e.points[0] : start;
            const double leg = distanceBetweenPoints(current, end);
            if (length < sum + leg) {
                out.lineToPoint(lerp(current, end, remaining / leg));
                return out;
            }
            if (e.kind == LineToBezierPathElement)
                out.lineToPoint(end);
            else
                out.closePath();
            sum += leg;
            current = end;
            break;
        }
        case CurveToBezierPathElement: {
            const BezierCurve curve(current, e);
            const double leg = curveApproxLen(curve);
            if (length < sum + leg) {
                const BezierCurve left = leftPartOfLength(curve, remaining);
                out.curveToPoint({left.x3, left.y3}, {left.x1, left.y1}, {left.x2, left.y2});
                return out;
            }
            out.curveToPoint(e.points[2], e.points[0], e.points[1]);
            sum += leg;
            current = e.points[2];
            break;
        }
        }
    }
    return out;
}

Point firstPoint(const BezierPath &path)
{
    if (path.isEmpty() || path.element(0).kind != MoveToBezierPathElement)
        return {};
    return path.element(0).points[0];
}
