// Point lists: refinement, look-ups, emptying and polylines.
#include "model/points_array.h"

#include <gtest/gtest.h>

namespace {

template <class List>
List listOf(std::initializer_list<Point> points, bool closed = false)
{
    List list;
    for (Point p : points)
        list.addPoint(p);
    if (closed)
        list.close();
    return list;
}

void expectPoints(const std::vector<Point> &actual, const std::vector<Point> &expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-4) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-4) << "point " << i;
    }
}

} // namespace

TEST(PointsArrayTest, FourPointRefinementOfOpenClosedAndShortLists)
{
    const auto two = listOf<PointsArray>({{0, 0}, {10, 5}});
    expectPoints(two.doFourPoint().points(), two.points());

    const auto open = listOf<PointsArray>({{0, 0}, {10, 0}, {20, 0}}).doFourPoint();
    expectPoints(open.points(), {{0, 0}, {4.375f, 0}, {10, 0}, {15.625f, 0}, {20, 0}, {20.625f, 0}});
    EXPECT_FALSE(open.closed());

    const auto square = listOf<VekContourPoints>({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true).doFourPoint();
    expectPoints(square.points(), {{0, 0}, {5, -1.25f}, {10, 0}, {11.25f, 5}, {10, 10}, {5, 11.25f}, {0, 10},
                                   {-1.25f, 5}});
    EXPECT_TRUE(square.closed());
}

TEST(PointsArrayTest, ExactAndApproximateLookUps)
{
    auto list = listOf<PointsArray>({{0, 0}, {10, 10}, {10, 10}});
    EXPECT_TRUE(list.containsPoint({10, 10}));
    EXPECT_FALSE(list.containsPoint({10, 10.5f}));
    // The square runs from the point - 2 (inside) to the point + 2 (outside).
    EXPECT_TRUE(list.containsPointApproximately({12, 12}));
    EXPECT_FALSE(list.containsPointApproximately({8, 8}));

    list.replacePointApproximately({11, 9});
    expectPoints(list.points(), {{0, 0}, {11, 9}, {10, 10}});
    list.replacePoint({10, 10}, {3, 3});
    expectPoints(list.points(), {{0, 0}, {11, 9}, {3, 3}});
    list.removePoint({5, 5});
    EXPECT_EQ(list.pcount(), 3);
    list.removePoint({0, 0});
    expectPoints(list.points(), {{11, 9}, {3, 3}});
}

TEST(PointsArrayTest, ShrinkingToNothingAndClearingLeaveAUsableEmptyList)
{
    auto list = listOf<VekContourPoints>({{1, 2}}, true);
    list.removePoint({1, 2});
    EXPECT_EQ(list.count(), 0);
    list.removeLastPoint();
    EXPECT_EQ(list.firstPoint(), (Point{0, 0}));
    EXPECT_EQ(list.lastPoint(), (Point{0, 0}));
    list.addPoint({4, 4});
    EXPECT_EQ(list.lastPoint(), (Point{4, 4}));

    list.clearPoints();
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(list.closed());
}

TEST(PointsArrayTest, PolylinesIncludingTheEmptyList)
{
    EXPECT_TRUE(PointsArray().createPath().isEmpty());
    EXPECT_TRUE(VekContourPoints().getPath().isEmpty());

    const BezierPath path = listOf<PointsArray>({{0, 0}, {5, 0}, {5, 5}}, true).createPath();
    ASSERT_EQ(path.elementCount(), 4);
    EXPECT_EQ(path.element(0).kind, MoveToBezierPathElement);
    EXPECT_EQ(path.element(2).kind, LineToBezierPathElement);
    EXPECT_EQ(path.element(2).points[0], (Point{5, 5}));
    EXPECT_EQ(path.element(3).kind, ClosePathBezierPathElement);
}

TEST(PointsArrayTest, ContourPointsFromAPathStopAtTheFirstClose)
{
    BezierPath path;
    path.moveToPoint({0, 0});
    path.curveToPoint({9, 9}, {1, 1}, {2, 2});
    path.lineToPoint({3, 0});
    path.closePath();
    path.lineToPoint({7, 7});

    VekContourPoints list = listOf<VekContourPoints>({{50, 50}}, true);
    list.updatePointsFromPath(path);
    expectPoints(list.points(), {{0, 0}, {3, 0}});
    EXPECT_TRUE(list.closed());

    list.updatePointsFromPath(BezierPath());
    EXPECT_EQ(list.count(), 2);
}
