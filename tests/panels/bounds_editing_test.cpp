// The inspector's new bounds from a typed location, size or scale.
#include "panels/obj_info/bounds_editing.h"

#include <gtest/gtest.h>

namespace {

const std::vector<Rect> three = {Rect(10, 10, 40, 20), Rect(60, 30, 20, 20), Rect(100, 5, 10, 50)};

TEST(BoundsEditing, ALocationMovesAllRelativelyOrLinesThemUp)
{
    // The current object is the second; x = 100 typed.
    const auto relative = boundsForLocation(three, three[1], BoundsAxis::X, 100, true);
    ASSERT_TRUE(relative);
    EXPECT_EQ(*relative, (std::vector<Rect>{Rect(50, 10, 40, 20), Rect(100, 30, 20, 20), Rect(140, 5, 10, 50)}));
    const auto lined = boundsForLocation(three, three[1], BoundsAxis::Y, 100, false);
    ASSERT_TRUE(lined);
    EXPECT_EQ(*lined, (std::vector<Rect>{Rect(10, 100, 40, 20), Rect(60, 100, 20, 20), Rect(100, 100, 10, 50)}));
    // Within 0.1 of where it is: nothing.
    EXPECT_FALSE(boundsForLocation(three, three[1], BoundsAxis::X, 60.05f, true));
}

TEST(BoundsEditing, ASizeGoesToAllByTheOptions)
{
    const Rect selection(10, 5, 100, 50);   // centre (60, 30)
    const struct {
        const char *name;
        BoundsAxis axis;
        float value;
        ResizeOptions options;
        std::vector<Rect> expected;
    } cases[] = {
        {"typed width alone", BoundsAxis::X, 40, {},
         {Rect(10, 10, 40, 20), Rect(60, 30, 40, 20), Rect(100, 5, 40, 50)}},
        {"width with the height of the current object in proportion", BoundsAxis::X, 40, {false, true, false},
         {Rect(10, 10, 40, 40), Rect(60, 30, 40, 40), Rect(100, 5, 40, 40)}},
        {"proportional factors on each object", BoundsAxis::Y, 40, {true, false, false},
         {Rect(10, 10, 40, 40), Rect(60, 30, 20, 40), Rect(100, 5, 10, 100)}},
        {"proportional about the selection's centre", BoundsAxis::X, 40, {true, true, true},
         {Rect(-40, -10, 80, 40), Rect(60, 30, 40, 40), Rect(140, -20, 20, 100)}},
    };
    for (const auto &c : cases) {
        const auto sized = boundsForSize(three, three[1], selection, c.axis, c.value, c.options);
        ASSERT_TRUE(sized) << c.name;
        EXPECT_EQ(*sized, c.expected) << c.name;
    }
    // The same size, or none at all, changes nothing.
    EXPECT_FALSE(boundsForSize(three, three[1], selection, BoundsAxis::X, 20.05f, {}));
    EXPECT_FALSE(boundsForSize(three, three[1], selection, BoundsAxis::X, 0, {}));
    EXPECT_FALSE(boundsForSize(three, three[1], selection, BoundsAxis::Y, -5, {}));
}

TEST(BoundsEditing, ScalingKeepsTheSelectionsCentre)
{
    const std::vector<Rect> two = {Rect(0, 0, 100, 100), Rect(100, 0, 100, 50)};
    const auto scaled = boundsForScale(two, Rect(0, 0, 200, 100), 150);
    ASSERT_TRUE(scaled);
    EXPECT_FLOAT_EQ(scaled->factor, 1.5f);
    EXPECT_EQ(scaled->bounds, (std::vector<Rect>{Rect(-50, -25, 150, 150), Rect(100, -25, 150, 75)}));
    // A vertical line has no width: the factor comes from its height.
    const auto line = boundsForScale({Rect(10, 10, 0, 40)}, Rect(10, 10, 0, 40), 50);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->bounds.front(), Rect(10, 20, 0, 20));
    EXPECT_FALSE(boundsForScale({Rect(10, 10, 0, 0)}, Rect(10, 10, 0, 0), 50));
}

TEST(BoundsEditing, NaturalProportionsKeepTheLongerSide)
{
    // 200 x 100 drawn from a 100 x 100 original: the height follows the width.
    const Size wide = naturalAspectFactors(Size(200, 100), Size(100, 100));
    EXPECT_FLOAT_EQ(wide.width, 1);
    EXPECT_FLOAT_EQ(wide.height, 2);
    const Size tall = naturalAspectFactors(Size(50, 100), Size(100, 50));
    EXPECT_FLOAT_EQ(tall.width, 4);
    EXPECT_FLOAT_EQ(tall.height, 1);
    EXPECT_EQ(scaledAbout(Rect(0, 0, 10, 10), Size(2, 1), Point(10, 10)), Rect(-10, 0, 20, 10));
}

} // namespace
