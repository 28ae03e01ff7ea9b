// The Bezier path: a list of move-to, line-to, curve-to and close-path elements with
// the line attributes a stroke needs.
//
// Elements are numbered from 0 in the order they were added, and every later layer
// refers to them by that number (selected element, point number within an element),
// so the constructors below fix where their elements start and which way they run:
//   - rectangles start at (minX, minY) and run to (maxX, minY), (maxX, maxY), (minX, maxY),
//     then close (4 elements after the move-to: 3 line-tos and a close-path);
//   - ovals start at (maxX, midY) and run through (midX, maxY), (minX, midY), (midX, minY)
//     back to (maxX, midY) as four curve-tos, then close;
//   - rounded rectangles start at (minX + rx, minY) and run the same way as rectangles:
//     line, corner curve, line, corner curve, line, corner curve, line, corner curve back to
//     the start, then close (10 elements); radii are cut to half the sides, and a zero
//     radius gives the plain rectangle;
//   - arcs run from the start angle to the end angle, counter-clockwise in the sense of
//     increasing angle unless `clockwise` is set, as curve-tos of at most 90 degrees each
//     (equal angles add no curve; 360 degrees or more give the full circle).
// Coordinates are single-precision floats; the path keeps no state beyond its elements
// and attributes, and copying is cheap enough for values.
#pragma once

#include "platform/geometry/geometry.h"

#include <vector>

class AffineTransform;

enum BezierPathElement { MoveToBezierPathElement = 0, LineToBezierPathElement = 1,
                         CurveToBezierPathElement = 2, ClosePathBezierPathElement = 3 };
enum LineCapStyle { ButtLineCapStyle = 0, RoundLineCapStyle = 1, SquareLineCapStyle = 2 };
enum LineJoinStyle { MiterLineJoinStyle = 0, RoundLineJoinStyle = 1, BevelLineJoinStyle = 2 };
enum WindingRule { NonZeroWindingRule = 0, EvenOddWindingRule = 1 };

// One element: its kind and the points that go with it (one for move-to and line-to;
// control point 1, control point 2 and the end point for curve-to; none for close-path).
struct PathElement {
    BezierPathElement kind = MoveToBezierPathElement;
    Point points[3];

    int pointCount() const { return kind == CurveToBezierPathElement ? 3 : kind == ClosePathBezierPathElement ? 0 : 1; }
    // The element's own point: the point of a move-to or line-to, the end of a curve-to.
    Point endPoint() const { return kind == CurveToBezierPathElement ? points[2] : points[0]; }
};

class BezierPath {
public:
    BezierPath();

    static BezierPath bezierPathWithRect(const Rect &r);
    static BezierPath bezierPathWithOvalInRect(const Rect &r);
    static BezierPath bezierPathWithRoundedRect(const Rect &r, float xRadius, float yRadius);

    // Construction.
    void moveToPoint(Point p);
    void lineToPoint(Point p);
    void curveToPoint(Point end, Point controlPoint1, Point controlPoint2);
    void closePath();
    // The relative forms add the current point; they need one.
    void relativeMoveToPoint(Point d);
    void relativeLineToPoint(Point d);
    void relativeCurveToPoint(Point end, Point controlPoint1, Point controlPoint2);
    void removeAllPoints();

    void appendBezierPath(const BezierPath &other);
    void appendBezierPathWithRect(const Rect &r);
    void appendBezierPathWithOvalInRect(const Rect &r);
    void appendBezierPathWithRoundedRect(const Rect &r, float xRadius, float yRadius);
    // Points joined by lines; the first is a move-to when the path is empty, else a line-to.
    void appendBezierPathWithPoints(const Point *points, int count);
    // An arc of a circle, angles in degrees. The arc's start is joined to the path by a
    // line-to, or begins it with a move-to when the path is empty.
    void appendBezierPathWithArcWithCenter(Point center, float radius, float startAngle, float endAngle,
                                           bool clockwise = false);
    // The tangent arc of the PostScript "arct" operator: a line from the current point
    // towards point1, then an arc of the given radius that turns onto the line from point1
    // to point2, ending at its tangent point. Collinear points give a line to point1.
    void appendBezierPathWithArcFromPoint(Point point1, Point point2, float radius);

