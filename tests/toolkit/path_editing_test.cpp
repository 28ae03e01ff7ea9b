#include "toolkit/path_editing.h"

#include "tests/support/path_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

using Kinds = std::vector<int>;

TEST(PathCounts, MovesClosesAndAppendingWithoutTheInitialMove)
{
    BezierPath two = BezierPath::bezierPathWithRect({0, 0, 10, 10});
    two.appendBezierPathWithRect({20, 0, 10, 10});
    EXPECT_EQ(moveElementCount(two), 2);
    EXPECT_EQ(closeElementCount(two), 2);
    EXPECT_EQ(moveElementCount(BezierPath()), 0);

    BezierPath path = polyline({{0, 0}, {10, 0}});
    BezierPath other = polyline({{10, 0}, {20, 0}});
    other.moveToPoint({30, 0});
    other.lineToPoint({40, 0});
    appendBezierPathRemovingInitialMove(path, other);
    EXPECT_EQ(kinds(path), (Kinds{0, 1, 1, 0, 1}));
    EXPECT_EQ(path.element(2).points[0], (Point{20, 0}));
    EXPECT_EQ(path.element(3).points[0], (Point{30, 0}));
}

TEST(DeleteElement, Cases)
{
    BezierPath single;
    single.moveToPoint({1, 1});
    EXPECT_FALSE(deleteElementNr(single, 0).has_value());

    BezierPath line = polyline({{0, 0}, {10, 0}, {20, 5}});
    line.setLineWidth(3);
    const auto first = deleteElementNr(line, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(kinds(*first), (Kinds{0, 1}));
    EXPECT_EQ(first->element(0).points[0], (Point{10, 0}));
    EXPECT_EQ(first->lineWidth(), 3);

    const auto middle = deleteElementNr(line, 1);
    ASSERT_TRUE(middle);
    EXPECT_EQ(kinds(*middle), (Kinds{0, 1}));
    EXPECT_EQ(middle->element(1).points[0], (Point{20, 5}));

    // Deleting the start before a curve starts the path at the curve's end, not its control point.
    BezierPath curved = polyline({{0, 0}});
    curved.curveToPoint({30, 0}, {10, 10}, {20, 10});
    curved.lineToPoint({40, 0});
    const auto fromCurve = deleteElementNr(curved, 0);
    ASSERT_TRUE(fromCurve);
    EXPECT_EQ(kinds(*fromCurve), (Kinds{0, 1}));
    EXPECT_EQ(fromCurve->element(0).points[0], (Point{30, 0}));

    // A one-point sub-path that was closed goes away with its point.
    BezierPath lone = polyline({{0, 0}});
    lone.closePath();
    lone.moveToPoint({5, 5});
    lone.lineToPoint({9, 9});
    const auto withoutLone = deleteElementNr(lone, 0);
    ASSERT_TRUE(withoutLone);
    EXPECT_EQ(kinds(*withoutLone), (Kinds{0, 1}));
    EXPECT_EQ(withoutLone->element(0).points[0], (Point{5, 5}));

    const auto outOfRange = deleteElementNr(line, 7);
    ASSERT_TRUE(outOfRange);
    EXPECT_EQ(outOfRange->elements().size(), 3u);
}

TEST(ClosePath, ClosesTheSubPathHoldingTheElement)
{
    BezierPath open = polyline({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_TRUE(closePathIncludingElement(open, 1));
    EXPECT_EQ(kinds(open), (Kinds{0, 1, 1, 3}));
    // Closing a closed sub-path again adds nothing.
    EXPECT_FALSE(closePathIncludingElement(open, 1));
    EXPECT_EQ(open.elementCount(), 4);

    const BezierPath twoSubPaths = [] {
        BezierPath p = polyline({{0, 0}, {10, 0}, {10, 10}});
        p.moveToPoint({20, 0});
        p.lineToPoint({30, 0});
        p.lineToPoint({30, 10});
        return p;
    }();
    BezierPath first = twoSubPaths;
    EXPECT_TRUE(closePathIncludingElement(first, 2));
    EXPECT_EQ(kinds(first), (Kinds{0, 1, 1, 3, 0, 1, 1}));
    EXPECT_FALSE(closePathIncludingElement(first, 0));

    // The last of several sub-paths is closed at the path's end, for its own index and for -1.
    for (int k : {4, 5, -1}) {
        BezierPath last = twoSubPaths;
        EXPECT_TRUE(closePathIncludingElement(last, k)) << k;
        EXPECT_EQ(kinds(last), (Kinds{0, 1, 1, 0, 1, 1, 3})) << k;
    }

    BezierPath empty;
    EXPECT_FALSE(closePathIncludingElement(empty, -1));
    EXPECT_TRUE(empty.isEmpty());
    BezierPath untouched = twoSubPaths;
    EXPECT_FALSE(closePathIncludingElement(untouched, 6 + 1));
    EXPECT_EQ(untouched.elementCount(), 6);
}

TEST(AddPoint, InsertsBehindTheMatchingPoint)
{
    const BezierPath base = polyline({{0, 0}, {20, 0}, {20, 20}});
    struct Case {
        const char *name;
        int e, kind;
        Point a, p;
        int result;
        Kinds kinds;
        Point newPoint; // the point of the returned element
    };
    const Case cases[] = {
        {"curve after the start", -1, 1, {0, 0}, {10, 0}, 1, {0, 2, 1, 1}, {10, 0}},
        {"line after a line", -1, 0, {20, 0}, {30, 5}, 2, {0, 1, 1, 1}, {30, 5}},
        {"line with e set", 3, 7, {20, 20}, {30, 30}, 3, {0, 1, 1, 1}, {30, 30}},
        {"sub-path after a line, e = -1", -1, 2, {20, 0}, {10, 0}, 3, {0, 1, 0, 1, 0, 1}, {10.1f, 0.1f}},
        {"sub-path after the start, e = -1", -1, 2, {0, 0}, {10, 0}, 1, {0, 1, 0, 1, 1}, {10.1f, 0.1f}},
        {"sub-path after a line, e set", 2, 2, {20, 0}, {10, 0}, 2, {0, 1, 0, 1}, {10, 0}},
        {"sub-path replacing the start, e set", 1, 2, {0, 0}, {5, 5}, 0, {0, 1, 1}, {5, 5}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BezierPath path = base;
        const int result = addPointAt(path, c.p, c.e, c.kind, c.a);
        ASSERT_EQ(result, c.result);
        EXPECT_EQ(kinds(path), c.kinds);
        EXPECT_TRUE(pointNear(path.element(result).endPoint(), c.newPoint));
    }

    BezierPath path = base;
    ASSERT_EQ(addPointAt(path, {10, 0}, -1, 1, {0, 0}), 1);
    EXPECT_TRUE(pointNear(path.element(1).points[0], {3, 0}));
    EXPECT_TRUE(pointNear(path.element(1).points[1], {6, 0}));

    // e = -1 with a new sub-path: the old path carries on from a.
    path = base;
    ASSERT_EQ(addPointAt(path, {10, 0}, -1, 2, {20, 0}), 3);
    EXPECT_EQ(path.element(2).points[0], (Point{10, 0}));
    EXPECT_EQ(path.element(4).points[0], (Point{20, 0}));
    EXPECT_EQ(path.element(5).points[0], (Point{20, 20}));
}

TEST(AddPoint, SplittingAClosedPathDropsItsClose)
{
    BezierPath path = polyline({{0, 0}, {20, 0}, {20, 20}});
    path.closePath();
    ASSERT_EQ(addPointAt(path, {5, 5}, 3, 2, {20, 20}), 3);
    EXPECT_EQ(kinds(path), (Kinds{0, 1, 1, 0}));
}

TEST(AddPoint, NoMatchLeavesThePathAlone)
{
    const BezierPath base = polyline({{0, 0}, {20, 0}, {20, 20}});
    struct Case { const char *name; int e; Point a; };
    const Case cases[] = {
        {"no such point", -1, {1, 1}},
        {"nearly the point", -1, {20, 0.001f}},
        {"point elsewhere than e - 1", 2, {0, 0}},
        {"e past the end", 9, {20, 20}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BezierPath path = base;
        EXPECT_EQ(addPointAt(path, {5, 5}, c.e, 1, c.a), -1);
        EXPECT_EQ(path.elements().size(), 3u);
        EXPECT_EQ(path.element(1).points[0], (Point{20, 0}));
    }
    BezierPath empty;
    EXPECT_EQ(addPointAt(empty, {5, 5}, -1, 0, {0, 0}), -1);
    EXPECT_TRUE(empty.isEmpty());

    // With e set only element e - 1 counts, even when an earlier element has the same point.
    BezierPath twice = polyline({{0, 0}, {10, 0}, {0, 0}, {0, 10}});
    EXPECT_EQ(addPointAt(twice, {5, 5}, 3, 0, {0, 0}), 3);
    EXPECT_EQ(twice.element(3).points[0], (Point{5, 5}));
}

TEST(ConnectTo, JoinsWithinTheToleranceOfTheReceiversSize)
{
    struct Case {
        const char *name;
        float width; // the receiver runs from (0, 0) to (width, 0)
        Point otherStart, otherEnd;
        bool joined;
    };
    const Case cases[] = {
        {"1.9 at width 100", 100, {101.9f, 0}, {150, 0}, true},
        {"2.0 at width 100", 100, {102, 0}, {150, 0}, false},
        {"1.9 in y only", 100, {100, 1.9f}, {150, 0}, true},
        {"4.9 at width 350", 350, {354.9f, 0}, {400, 0}, true},
        {"5.0 at width 350", 350, {355, 0}, {400, 0}, false},
        {"reversed fits", 100, {150, 0}, {101, 1}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BezierPath path = polyline({{0, 0}, {c.width, 0}});
        const BezierPath other = polyline({c.otherStart, c.otherEnd});
        const BezierPath result = connectTo(path, other, 0.1f);
        if (c.joined) {
            EXPECT_EQ(kinds(path), (Kinds{0, 1, 1}));
            const Point farEnd = c.otherStart.x > c.otherEnd.x ? c.otherStart : c.otherEnd;
            EXPECT_EQ(path.element(2).points[0], farEnd);
            EXPECT_EQ(result.element(0).points[0], (Point{c.width, 0}));
        } else {
            EXPECT_EQ(kinds(path), (Kinds{0, 1, 0, 1}));
            EXPECT_EQ(path.element(2).points[0], c.otherStart);
        }
    }
}

TEST(ConnectTo, AReceiverEndingInACloseGetsTheOtherPathWhole)
{
    BezierPath path = BezierPath::bezierPathWithRect({0, 0, 10, 10});
    const BezierPath other = polyline({{0, 0}, {-20, 0}});
    connectTo(path, other, 0);
    EXPECT_EQ(kinds(path), (Kinds{0, 1, 1, 1, 3, 0, 1}));
}

TEST(Placing, KeepAtBaseAndSetBounds)
{
    BezierPath atOrigin = BezierPath::bezierPathWithRect({0, 0, 10, 10});
    keepAtBase(atOrigin);
    EXPECT_EQ(atOrigin.controlPointBounds().origin, (Point{0, 0}));

    BezierPath lower = BezierPath::bezierPathWithRect({0, 3, 10, 10});
    EXPECT_EQ(keepAtBase(lower).controlPointBounds().origin, (Point{0.5f, 0.5f}));

    BezierPath right = BezierPath::bezierPathWithRect({7, 0, 10, 10});
    keepAtBase(right);
    EXPECT_EQ(right.controlPointBounds(), Rect(0.5f, 0.5f, 10, 10));

    BezierPath moved = BezierPath::bezierPathWithOvalInRect({3, 4, 20, 10});
    EXPECT_TRUE(pointNear(setBoundsAtX(moved, 10, 20).bounds().origin, {10, 20}));
}

TEST(HalfPosition, PixelCentres)
{
    const std::pair<Point, Point> cases[] = {
        {{2.0f, -0.2f}, {2.5f, -0.5f}}, {{0, 0}, {0.5f, 0.5f}}, {{-1.5f, 3.99f}, {-1.5f, 3.5f}},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(HalfPosition(in), out);
}

TEST(AdjustToHalfPosition, EachPointOrTheWholePath)
{
    BezierPath path = polyline({{1.2f, 2.2f}, {5.2f, 2.2f}});
    path.curveToPoint({9.7f, 8.1f}, {6.3f, 4.9f}, {7.0f, 6.0f});

    const BezierPath each = adjustToHalfPosition(path, true);
    for (int i = 0; i < each.elementCount(); ++i) {
        for (int j = 0; j < each.element(i).pointCount(); ++j)
            EXPECT_EQ(each.element(i).points[j], HalfPosition(path.element(i).points[j]));
    }

    // As a whole: shifted by the one offset that puts the start on its pixel centre...
    const BezierPath flat = adjustToHalfPosition(polyline({{1.2f, 2.2f}, {5.2f, 2.2f}}), false);
    EXPECT_TRUE(pointNear(flat.element(0).points[0], {1.5f, 2.5f}));
    EXPECT_TRUE(pointNear(flat.element(1).points[0], {5.5f, 2.5f}));
    // ...unless a later point lies lower: then that point's y goes onto its pixel centre.
    const BezierPath whole = adjustToHalfPosition(path, false);
    EXPECT_TRUE(pointNear(whole.element(0).points[0], {1.5f, 1.8f}));
    EXPECT_TRUE(pointNear(whole.element(2).points[0], {6.6f, 4.5f}));

    EXPECT_TRUE(adjustToHalfPosition(BezierPath(), true).isEmpty());
}

TEST(SetAllPointsToPositive, ShiftsByTheMostNegativeCoordinates)
{
    BezierPath path = polyline({{-2, 1}, {4, -3.2f}});
    path.curveToPoint({1, 1}, {0, 0}, {0.3f, 0});
    const BezierPath out = setAllPointsToPositive(path);
    EXPECT_TRUE(pointNear(out.element(0).points[0], {0, 4.2f}));
    EXPECT_TRUE(pointNear(out.element(1).points[0], {6, 0}));
    // Curve points also go onto pixel centres.
    EXPECT_EQ(out.element(2).points[0], HalfPosition({2, 3.2f}));
    EXPECT_EQ(out.element(2).points[2], HalfPosition({3, 4.2f}));

    const BezierPath positive = polyline({{0, 0}, {3.3f, 4}});
    EXPECT_EQ(setAllPointsToPositive(positive).element(1).points[0], (Point{3.3f, 4}));
}

TEST(AngleX, DirectionInDegreesFrom0To360)
{
    struct Case { float x, y, degrees; };
    const Case cases[] = {
        {1, 0, 0}, {1, 1, 45}, {0, 1, 90}, {-1, 1, 135}, {-1, 0, 180},
        {-1, -1, 225}, {0, -1, 270}, {1, -1, 315}, {0, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(angleX(c.x, c.y), c.degrees, 1e-4) << c.x << ", " << c.y;
    const float tiny = angleX(1, -1e-10f);
    EXPECT_GE(tiny, 0.0f);
    EXPECT_LT(tiny, 360.0f);
}
