// Group and ungroup, front and back, and delete of the selection.
#include "canvas/arrange_commands.h"

#include "model/vek_obj_path.h"
#include "tests/canvas/command_fixture.h"
#include "tests/support/path_helpers.h"

namespace {

struct Four : CommandFixture {
    Four()
    {
        for (int i = 0; i < 4; ++i)
            o.push_back(add({10.0f * float(i), 10, 5, 5}));
        settle();
    }
    std::vector<VekObject *> expect(std::initializer_list<int> indexes) const
    {
        std::vector<VekObject *> out;
        for (int i : indexes)
            out.push_back(o[size_t(i)].get());
        return out;
    }
    std::vector<std::shared_ptr<VekObject>> o;
};

} // namespace

TEST(ArrangeCommands, FrontAndBackKeepTheSelectionOrder)
{
    // A (selected first) at index 3, B (selected second) at index 1.
    Four f;
    auto context = f.context({f.o[3], f.o[1]});
    bringToFront(context);
    f.step();
    EXPECT_EQ(f.order(), f.expect({3, 1, 0, 2}));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Bring To Front"));
    EXPECT_EQ(f.notifications, QStringList{VekViewSelectionDidChangeNotification});

    sendToBack(context);
    f.step();
    EXPECT_EQ(f.order(), f.expect({0, 2, 3, 1}));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Send To Back"));

    f.undo();
    EXPECT_EQ(f.order(), f.expect({3, 1, 0, 2}));
    f.undo();
    EXPECT_EQ(f.order(), f.expect({0, 1, 2, 3}));
    f.redo();
    EXPECT_EQ(f.order(), f.expect({3, 1, 0, 2}));
}

TEST(ArrangeCommands, CommandsNeedTheirSelection)
{
    Four f;
    auto none = f.context();
    bringToFront(none);
    sendToBack(none);
    deleteSelection(none);
    auto one = f.context({f.o[0]});
    groupSelection(one);
    ungroupSelection(one);
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
    EXPECT_TRUE(f.notifications.isEmpty());
    EXPECT_TRUE(f.doc.groups().isEmpty());
}

TEST(ArrangeCommands, GroupAndUngroupTheSelection)
{
    Four f;
    auto context = f.context({f.o[0], f.o[2]});
    groupSelection(context);
    f.step();
    const QString group = f.o[0]->groupID();
    EXPECT_FALSE(group.isEmpty());
    EXPECT_EQ(f.o[2]->groupID(), group);
    EXPECT_EQ(f.notifications, QStringList{VekViewGroupsDidChangeNotification});

    ungroupSelection(context);
    f.step();
    EXPECT_TRUE(f.o[0]->groupID().isEmpty());
    EXPECT_TRUE(f.doc.groups().isEmpty());
    f.undo();
    EXPECT_EQ(f.o[2]->groupID(), group);
    f.undo();
    EXPECT_TRUE(f.doc.groups().isEmpty());
}

TEST(ArrangeCommands, DeleteRemovesTheSelectedObjects)
{
    Four f;
    auto context = f.context({f.o[2], f.o[0]});
    deleteSelection(context);
    f.step();
    EXPECT_EQ(f.order(), f.expect({1, 3}));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Delete"));
    EXPECT_EQ(f.notifications, QStringList{VekViewSelectionDidChangeNotification});
    EXPECT_EQ(f.host.rulerUpdates, 1);
    f.undo();
    EXPECT_EQ(f.order(), f.expect({0, 1, 2, 3}));
}

TEST(ArrangeCommands, DeleteRemovesOnlyTheSelectedPathPoint)
{
    CommandFixture f;
    auto path = VekObjPath::create();
    path->setBezierPath(polyline({{0, 0}, {50, 0}, {50, 50}}));
    f.doc.insertObject(path, 0, false);
    f.settle();
    path->setSelectedElementNr(2, 0);

    auto context = f.context({path});
    deleteSelection(context);
    f.step();
    ASSERT_EQ(f.doc.objects().size(), 1u);
    EXPECT_EQ(path->bezierPath().elementCount(), 2);
    EXPECT_NE(f.doc.undoManager()->undoActionName(), QStringLiteral("Delete"));

    // With no point selected the object itself goes.
    path->setSelectedElementNr(-1, -1);
    deleteSelection(context);
    f.step();
    EXPECT_TRUE(f.doc.objects().empty());
}
