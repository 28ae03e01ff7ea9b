// The objects table and the group outline as a user works them: Alt+Up in the table moves the
// selected object one place in the stacking order (undo and redo), a typed line number moves
// it there, a clip shape moved away from a linked text box lets the box show more of its
// chain's text on the canvas at once, the table's selection selects on the canvas, and the
// outline ungroups downwards.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "model/vek_obj_path.h"
#include "panels/docinfo/groups_tab.h"
#include "panels/docinfo/objects_tab.h"
#include "tests/support/text_objects_document.h"

#include <QLabel>
#include <QPushButton>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

std::shared_ptr<VekObject> addRectangle(VekDocument &document, float x, const QString &note)
{
    auto object = VekObjPath::create();
    object->setBounds(Rect(x, 50, 40, 40));
    object->setNote(note);
    document.insertObject(object, int(document.objects().size()), true);
    return object;
}

QStringList notesInOrder(const VekDocument &document)
{
    QStringList notes;
    for (const auto &object : document.objects())
        notes << object->note();
    return notes;
}

// The canvas rectangle as the window shows it, painted at once.
QImage shotOf(VekView &view, const Rect &r)
{
    view.viewport()->repaint();
    const double scale = view.rulerCanvasScale();
    const QPointF origin = view.rulerCanvasOrigin();
    return view.viewport()
        ->grab(QRectF(origin.x() + r.minX() * scale, origin.y() + r.minY() * scale, r.width() * scale,
                      r.height() * scale)
                   .toAlignedRect())
        .toImage();
}

} // namespace

TEST_F(DocInfoWindowTest, AClipShapeMovedAwayInTheTableReflowsTheLinkedBoxOnTheCanvasAndUndoes)
{
    using text_objects::style;
    // Front-most first: a linked box whose text the oval behind it clips, and the box it
    // flows into.
    const Rect area(20, 20, 220, 160);
    auto second = text_objects::textBox(document(), Rect(20, 220, 220, 300), AttributedString(QStringLiteral(" "), style(11)));
    auto oval = VekObjPath::create();
    oval->setBezierPath(BezierPath::bezierPathWithOvalInRect(area));
    oval->setBounds(area);
    oval->simplySetAsClip(1, nullptr);
    oval->setNote(QStringLiteral("oval"));
    document().insertObject(oval, 0, false);
    auto first = text_objects::textBox(document(), area, AttributedString(text_objects::words(160), style(11)));
    first->setGroupWithNext(true);
    first->controlConnection();
    endPass();
    document().undoManager()->removeAllActions();
    openPanel();
    panel().selectTab(QStringLiteral("obj"));
    endPass();
    ObjectsTab &tab = *panel().objectsTab;
    ASSERT_EQ(tab.objTable->item(1, 1)->text(), QStringLiteral("oval"));
    tab.objTable->setFocus();
    QTest::mouseClick(tab.objTable->viewport(), Qt::LeftButton, {},
                      tab.objTable->visualItemRect(tab.objTable->item(1, 1)).center());
    ASSERT_EQ(view().selectedObjects(), std::vector<std::shared_ptr<VekObject>>{oval});
    const QString firstBefore = first->contents().string();
    const QImage before = shotOf(view(), area);

    // One place back: the oval now lies behind the second box.
    QTest::keyClick(tab.objTable, Qt::Key_Down, Qt::AltModifier);
    endPass();
    ASSERT_EQ(document().indexOfObject(oval.get()), 2);
    EXPECT_GT(first->contents().length(), firstBefore.size());
    const QImage after = shotOf(view(), area);
    EXPECT_NE(after, before);

    undo();
    EXPECT_EQ(document().indexOfObject(oval.get()), 1);
    EXPECT_EQ(first->contents().string(), firstBefore);
    EXPECT_EQ(shotOf(view(), area), before);
    redo();
    EXPECT_EQ(document().indexOfObject(oval.get()), 2);
    EXPECT_EQ(shotOf(view(), area), after);
}

