#include "platform/geometry/affine_transform.h"
#include "platform/geometry/bezier_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Expected {
    BezierPathElement kind;
    Point end;
};

void expectElements(const BezierPath &path, const std::vector<Expected> &expected, float tolerance = 1e-4f)
{
    ASSERT_EQ(path.elementCount(), int(expected.size()));
    for (int i = 0; i < path.elementCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(path.element(i).kind, expected[size_t(i)].kind);
        if (expected[size_t(i)].kind != ClosePathBezierPathElement) {
            EXPECT_NEAR(path.element(i).endPoint().x, expected[size_t(i)].end.x, tolerance);
            EXPECT_NEAR(path.element(i).endPoint().y, expected[size_t(i)].end.y, tolerance);
        }
    }
}

void expectRectNear(const Rect &r, const Rect &expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(r.minX(), expected.minX(), tolerance);
    EXPECT_NEAR(r.minY(), expected.minY(), tolerance);
    EXPECT_NEAR(r.maxX(), expected.maxX(), tolerance);
    EXPECT_NEAR(r.maxY(), expected.maxY(), tolerance);
}

constexpr auto M = MoveToBezierPathElement;
constexpr auto L = LineToBezierPathElement;
constexpr auto C = CurveToBezierPathElement;
constexpr auto Z = ClosePathBezierPathElement;

} // namespace

TEST(BezierPathElements, ConstructionAndAccess)
{
    BezierPath p;
    EXPECT_TRUE(p.isEmpty());
    EXPECT_EQ(p.currentPoint(), (Point{0, 0}));
    p.moveToPoint({1, 2});
    p.relativeLineToPoint({10, 0});
    p.relativeCurveToPoint({0, 10}, {5, 0}, {5, 5});
    p.closePath();
    expectElements(p, {{M, {1, 2}}, {L, {11, 2}}, {C, {11, 12}}, {Z, {}}});
    Point pts[3];
    EXPECT_EQ(p.elementAtIndex(2, pts), C);
    EXPECT_EQ(pts[0], (Point{16, 2}));
    EXPECT_EQ(pts[1], (Point{16, 7}));
    EXPECT_EQ(pts[2], (Point{11, 12}));
    EXPECT_THROW(p.elementAtIndex(4), std::out_of_range);
    // After a close-path the current point is the sub-path start.
    EXPECT_EQ(p.currentPoint(), (Point{1, 2}));

    const Point moved[3] = {{0, 0}, {1, 1}, {2, 2}};
    p.setAssociatedPoints(moved, 2);
    EXPECT_EQ(p.element(2).points[1], (Point{1, 1}));
    p.setAssociatedPoints(moved, 1);
    EXPECT_EQ(p.element(1).points[0], (Point{0, 0}));

    BezierPath q;
    q.appendBezierPath(p);
    q.appendBezierPath(p);
    EXPECT_EQ(q.elementCount(), 8);
    q.removeAllPoints();
    EXPECT_TRUE(q.isEmpty());
}

TEST(BezierPathElements, PointsJoinTheExistingPath)
{
    const Point pts[] = {{0, 0}, {10, 0}, {10, 10}};
    BezierPath p;
    p.appendBezierPathWithPoints(pts, 3);
    expectElements(p, {{M, {0, 0}}, {L, {10, 0}}, {L, {10, 10}}});
    p.appendBezierPathWithPoints(pts, 1);
    EXPECT_EQ(p.element(3).kind, L);
}

TEST(BezierPathShapes, RectangleNumbering)
{
    // Negative sizes are normalised: the start is always the minimum corner.
    for (const Rect &r : {Rect{10, 20, 30, 40}, Rect{40, 60, -30, -40}}) {
        expectElements(BezierPath::bezierPathWithRect(r),
                       {{M, {10, 20}}, {L, {40, 20}}, {L, {40, 60}}, {L, {10, 60}}, {Z, {}}});
    }
}

