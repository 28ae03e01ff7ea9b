#include "toolkit/path_smoothing.h"

#include "tests/support/path_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using Kinds = std::vector<int>;

namespace {

BezierPath straightLine(Point from, Point step, int count, float jitter = 0)
{
    BezierPath path;
    path.moveToPoint(from);
    for (int k = 1; k <= count; ++k) {
        const float y = k == count ? 0 : (k % 2 ? jitter : -jitter);
        path.lineToPoint({from.x + k * step.x, from.y + k * step.y + y});
    }
    return path;
}

Point atDegrees(float length, float degrees)
{
    const float r = degrees * std::numbers::pi_v<float> / 180;
    return {length * std::cos(r), length * std::sin(r)};
}

float cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
float dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }

} // namespace

TEST(Straighten, DropsPointsThatTurnByTenDegreesOrLess)
{
    struct Case {
        const char *name;
        BezierPath path;
        Kinds kinds;
        Point end;
    };
    const Case cases[] = {
        {"collinear", polyline({{0, 0}, {10, 0}, {20, 0}}), {0, 1}, {20, 0}},
        // The next point lies 11 (or 9) degrees off the direction from the last kept point.
        {"11 degrees", polyline({{0, 0}, {50, 0}, atDegrees(100, 11)}), {0, 1, 1}, atDegrees(100, 11)},
        {"9 degrees", polyline({{0, 0}, {50, 0}, atDegrees(100, 9)}), {0, 1}, atDegrees(100, 9)},
        // Heading in -x, atan2 jumps between +pi and -pi: that is no turn.
        {"leftward with jitter", straightLine({100, 0}, {-10, 0}, 6, 0.01f), {0, 1}, {40, 0}},
        {"square", BezierPath::bezierPathWithRect({0, 0, 10, 10}), {0, 1, 1, 1, 3}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const BezierPath out = straighten(c.path);
        EXPECT_EQ(kinds(out), c.kinds);
        if (c.kinds.back() == 1) {
            EXPECT_TRUE(pointNear(out.element(out.elementCount() - 1).points[0], c.end));
        }
    }
}

TEST(Straighten, CurvesBecomeLinesAndShortPathsAreCopied)
{
    BezierPath curved = polyline({{0, 0}});
    curved.curveToPoint({40, 0}, {10, 30}, {30, 30});
    curved.curveToPoint({40, 40}, {60, 10}, {60, 30});
    const BezierPath out = straighten(curved);
    EXPECT_EQ(kinds(out), (Kinds{0, 1, 1}));
    EXPECT_EQ(out.element(1).points[0], (Point{40, 0}));

    BezierPath single;
    single.moveToPoint({3, 3});
    single.setLineWidth(4);
    const BezierPath copy = straighten(single);
    EXPECT_EQ(kinds(copy), (Kinds{0}));
    EXPECT_EQ(copy.lineWidth(), 4);
}

TEST(Smoother, StraightPolylineBecomesOneCurveEvery40)
{
    // Points every 1.0 over 120, rightwards and leftwards with a little jitter in y.
    const BezierPath right = straightLine({0, 0}, {1, 0}, 120);
    const BezierPath left = straightLine({120, 0}, {-1, 0}, 120, 0.01f);
    for (const BezierPath *path : {&right, &left}) {
        const BezierPath out = smoother(*path);
        ASSERT_EQ(kinds(out), (Kinds{0, 2, 2, 1}));
        const float sign = path == &right ? 1 : -1;
        const float x0 = path == &right ? 0 : 120;
        EXPECT_NEAR(out.element(1).points[2].x, x0 + sign * 40, 1e-3);
        EXPECT_NEAR(out.element(2).points[2].x, x0 + sign * 80, 1e-3);
        EXPECT_EQ(out.element(3).points[0], (Point{x0 + sign * 120, 0}));
    }
}

TEST(Smoother, ClosedTriangleClosesWithASmoothJoint)
{
    const float h = 50 * std::sqrt(3.0f) / 2;
    BezierPath triangle = polyline({{0, 0}, {50, 0}, {25, h}});
    triangle.closePath();
    const BezierPath out = smoother(triangle);
    ASSERT_EQ(kinds(out), (Kinds{0, 2, 2, 2}));
    EXPECT_EQ(out.element(3).points[2], (Point{0, 0}));
    // The closing curve arrives at the start along the tangent the first curve leaves on.
    const Point arriving = Point{0, 0} - out.element(3).points[1];
    const Point leaving = out.element(1).points[0] - Point{0, 0};
    EXPECT_NEAR(cross(arriving, leaving), 0, 1e-2);
    EXPECT_GT(dot(arriving, leaving), 0);

    // With sides over 100 the sides stay lines, but the close still becomes a curve.
    BezierPath large = polyline({{0, 0}, {150, 0}, {75, 3 * h}});
    large.closePath();
    EXPECT_EQ(kinds(smoother(large)), (Kinds{0, 1, 1, 2}));
}

TEST(Smoother, ShortSegments)
{
    struct Case { const char *name; BezierPath path; Kinds kinds; };
    const Case cases[] = {
        {"a slight bend is dropped", polyline({{0, 0}, {5, 0}, {10, 0.5f}}), {0, 1}},
        {"a sharp corner becomes a curve", polyline({{0, 0}, {5, 0}, {5, 5}}), {0, 2, 1}},
        {"two elements are copied", polyline({{0, 0}, {1, 0}}), {0, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(kinds(smoother(c.path)), c.kinds);
    }
}

TEST(Smoother, TheEndOfASubPathIsRestoredBeforeTheNextOne)
{
    struct Case {
        const char *name;
        BezierPath path;
        Kinds kinds;
        int restored; // the element that ends at the restored point
        Point end;
    };
    // A sub-path that ends in a short curve, which is dropped, then a second sub-path.
    const auto withShortCurveAfter = [](std::initializer_list<Point> head, Point curveEnd) {
        BezierPath p = polyline(head);
        const Point from = p.currentPoint();
        p.curveToPoint(curveEnd, from + Point{1, 1}, curveEnd + Point{-1, 1});
        p.moveToPoint({0, 100});
        p.lineToPoint({50, 100});
        p.lineToPoint({100, 100});
        return p;
    };
    const Case cases[] = {
        {"after a curve", withShortCurveAfter({{0, 0}, {50, 0}}, {55, 0}), {0, 2, 0, 2, 1}, 1, {55, 0}},
        {"after the move-to", withShortCurveAfter({{0, 0}}, {5, 0}), {0, 1, 0, 2, 1}, 1, {5, 0}},
        {"after a line", withShortCurveAfter({{0, 0}, {150, 0}}, {155, 0}), {0, 1, 1, 0, 2, 1}, 2, {155, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const BezierPath out = smoother(c.path);
        ASSERT_EQ(kinds(out), c.kinds);
        EXPECT_EQ(out.element(c.restored).endPoint(), c.end);
    }
}

TEST(Smoother, NeighbouringCurvesAndLinesMerge)
{
    BezierPath twoCurves = polyline({{0, 0}});
    twoCurves.curveToPoint({40, 0}, {10, 20}, {30, 20});
    twoCurves.curveToPoint({80, 0}, {50, -20}, {70, -20});
    twoCurves.lineToPoint({200, 0});
    BezierPath out = smoother(twoCurves);
    ASSERT_EQ(kinds(out), (Kinds{0, 2, 1}));
    EXPECT_EQ(out.element(1).points[0], (Point{20, 20}));
    EXPECT_EQ(out.element(1).points[1], (Point{60, -20}));
    EXPECT_EQ(out.element(1).points[2], (Point{80, 0}));

    BezierPath curveThenLine = polyline({{0, 0}});
    curveThenLine.curveToPoint({40, 0}, {10, 20}, {30, 20});
    curveThenLine.lineToPoint({60, 0});
    curveThenLine.lineToPoint({200, 0});
    out = smoother(curveThenLine);
    ASSERT_EQ(kinds(out), (Kinds{0, 2, 1}));
    EXPECT_EQ(out.element(1).points[0], (Point{10, 20}));
    EXPECT_EQ(out.element(1).points[2], (Point{60, 0}));

    // A curve longer than 100 keeps its own control points.
    BezierPath long_ = polyline({{0, 0}});
    long_.curveToPoint({120, 0}, {0, 80}, {120, 80});
    long_.lineToPoint({130, 0});
    out = smoother(long_);
    ASSERT_EQ(kinds(out), (Kinds{0, 2, 1}));
    EXPECT_EQ(out.element(1).points[1], (Point{120, 80}));
}

TEST(Smoother, CoincidingPointsGiveNoNaN)
{
    BezierPath stuck = polyline({{0, 0}, {0, 0}, {0, 0}, {0, 0}});
    stuck.closePath();
    BezierPath doubled = polyline({{0, 0}, {50, 0}, {50, 0}, {100, 50}, {100, 50}});
    doubled.closePath();
    for (const BezierPath *path : {&stuck, &doubled}) {
        EXPECT_TRUE(allFinite(smoother(*path)));
        EXPECT_TRUE(allFinite(straighten(*path)));
    }
}

TEST(CtrlPs, TangentsFollowTheNeighbouringChords)
{
    Point c1, c2;
    ctrlPsBtwnP1({0, 0}, {10, 0}, {0, -10}, {10, 10}, c1, c2);
    EXPECT_TRUE(pointNear(c1, {2.5f, 2.5f}));
    EXPECT_TRUE(pointNear(c2, {7.5f, -2.5f}));

    // All points on one spot: the control points stay there.
    ctrlPsBtwnP1({3, 4}, {3, 4}, {3, 4}, {3, 4}, c1, c2);
    EXPECT_EQ(c1, (Point{3, 4}));
    EXPECT_EQ(c2, (Point{3, 4}));
    ctrlPsBtwnP1({3, 4}, {3, 4}, {0, 0}, {3, 4}, c1, c2);
    EXPECT_TRUE(std::isfinite(c1.x) && std::isfinite(c2.y));
}
