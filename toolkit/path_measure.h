// Measuring Bezier paths: single cubic curves (evaluation, splitting, length) and whole
// paths (length, trimming, points at equal or glyph distances, hit tests).
//
// All lengths are single-precision floats in canvas coordinates. The path operations keep
// no state and walk the elements with a current point and a sub-path start that both begin
// at (0, 0), so a path whose first element is not a move-to starts at the origin.
#pragma once

#include "platform/geometry/bezier_path.h"

#include <vector>

// One cubic Bezier curve: P0 (the start), P1 and P2 (the control points), P3 (the end).
struct BezierCurve {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;

    BezierCurve() = default;
    BezierCurve(float ax0, float ay0, float ax1, float ay1, float ax2, float ay2, float ax3, float ay3)
        : x0(ax0), y0(ay0), x1(ax1), y1(ay1), x2(ax2), y2(ay2), x3(ax3), y3(ay3) {}
    // The curve of a curve-to element that starts at `start`.
    BezierCurve(Point start, const PathElement &curveTo)
        : BezierCurve(start, curveTo.points[0], curveTo.points[1], curveTo.points[2]) {}
    BezierCurve(Point p0, Point p1, Point p2, Point p3)
        : x0(p0.x), y0(p0.y), x1(p1.x), y1(p1.y), x2(p2.x), y2(p2.y), x3(p3.x), y3(p3.y) {}
};

// One coordinate of the cubic with control values a, b, c, d at parameter t:
// (1-t)^3·a + 3t(1-t)^2·b + 3t^2(1-t)·c + t^3·d.
float bezierInterpolation(float t, float a, float b, float c, float d);
Point pointOnCurve(float t, const BezierCurve &curve);
// De Casteljau's split at t: `left` runs from P0 to the point at t, `right` from there to P3.
void splitCurve(const BezierCurve &curve, BezierCurve &left, BezierCurve &right, float t);
// The two chords through the curve's midpoint: |P(0.5) - P0| + |P3 - P(0.5)|.
float curveApproxLen(const BezierCurve &curve);
float distanceBetween(float x0, float y0, float x1, float y1);

// The length of one curve within `errVal`: the curve is halved until its control polygon
// is at most errVal longer than its chord. The path is not consulted.
float curveLength(const BezierPath &path, const BezierCurve &curve, float errVal);
// Adds the error-bounded length of `curve` to `length` (the recursion behind curveLength).
void addIfClose(const BezierPath &path, const BezierCurve &curve, float &length, float errVal);

// The length of the whole path; curves count with curveApproxLen, close-paths with their
// closing leg. An empty path has length 0.
float totalLength(const BezierPath &path);

// The first part of the path up to `length`, ending inside the element where the length
// runs out (a curve is cut where its approximate length matches within 0.01). A length at
// or beyond the total copies the whole path. The line attributes are copied.
BezierPath bezierPathByTrimmingToLength(const BezierPath &path, double length);

// Up to n points at equal distances along the path. An open path gets points at both ends
// (step = length / (n - 1)); a path with a close-path element does not repeat its start
// (step = length / n). A path of length 0, and n = 1, give the start point alone; n < 1
// and an empty path give no points.
std::vector<Point> divideInto(const BezierPath &path, int n);

// The centres of glyphs laid along the path, one per entry of `glyphSizes` (width, height),
// in order: the first centre lies half its extent from the start of the path (and of each
// later sub-path), and neighbouring centres lie extent/2 + space + next extent/2 apart
// along the path. The extent is a glyph's width, or its height on a vertical straight
// segment when `slant` is 0. Fewer points come back when the path is too short.
std::vector<Point> divideIntoAccordingToWithSpaceSlant(const BezierPath &path,
                                                       const std::vector<Size> &glyphSizes, float space,
                                                       int slant);

// Whether `point` lies on the outline: the path (close-path legs included) passes through
// the 3 x 3 square centred on it. On a hit, `confirmed` gets the first point of the
// element (in path order) inside the square, `inElement` the element's index and
// `previousPoint` the point the path had reached before that element (NoPoint before the
// first point). On a miss `inElement` holds the last element's index. Out-arguments may
// be null.
bool isOnPath(const BezierPath &path, Point point, Point *confirmed, int *inElement, Point *previousPoint);

// Whether `point` is over one of the path's own points (5 x 5 square centred on it):
// move-to and line-to points (number 0), and a curve-to's control point 1, control
// point 2 and end point (numbers 0, 1, 2), the first match in element order.
bool pointUnder(const BezierPath &path, Point point, int *selectedElementNr, int *pointNrInElement);

// The point of the first element when it is a move-to, else (0, 0) (also for an empty path).
Point firstPoint(const BezierPath &path);
