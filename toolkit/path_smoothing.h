// Turning paths into polylines with fewer points (straighten) and polylines into smooth
// curves (smoother), with the control-point construction the smoothing uses.
//
// Directions are atan2 angles in radians; a turn is the difference of two directions taken
// the short way round, in [0, pi], so that a line heading in -x with a little jitter in y
// does not read as a full turn.
#pragma once

#include "platform/geometry/bezier_path.h"

// A new path of straight lines (curves become lines to their end points) without the
// points at which the path turns by 10 degrees or less, measured from the last kept point.
// Paths of at most one element come back as copies.
BezierPath straighten(const BezierPath &path);

// A new path in which runs of short, nearly straight segments are dropped and corners
// become curves through the remaining points; a closed sub-path is closed by a curve that
// meets its first curve smoothly (no close-path element). Paths of at most two elements
// come back as copies.
BezierPath smoother(const BezierPath &path);

// The control points of a smooth curve from p1 to p2 whose tangents follow the neighbours
// prev (before p1) and next (after p2): the tangent construction through the midpoints of
// the neighbouring segments, weighted by the segment lengths. Coinciding points give
// control points on the end points instead of dividing by zero.
void ctrlPsBtwnP1(Point p1, Point p2, Point prev, Point next, Point &ctrl1, Point &ctrl2);
