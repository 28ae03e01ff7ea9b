// Test helpers for Bezier paths: building polylines and looking at element kinds and points.
#pragma once

#include "platform/geometry/bezier_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

inline BezierPath polyline(std::initializer_list<Point> points)
{
    BezierPath path;
    for (Point p : points)
        path.isEmpty() ? path.moveToPoint(p) : path.lineToPoint(p);
    return path;
}

// The element kinds, 0 move-to, 1 line-to, 2 curve-to, 3 close-path.
inline std::vector<int> kinds(const BezierPath &path)
{
    std::vector<int> out;
    for (const PathElement &e : path.elements())
        out.push_back(int(e.kind));
    return out;
}

inline ::testing::AssertionResult pointNear(Point actual, Point expected, float tolerance = 1e-4f)
{
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not near ("
                                         << expected.x << ", " << expected.y << ")";
}

inline bool allFinite(const BezierPath &path)
{
    for (const PathElement &e : path.elements()) {
        for (int i = 0; i < e.pointCount(); ++i) {
            if (!std::isfinite(e.points[i].x) || !std::isfinite(e.points[i].y))
                return false;
        }
    }
    return true;
}
