// Align, same size, equal spacing and moving or scaling the selection with a base object.
#include "canvas/align_commands.h"

#include "tests/canvas/command_fixture.h"

namespace {

struct AlignCase {
    AlignEdge edge;
    Rect expectedShort, expectedTall;
    const char *undoName;
};

} // namespace

TEST(AlignCommands, EveryObjectButTheFirstTakesTheReferenceEdge)
{
    // Reference {0, 100, 40, 20}; the others are 10 x 10 and 30 x 30.
    const AlignCase cases[] = {
        {AlignEdge::Left, {0, 5, 10, 10}, {0, 50, 30, 30}, "Align Edges"},
        {AlignEdge::Right, {30, 5, 10, 10}, {10, 50, 30, 30}, "Align Edges"},
        {AlignEdge::HorizontalCentre, {15, 5, 10, 10}, {5, 50, 30, 30}, "Align Horizontal Centers"},
        {AlignEdge::Top, {60, 100, 10, 10}, {80, 100, 30, 30}, "Align Edges"},
        {AlignEdge::Bottom, {60, 110, 10, 10}, {80, 90, 30, 30}, "Align Edges"},
        {AlignEdge::VerticalCentre, {60, 105, 10, 10}, {80, 95, 30, 30}, "Align Vertical Centers"},
    };
    for (const AlignCase &c : cases) {
        CommandFixture f;
        auto reference = f.add({0, 100, 40, 20});
        auto shortOne = f.add({60, 5, 10, 10});
        auto tallOne = f.add({80, 50, 30, 30});
        f.settle();
        auto context = f.context({reference, shortOne, tallOne});
        alignSelection(context, c.edge);
        f.step();
        EXPECT_EQ(reference->bounds(), Rect(0, 100, 40, 20)) << int(c.edge);
        EXPECT_EQ(shortOne->bounds(), c.expectedShort) << int(c.edge);
        EXPECT_EQ(tallOne->bounds(), c.expectedTall) << int(c.edge);
        EXPECT_EQ(f.doc.undoManager()->undoActionName(), QString::fromLatin1(c.undoName));
        f.undo();
        EXPECT_EQ(shortOne->bounds(), Rect(60, 5, 10, 10));
        EXPECT_EQ(tallOne->bounds(), Rect(80, 50, 30, 30));
    }
}

TEST(AlignCommands, ObjectsAlreadyInPlaceAreNotTouched)
{
    CommandFixture f;
    auto a = f.add({0, 0, 10, 10});
    auto b = f.add({0, 40, 20, 10});
    f.settle();
    auto context = f.context({a, b});
    alignSelection(context, AlignEdge::Left);
    makeSameHeight(context);
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());

    auto alone = f.context({a});
    alignSelection(alone, AlignEdge::Right);
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
}

TEST(AlignCommands, SameSizeKeepsTheTopLeftCorner)
{
    CommandFixture f;
    auto first = f.add({0, 0, 40, 15});
    auto second = f.add({100, 50, 10, 30});
    f.settle();
    auto context = f.context({first, second});
    makeSameWidth(context);
    f.step();
    EXPECT_EQ(second->bounds(), Rect(100, 50, 40, 30));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Make Same Width"));
    makeSameHeight(context);
    f.step();
    EXPECT_EQ(second->bounds(), Rect(100, 50, 40, 15));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Make Same Height"));
}

TEST(AlignCommands, EqualSpacingFollowsTheFirstGap)
{
    {
        // Tops 0, 50, 200 and heights 20: the gap is 30, the third top becomes 100; the
        // selection order does not matter.
        CommandFixture f;
        auto a = f.add({0, 0, 10, 20});
        auto b = f.add({0, 50, 10, 20});
        auto c = f.add({0, 200, 10, 20});
        auto d = f.add({0, 300, 10, 5});
        f.settle();
        auto context = f.context({c, d, a, b});
        makeVerticallyEqualOffset(context);
        f.step();
        EXPECT_EQ(a->bounds().origin.y, 0);
        EXPECT_EQ(b->bounds().origin.y, 50);
        EXPECT_EQ(c->bounds().origin.y, 100);
        EXPECT_EQ(d->bounds().origin.y, 150);
        EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Offset Vertically Equal"));
    }
    {
        // Overlapping objects give a negative gap.
        CommandFixture f;
        auto a = f.add({0, 0, 30, 10});
        auto b = f.add({20, 0, 30, 10});
        auto c = f.add({200, 0, 30, 10});
        f.settle();
        auto context = f.context({a, b, c});
        makeHorizontallyEqualOffset(context);
        f.step();
        EXPECT_EQ(c->bounds(), Rect(40, 0, 30, 10));
        EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Offset Horizontally Equal"));
    }
    {
        CommandFixture f;
        auto a = f.add({0, 0, 30, 10});
        auto b = f.add({0, 90, 30, 10});
        f.settle();
        auto two = f.context({a, b});
        makeVerticallyEqualOffset(two);
        f.step();
        EXPECT_FALSE(f.doc.undoManager()->canUndo());
    }
}

TEST(AlignCommands, TheSelectionFollowsItsBaseObject)
{
    {
        // Same size: everything moves by the offset.
        CommandFixture f;
        auto base = f.add({10, 10, 20, 20});
        auto other = f.add({50, 40, 10, 10});
        f.settle();
        auto context = f.context({base, other});
        setSelectedObjectsBoundRelativeTo(context, {15, 30, 20, 20}, base);
        EXPECT_EQ(base->bounds(), Rect(15, 30, 20, 20));
        EXPECT_EQ(other->bounds(), Rect(55, 60, 10, 10));
        EXPECT_EQ(f.host.redrawn.size(), 1u);
    }
    {
        // Twice as wide: the selection scales about its bounds and the base object lands
        // on the rectangle.
        CommandFixture f;
        auto base = f.add({10, 10, 20, 20});
        auto other = f.add({50, 40, 10, 10});
        f.settle();
        auto context = f.context({other, base});
        setSelectedObjectsBoundRelativeTo(context, {10, 10, 40, 20}, base);
        EXPECT_EQ(base->bounds(), Rect(10, 10, 40, 20));
        EXPECT_EQ(other->bounds(), Rect(90, 40, 20, 10));
    }
    {
        // A rectangle of zero width scales with the width taken as 0.1.
        CommandFixture f;
        auto base = f.add({10, 10, 20, 20});
        auto other = f.add({50, 40, 10, 10});
        f.settle();
        auto context = f.context({base, other});
        setSelectedObjectsBoundRelativeTo(context, {10, 10, 0, 20}, base);
        EXPECT_NEAR(base->bounds().size.width, 0.1f, 1e-5);
        EXPECT_NEAR(other->bounds().size.width, 0.05f, 1e-5);
        EXPECT_NEAR(other->bounds().origin.x, 10.2f, 1e-4);
    }
    {
        CommandFixture f;
        auto base = f.add({10, 10, 20, 20});
        f.settle();
        auto alone = f.context({base});
        setSelectedObjectsBoundRelativeTo(alone, {0, 0, 5, 5}, base);
        EXPECT_EQ(base->bounds(), Rect(0, 0, 5, 5));
    }
}
