// The document: its settings and shadow, the object list with undo, and the group tree.
#include "document/vek_document.h"

#include "model/services/panel_services.h"
#include "model/vek_group.h"
#include "model/vek_obj_path.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<VekObject> boxAt(float x, float y, float side = 20)
{
    auto object = VekObject::create();
    object->setBounds(Rect(x, y, side, side));
    return object;
}

// A document holding `count` plain objects, front-most first, with nothing to undo.
struct Filled {
    explicit Filled(int count)
    {
        for (int i = 0; i < count; ++i) {
            objects.push_back(boxAt(10.0f * float(i), 10));
            doc.insertObject(objects.back(), i, false);
        }
        step();
        doc.undoManager()->removeAllActions();
    }
    void step() { doc.undoManager()->closeEventGroup(); }
    std::vector<VekObject *> order() const
    {
        std::vector<VekObject *> out;
        for (const auto &object : doc.objects())
            out.push_back(object.get());
        return out;
    }

    VekDocument doc;
    std::vector<std::shared_ptr<VekObject>> objects;
};

} // namespace

TEST(VekDocumentState, ANewDocumentHasTheDefaults)
{
    VekDocument doc;
    EXPECT_EQ(doc.numberOfPages(), 1);
    EXPECT_EQ(doc.storedLinkTextColor(), Color::blueColor());
    EXPECT_EQ(doc.linkTextULine(), 1);
    EXPECT_TRUE(doc.antialiasDraw());
    EXPECT_FALSE(doc.smoothFonts());
    EXPECT_FALSE(doc.useCMYK());
    EXPECT_EQ(doc.qlOption(), 1);
    EXPECT_EQ(doc.backgroundColor(), Color::clearColor());
    EXPECT_EQ(doc.documentVersion(), QStringLiteral("1.5.1"));
    EXPECT_EQ(doc.title(), QString());
    EXPECT_EQ(doc.shadowOffset(), 5.0f);
    EXPECT_EQ(doc.shadowAngle(), 180.0f);
    EXPECT_EQ(doc.shadowBlur(), 5.0f);
    EXPECT_TRUE(doc.metadataForSpotlight().isAbsent());
    EXPECT_FALSE(doc.isDocumentEdited());
}

TEST(VekDocumentState, SettingsShadowAndMetadata)
{
    VekDocument doc;
    doc.setAuthor(QStringLiteral("Ann"));
    doc.setAuthor(QStringLiteral("Ann"));
    EXPECT_TRUE(doc.isDocumentEdited());
    doc.setKeywords(QStringLiteral("red, blue"));
    EXPECT_EQ(doc.metadataForSpotlight().value(QStringLiteral("kMDItemKeywords")).count(), 2);

    // Angle 180 puts the shadow below; a large object's offset grows with its size.
    const Size below = doc.shadowOffsetSize();
    EXPECT_NEAR(below.width, 0, 1e-4);
    EXPECT_NEAR(below.height, -5, 1e-4);
    EXPECT_NEAR(doc.shadowOffsetFor(60).height, -10, 1e-4);
    EXPECT_NEAR(doc.shadowOffsetFor(20).height, -5, 1e-4);

    doc.setShadowState(1);
    doc.setShadowValues(PropertyList::dictionary());
    EXPECT_TRUE(doc.shadowState());
    EXPECT_EQ(doc.shadowOffset(), 0.0f);
    EXPECT_EQ(doc.shadowColor(), defaultShadowColor());

    doc.setUseCMYK(1, true);
    EXPECT_EQ(doc.storedLinkTextColor(), Color::blueColor());
    EXPECT_EQ(doc.linkTextColor().colorSpaceName(), DeviceCMYKColorSpace);
}

