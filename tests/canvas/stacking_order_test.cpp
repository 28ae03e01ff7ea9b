// Sorting into stacking order and the objects table's column sort.
#include "canvas/stacking_order.h"

#include "tests/canvas/command_fixture.h"

#include <algorithm>

namespace {

using Objects = std::vector<std::shared_ptr<VekObject>>;

// Five objects o[0] front-most to o[4] back-most, at x 40, 30, 20, 10, 0 (so sorting by
// "tcPosX" reverses them) and y 0, 10, 20, 30, 40.
struct Five : CommandFixture {
    Five()
    {
        for (int i = 0; i < 5; ++i)
            o.push_back(add({float(40 - 10 * i), float(10 * i), 5, 5}));
        settle();
    }
    std::vector<VekObject *> ptrs(const Objects &objects) const
    {
        std::vector<VekObject *> out;
        for (const auto &object : objects)
            out.push_back(object.get());
        return out;
    }
    std::vector<VekObject *> expect(std::initializer_list<int> indexes) const
    {
        std::vector<VekObject *> out;
        for (int i : indexes)
            out.push_back(o[size_t(i)].get());
        return out;
    }
    Objects o;
};

} // namespace

TEST(StackingOrder, SortsByListIndexWithStrangersLast)
{
    Five f;
    auto stranger = VekObject::create();
    const Objects sorted = sortObjectsInOrder(f.doc, {f.o[3], stranger, f.o[0], f.o[2]});
    EXPECT_EQ(f.ptrs(sorted), (std::vector<VekObject *>{f.o[0].get(), f.o[2].get(), f.o[3].get(), stranger.get()}));
}

TEST(StackingOrder, KeysOfTheObjectsTable)
{
    Five f;
    f.o[0]->setNote(QStringLiteral("b"));
    f.o[1]->setNote(QStringLiteral("a"));
    Objects objects{f.o[0], f.o[1], f.o[2]};
    sortObjectsByKey(objects, QStringLiteral("tcNote"));
    EXPECT_EQ(f.ptrs(objects), f.expect({2, 1, 0}));   // an empty note first
    sortObjectsByKey(objects, QStringLiteral("tcPosY"));
    EXPECT_EQ(f.ptrs(objects), f.expect({0, 1, 2}));
    sortObjectsByKey(objects, QStringLiteral("tcPosX"));
    EXPECT_EQ(f.ptrs(objects), f.expect({2, 1, 0}));
    sortObjectsByKey(objects, QStringLiteral("unknown"));
    EXPECT_EQ(f.ptrs(objects), f.expect({2, 1, 0}));
}

TEST(StackingOrder, CurrentPageRowsBecomeOneBlockWhereTheFrontMostStood)
{
    Five f;
    EXPECT_TRUE(sortObjectsWithKey(f.doc, QStringLiteral("tcPosX"), {f.o[1], f.o[2], f.o[3]},
                                   ObjectsTableOption::CurrentPage));
    EXPECT_EQ(f.order(), f.expect({0, 3, 2, 1, 4}));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Sort"));

    // Rows in another order than the list: the front-most row's place counts, so the block
    // never lands beyond the shortened list.
    Five g;
    EXPECT_TRUE(sortObjectsWithKey(g.doc, QStringLiteral("tcPosY"), {g.o[4], g.o[3], g.o[1]},
                                   ObjectsTableOption::CurrentPage));
    EXPECT_EQ(g.order(), g.expect({0, 1, 3, 4, 2}));
}

TEST(StackingOrder, GroupTreesMoveWholeEvenWhenNested)
{
    // o[1] and o[2] form g0, which lies in g1 together with o[3]: the table shows one row
    // for the tree.
    Five f;
    f.doc.groupObjects({f.o[1], f.o[2]});
    f.doc.groupObjects({f.o[1], f.o[3]});
    f.settle();
    const Objects rows = f.doc.objectsOnePerGroupOutOf(f.doc.objects());
    ASSERT_EQ(rows.size(), 3u);

    EXPECT_TRUE(sortObjectsWithKey(f.doc, QStringLiteral("tcPosX"), rows, ObjectsTableOption::OnePerGroup));
    EXPECT_EQ(f.order(), f.expect({4, 1, 2, 3, 0}));
    f.undo();
    EXPECT_EQ(f.order(), f.expect({0, 1, 2, 3, 4}));

    Five g;
    g.doc.groupObjects({g.o[2], g.o[3]});
    g.doc.groupObjects({g.o[2], g.o[4]});
    g.settle();
    EXPECT_TRUE(sortObjectsWithKey(g.doc, QStringLiteral("tcPosX"), {g.o[1], g.o[2]},
                                   ObjectsTableOption::CurrentPageOnePerGroup));
    EXPECT_EQ(g.order(), g.expect({0, 2, 3, 4, 1}));
}

TEST(StackingOrder, AListThatWouldLoseObjectsIsRefused)
{
    Five f;
    EXPECT_FALSE(sortObjectsWithKey(f.doc, QStringLiteral("tcPosX"), {f.o[1], f.o[2]}, ObjectsTableOption::AllObjects));
    EXPECT_FALSE(sortObjectsWithKey(f.doc, QStringLiteral("tcPosX"), {}, ObjectsTableOption::AllObjects));
    EXPECT_EQ(f.order(), f.expect({0, 1, 2, 3, 4}));
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
}
