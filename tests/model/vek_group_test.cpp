// Tests of the group node: membership, the cycle guard, the ancestor walk, notes and copies.
#include "model/vek_group.h"

#include "fakes.h"

#include <gtest/gtest.h>

namespace {

// Sorts by the position in the document's list, front-most first.
class OrderingCanvas : public FakeCanvas {
public:
    const std::vector<std::shared_ptr<VekObject>> *list = nullptr;
    std::vector<std::shared_ptr<VekObject>> sortObjectsInOrder(
        const std::vector<std::shared_ptr<VekObject>> &objects) const override
    {
        auto sorted = objects;
        const auto index = [&](const std::shared_ptr<VekObject> &o) { return std::find(list->begin(), list->end(), o); };
        std::sort(sorted.begin(), sorted.end(), [&](const auto &a, const auto &b) { return index(a) < index(b); });
        return sorted;
    }
};

// A document that keeps its groups in a dictionary, as the real one does.
class GroupDocument : public FakeDocument {
public:
    QMap<QString, std::shared_ptr<VekGroup>> nodes;
    OrderingCanvas ordering;

    GroupDocument() { ordering.list = &list; }
    QMap<QString, std::shared_ptr<VekGroup>> groups() const override { return nodes; }
    std::shared_ptr<VekGroup> groupFor(const QString &id) const override { return nodes.value(id); }
    CanvasServices *vekView() override { return window ? &ordering : nullptr; }

