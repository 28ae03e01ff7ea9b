// Point lists: look-ups, four-point refinement and polylines.
#include "model/points_array.h"

#include <algorithm>

namespace {

Rect approximateSquare(Point p) { return Rect(p.x - 2, p.y - 2, 4, 4); }

} // namespace

void PointList::clearPoints()
{
    m_points.clear();
    m_closed = false;
}

bool PointList::containsPoint(Point p) const
{
    return std::find(m_points.begin(), m_points.end(), p) != m_points.end();
}

bool PointList::containsPointApproximately(Point p) const
{
    const Rect square = approximateSquare(p);
    return std::any_of(m_points.begin(), m_points.end(), [&](Point q) { return pointInRect(q, square); });
}

void PointList::replacePoint(Point from, Point to)
{
    auto it = std::find(m_points.begin(), m_points.end(), from);
    if (it != m_points.end())
        *it = to;
}

void PointList::replacePointApproximately(Point p)
{
    const Rect square = approximateSquare(p);
    auto it = std::find_if(m_points.begin(), m_points.end(), [&](Point q) { return pointInRect(q, square); });
    if (it != m_points.end())
        *it = p;
}

void PointList::removePoint(Point p)
{
    auto it = std::find(m_points.begin(), m_points.end(), p);
    if (it != m_points.end())
        m_points.erase(it);
}

void PointList::refineInto(PointList &target) const
{
    target.m_closed = m_closed;
    const int n = int(m_points.size());
    if (n <= 2) {
        target.m_points = m_points;
        return;
    }
    std::vector<Point> &refined = target.m_points;
    refined.clear();
    refined.reserve(size_t(2 * n));
    const auto at = [&](int i) { return m_points[size_t(((i % n) + n) % n)]; };
    for (int i = 0; i < n; ++i) {
        const Point p1 = m_points[size_t(i)];
        const Point p0 = i > 0 ? m_points[size_t(i - 1)] : m_closed ? at(n - 1) : p1;
        const Point p2 = i < n - 1 ? m_points[size_t(i + 1)] : m_closed ? at(0) : p1;
        const Point p3 = i < n - 2 ? m_points[size_t(i + 2)] : m_closed ? at(i + 2) : p2;
        const Point m = 0.5f * (p1 + p2);
        refined.push_back(p1);
        refined.push_back(m + 0.125f * (m - 0.5f * (p0 + p3)));
    }
}

BezierPath PointList::polyline() const
{
    BezierPath path;
    if (m_points.empty())
        return path;
    path.moveToPoint(m_points.front());
    for (size_t i = 1; i < m_points.size(); ++i)
        path.lineToPoint(m_points[i]);
    if (m_closed)
        path.closePath();
    return path;
}

PointsArray PointsArray::doFourPoint() const
{
    PointsArray refined;
    refineInto(refined);
    return refined;
}

BezierPath PointsArray::createPath() const { return polyline(); }

Point VekContourPoints::firstPoint() const { return m_points.empty() ? Point{} : m_points.front(); }

Point VekContourPoints::lastPoint() const { return m_points.empty() ? Point{} : m_points.back(); }

void VekContourPoints::removeLastPoint()
{
    if (!m_points.empty())
        m_points.pop_back();
}

void VekContourPoints::updatePointsFromPath(const BezierPath &path)
{
    if (path.isEmpty())
        return;
    m_points.clear();
    for (const PathElement &element : path.elements()) {
        if (element.kind == ClosePathBezierPathElement)
            break;
        if (element.kind == MoveToBezierPathElement || element.kind == LineToBezierPathElement)
            m_points.push_back(element.points[0]);
    }
}

VekContourPoints VekContourPoints::doFourPoint() const
{
    VekContourPoints refined;
    refineInto(refined);
    return refined;
}

BezierPath VekContourPoints::getPath() const { return polyline(); }
