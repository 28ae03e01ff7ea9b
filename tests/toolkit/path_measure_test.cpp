#include "toolkit/path_measure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

BezierPath polyline(std::initializer_list<Point> points, bool closed = false)
{
    BezierPath path;
    for (Point p : points) {
        if (path.isEmpty())
            path.moveToPoint(p);
        else
            path.lineToPoint(p);
    }
    if (closed)
        path.closePath();
    return path;
}

void expectPointsNear(const std::vector<Point> &actual, const std::vector<Point> &expected, float tolerance = 1e-3f)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(actual[i].x, expected[i].x, tolerance);
        EXPECT_NEAR(actual[i].y, expected[i].y, tolerance);
    }
}

const BezierCurve arch{0, 0, 300, 600, 700, 600, 1000, 0};

} // namespace

TEST(PathMeasureCurves, EvaluationAndSplitting)
{
    EXPECT_FLOAT_EQ(bezierInterpolation(0, 1, 2, 3, 4), 1);
    EXPECT_FLOAT_EQ(bezierInterpolation(1, 1, 2, 3, 4), 4);
    EXPECT_FLOAT_EQ(bezierInterpolation(0.5f, 0, 0, 8, 8), 4);
    const Point top = pointOnCurve(0.5f, arch);
    EXPECT_FLOAT_EQ(top.x, 500);
    EXPECT_FLOAT_EQ(top.y, 450);

    for (float t : {0.5f, 0.3f}) {
        BezierCurve left, right;
        splitCurve(arch, left, right, t);
        const Point at = pointOnCurve(t, arch);
        EXPECT_NEAR(left.x3, at.x, 1e-3);
        EXPECT_NEAR(left.y3, at.y, 1e-3);
        EXPECT_EQ((Point{right.x0, right.y0}), (Point{left.x3, left.y3}));
        EXPECT_EQ((Point{left.x0, left.y0}), (Point{0, 0}));
        EXPECT_EQ((Point{right.x3, right.y3}), (Point{1000, 0}));
        // The halves retrace the curve.
        const Point a = pointOnCurve(0.5f, left), b = pointOnCurve(t / 2, arch);
        EXPECT_NEAR(a.x, b.x, 1e-3);
        EXPECT_NEAR(a.y, b.y, 1e-3);
        const Point c = pointOnCurve(0.5f, right), d = pointOnCurve((1 + t) / 2, arch);
        EXPECT_NEAR(c.x, d.x, 1e-3);
        EXPECT_NEAR(c.y, d.y, 1e-3);
    }
    EXPECT_FLOAT_EQ(distanceBetween(1, 1, 4, 5), 5);
}

TEST(PathMeasureCurves, Lengths)
{
    const BezierPath any;
    const BezierCurve straight{0, 0, 10, 0, 20, 0, 30, 0};
    EXPECT_FLOAT_EQ(curveApproxLen(straight), 30);
    EXPECT_FLOAT_EQ(curveLength(any, straight, 0.001f), 30);
    const BezierCurve point{5, 5, 5, 5, 5, 5, 5, 5};
    EXPECT_EQ(curveLength(any, point, 0.001f), 0);

    // A quarter circle of radius 100, measured against 10,000 chords.
    const float k = 55.228475f;
    const BezierCurve quarter{100, 0, 100, k, k, 100, 0, 100};
    double chords = 0;
    for (int i = 0; i < 10000; ++i) {
        const Point a = pointOnCurve(i / 10000.0f, quarter), b = pointOnCurve((i + 1) / 10000.0f, quarter);
        chords += std::hypot(double(b.x) - a.x, double(b.y) - a.y);
    }
    EXPECT_NEAR(chords, 50 * M_PI, 0.05);
    EXPECT_NEAR(curveLength(any, quarter, 0.001f), chords, 0.02);
    EXPECT_NEAR(curveApproxLen(quarter), 2 * 100 * std::sqrt(2 - std::sqrt(2.0)), 0.1);
    // An error bound of 0 still ends.
    EXPECT_NEAR(curveLength(any, quarter, 0), chords, 0.01);

    float running = 10;
    addIfClose(any, straight, running, 0.001f);
    EXPECT_FLOAT_EQ(running, 40);
}