    std::shared_ptr<VekGroup> make(const QString &id, const QString &parent, const QStringList &children = {})
    {
        auto group = std::make_shared<VekGroup>(id, parent, children, this);
        nodes.insert(id, group);
        return group;
    }
    std::shared_ptr<VekObject> object()
    {
        auto o = VekObject::create();
        adopt(o);
        return o;
    }
};

TEST(VekGroupTest, TopGroupAnswersEmptyParentAndNoAncestor)
{
    GroupDocument doc;
    auto g = doc.make("g0", "");
    EXPECT_EQ(g->parentID(), QStringLiteral(""));
    EXPECT_TRUE(g->isTopGroup());
    EXPECT_TRUE(g->ancestorID().isNull());
    EXPECT_EQ(g->numberOfMembers(), 0);
}

TEST(VekGroupTest, ThreeLevelTreeAnswersItsTopGroup)
{
    // g0 holds g1, g1 holds g2; g5 is a second tree.
    GroupDocument doc;
    auto g0 = doc.make("g0", "", {"g1"});
    auto g1 = doc.make("g1", "g0", {"g2"});
    auto g2 = doc.make("g2", "g1");
    auto g5 = doc.make("g5", "");
    EXPECT_TRUE(g0->ancestorID().isNull());
    EXPECT_EQ(g1->ancestorID(), QStringLiteral("g0"));
    EXPECT_EQ(g2->ancestorID(), QStringLiteral("g0"));

    // A recorded ancestor is the answer; a missing parent below the top answers its child.
    g2->setAncestorID("g5");
    EXPECT_EQ(g2->ancestorID(), QStringLiteral("g5"));
    auto g3 = doc.make("g3", "g4");
    EXPECT_TRUE(g3->ancestorID().isNull());
    doc.make("g4", "gone");
    EXPECT_EQ(g3->ancestorID(), QStringLiteral("g4"));

    // The guard: each group of the chain from the given identifier upwards must not be a child.
    EXPECT_TRUE(g5->noMemberAncestors("g1"));
    EXPECT_FALSE(g1->noMemberAncestors("g1") && g0->noMemberAncestors("g1"));
    EXPECT_TRUE(g2->noMemberAncestors("nowhere"));
    EXPECT_TRUE(g2->noMemberAncestors(QString()));
}

TEST(VekGroupTest, GuardRefusesAGroupWhoseAncestorIsItsChild)
{
    GroupDocument doc;
    auto g0 = doc.make("g0", "", {"g1"});
    auto g1 = doc.make("g1", "g0");
    auto g3 = doc.make("g3", "");

    // Adding g1 to g0 again changes nothing.
    g0->addGroupMember("g1");
    EXPECT_EQ(g0->groupMemberIDs(), QStringList{"g1"});

    // g2 (parent g1) holds g0, which lies above it: refused wherever it is added.
    auto g2 = doc.make("g2", "g1", {"g0"});
    EXPECT_FALSE(g2->noMemberAncestors("g1"));
    g3->addGroupMember("g2");
    g3->addMember(g2);
    g1->addGroupMember("g2");
    EXPECT_TRUE(g3->groupMemberIDs().isEmpty());
    EXPECT_TRUE(g1->groupMemberIDs().isEmpty());

    // A group is never attached below itself or below one of its own descendants.
    g0->addMember(g0);
    g1->addMember(g0);
    EXPECT_EQ(g0->groupMemberIDs(), QStringList{"g1"});
    EXPECT_TRUE(g1->groupMemberIDs().isEmpty());
    EXPECT_TRUE(g0->isTopGroup());
}

TEST(VekGroupTest, ParentCycleEndsTheWalks)
{
    // A damaged file: g0 -> g1 -> g2 -> g0, and g3 whose parent is itself.
    GroupDocument doc;
    auto g0 = doc.make("g0", "g1");
    auto g1 = doc.make("g1", "g2");
    auto g2 = doc.make("g2", "g0");
    auto g3 = doc.make("g3", "g3");
    auto g4 = doc.make("g4", "");
    EXPECT_TRUE(g0->ancestorID().isNull());
    EXPECT_TRUE(g2->ancestorID().isNull());
    EXPECT_TRUE(g3->ancestorID().isNull());
    EXPECT_FALSE(g4->noMemberAncestors("g0"));
    EXPECT_FALSE(g4->noMemberAncestors("g3"));
    g4->addGroupMember("g1");
    EXPECT_TRUE(g4->groupMemberIDs().isEmpty());
}

TEST(VekGroupTest, AddingAGroupSetsItsParentOrRecordsTheAncestor)
{
    GroupDocument doc;
    auto g0 = doc.make("g0", "");
    auto g1 = doc.make("g1", "");
    auto g2 = doc.make("g2", "g1");
    g0->addGroupMember("g1");
    EXPECT_EQ(g1->parentID(), QStringLiteral("g0"));
    g0->addMember(g2);
    EXPECT_EQ(g2->parentID(), QStringLiteral("g1"));
    EXPECT_EQ(g2->ancestorID(), QStringLiteral("g0"));

    // Removing a child leaves its parent identifier.
    g0->removeMember(g1);
    EXPECT_EQ(g0->groupMemberIDs(), QStringList{"g2"});
    EXPECT_EQ(g1->parentID(), QStringLiteral("g0"));
}

TEST(VekGroupTest, SetAncestorIDSequence)
{
    GroupDocument doc;
    auto orphan = doc.make("g3", "");
    orphan->setAncestorID("g0");
    EXPECT_EQ(orphan->parentID(), QStringLiteral("g0"));

    auto child = doc.make("g2", "g1");
    child->setAncestorID("g1");
    EXPECT_EQ(child->parentID(), QStringLiteral("g1"));
    EXPECT_EQ(child->ancestorID(), QString());   // g1 is not a group here: no top group known
    child->setAncestorID("g0");
    EXPECT_EQ(child->ancestorID(), QStringLiteral("g0"));
    child->setAncestorID(QString());
    EXPECT_EQ(child->parentID(), QStringLiteral("g1"));
    child->setAncestorID(QString());
    EXPECT_EQ(child->parentID(), QStringLiteral(""));

    // A one-character parent identifier is kept.
    auto odd = doc.make("g4", "x");
    odd->setAncestorID(QString());
    EXPECT_EQ(odd->parentID(), QStringLiteral("x"));
}

TEST(VekGroupTest, MembersAreListedGroupsFirstThenObjectsFrontMostFirst)
{
    GroupDocument doc;
    auto front = doc.object(), middle = doc.object(), back = doc.object();
    auto g0 = doc.make("g0", "", {"g1", "g2"});
    g0->addObjectMember(back);
    g0->addMember(front);
    g0->addObjectMember(middle);
    EXPECT_EQ(g0->numberOfMembers(), 5);
    EXPECT_EQ(front->groupID(), QStringLiteral("g0"));

    const auto all = g0->allMembers();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(std::get<QString>(all[0]), QStringLiteral("g1"));
    EXPECT_EQ(std::get<QString>(all[1]), QStringLiteral("g2"));
    EXPECT_EQ(std::get<std::shared_ptr<VekObject>>(all[2]), front);
    EXPECT_EQ(std::get<std::shared_ptr<VekObject>>(all[3]), middle);
    EXPECT_EQ(std::get<std::shared_ptr<VekObject>>(all[4]), back);

    // The sorted list is kept until the order changes.
    std::swap(doc.list[0], doc.list[2]);
    EXPECT_EQ(g0->sortedObjMembers()->front(), front);
    g0->objectOrderChanged();
    EXPECT_EQ(g0->sortedObjMembers()->front(), back);

    // Removing an object clears its group identifier, undoably.
    doc.undo.closeEventGroup();
    g0->removeMember(middle);
    EXPECT_TRUE(middle->groupID().isNull());
    EXPECT_EQ(g0->numberOfMembers(), 4);
    doc.undo.closeEventGroup();
    doc.undo.undo();
    EXPECT_EQ(middle->groupID(), QStringLiteral("g0"));

    // Without a canvas there is no sorted list, and allMembers lists the groups only.
    doc.window = false;
    g0->objectOrderChanged();
    EXPECT_FALSE(g0->sortedObjMembers());
    EXPECT_EQ(g0->allMembers().size(), 2u);
}

TEST(VekGroupTest, NoteIsUndoableOnlyOverAnEarlierNote)
{
    GroupDocument doc;
    auto g = doc.make("g0", "");
    g->setNote("first");
    doc.undo.closeEventGroup();
    EXPECT_FALSE(doc.undo.canUndo());
    g->setNote("second");
    g->setNote("second");
    doc.undo.closeEventGroup();
    doc.undo.undo();
    EXPECT_EQ(g->note(), QStringLiteral("first"));
}

TEST(VekGroupTest, CopyKeepsEverythingButTheRecordedAncestor)
{
    GroupDocument doc;
    auto a = doc.object(), b = doc.object();
    auto g = doc.make("g1", "g0", {"g2"});
    g->addObjectMember(a);
    g->addObjectMember(b);
    g->setNote("n");
    g->setAncestorID("g9");
    a->setGroupID("other");
    const auto copy = g->clone();
    EXPECT_EQ(copy->groupID(), QStringLiteral("g1"));
    EXPECT_EQ(copy->parentID(), QStringLiteral("g0"));
    EXPECT_EQ(copy->groupMemberIDs(), QStringList{"g2"});
    EXPECT_EQ(copy->objectMembers(), g->objectMembers());
    EXPECT_EQ(copy->note(), QStringLiteral("n"));
    EXPECT_EQ(a->groupID(), QStringLiteral("g1"));
    EXPECT_EQ(copy->document(), &doc);
    EXPECT_NE(copy->ancestorID(), QStringLiteral("g9"));
}

TEST(VekGroupTest, RecordRoundTrip)
{
    GroupDocument doc;
    auto g = doc.make("g1", "g0", {"g2", "g3"});
    g->setNote("note");
    const PropertyList record = g->groupRecord();
    EXPECT_EQ(record.value(GroupParentIDKey).stringValue(), QStringLiteral("g0"));
    const auto back = VekGroup::groupFromRecord("g1", record, &doc);
    EXPECT_EQ(back->groupRecord(), record);

    // A top group writes "" and no note; a damaged record gives an empty top group.
    EXPECT_EQ(doc.make("g5", "")->groupRecord().value(GroupParentIDKey).stringValue(), QStringLiteral(""));
    EXPECT_FALSE(doc.make("g5", "")->groupRecord().contains(GroupNoteKey));
    const auto damaged = VekGroup::groupFromRecord("g6", PropertyList::fromInt(3), &doc);
    EXPECT_TRUE(damaged->isTopGroup());
    EXPECT_EQ(damaged->numberOfMembers(), 0);
}

} // namespace
