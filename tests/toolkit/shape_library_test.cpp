#include "toolkit/shape_library.h"

#include "tests/support/path_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool endsClosed(const BezierPath &p)
{
    return p.elementCount() > 0 && p.element(p.elementCount() - 1).kind == ClosePathBezierPathElement;
}

void expectNear(Point actual, Point expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

} // namespace

// Every shape number: element count, whether it ends in a close-path, and for the
// normalised shapes that they lie in the 98-point box at (0.5, 0.5). Arcs turn into one
// curve per started quarter circle.
TEST(ShapeLibrary, EveryShapeNumber)
{
    struct Case { int n; int elements; bool closed; bool normalised; };
    const Case cases[] = {
        {0, 2, false, true}, {1, 2, false, true}, {2, 2, false, true}, {3, 2, false, true},
        {4, 16, false, true}, {5, 2, false, true}, {6, 3, false, true}, {7, 9, false, false},
        {8, 4, false, true}, {9, 4, true, true}, {10, 11, true, true}, {11, 4, true, true},
        {12, 5, true, true}, {13, 10, true, true}, {14, 5, true, false}, {15, 5, true, false},
        {16, 5, true, false}, {17, 6, true, false}, {18, 6, true, true}, {19, 11, false, true},
        {20, 6, true, false}, {21, 7, true, true}, {22, 13, false, true}, {23, 7, true, false},
        {24, 9, true, true}, {25, 17, false, true}, {26, 14, true, false}, {27, 21, false, true},
        {28, 7, true, false}, {29, 6, true, false}, {30, 8, true, false}, {31, 9, true, false},
        {32, 6, true, false}, {33, 4, false, true}, {34, 4, true, true}, {35, 5, true, true},
        {36, 6, true, true}, {37, 7, true, true}, {38, 6, true, true}, {39, 5, true, true},
        {40, 4, true, false}, {41, 9, false, false}, {42, 7, false, false}, {43, 13, false, false},
        {44, 5, false, true}, {45, 7, true, true}, {46, 10, true, true}, {47, 12, true, true},
        {48, 17, true, true}, {49, 25, true, false}, {50, 7, true, false}, {51, 7, false, true},
        {52, 4, true, true}, {53, 5, false, true}, {54, 7, false, true}, {55, 9, false, true},
        {56, 9, false, true}, {57, 20, false, true}, {58, 5, false, false}, {59, 20, false, true},
        {60, 26, false, true}, {61, 22, true, false}, {62, 22, true, false}, {63, 16, false, false},
        {64, 11, false, false}, {65, 30, true, true}, {66, 15, true, false}, {67, 19, true, false},
        {68, 361, false, true}, {69, 362, false, true}, {70, 1081, false, true}, {71, 1081, false, true},
        {72, 17, false, true}, {73, 17, false, true}, {74, 1081, false, true}, {75, 1081, false, true},
        {1000, 5, false, false}, {1001, 5, false, false}, {1002, 2, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.n);
        const std::optional<BezierPath> shape = ShapeLibrary::bezierShape(c.n);
        ASSERT_TRUE(shape.has_value());
        EXPECT_EQ(shape->elementCount(), c.elements);
        EXPECT_EQ(shape->element(0).kind, MoveToBezierPathElement);
        EXPECT_EQ(endsClosed(*shape), c.closed);
        EXPECT_TRUE(allFinite(*shape));
        if (c.normalised) {
            const Rect cb = shape->controlPointBounds();
            const Rect b = shape->bounds();
            EXPECT_TRUE(std::fabs(cb.origin.x - 0.5f) < 1e-3f || std::fabs(cb.origin.y - 0.5f) < 1e-3f);
            EXPECT_GE(b.minX(), 0.5f - 1e-3f);
            EXPECT_GE(b.minY(), 0.5f - 1e-3f);
            EXPECT_LE(std::max(b.size.width, b.size.height), 98.0f + 1e-3f);
        }
    }
}

TEST(ShapeLibrary, NumbersOutsideTheTableGiveNothing)
{
    for (int n : {-1, 76, 999, 1003})
        EXPECT_FALSE(ShapeLibrary::bezierShape(n).has_value()) << n;
}

TEST(ShapeLibrary, NormalisingScalesOnlyLargeShapes)
{
    const BezierPath square = *ShapeLibrary::bezierShape(12);
    EXPECT_EQ(square.bounds(), (Rect{0.5f, 0.5f, 98, 98}));

    // Eight rays of 100 span 200 x 200 and are halved (98/200).
    const Rect rays = ShapeLibrary::bezierShape(4)->bounds();
    EXPECT_NEAR(rays.size.width, 98.0f, 1e-3f);
    EXPECT_NEAR(rays.size.height, 98.0f, 1e-3f);

    // The sine curve is 180 wide: scaled by 98/180.
    EXPECT_NEAR(ShapeLibrary::bezierShape(6)->bounds().size.width, 98.0f, 1e-3f);

    // Small shapes keep their size after the flip.
    const Rect half = ShapeLibrary::bezierShape(38)->bounds();
    EXPECT_NEAR(half.size.width, 80.0f, 1e-3f);
    EXPECT_NEAR(half.size.height, 40.0f, 1e-3f);
    const Rect star = ShapeLibrary::bezierShape(47)->bounds();
    EXPECT_NEAR(star.size.width, 6.7f, 0.05f);
    EXPECT_NEAR(star.size.height, 6.3f, 0.05f);
}

