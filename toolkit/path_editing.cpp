// Element editing of Bezier paths: counts, deletion, insertion, closing, joining, placing.
#include "toolkit/path_editing.h"

#include "platform/geometry/affine_transform.h"
#include "toolkit/path_measure.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int countElements(const BezierPath &path, BezierPathElement kind)
{
    return int(std::count_if(path.elements().begin(), path.elements().end(),
                             [kind](const PathElement &e) { return e.kind == kind; }));
}

// An empty path that carries the line attributes of `path`.
BezierPath emptyLike(const BezierPath &path)
{
    BezierPath out = path;
    out.removeAllPoints();
    return out;
}

void appendElements(BezierPath &out, const BezierPath &from, int begin, int end)
{
    for (int i = begin; i < end; ++i)
        appendElement(out, from.element(i));
}

// Replaces every point of every element (control points included) by f(point).
template <typename F>
void mapPoints(BezierPath &path, F f)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        PathElement e = path.element(i);
        for (int j = 0; j < e.pointCount(); ++j)
            e.points[j] = f(e.points[j], e.kind);
        path.setAssociatedPoints(e.points, i);
    }
}

void translatePath(BezierPath &path, float dx, float dy)
{
    AffineTransform t;
    t.translateXBy(dx, dy);
    path.transformUsingAffineTransform(t);
}

} // namespace

int moveElementCount(const BezierPath &path)
{
    return countElements(path, MoveToBezierPathElement);
}

int closeElementCount(const BezierPath &path)
{
    return countElements(path, ClosePathBezierPathElement);
}

void appendElement(BezierPath &path, const PathElement &element)
{
    switch (element.kind) {
    case MoveToBezierPathElement: path.moveToPoint(element.points[0]); break;
    case LineToBezierPathElement: path.lineToPoint(element.points[0]); break;
    case CurveToBezierPathElement: path.curveToPoint(element.points[2], element.points[0], element.points[1]); break;
    case ClosePathBezierPathElement: path.closePath(); break;
    }
}

void appendBezierPathRemovingInitialMove(BezierPath &path, const BezierPath &other)
{
    const bool skipFirst = !other.isEmpty() && other.element(0).kind == MoveToBezierPathElement;
    appendElements(path, other, skipFirst ? 1 : 0, other.elementCount());
}

std::optional<BezierPath> deleteElementNr(const BezierPath &path, int k)
{
    const int count = path.elementCount();
    if (count == 1)
        return std::nullopt;
    if (k < 0 || k >= count)
        return path;
    BezierPath out = emptyLike(path);
    if (k == 0) {
        // A close-path behind the deleted start closed a sub-path of one point: it goes too.
        if (path.element(1).kind != ClosePathBezierPathElement)
            out.moveToPoint(path.element(1).endPoint());
        appendElements(out, path, 2, count);
        return out;
    }
    out.moveToPoint(path.element(0).endPoint());
    appendElements(out, path, 1, k);
    appendElements(out, path, k + 1, count);
    return out;
}

bool closePathIncludingElement(BezierPath &path, int k)
{
    const int count = path.elementCount();
    if (count == 0 || k < -1 || k >= count)
        return false;
    // The sub-path ends before the first move-to behind element k, or at the path's end.
    int end = count;
    if (k >= 0 && moveElementCount(path) > 1) {
        for (int i = std::max(k + 1, 1); i < count; ++i) {
            if (path.element(i).kind == MoveToBezierPathElement) {
                end = i;
                break;
            }
        }
    }
    if (path.element(end - 1).kind == ClosePathBezierPathElement)
        return false;
    const BezierPath old = path;
    path.removeAllPoints();
    appendElements(path, old, 0, end);
    path.closePath();
    appendElements(path, old, end, count);
    return true;
}

int addPointAt(BezierPath &path, Point p, int e, int kind, Point a)
{
    const int count = path.elementCount();
    int match = -1;
    Point subPathStart{};
    for (int i = 0; i < count && match < 0; ++i) {
        const PathElement &el = path.element(i);
        if (el.kind == MoveToBezierPathElement)
            subPathStart = el.points[0];
        const Point point = el.kind == ClosePathBezierPathElement ? subPathStart : el.endPoint();
        if ((e == -1 || i == e - 1) && point == a)
            match = i;
    }
    if (match < 0)
        return -1;

    BezierPath out = emptyLike(path);
    appendElements(out, path, 0, match);
    const bool replacesStart = kind == 2 && match == 0 && path.element(0).kind == MoveToBezierPathElement;
    if (!replacesStart)
        appendElement(out, path.element(match));
    int rest = match + 1;
    if (kind == 1) {
        out.curveToPoint(p, 0.7f * a + 0.3f * p, 0.4f * a + 0.6f * p);
    } else if (kind == 2) {
        out.moveToPoint(p);
        if (e == -1) {
            // A short mark at p keeps the new sub-path visible, and the old path carries on from a.
            out.lineToPoint({p.x + 0.1f, p.y + 0.1f});
            out.moveToPoint(a);
        } else if (rest < count && path.element(rest).kind == ClosePathBezierPathElement) {
            ++rest;
        }
    } else {
        out.lineToPoint(p);
    }
    const int result = kind == 2 && e == -1 ? out.elementCount() - 2 : out.elementCount() - 1;
    appendElements(out, path, rest, count);
    path = out;
    return result;
}

