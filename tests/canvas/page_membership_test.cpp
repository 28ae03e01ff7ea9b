// Which objects lie on a page: the rectangle query by mode and the owning page.
#include "canvas/page_geometry.h"
#include "canvas/page_membership.h"

#include "tests/canvas/command_fixture.h"

namespace {

struct MembershipCase {
    const char *name;
    Rect bounds;
    bool intersecting, contained, crossingBottom, crossingTop;
};

} // namespace

TEST(PageMembership, ModesOnTheSecondPage)
{
    // Page 2 is {0, 100, 200, 100}.
    const MembershipCase cases[] = {
        {"inside", {10, 120, 20, 20}, true, true, true, true},
        {"crossing the bottom edge", {10, 180, 20, 40}, true, false, true, false},
        {"crossing the top edge", {10, 80, 20, 40}, true, false, false, true},
        {"spanning the whole page", {10, 50, 20, 200}, true, false, true, true},
        {"vertical line of zero width", {50, 110, 0, 50}, true, true, true, true},
        {"negative x", {-10, 120, 30, 20}, true, true, true, true},
        {"sticking out on the right", {190, 120, 30, 20}, true, true, true, true},
        {"right of the page", {200, 120, 30, 20}, false, false, false, false},
        {"touching the bottom edge from below", {10, 200, 20, 10}, false, false, false, false},
    };
    for (const MembershipCase &c : cases) {
        CommandFixture f(3);
        auto object = f.add(c.bounds);
        const Rect page = pageRect(f.doc, 2);
        const auto found = [&](PageMembership mode) { return objectsInRectOrdered(f.doc, page, mode).size() == 1; };
        EXPECT_EQ(found(PageMembership::Intersecting), c.intersecting) << c.name;
        EXPECT_EQ(found(PageMembership::Contained), c.contained) << c.name;
        EXPECT_EQ(found(PageMembership::ContainedOrCrossingBottom), c.crossingBottom) << c.name;
        EXPECT_EQ(found(PageMembership::ContainedOrCrossingTop), c.crossingTop) << c.name;
        EXPECT_EQ(object->bounds(), c.bounds) << "the query leaves the object as it is";
    }
}

TEST(PageMembership, ResultsComeInListOrder)
{
    CommandFixture f(1);
    auto front = f.add({10, 10, 10, 10});
    f.add({300, 10, 10, 10});
    auto back = f.add({50, 50, 10, 10});
    EXPECT_EQ(objectsInRectOrdered(f.doc, pageRect(f.doc, 1), PageMembership::Intersecting),
              (std::vector<std::shared_ptr<VekObject>>{front, back}));
}

TEST(PageMembership, EveryObjectOwnedByThePageHoldingItsTopEdge)
{
    const struct {
        float top;
        int page;
    } cases[] = {{0, 1}, {99.5f, 1}, {100, 2}, {150, 2}, {-40, 1}, {280, 3}, {1000, 3}};
    for (const auto &c : cases) {
        CommandFixture f(3);
        auto object = f.add({10, c.top, 20, 50});
        EXPECT_EQ(owningPage(f.doc, *object), c.page) << "top " << c.top;
    }
}

TEST(PageMembership, RepeatingObjectsBelongToEveryPage)
{
    CommandFixture f(3);
    auto object = f.add({10, 110, 20, 20});
    object->setRepeatType(3);
    EXPECT_EQ(owningPage(f.doc, *object), 0);
    EXPECT_TRUE(objectsOwnedByPage(f.doc, 1).empty());
    EXPECT_TRUE(objectsOwnedByPage(f.doc, 2).empty());
}
