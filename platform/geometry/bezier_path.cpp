// Element storage, construction, attributes and transforms of the Bezier path.
#include "platform/geometry/bezier_path.h"

#include "platform/geometry/affine_transform.h"

#include <algorithm>
#include <stdexcept>

BezierPath::BezierPath() = default;

void BezierPath::moveToPoint(Point p)
{
    m_elements.push_back({MoveToBezierPathElement, {p, {}, {}}});
}

void BezierPath::lineToPoint(Point p)
{
    m_elements.push_back({LineToBezierPathElement, {p, {}, {}}});
}

void BezierPath::curveToPoint(Point end, Point controlPoint1, Point controlPoint2)
{
    m_elements.push_back({CurveToBezierPathElement, {controlPoint1, controlPoint2, end}});
}

void BezierPath::closePath()
{
    m_elements.push_back({ClosePathBezierPathElement, {}});
}

void BezierPath::relativeMoveToPoint(Point d)
{
    moveToPoint(currentPoint() + d);
}

void BezierPath::relativeLineToPoint(Point d)
{
    lineToPoint(currentPoint() + d);
}

void BezierPath::relativeCurveToPoint(Point end, Point controlPoint1, Point controlPoint2)
{
    const Point c = currentPoint();
    curveToPoint(c + end, c + controlPoint1, c + controlPoint2);
}

void BezierPath::removeAllPoints()
{
    m_elements.clear();
}

void BezierPath::appendBezierPath(const BezierPath &other)
{
    m_elements.insert(m_elements.end(), other.m_elements.begin(), other.m_elements.end());
}

BezierPathElement BezierPath::elementAtIndex(int index, Point *points) const
{
    if (index < 0 || index >= elementCount())
        throw std::out_of_range("BezierPath::elementAtIndex: no such element");
    const PathElement &e = m_elements[size_t(index)];
    if (points)
        std::copy_n(e.points, e.pointCount(), points);
    return e.kind;
}

void BezierPath::setAssociatedPoints(const Point *points, int index)
{
    if (index < 0 || index >= elementCount())
        throw std::out_of_range("BezierPath::setAssociatedPoints: no such element");
    PathElement &e = m_elements[size_t(index)];
    std::copy_n(points, e.pointCount(), e.points);
}

Point BezierPath::currentPoint() const
{
    if (m_elements.empty())
        return {};
    const PathElement &last = m_elements.back();
    if (last.kind != ClosePathBezierPathElement)
        return last.endPoint();
    for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
        if (it->kind == MoveToBezierPathElement)
            return it->points[0];
    }
    return {};
}

Rect BezierPath::controlPointBounds() const
{
    bool any = false;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const PathElement &e : m_elements) {
        for (int i = 0; i < e.pointCount(); ++i) {
            const Point p = e.points[i];
            if (!any) {
                x0 = x1 = p.x;
                y0 = y1 = p.y;
                any = true;
            }
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

void BezierPath::transformUsingAffineTransform(const AffineTransform &t)
{
    for (PathElement &e : m_elements) {
        for (int i = 0; i < e.pointCount(); ++i)
            e.points[i] = t.transformPoint(e.points[i]);
    }
}

void BezierPath::setLineDash(const float *pattern, int count, float phase)
{
    if (pattern && count > 0)
        m_dash.assign(pattern, pattern + count);
    else
        m_dash.clear();
    m_dashPhase = phase;
}