TEST(PathMeasureLength, TotalLength)
{
    EXPECT_EQ(totalLength(BezierPath()), 0);
    EXPECT_FLOAT_EQ(totalLength(polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true)), 40);
    // Two sub-paths: the jump between them does not count.
    BezierPath two = polyline({{0, 0}, {3, 4}});
    two.appendBezierPath(polyline({{100, 100}, {100, 110}}));
    EXPECT_FLOAT_EQ(totalLength(two), 15);
    // A path that starts with a line-to measures from the origin.
    BezierPath fromOrigin;
    fromOrigin.lineToPoint({3, 4});
    EXPECT_FLOAT_EQ(totalLength(fromOrigin), 5);
    BezierPath curve;
    curve.moveToPoint({0, 0});
    curve.curveToPoint({1000, 0}, {300, 600}, {700, 600});
    EXPECT_FLOAT_EQ(totalLength(curve), curveApproxLen(arch));
}

TEST(PathMeasureTrim, Cases)
{
    const BezierPath square = polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);

    // Beyond the end: the whole path, attributes included.
    BezierPath wide = square;
    wide.setLineWidth(4);
    const BezierPath whole = bezierPathByTrimmingToLength(wide, 1000);
    EXPECT_EQ(whole.elementCount(), 5);
    EXPECT_EQ(whole.lineWidth(), 4);

    // Inside the close-path leg: a line 5 along the leg from (0, 10) towards the start.
    const BezierPath inClose = bezierPathByTrimmingToLength(square, 35);
    ASSERT_EQ(inClose.elementCount(), 5);
    EXPECT_EQ(inClose.element(4).kind, LineToBezierPathElement);
    EXPECT_EQ(inClose.element(4).points[0], (Point{0, 5}));

    // Within a line, and at 0, negative or NaN: the move-to and a line of length 0.
    const BezierPath inLine = bezierPathByTrimmingToLength(square, 12.5);
    ASSERT_EQ(inLine.elementCount(), 3);
    EXPECT_EQ(inLine.element(2).points[0], (Point{10, 2.5f}));
    for (double length : {0.0, -5.0, std::nan("")}) {
        const BezierPath none = bezierPathByTrimmingToLength(square, length);
        ASSERT_EQ(none.elementCount(), 2);
        EXPECT_EQ(none.element(1).points[0], (Point{0, 0}));
    }

    // Within a curve: the cut curve measures the remaining length within 0.01.
    BezierPath curved;
    curved.moveToPoint({0, 0});
    curved.lineToPoint({0, 100});
    curved.curveToPoint({1000, 100}, {300, 700}, {700, 700});
    const BezierPath cut = bezierPathByTrimmingToLength(curved, 400);
    ASSERT_EQ(cut.elementCount(), 3);
    ASSERT_EQ(cut.element(2).kind, CurveToBezierPathElement);
    EXPECT_NEAR(totalLength(cut), 400, 0.011);
    EXPECT_TRUE(bezierPathByTrimmingToLength(BezierPath(), 10).isEmpty());
}

TEST(PathMeasureDivide, EqualDistances)
{
    struct Case {
        const char *name;
        BezierPath path;
        int n;
        std::vector<Point> expected;
    };
    BezierPath shortSteps; // 100 collinear legs of 0.3, each shorter than the step
    shortSteps.moveToPoint({0, 0});
    for (int i = 1; i <= 100; ++i)
        shortSteps.lineToPoint({0.3f * i, 0});
    BezierPath zeroLegs = polyline({{0, 0}, {5, 0}, {5, 0}, {10, 0}});
    BezierPath zeroClose = polyline({{0, 0}, {10, 0}, {0, 0}}, true);
    BezierPath fromOrigin;
    fromOrigin.lineToPoint({10, 0});

    const Case cases[] = {
        {"line into 3", polyline({{0, 0}, {10, 0}}), 3, {{0, 0}, {5, 0}, {10, 0}}},
        {"closed square into 4", polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true), 4,
         {{0, 0}, {10, 0}, {10, 10}, {0, 10}}},
        {"closed square into 8", polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true), 8,
         {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {5, 10}, {0, 10}, {0, 5}}},
        {"short legs", shortSteps, 5, {{0, 0}, {7.5f, 0}, {15, 0}, {22.5f, 0}, {30, 0}}},
        {"zero-length legs", zeroLegs, 3, {{0, 0}, {5, 0}, {10, 0}}},
        {"zero-length closing leg", zeroClose, 4, {{0, 0}, {5, 0}, {10, 0}, {5, 0}}},
        {"zero-length path", polyline({{5, 5}, {5, 5}}), 4, {{5, 5}}},
        {"one point", polyline({{2, 3}, {10, 0}}), 1, {{2, 3}}},
        {"starts with a line", fromOrigin, 3, {{0, 0}, {5, 0}, {10, 0}}},
        {"no points wanted", polyline({{0, 0}, {10, 0}}), 0, {}},
        {"empty path", BezierPath(), 3, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Point> points = divideInto(c.path, c.n);
        for (Point p : points)
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        expectPointsNear(points, c.expected);
    }
}