TEST(ShapeLibrary, FlippedUpright)
{
    // The vertical line (1,1)-(1,100) is 99 long: scaled to 98, it flips to run upwards
    // from the bottom of its box.
    const BezierPath line = *ShapeLibrary::bezierShape(1);
    expectNear(line.element(0).points[0], {0.5f, 98.5f});
    expectNear(line.element(1).points[0], {0.5f, 0.5f});
}

TEST(ShapeLibrary, LinesAndPolygons)
{
    const BezierPath horizontal = ShapeLibrary::line(7);
    expectNear(horizontal.element(1).points[0], {100, 1});

    const BezierPath hexagon = ShapeLibrary::polygon(6);
    expectNear(hexagon.element(0).points[0], {100, 50});
    expectNear(hexagon.element(1).points[0], {75, 50 - 50 * std::sin(float(M_PI / 3))});

    // The pentagon is turned by 18 degrees, so its first corner leaves (100, 50).
    const Point first = ShapeLibrary::polygon(5).element(0).points[0];
    EXPECT_GT(std::hypot(first.x - 100, first.y - 50), 1.0f);

    const BezierPath rounded = ShapeLibrary::roundedPolygon(6);
    EXPECT_FALSE(endsClosed(rounded));
    expectNear(rounded.element(0).points[0], rounded.element(rounded.elementCount() - 1).endPoint());
}

TEST(ShapeLibrary, StarHeadingsAreWholeDegrees)
{
    // Seven legs turn by 102.857 degrees, truncated after each leg.
    const BezierPath star = ShapeLibrary::star(7);
    const int headings[] = {0, 102, 204, 306, 48, 150, 252};
    Point current{0, 0};
    for (int i = 0; i < 7; ++i) {
        const double a = double(float(headings[i] * M_PI / 180.0));
        current = {float(current.x + 100 * std::cos(a)), float(current.y + 100 * std::sin(a))};
        expectNear(star.element(i + 1).points[0], current, 0.01f);
    }
    EXPECT_TRUE(endsClosed(star));
}

TEST(ShapeLibrary, FlowerPetalsAndPinwheels)
{
    struct Case { float angle; int petals; float x; };
    for (const Case c : {Case{90, 4, 0.4f}, Case{60, 6, 0.304f}, Case{45, 8, 0.208f}}) {
        const BezierPath flower = ShapeLibrary::flower(c.angle);
        EXPECT_EQ(flower.elementCount(), 1 + c.petals);
        // The last petal is added after the last turn: its control points are unturned.
        const PathElement &last = flower.element(flower.elementCount() - 1);
        expectNear(last.points[0], {100 * c.x, 50}, 0.01f);
    }
    // Five blades turn by 144 degrees each: the second blade pair is the first turned.
    const BezierPath pinwheel = ShapeLibrary::kazaguruma(5);
    EXPECT_EQ(pinwheel.elementCount(), 20);
    expectNear(pinwheel.element(pinwheel.elementCount() - 1).points[2], {50, 60});
}

TEST(ShapeLibrary, CrossFillsItsRectangle)
{
    const Rect r{10, 20, 60, 30};
    const Rect b = ShapeLibrary::bezierPathXCrossInRect(r).bounds();
    EXPECT_NEAR(b.origin.x, 10, 1e-3f);
    EXPECT_NEAR(b.origin.y, 20, 1e-3f);
    EXPECT_NEAR(b.size.width, 60, 1e-3f);
    EXPECT_NEAR(b.size.height, 30, 1e-3f);
}

TEST(ShapeLibrary, ArrowHeads)
{
    // A 90-degree head of height 10: q = 10 / tan(-45 deg) = -10.
    const BezierPath filled = ShapeLibrary::arrowType(1, 10, 90, 0);
    expectNear(filled.element(1).points[0], {10, -5});
    expectNear(filled.element(2).points[0], {10, 5});
    EXPECT_TRUE(endsClosed(filled));

    const BezierPath open = ShapeLibrary::arrowType(0, 10, 90, float(M_PI / 2));
    EXPECT_EQ(open.element(2).kind, MoveToBezierPathElement);
    expectNear(open.element(1).points[0], {5, 10});
    expectNear(open.element(3).points[0], {0, 0});
}

TEST(ShapeLibrary, OutlineDetails)
{
    EXPECT_EQ(ShapeLibrary::heart().lineJoinStyle(), RoundLineJoinStyle);
    expectNear(ShapeLibrary::fcTemplateTape().element(0).points[0], {0.5f, 7.5f});
    // The curve-to of the outline text lists control points before the end point.
    const PathElement c = ShapeLibrary::bottomCurve().element(1);
    expectNear(c.points[0], {10, -4});
    expectNear(c.points[1], {50, -4});
    expectNear(c.points[2], {60, 12});
}