TEST(BezierPathShapes, OvalNumbering)
{
    const BezierPath oval = BezierPath::bezierPathWithOvalInRect({0, 0, 20, 10});
    expectElements(oval, {{M, {20, 5}}, {C, {10, 10}}, {C, {0, 5}}, {C, {10, 0}}, {C, {20, 5}}, {Z, {}}});
    // The quarter curves meet the ellipse at 45 degrees within a tiny error.
    const PathElement &q = oval.element(1);
    const float t = 0.5f, u = 0.5f;
    const float x = u * u * u * 20 + 3 * t * u * u * q.points[0].x + 3 * t * t * u * q.points[1].x + t * t * t * 10;
    const float y = u * u * u * 5 + 3 * t * u * u * q.points[0].y + 3 * t * t * u * q.points[1].y + t * t * t * 10;
    EXPECT_NEAR(x, 10 + 10 * std::sqrt(0.5f), 0.01f);
    EXPECT_NEAR(y, 5 + 5 * std::sqrt(0.5f), 0.01f);
    expectRectNear(oval.bounds(), {0, 0, 20, 10});
}

TEST(BezierPathShapes, RoundedRectNumbering)
{
    expectElements(BezierPath::bezierPathWithRoundedRect({0, 0, 100, 50}, 10, 5),
                   {{M, {10, 0}}, {L, {90, 0}}, {C, {100, 5}}, {L, {100, 45}}, {C, {90, 50}},
                    {L, {10, 50}}, {C, {0, 45}}, {L, {0, 5}}, {C, {10, 0}}, {Z, {}}});
    EXPECT_EQ(BezierPath::bezierPathWithRoundedRect({0, 0, 100, 50}, 0, 5).elementCount(), 5);
    // Radii larger than half a side are cut to it.
    expectRectNear(BezierPath::bezierPathWithRoundedRect({0, 0, 10, 10}, 50, 50).bounds(), {0, 0, 10, 10});
}

