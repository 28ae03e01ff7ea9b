// Growable point lists with a closed flag, refined by four-point subdivision: PointsArray
// smooths free-hand strokes, VekContourPoints collects the contour tool's points.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/geometry/geometry.h"

#include <vector>

// What both lists share: the points in order, the closed flag, exact and approximate
// look-ups (the approximate square has side 4 and its origin at the point - 2).
class PointList {
public:
    const std::vector<Point> &points() const { return m_points; }
    bool closed() const { return m_closed; }
    void close() { m_closed = true; }

    void addPoint(Point p) { m_points.push_back(p); }
    // Empties the list and opens it.
    void clearPoints();
    bool containsPoint(Point p) const;
    bool containsPointApproximately(Point p) const;
    // The first point equal to `from` becomes `to`.
    void replacePoint(Point from, Point to);
    // The first point in the square around p becomes p.
    void replacePointApproximately(Point p);
    // Removes the first point equal to p; nothing when none is.
    void removePoint(Point p);

protected:
    // Fills `target` with one step of four-point subdivision (weights 9/16, -1/16): each
    // point followed by the new point between it and the next, an open list repeating its
    // end points. A list of 2 points or fewer is copied unchanged.
    void refineInto(PointList &target) const;
    // A move-to the first point and line-tos through the rest, closed when the list is.
    BezierPath polyline() const;

    std::vector<Point> m_points;
    bool m_closed = false;
};

// The free-hand object's list.
class PointsArray : public PointList {
public:
    int pcount() const { return int(m_points.size()); }
    // The refined list of 2n points, or a copy of this one when it holds 2 points or fewer.
    PointsArray doFourPoint() const;
    // The polyline of the points (empty for an empty list).
    BezierPath createPath() const;
};

// The contour tool's list.
class VekContourPoints : public PointList {
public:
    int count() const { return int(m_points.size()); }
    // The zero point when the list is empty.
    Point firstPoint() const;
    Point lastPoint() const;
    void removeLastPoint();
    // For a non-empty path: the points of its move-tos and line-tos up to the first
    // close-path replace the list; the closed flag stays.
    void updatePointsFromPath(const BezierPath &path);
    VekContourPoints doFourPoint() const;
    BezierPath getPath() const;
};