TEST(PathMeasureDivide, CurvesAndSubpaths)
{
    BezierPath curve;
    curve.moveToPoint({0, 0});
    curve.curveToPoint({1000, 0}, {300, 600}, {700, 600});
    const std::vector<Point> points = divideInto(curve, 3);
    expectPointsNear(points, {{0, 0}, pointOnCurve(0.5f, arch), {1000, 0}});

    // The jump between sub-paths does not count, and a sub-path that starts right where a
    // point fell gets its own point at the move-to.
    BezierPath two = polyline({{0, 0}, {10, 0}});
    two.appendBezierPath(polyline({{0, 50}, {10, 50}}));
    expectPointsNear(divideInto(two, 3), {{0, 0}, {10, 0}, {0, 50}});
    expectPointsNear(divideInto(two, 5), {{0, 0}, {5, 0}, {10, 0}, {0, 50}, {5, 50}});
}

TEST(PathMeasureGlyphs, Spacing)
{
    const BezierPath line = polyline({{0, 0}, {100, 0}});
    expectPointsNear(divideIntoAccordingToWithSpaceSlant(line, {{10, 5}, {20, 5}, {10, 5}}, 2, 0),
                     {{5, 0}, {22, 0}, {39, 0}});
    // Too short a path places fewer glyphs.
    EXPECT_EQ(divideIntoAccordingToWithSpaceSlant(polyline({{0, 0}, {12, 0}}), {{10, 5}, {10, 5}}, 0, 0).size(), 1u);

    // A vertical segment spaces by height with slant 0, by width with any other slant.
    const BezierPath vertical = polyline({{0, 0}, {0, 100}});
    const std::vector<Size> glyphs{{10, 4}, {10, 4}};
    expectPointsNear(divideIntoAccordingToWithSpaceSlant(vertical, glyphs, 1, 0), {{0, 2}, {0, 7}});
    expectPointsNear(divideIntoAccordingToWithSpaceSlant(vertical, glyphs, 1, 1), {{0, 5}, {0, 16}});

    // Spacing stays equal across legs shorter than a glyph.
    BezierPath steps;
    steps.moveToPoint({0, 0});
    for (int i = 1; i <= 20; ++i)
        steps.lineToPoint({float(i), 0});
    expectPointsNear(divideIntoAccordingToWithSpaceSlant(steps, {{3, 1}, {3, 1}, {3, 1}}, 1, 0),
                     {{1.5f, 0}, {5.5f, 0}, {9.5f, 0}});

    // Each sub-path restarts the spacing at its own start, even when its first leg is too
    // short for a glyph.
    BezierPath two = polyline({{0, 0}, {10, 0}});
    two.appendBezierPath(polyline({{0, 50}, {2, 50}, {100, 50}}));
    expectPointsNear(divideIntoAccordingToWithSpaceSlant(two, {{8, 1}, {8, 1}, {8, 1}}, 0, 0),
                     {{4, 0}, {4, 50}, {12, 50}});
}