BezierPath connectTo(BezierPath &path, const BezierPath &other, float /*errval*/)
{
    if (other.isEmpty())
        return other;
    if (path.isEmpty() || path.element(path.elementCount() - 1).kind == ClosePathBezierPathElement) {
        path.appendBezierPath(other);
        return other;
    }
    const Point end = path.element(path.elementCount() - 1).endPoint();
    const Rect b = path.bounds();
    const float side = std::max(b.width(), b.height());
    const float tolerance = side <= 100.0f ? 2.0f : std::floor(side / 100.0f) + 2.0f;
    const auto fits = [&](const BezierPath &candidate) {
        const Point first = firstPoint(candidate);
        return std::fabs(first.x - end.x) < tolerance && std::fabs(first.y - end.y) < tolerance;
    };

    BezierPath joined = other;
    if (!fits(joined)) {
        joined = other.bezierPathByReversingPath();
        if (!fits(joined)) {
            path.appendBezierPath(other);
            return other;
        }
    }
    appendBezierPathRemovingInitialMove(path, joined);
    if (joined.element(0).kind == MoveToBezierPathElement && joined.element(0).points[0] != end)
        joined.setAssociatedPoints(&end, 0);
    return joined;
}

BezierPath &keepAtBase(BezierPath &path)
{
    const Rect c = path.controlPointBounds();
    const Rect b = path.bounds();
    if ((c.origin.x != 0 && c.width() >= b.width()) || (c.origin.y != 0 && c.height() >= b.height()))
        translatePath(path, 0.5f - c.origin.x, 0.5f - c.origin.y);
    return path;
}

BezierPath &setBoundsAtX(BezierPath &path, float x, float y)
{
    const Rect b = path.bounds();
    translatePath(path, x - b.origin.x, y - b.origin.y);
    return path;
}

BezierPath adjustToHalfPosition(const BezierPath &path, bool eachPoint)
{
    BezierPath out = path;
    if (path.isEmpty())
        return out;
    if (eachPoint) {
        mapPoints(out, [](Point q, BezierPathElement) { return HalfPosition(q); });
        return out;
    }
    const Point p0 = path.element(0).endPoint();
    const Point h0 = HalfPosition(p0);
    Point offset = h0 - p0;
    for (int i = 1; i < path.elementCount(); ++i) {
        const PathElement &el = path.element(i);
        if (el.kind == ClosePathBezierPathElement)
            continue;
        const Point q = el.points[0];
        const Point h = HalfPosition(q);
        if (h.x < h0.x)
            offset.x = h.x - q.x;
        if (h.y > h0.y)
            offset.y = h.y - q.y;
    }
    translatePath(out, offset.x, offset.y);
    return out;
}

BezierPath setAllPointsToPositive(const BezierPath &path)
{
    float minX = 0, minY = 0;
    for (const PathElement &el : path.elements()) {
        for (int j = 0; j < el.pointCount(); ++j) {
            minX = std::min(minX, el.points[j].x);
            minY = std::min(minY, el.points[j].y);
        }
    }
    BezierPath out = path;
    if (minX == 0 && minY == 0)
        return out;
    const Point shift{-minX, -minY};
    mapPoints(out, [shift](Point q, BezierPathElement kind) {
        const Point moved = q + shift;
        return kind == CurveToBezierPathElement ? HalfPosition(moved) : moved;
    });
    return out;
}

float angleX(float x, float y)
{
    float degrees = float(std::atan2(double(y), double(x)) * 180.0 / std::numbers::pi);
    if (degrees < 0)
        degrees += 360.0f;
    // A tiny negative angle rounds up to 360 in single precision.
    return degrees >= 360.0f ? 0.0f : degrees;
}

Point HalfPosition(Point p)
{
    return {std::floor(p.x) + 0.5f, std::floor(p.y) + 0.5f};
}
