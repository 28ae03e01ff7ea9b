#include "platform/geometry/affine_transform.h"

#include <gtest/gtest.h>

namespace {

void expectPointNear(Point p, Point expected)
{
    EXPECT_NEAR(p.x, expected.x, 1e-4);
    EXPECT_NEAR(p.y, expected.y, 1e-4);
}

} // namespace

TEST(AffineTransform, OperationsActBeforeTheExistingTransform)
{
    // translate then rotate: the rotation applies to the point first, then the translation.
    AffineTransform t;
    t.translateXBy(10, 20);
    t.rotateByDegrees(90);
    expectPointNear(t.transformPoint({1, 0}), {10, 21});

    AffineTransform u;
    u.rotateByDegrees(90);
    u.translateXBy(10, 20);
    expectPointNear(u.transformPoint({1, 0}), {-20, 11});

    AffineTransform s;
    s.scaleXBy(2, 3);
    s.translateXBy(1, 1);
    expectPointNear(s.transformPoint({0, 0}), {2, 3});
    // Sizes ignore the translation.
    const Size size = s.transformSize({1, 1});
    EXPECT_FLOAT_EQ(size.width, 2);
    EXPECT_FLOAT_EQ(size.height, 3);
}

TEST(AffineTransform, AppendAndPrepend)
{
    AffineTransform move;
    move.translateXBy(5, 0);
    AffineTransform turn;
    turn.rotateByDegrees(90);

    AffineTransform appended = move;
    appended.appendTransform(turn); // move, then turn
    expectPointNear(appended.transformPoint({1, 0}), {0, 6});

    AffineTransform prepended = move;
    prepended.prependTransform(turn); // turn, then move
    expectPointNear(prepended.transformPoint({1, 0}), {5, 1});
}

TEST(AffineTransform, InvertUndoesAndRefusesSingular)
{
    AffineTransform t;
    t.translateXBy(3, -4);
    t.rotateByDegrees(30);
    t.scaleXBy(2, 0.5);
    AffineTransform inverse = t;
    ASSERT_TRUE(inverse.invert());
    expectPointNear(inverse.transformPoint(t.transformPoint({7, 11})), {7, 11});
    AffineTransform both = t;
    both.appendTransform(inverse);
    expectPointNear(both.transformPoint({-2, 9}), {-2, 9});

    AffineTransform flat(1, 2, 2, 4, 5, 6);
    const AffineTransform before = flat;
    EXPECT_FALSE(flat.invert());
    EXPECT_EQ(flat, before);
}
