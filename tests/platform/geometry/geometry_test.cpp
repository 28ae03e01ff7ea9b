#include "platform/geometry/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GeometryText, WritesShortestForm)
{
    EXPECT_EQ(stringFromPoint({10, 20.5f}), QStringLiteral("{10, 20.5}"));
    EXPECT_EQ(stringFromSize({0.1f, -3}), QStringLiteral("{0.1, -3}"));
    EXPECT_EQ(stringFromRect({1, 2, 3, 4}), QStringLiteral("{{1, 2}, {3, 4}}"));
}

TEST(GeometryText, ReadsLeniently)
{
    EXPECT_EQ(pointFromString(QStringLiteral("{10,20}")), (Point{10, 20}));
    EXPECT_EQ(pointFromString(QStringLiteral(" { 10.0 , -2e1 } ")), (Point{10, -20}));
    EXPECT_EQ(pointFromString(QStringLiteral("{.5, -.25}")), (Point{0.5f, -0.25f}));
    EXPECT_EQ(pointFromString(QStringLiteral("{7}")), (Point{7, 0}));
    EXPECT_EQ(pointFromString(QString()), (Point{0, 0}));
    EXPECT_EQ(rectFromString(QStringLiteral("{{1, 2}, {3, 4}}")), (Rect{1, 2, 3, 4}));
}

TEST(GeometryText, NumbersBeyondAFloatBecomeZeroOrInfinity)
{
    const Rect r = rectFromString(QStringLiteral("{{1e-50, -1e-400}, {1e50, -1e400}}"));
    EXPECT_EQ(r.origin.x, 0.0f);
    EXPECT_EQ(r.origin.y, 0.0f);
    EXPECT_TRUE(std::signbit(r.origin.y));
    EXPECT_EQ(r.size.width, INFINITY);
    EXPECT_EQ(r.size.height, -INFINITY);
}

TEST(GeometryText, RoundTripsFloatsExactly)
{
    const Rect r{0.1f, 1.0f / 3.0f, 123456.78f, -1e-7f};
    EXPECT_EQ(rectFromString(stringFromRect(r)), r);
}

TEST(GeometryRects, PointInRectExcludesFarEdges)
{
    const Rect r{0, 0, 10, 10};
    EXPECT_TRUE(pointInRect({0, 0}, r));
    EXPECT_FALSE(pointInRect({10, 5}, r));
    EXPECT_FALSE(pointInRect({5, 10}, r));
    EXPECT_FALSE(pointInRect({0, 0}, Rect{0, 0, 0, 5}));
    EXPECT_TRUE(mouseInRect({5, 10}, r, false));
    EXPECT_FALSE(mouseInRect({5, 0}, r, false));
}

TEST(GeometryRects, UnionAndIntersection)
{
    EXPECT_EQ(unionRect({0, 0, 1, 1}, {2, 3, 1, 1}), (Rect{0, 0, 3, 4}));
    EXPECT_EQ(unionRect({}, {2, 3, 1, 1}), (Rect{2, 3, 1, 1}));
    EXPECT_EQ(intersectionRect({0, 0, 4, 4}, {2, 2, 4, 4}), (Rect{2, 2, 2, 2}));
    EXPECT_TRUE(intersectionRect({0, 0, 1, 1}, {2, 2, 1, 1}).isEmpty());
    EXPECT_FALSE(intersectsRect({0, 0, 1, 1}, {1, 0, 1, 1}));
}
