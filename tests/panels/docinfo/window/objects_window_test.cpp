// The objects table and the group outline as a user works them: Alt+Up in the table moves the
// selected object one place in the stacking order (undo and redo), a typed line number moves
// it there, the table's selection selects on the canvas, and the outline ungroups downwards.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "model/vek_obj_path.h"
#include "panels/docinfo/groups_tab.h"
#include "panels/docinfo/objects_tab.h"

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

} // namespace

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