    // Element access, numbered as the elements were added.
    int elementCount() const { return int(m_elements.size()); }
    bool isEmpty() const { return m_elements.empty(); }
    // The kind of element i; its points are copied to `points` (room for 3) when given.
    // An index out of range throws std::out_of_range (as does setAssociatedPoints).
    BezierPathElement elementAtIndex(int index, Point *points = nullptr) const;
    const PathElement &element(int index) const { return m_elements[size_t(index)]; }
    const std::vector<PathElement> &elements() const { return m_elements; }
    // Replaces the points of element i (as many as its kind has).
    void setAssociatedPoints(const Point *points, int index);
    // The point the next element would start from: the end of the last element, or the
    // start of the sub-path after a close-path; (0, 0) for an empty path.
    Point currentPoint() const;

    // Geometry.
    // The tight bounds of the drawn outline (curve extrema, not control points);
    // the zero rectangle for an empty path.
    Rect bounds() const;
    // The bounds of every point, control points included.
    Rect controlPointBounds() const;
    // Whether the point lies inside the filled area under the path's winding rule
    // (open sub-paths count as closed).
    bool containsPoint(Point p) const;
    void transformUsingAffineTransform(const AffineTransform &t);
    // The same outline with every curve replaced by lines within the path's flatness.
    BezierPath bezierPathByFlatteningPath() const;
    // The same outline traversed backwards, with the same line attributes:
    //   - the sub-paths come in reverse order, so the result starts where the path ended;
    //   - an open sub-path starts with a move-to at its old end and runs its segments
    //     backwards (a curve keeps its shape, with its control points swapped), so
    //     element i of an open one-sub-path path with n elements ends at the point that
    //     element n-1-i ended at;
    //   - a closed sub-path stays closed and starts at its old start point S: a line-to
    //     to its old last point P (left out when P is S), the segments backwards, and the
    //     close-path, which draws the old first segment backwards when that was a line (a
    //     curve is kept as a curve-to back to S). The rectangle S, B, C, D, close becomes
    //     S, D, C, B, close; the oval keeps its 6 elements;
    //   - a lone move-to stays a lone move-to; a sub-path without a move-to starts at the
    //     previous sub-path's start, or at (0, 0), and gets an explicit move-to.
    BezierPath bezierPathByReversingPath() const;

    // Line attributes.
    float lineWidth() const { return m_lineWidth; }
    void setLineWidth(float w) { m_lineWidth = w; }
    LineCapStyle lineCapStyle() const { return m_lineCap; }
    void setLineCapStyle(LineCapStyle s) { m_lineCap = s; }
    LineJoinStyle lineJoinStyle() const { return m_lineJoin; }
    void setLineJoinStyle(LineJoinStyle s) { m_lineJoin = s; }
    // The ratio of miter length to line width beyond which a miter join becomes a bevel.
    float miterLimit() const { return m_miterLimit; }
    void setMiterLimit(float l) { m_miterLimit = l; }
    float flatness() const { return m_flatness; }
    void setFlatness(float f) { m_flatness = f; }
    WindingRule windingRule() const { return m_windingRule; }
    void setWindingRule(WindingRule r) { m_windingRule = r; }
    // Dash lengths in user units (not in line widths); an empty pattern draws solid.
    void setLineDash(const float *pattern, int count, float phase);
    const std::vector<float> &lineDash() const { return m_dash; }
    float lineDashPhase() const { return m_dashPhase; }

    static constexpr float defaultLineWidth = 1.0f;
    static constexpr float defaultMiterLimit = 10.0f;
    static constexpr float defaultFlatness = 0.6f;

private:
    // Curve-tos that follow the circle from startRadians through sweepRadians, in pieces of
    // at most 90 degrees; the path is expected to stand at the arc's start.
    void appendArcSegments(Point center, double radius, double startRadians, double sweepRadians);

    std::vector<PathElement> m_elements;
    std::vector<float> m_dash;
    float m_dashPhase = 0;
    float m_lineWidth = defaultLineWidth;
    float m_miterLimit = defaultMiterLimit;
    float m_flatness = defaultFlatness;
    LineCapStyle m_lineCap = ButtLineCapStyle;
    LineJoinStyle m_lineJoin = MiterLineJoinStyle;
    WindingRule m_windingRule = NonZeroWindingRule;
};