TEST(VekDocumentObjects, MovesCountPlacesBeforeTheMoveAndUndoExactly)
{
    Filled f(6);
    const auto before = f.order();
    f.doc.moveObject(f.objects[2], 5);
    EXPECT_EQ(f.doc.indexOfObject(f.objects[2].get()), 4);
    f.step();
    f.doc.undoManager()->undo();
    EXPECT_EQ(f.order(), before);

    f.doc.moveObject(f.objects[5], 2);
    EXPECT_EQ(f.doc.indexOfObject(f.objects[5].get()), 2);
    f.step();
    f.doc.undoManager()->undo();
    EXPECT_EQ(f.order(), before);

    f.doc.moveObject(f.objects[3], 3);
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
}

TEST(VekDocumentObjects, RemovalUndoesToTheSameIndexAndSortingNeverLosesObjects)
{
    Filled f(4);
    const auto before = f.order();
    f.doc.removeObject(f.objects[1]);
    EXPECT_EQ(f.objects[1]->document(), &f.doc);   // still reachable by undo
    EXPECT_EQ(f.doc.objects().size(), 3u);
    f.step();
    f.doc.undoManager()->undo();
    EXPECT_EQ(f.order(), before);

    // A new order must hold the same objects: one missing or one foreign changes nothing.
    f.doc.setObjectsAsItIs({f.objects[3], f.objects[2], f.objects[1]});
    f.doc.setObjectsAsItIs({f.objects[3], f.objects[2], f.objects[1], boxAt(0, 0)});
    EXPECT_EQ(f.order(), before);
    f.doc.setObjectsAsItIs({f.objects[3], f.objects[2], f.objects[1], f.objects[0]});
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Sort"));
    f.step();
    f.doc.undoManager()->undo();
    EXPECT_EQ(f.order(), before);
}

TEST(VekDocumentObjects, BoundsOfListsAndClipPaths)
{
    ensureGuiApp();
    EXPECT_EQ(VekDocument::boundsForObjects({}), Rect());
    EXPECT_EQ(VekDocument::boundsForObjects({boxAt(10, 10, 0)}), Rect(10, 10, 0.1f, 0.1f));

    // A clip path behind the object it clips: its area joins what lies behind it.
    VekDocument doc;
    auto clip = VekObjPath::create();
    clip->setBezierPath(BezierPath::bezierPathWithRect(Rect(100, 100, 50, 50)));
    clip->setBounds(Rect(100, 100, 50, 50));
    clip->simplySetAsClip(1, nullptr);
    const auto clipped = boxAt(120, 120);
    const auto behind = boxAt(0, 0, 10);
    const Rect all = doc.drawingBoundsForObjects({clipped, clip, behind});
    EXPECT_TRUE(containsRect(all, Rect(100, 100, 51, 51)));
    EXPECT_TRUE(containsRect(all, behind->bounds()));
}

TEST(VekDocumentGroups, GroupingIsOneStepAndDeletingAGroupedObjectUndoesWithItsGroup)
{
    Filled f(3);
    f.doc.groupObjects({f.objects[0], f.objects[1]});
    EXPECT_EQ(f.objects[0]->groupID(), QStringLiteral("g0"));
    EXPECT_EQ(f.objects[1]->groupID(), QStringLiteral("g0"));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Group Objects"));
    f.step();
    // Grouping objects of one tree again changes nothing.
    f.doc.groupObjects({f.objects[0], f.objects[1]});
    f.step();
    EXPECT_EQ(f.doc.groups().size(), 1);

    // Deleting one member leaves a group of one, which dissolves; undo brings both back.
    f.doc.removeObject(f.objects[0]);
    EXPECT_TRUE(f.objects[1]->groupID().isEmpty());
    EXPECT_TRUE(f.doc.groups().isEmpty());
    f.step();
    f.doc.undoManager()->undo();
    EXPECT_EQ(f.objects[0]->groupID(), QStringLiteral("g0"));
    EXPECT_EQ(f.objects[1]->groupID(), QStringLiteral("g0"));
    ASSERT_TRUE(f.doc.groupFor(QStringLiteral("g0")));
    EXPECT_EQ(f.doc.objectsOfGroup(QStringLiteral("g0")).size(), 2u);

    f.doc.undoManager()->undo();   // the grouping
    EXPECT_TRUE(f.objects[0]->groupID().isEmpty());
    EXPECT_TRUE(f.doc.groups().isEmpty());
    EXPECT_EQ(f.doc.newGrpID(), QStringLiteral("g0"));
}

