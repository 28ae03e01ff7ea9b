#include "toolkit/geometry_extensions.h"

#include "platform/geometry/affine_transform.h"

#include <gtest/gtest.h>

TEST(Skew, ShearActsAfterTheReceiversTransform)
{
    AffineTransform identity;
    skewXBy(identity, 0.5f, 0);
    EXPECT_EQ(identity.transformPoint({0, 10}), (Point{5, 10}));
    EXPECT_EQ(identity.transformPoint({10, 0}), (Point{10, 0}));

    // The receiver scales by 2 first; the shear then sees (0, 20).
    AffineTransform scaled;
    scaled.scaleBy(2);
    skewXBy(scaled, 0.5f, 0);
    EXPECT_EQ(scaled.transformPoint({0, 10}), (Point{10, 20}));

    // And a translation of the receiver is sheared as well: (0, 10) -> (3, 14) -> (10, 14).
    AffineTransform moved;
    moved.translateXBy(3, 4);
    skewXBy(moved, 0.5f, 0);
    EXPECT_EQ(moved.transformPoint({0, 10}), (Point{10, 14}));

    AffineTransform vertical;
    skewXBy(vertical, 0, 0.25f);
    EXPECT_EQ(vertical.transformPoint({8, 1}), (Point{8, 3}));
}

TEST(RectFromPoints, SpansBothPointsInAnyOrderAndCorner)
{
    const Rect expected(4, 20, 6, 10);
    EXPECT_EQ(VekRectFromPoints({10, 20}, {4, 30}), expected);
    EXPECT_EQ(VekRectFromPoints({4, 30}, {10, 20}), expected);
    for (int corner = 0; corner < 4; ++corner)
        EXPECT_EQ(VekRectFromPointsAtCorner({10, 20}, {4, 30}, corner), expected) << corner;
    EXPECT_EQ(VekRectFromPoints({-3, 5}, {-3, 5}), Rect(-3, 5, 0, 0));
}