TEST_F(DocInfoWindowTest, ReorderingInTheObjectsTableChangesTheStackingOrderAndUndoes)
{
    for (const char *note : {"a", "b", "c", "d"})
        addRectangle(document(), 30.0f * float(document().objects().size()), QLatin1String(note));
    document().undoManager()->removeAllActions();
    openPanel();
    panel().selectTab(QStringLiteral("obj"));
    endPass();
    ObjectsTab &tab = *panel().objectsTab;
    ASSERT_EQ(tab.objTable->rowCount(), 4);
    EXPECT_EQ(tab.txObjectsDisplayInfo->text(), QStringLiteral("4/4"));

    // Clicking row 2 selects "c" on the canvas.
    tab.objTable->setFocus();
    QTest::mouseClick(tab.objTable->viewport(), Qt::LeftButton, {},
                      tab.objTable->visualItemRect(tab.objTable->item(2, 1)).center());
    ASSERT_EQ(view().selectedObjects().size(), 1u);
    EXPECT_EQ(view().selectedObjects().front()->note(), QStringLiteral("c"));

    QTest::keyClick(tab.objTable, Qt::Key_Up, Qt::AltModifier);
    endPass();
    EXPECT_EQ(notesInOrder(document()), QStringList({"a", "c", "b", "d"}));
    EXPECT_EQ(tab.objTable->item(1, 1)->text(), QStringLiteral("c"));
    EXPECT_EQ(document().undoManager()->undoActionName(), QStringLiteral("Reorder"));

    // The line number typed into "c"'s row moves it to the back.
    tab.objTable->item(1, 0)->setText(QStringLiteral("3"));
    endPass();
    EXPECT_EQ(notesInOrder(document()), QStringList({"a", "b", "d", "c"}));

    undo();
    EXPECT_EQ(notesInOrder(document()), QStringList({"a", "c", "b", "d"}));
    undo();
    EXPECT_EQ(notesInOrder(document()), QStringList({"a", "b", "c", "d"}));
    endPass();
    EXPECT_EQ(tab.objTable->item(2, 1)->text(), QStringLiteral("c"));
    redo();
    redo();
    EXPECT_EQ(notesInOrder(document()), QStringList({"a", "b", "d", "c"}));
}

TEST_F(DocInfoWindowTest, TheOutlineUngroupsDownwards)
{
    std::vector<std::shared_ptr<VekObject>> objects;
    for (const char *note : {"a", "b", "c"})
        objects.push_back(addRectangle(document(), 50.0f * float(objects.size()), QLatin1String(note)));
    document().groupObjects({objects[0], objects[1]});
    const QString inner = objects[0]->groupID();
    document().groupObjects({objects[0], objects[1], objects[2]});
    ASSERT_FALSE(inner.isEmpty());
    const PropertyList groupsBefore = document().groupBaseDictionary();
    openPanel();
    panel().selectTab(QStringLiteral("grp"));
    endPass();
    GroupsTab &tab = *panel().groupsTab;
    ASSERT_EQ(tab.grpTable->topLevelItemCount(), 1);
    QTreeWidgetItem *top = tab.grpTable->topLevelItem(0);
    tab.grpTable->setCurrentItem(top);
    EXPECT_EQ(view().selectedObjects().size(), 3u);   // the whole group

    tab.btnUngroupDownwards->click();
    endPass();
    EXPECT_TRUE(document().groups().isEmpty());
    for (const auto &object : objects)
        EXPECT_TRUE(object->groupID().isEmpty());
    EXPECT_EQ(tab.grpTable->topLevelItemCount(), 0);

    undo();
    EXPECT_EQ(document().groupBaseDictionary(), groupsBefore);
    EXPECT_EQ(objects[0]->groupID(), inner);
    endPass();
    EXPECT_EQ(tab.grpTable->topLevelItemCount(), 1);
    redo();
    EXPECT_TRUE(document().groups().isEmpty());
    for (const auto &object : objects)
        EXPECT_TRUE(object->groupID().isEmpty());
}
