// Small geometry additions: a shear appended to an affine transform and rectangles
// spanned by two points.
#pragma once

#include "platform/geometry/geometry.h"

class AffineTransform;

// Appends the shear (p, q) -> (p + x·q, q + y·p) to `t`: it acts after t's own transform.
// The factors are ratios, not angles.
void skewXBy(AffineTransform &t, float x, float y);

// The rectangle spanned by two opposite corners, in whichever order they come.
Rect VekRectFromPoints(Point p1, Point p2);
// The same rectangle; the corner number (0 to 3, which corner p1 is) does not change it.
Rect VekRectFromPointsAtCorner(Point p1, Point p2, int corner);