// Ungrouping downwards dissolves a middle group and the groups below it: all their objects
// become members of the group above; undo and redo give back each state exactly.
TEST(VekDocumentGroups, UngroupingDownwardsMovesTheObjectsBelowUpToTheParent)
{
    Filled f(4);
    f.doc.groupObjects({f.objects[0], f.objects[1]});                 // g0
    f.doc.groupObjects({f.objects[0], f.objects[2]});                 // g1 holds g0
    f.doc.groupObjects({f.objects[2], f.objects[3]});                 // g2 holds g1
    f.step();
    const auto state = [&f] {
        QStringList ids;
        for (const auto &object : f.objects)
            ids << object->groupID();
        return std::pair{ids, f.doc.groupBaseDictionary()};
    };
    const auto before = state();

    f.doc.ungroupDownwards(QStringLiteral("g1"));
    f.step();
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Ungroup"));
    EXPECT_FALSE(f.doc.groupFor(QStringLiteral("g0")));
    EXPECT_FALSE(f.doc.groupFor(QStringLiteral("g1")));
    const auto top = f.doc.groupFor(QStringLiteral("g2"));
    ASSERT_TRUE(top);
    EXPECT_TRUE(top->groupMemberIDs().isEmpty());
    EXPECT_EQ(top->objectMembers().size(), 4u);
    for (const auto &object : f.objects)
        EXPECT_EQ(object->groupID(), QStringLiteral("g2"));
    const auto after = state();

    f.doc.undoManager()->undo();
    EXPECT_EQ(state(), before);
    f.doc.undoManager()->redo();
    EXPECT_EQ(state(), after);
}

TEST(VekDocumentGroups, DeepTreesUngroupWholeAndCyclesEnd)
{
    Filled f(4);
    f.doc.groupObjects({f.objects[0], f.objects[1]});                 // g0
    f.doc.groupObjects({f.objects[0], f.objects[2]});                 // g1 holds g0
    f.doc.groupObjects({f.objects[2], f.objects[3]});                 // g2 holds g1
    f.step();
    ASSERT_EQ(f.doc.groups().size(), 3);
    EXPECT_EQ(f.doc.objectsOfGroup(QStringLiteral("g0")).size(), 4u);
    EXPECT_EQ(f.doc.groupTopNodes(), QStringList{QStringLiteral("g2")});
    EXPECT_EQ(f.doc.objectsOnePerGroupOutOf(f.objects).size(), 1u);

    // Ungrouping globally from the innermost group removes the whole tree.
    f.doc.ungroupGlobally(QStringLiteral("g0"));
    EXPECT_TRUE(f.doc.groups().isEmpty());
    for (const auto &object : f.objects)
        EXPECT_TRUE(object->groupID().isEmpty());
    f.step();
    f.doc.undoManager()->undo();
    EXPECT_EQ(f.doc.groups().size(), 3);
    EXPECT_EQ(f.objects[3]->groupID(), QStringLiteral("g2"));

    // Records that name each other as parents end every walk.
    PropertyList base = PropertyList::dictionary();
    for (const auto &[id, parent] : {std::pair{"g0", "g1"}, std::pair{"g1", "g0"}}) {
        PropertyList record = PropertyList::dictionary();
        record.insert(GroupParentIDKey, PropertyList(QString::fromLatin1(parent)));
        record.insert(GroupMembersKey, PropertyList::fromStringList({QString::fromLatin1(parent)}));
        base.insert(QString::fromLatin1(id), record);
    }
    f.doc.resetGroups(base, {{f.objects[0], QStringLiteral("g0")}});
    EXPECT_FALSE(f.doc.groupTopNodes().isEmpty());
    EXPECT_EQ(f.doc.objectsOfGroup(QStringLiteral("g0")).size(), 1u);
    f.doc.ungroupDownwards(QStringLiteral("g0"));
    EXPECT_FALSE(f.doc.groupFor(QStringLiteral("g0")));
}
