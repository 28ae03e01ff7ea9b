// Shear of affine transforms and rectangles from two points.
#include "toolkit/geometry_extensions.h"

#include "platform/geometry/affine_transform.h"

#include <algorithm>
#include <cmath>

void skewXBy(AffineTransform &t, float x, float y)
{
    t.appendTransform(AffineTransform(1, y, x, 1, 0, 0));
}

Rect VekRectFromPoints(Point p1, Point p2)
{
    return {std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::fabs(p1.x - p2.x), std::fabs(p1.y - p2.y)};
}

Rect VekRectFromPointsAtCorner(Point p1, Point p2, int /*corner*/)
{
    return VekRectFromPoints(p1, p2);
}