TEST(BezierPathShapes, ArcNumberingAndDirection)
{
    struct Case {
        float start, end;
        bool clockwise;
        int curves;
        Point last;
    };
    const Case cases[] = {
        {0, 90, false, 1, {0, 100}},
        {0, 180, false, 2, {-100, 0}},
        {0, 100, false, 2, {100 * std::cos(1.7453293f), 100 * std::sin(1.7453293f)}},
        {90, 0, false, 3, {100, 0}},   // the long way round
        {90, 0, true, 1, {100, 0}},
        {0, 360, false, 4, {100, 0}},
        {0, 720, false, 4, {100, 0}},
        {45, 45, false, 0, {100 * std::sqrt(0.5f), 100 * std::sqrt(0.5f)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.end);
        BezierPath p;
        p.appendBezierPathWithArcWithCenter({0, 0}, 100, c.start, c.end, c.clockwise);
        ASSERT_EQ(p.elementCount(), 1 + c.curves);
        EXPECT_EQ(p.element(0).kind, M);
        EXPECT_NEAR(p.currentPoint().x, c.last.x, 1e-3);
        EXPECT_NEAR(p.currentPoint().y, c.last.y, 1e-3);
    }

    // A second arc joins with a line-to.
    BezierPath fan;
    fan.moveToPoint({50, 50});
    fan.appendBezierPathWithArcWithCenter({50, 50}, 50, 45, 135);
    EXPECT_EQ(fan.element(1).kind, L);
    EXPECT_NEAR(fan.element(1).points[0].x, 50 + 50 * std::sqrt(0.5f), 1e-3);
    EXPECT_EQ(fan.element(2).kind, C);
    // The quarter arc bulges to the far side (y grows on the way from 45 to 135 degrees).
    expectRectNear(fan.bounds(), {50 - 50 * std::sqrt(0.5f), 50, 100 * std::sqrt(0.5f), 50});
}

TEST(BezierPathShapes, TangentArcFollowsArct)
{
    // Current point (100, 50), corner (100, 100), towards (50, 100), radius 10: a line to
    // (100, 90), then a quarter circle about (90, 90) ending at (90, 100).
    BezierPath p;
    p.moveToPoint({100, 50});
    p.appendBezierPathWithArcFromPoint({100, 100}, {50, 100}, 10);
    expectElements(p, {{M, {100, 50}}, {L, {100, 90}}, {C, {90, 100}}});
    expectRectNear(p.bounds(), {90, 50, 10, 50});
    const PathElement &arc = p.element(2);
    EXPECT_NEAR(arc.points[0].x, 100, 1e-4);   // tangent to the first leg
    EXPECT_NEAR(arc.points[1].y, 100, 1e-4);   // tangent to the second leg

    // An acute corner: the tangent points lie r / tan(30 deg) from the corner.
    BezierPath acute;
    acute.moveToPoint({0, 0});
    acute.appendBezierPathWithArcFromPoint({100, 0}, {100 - 100 * std::cos(1.0471976f), 100 * std::sin(1.0471976f)}, 10);
    EXPECT_NEAR(acute.element(1).points[0].x, 100 - 10 * std::sqrt(3.0f), 1e-3);
    const Point end = acute.currentPoint();
    EXPECT_NEAR(std::hypot(end.x - 100, end.y), 10 * std::sqrt(3.0f), 1e-3);

    // Collinear points give a line to the corner.
    BezierPath straight;
    straight.moveToPoint({0, 0});
    straight.appendBezierPathWithArcFromPoint({10, 0}, {20, 0}, 5);
    expectElements(straight, {{M, {0, 0}}, {L, {10, 0}}});
}

TEST(BezierPathGeometry, TightBoundsOfACurve)
{
    BezierPath p;
    p.moveToPoint({0, 0});
    p.curveToPoint({100, 0}, {0, 100}, {100, 100});
    // y peaks at t = 0.5: 3/4 of the control height.
    expectRectNear(p.bounds(), {0, 0, 100, 75});
    expectRectNear(p.controlPointBounds(), {0, 0, 100, 100});
    EXPECT_EQ(BezierPath().bounds(), Rect());

    BezierPath s;
    s.moveToPoint({0, 0});
    s.curveToPoint({30, 0}, {-10, 20}, {40, -20});
    // x extremes of an S curve lie outside the end points.
    const Rect b = s.bounds();
    EXPECT_LT(b.minX(), 0);
    EXPECT_GT(b.maxX(), 30);
    EXPECT_LT(b.maxX(), 40);
}

TEST(BezierPathGeometry, ContainsPointWithBothWindingRules)
{
    // Outer square and an inner square running the same way: the hole is filled under the
    // non-zero rule and empty under even-odd. Reversing the inner one empties it for both.
    BezierPath sameWay = BezierPath::bezierPathWithRect({0, 0, 100, 100});
    sameWay.appendBezierPathWithRect({25, 25, 50, 50});
    BezierPath opposite = BezierPath::bezierPathWithRect({0, 0, 100, 100});
    opposite.appendBezierPath(BezierPath::bezierPathWithRect({25, 25, 50, 50}).bezierPathByReversingPath());

    struct Case {
        const BezierPath *path;
        WindingRule rule;
        bool inHole;
    };
    for (const Case &c : {Case{&sameWay, NonZeroWindingRule, true}, Case{&sameWay, EvenOddWindingRule, false},
                          Case{&opposite, NonZeroWindingRule, false}, Case{&opposite, EvenOddWindingRule, false}}) {
        BezierPath p = *c.path;
        p.setWindingRule(c.rule);
        EXPECT_EQ(p.containsPoint({50, 50}), c.inHole);
        EXPECT_TRUE(p.containsPoint({10, 50}));
        EXPECT_FALSE(p.containsPoint({150, 50}));
        EXPECT_FALSE(p.containsPoint({-1, 50}));
    }

    // Curves count by their outline, not their control polygon; open paths are closed.
    const BezierPath circle = BezierPath::bezierPathWithOvalInRect({0, 0, 100, 100});
    EXPECT_TRUE(circle.containsPoint({50, 50}));
    EXPECT_TRUE(circle.containsPoint({50, 1}));
    EXPECT_FALSE(circle.containsPoint({3, 3}));
    BezierPath open;
    open.moveToPoint({0, 0});
    open.lineToPoint({10, 0});
    open.lineToPoint({10, 10});
    EXPECT_TRUE(open.containsPoint({8, 2}));
    EXPECT_FALSE(open.containsPoint({2, 8}));
}

TEST(BezierPathGeometry, FlatteningKeepsWithinFlatness)
{
    BezierPath circle = BezierPath::bezierPathWithOvalInRect({-100, -100, 200, 200});
    for (float flatness : {0.6f, 0.05f}) {
        circle.setFlatness(flatness);
        const BezierPath flat = circle.bezierPathByFlatteningPath();
        EXPECT_EQ(flat.flatness(), flatness);
        EXPECT_EQ(flat.element(0).kind, M);
        EXPECT_EQ(flat.element(flat.elementCount() - 1).kind, Z);
        for (int i = 1; i < flat.elementCount() - 1; ++i) {
            ASSERT_EQ(flat.element(i).kind, L);
            const Point a = flat.element(i - 1).endPoint(), b = flat.element(i).endPoint();
            const Point m{(a.x + b.x) / 2, (a.y + b.y) / 2};
            EXPECT_NEAR(std::hypot(m.x, m.y), 100, flatness + 0.03f);
        }
    }
}

TEST(BezierPathGeometry, ReversalOfOpenAndClosedSubpaths)
{
    BezierPath p;
    p.moveToPoint({0, 0});
    p.lineToPoint({10, 0});
    p.curveToPoint({20, 10}, {12, 0}, {20, 8});
    p.appendBezierPathWithRect({100, 100, 10, 10});
    p.setLineWidth(3);

    const BezierPath r = p.bezierPathByReversingPath();
    EXPECT_EQ(r.lineWidth(), 3);
    expectElements(r, {{M, {100, 100}}, {L, {100, 110}}, {L, {110, 110}}, {L, {110, 100}}, {Z, {}},
                       {M, {20, 10}}, {C, {10, 0}}, {L, {0, 0}}});
    EXPECT_EQ(r.element(6).points[0], (Point{20, 8}));
    EXPECT_EQ(r.element(6).points[1], (Point{12, 0}));

    // Reversing twice restores an open path exactly.
    BezierPath open;
    open.moveToPoint({0, 0});
    open.lineToPoint({10, 0});
    open.curveToPoint({20, 10}, {12, 0}, {20, 8});
    const BezierPath twice = open.bezierPathByReversingPath().bezierPathByReversingPath();
    ASSERT_EQ(twice.elementCount(), open.elementCount());
    for (int i = 0; i < open.elementCount(); ++i)
        for (int k = 0; k < open.element(i).pointCount(); ++k)
            EXPECT_EQ(twice.element(i).points[k], open.element(i).points[k]);

    // A closed sub-path whose first segment is a curve keeps that curve; one whose last
    // point is its start gets no extra line.
    expectElements(BezierPath::bezierPathWithOvalInRect({0, 0, 20, 10}).bezierPathByReversingPath(),
                   {{M, {20, 5}}, {C, {10, 0}}, {C, {0, 5}}, {C, {10, 10}}, {C, {20, 5}}, {Z, {}}});
    // A close-path followed by a line starts an implicit sub-path at the old start.
    BezierPath implicit;
    implicit.moveToPoint({0, 0});
    implicit.lineToPoint({5, 0});
    implicit.closePath();
    implicit.lineToPoint({0, 5});
    expectElements(implicit.bezierPathByReversingPath(),
                   {{M, {0, 5}}, {L, {0, 0}}, {M, {0, 0}}, {L, {5, 0}}, {Z, {}}});
    EXPECT_TRUE(BezierPath().bezierPathByReversingPath().isEmpty());
}

TEST(BezierPathGeometry, TransformMovesEveryPoint)
{
    BezierPath p;
    p.moveToPoint({1, 0});
    p.curveToPoint({0, 1}, {1, 1}, {1, 1});
    p.setLineWidth(2);
    AffineTransform t;
    t.translateXBy(10, 0);
    t.rotateByDegrees(90);
    const BezierPath q = t.transformBezierPath(p);
    EXPECT_NEAR(q.element(0).points[0].x, 10, 1e-6);
    EXPECT_NEAR(q.element(0).points[0].y, 1, 1e-6);
    EXPECT_NEAR(q.element(1).points[2].x, 9, 1e-6);
    EXPECT_NEAR(q.element(1).points[2].y, 0, 1e-6);
    EXPECT_EQ(q.lineWidth(), 2);
}

TEST(BezierPathAttributes, DefaultsAndDash)
{
    BezierPath p;
    EXPECT_EQ(p.lineWidth(), 1.0f);
    EXPECT_EQ(p.lineCapStyle(), ButtLineCapStyle);
    EXPECT_EQ(p.lineJoinStyle(), MiterLineJoinStyle);
    EXPECT_EQ(p.miterLimit(), 10.0f);
    EXPECT_EQ(p.windingRule(), NonZeroWindingRule);
    const float dash[] = {6, 3};
    p.setLineDash(dash, 2, 1.5f);
    EXPECT_EQ(p.lineDash(), (std::vector<float>{6, 3}));
    EXPECT_EQ(p.lineDashPhase(), 1.5f);
    p.setLineDash(nullptr, 0, 0);
    EXPECT_TRUE(p.lineDash().empty());
}
