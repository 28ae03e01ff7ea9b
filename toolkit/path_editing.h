// Editing Bezier paths element by element: counting, appending, deleting and inserting
// points, closing sub-paths, joining two paths, and moving a path to the origin, onto pixel
// centres or into positive coordinates.
//
// The point of an element is the point of a move-to or line-to and the end point of a
// curve-to; a close-path's point is the start of its sub-path. Operations that build a new
// path keep the receiver's line attributes.
#pragma once

#include "platform/geometry/bezier_path.h"

#include <optional>

int moveElementCount(const BezierPath &path);
int closeElementCount(const BezierPath &path);

// Appends one element with its own kind and points.
void appendElement(BezierPath &path, const PathElement &element);
// Appends every element of `other` except a move-to at its index 0 (later move-tos stay).
void appendBezierPathRemovingInitialMove(BezierPath &path, const BezierPath &other);

// A new path without element k. Deleting element 0 makes the point of element 1 the new
// start (a curve's end point, not its control point); deleting a later element keeps the
// start and joins the neighbours. nullopt when the path has exactly one element; an index
// out of range gives an unchanged copy.
std::optional<BezierPath> deleteElementNr(const BezierPath &path, int k);

// Closes the sub-path that holds element k (k = -1: the last sub-path) by inserting a
// close-path at its end. Answers false, leaving the path as it is, when that sub-path is
// already closed, k is out of range or the path is empty.
bool closePathIncludingElement(BezierPath &path, int k);

// Inserts the point p behind the first element whose point equals `a` exactly; with e = -1
// every element is looked at, otherwise only element e - 1. `kind` 1 inserts a curve from
// a to p, 2 starts a new sub-path at p (see the definition), any other value a line to p.
// Answers the index of the new element, or -1 (path unchanged) when no element matches.
int addPointAt(BezierPath &path, Point p, int e, int kind, Point a);

// Joins `other` to the end of `path`: when other's first point (or, failing that, the first
// point of its reverse) lies within the tolerance of path's end point in x and in y, its
// elements after the move-to continue path; otherwise other is appended as a sub-path of its
// own. The tolerance is 2 for a path whose bounds are at most 100 on their longer side, else
// floor(side / 100) + 2; `errval` is not used. Answers the path that was appended, with its
// first point moved onto path's end when it was joined.
BezierPath connectTo(BezierPath &path, const BezierPath &other, float errval);

// Moves the path so that its control-point bounds begin at (0.5, 0.5), unless they begin
// at (0, 0). Answers the path.
BezierPath &keepAtBase(BezierPath &path);
// Moves the path so that its bounds begin at (x, y). Answers the path.
BezierPath &setBoundsAtX(BezierPath &path, float x, float y);

// With `eachPoint`, a copy with every point (control points included) on its pixel centre;
// without it, a copy moved as a whole so that its first point sits on a pixel centre, with
// the x offset taken from points left of it and the y offset from points below it.
BezierPath adjustToHalfPosition(const BezierPath &path, bool eachPoint);
// A copy moved by the most negative x and y (0 when none is negative) into non-negative
// coordinates; the points of curves also go onto pixel centres.
BezierPath setAllPointsToPositive(const BezierPath &path);

// The direction of the vector (x, y) in degrees, in [0, 360); (0, 0) gives 0.
float angleX(float x, float y);
// The centre of the pixel that holds p: (floor(x) + 0.5, floor(y) + 0.5).
Point HalfPosition(Point p);