TEST(PathMeasureHit, OnPathWithinTheSquare)
{
    const BezierPath line = polyline({{0, 0}, {100, 0}});
    struct Case {
        Point at;
        bool hit;
    };
    for (const Case &c : {Case{{50, 1.4f}, true}, Case{{50, -1.4f}, true}, Case{{50, 1.6f}, false},
                          // the square, not a circle: 1.4 off in both directions still hits
                          Case{{-1.4f, 1.4f}, true}, Case{{101.4f, -1.4f}, true}, Case{{101.6f, 0}, false}}) {
        SCOPED_TRACE(c.at.x);
        EXPECT_EQ(isOnPath(line, c.at, nullptr, nullptr, nullptr), c.hit);
    }

    Point found, previous;
    int element = -1;
    ASSERT_TRUE(isOnPath(line, {50, 1.4f}, &found, &element, &previous));
    EXPECT_EQ(element, 1);
    EXPECT_EQ(previous, (Point{0, 0}));
    EXPECT_EQ(found, (Point{50, 0}));

    // Midway between the points a coarse sampler would have tried.
    const BezierPath longLine = polyline({{0, 0}, {1000, 0}});
    EXPECT_TRUE(isOnPath(longLine, {505, 1}, &found, &element, nullptr));
    EXPECT_EQ(found, (Point{505, 0}));

    BezierPath curve;
    curve.moveToPoint({0, 0});
    curve.curveToPoint({1000, 0}, {300, 600}, {700, 600});
    EXPECT_TRUE(isOnPath(curve, {505, 451.2f}, &found, &element, &previous));
    EXPECT_EQ(element, 1);
    EXPECT_NEAR(found.x, 505, 1.5);
    EXPECT_NEAR(found.y, 450, 0.1);
    EXPECT_FALSE(isOnPath(curve, {500, 451.6f}, nullptr, nullptr, nullptr));
    EXPECT_FALSE(isOnPath(curve, {500, 300}, nullptr, nullptr, nullptr));
}

TEST(PathMeasureHit, ElementsAndPreviousPoints)
{
    const BezierPath square = polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true);
    Point found, previous;
    int element = -1;
    // A corner is found as the element's own point.
    ASSERT_TRUE(isOnPath(square, {101, 1}, &found, &element, &previous));
    EXPECT_EQ(element, 1);
    EXPECT_EQ(found, (Point{100, 0}));
    EXPECT_EQ(previous, (Point{0, 0}));
    // The closing leg.
    ASSERT_TRUE(isOnPath(square, {0.5f, 50}, &found, &element, &previous));
    EXPECT_EQ(element, 4);
    EXPECT_EQ(previous, (Point{0, 100}));
    EXPECT_EQ(found, (Point{0, 50}));
    // A miss leaves the last element's index.
    EXPECT_FALSE(isOnPath(square, {50, 50}, &found, &element, &previous));
    EXPECT_EQ(element, 4);

    // Without a move-to there is no segment from the origin.
    BezierPath noMove;
    noMove.lineToPoint({100, 0});
    EXPECT_FALSE(isOnPath(noMove, {50, 0}, nullptr, nullptr, nullptr));
    EXPECT_FALSE(isOnPath(BezierPath(), {0, 0}, nullptr, nullptr, nullptr));
}

TEST(PathMeasureHit, PointUnder)
{
    BezierPath path;
    path.moveToPoint({0, 0});
    path.curveToPoint({100, 0}, {20, 50}, {80, 50});
    path.closePath();
    struct Case {
        Point at;
        bool hit;
        int element, number;
    };
    const Case cases[] = {
        {{2.4f, -2.4f}, true, 0, 0}, {{2.6f, 0}, false, 2, 0},
        {{20, 52.4f}, true, 1, 0},   {{80, 47.6f}, true, 1, 1}, {{100, 2.4f}, true, 1, 2},
        {{100, 2.6f}, false, 2, 0},  {{50, 0}, false, 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.at.x);
        int element = -1, number = -1;
        EXPECT_EQ(pointUnder(path, c.at, &element, &number), c.hit);
        EXPECT_EQ(element, c.element);
        EXPECT_EQ(number, c.number);
    }
}

TEST(PathMeasure, FirstPoint)
{
    EXPECT_EQ(firstPoint(polyline({{3, 4}, {10, 0}})), (Point{3, 4}));
    BezierPath noMove;
    noMove.lineToPoint({5, 5});
    EXPECT_EQ(firstPoint(noMove), (Point{0, 0}));
    EXPECT_EQ(firstPoint(BezierPath()), (Point{0, 0}));
}
