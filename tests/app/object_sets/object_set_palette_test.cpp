// The object-set palette without a screen: drops, keys, the grid and the set commands.
#include "app/object_sets/object_set_palette.h"

#include "app/tool_controller.h"
#include "model/vek_obj_path.h"
#include "tests/app/shell_fixture.h"

#include <QComboBox>
#include <QLayout>
#include <QFile>

namespace {

class ObjectSetPalette : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        matrix = &controller->toolController().objectMatrix();
        controller->toolController().showShapePanelToDragIn();
        // Three columns, and room for every row without a scroll bar.
        matrix->parentWidget()->layout()->removeWidget(matrix);
        matrix->setMinimumSize(0, 0);
        matrix->resize(matrix->width() - matrix->viewport()->width() + 3 * VekObjMatrix::CellPitch + 10, 400);
        QCoreApplication::processEvents();
    }
    // Three objects a canvas would drag, front-most first.
    QByteArray draggedData() const
    {
        VekDocument source;
        std::vector<std::shared_ptr<VekObject>> objects;
        for (float x : {10.f, 60.f, 110.f}) {
            auto object = VekObjPath::create();
            object->setBezierPath(BezierPath::bezierPathWithRect(Rect(x, 20, 30, 0)));
            objects.push_back(object);
        }
        return source.vekDocumentDataForObjects(objects, std::nullopt, false, false);
    }
    // A set of n one-object items, current.
    void makeCurrentSetOf(int n)
    {
        ObjectSetItems items;
        for (int i = 0; i < n; ++i) {
            auto object = VekObjPath::create();
            object->setBezierPath(BezierPath::bezierPathWithRect(Rect(0, 0, 10 + i, 10)));
            items.push_back(*ObjectSetStore::itemWith({object}));
        }
        matrix->store().setItems(matrix->currentSetName(), items);
        matrix->selectTag(0);
    }
    std::vector<float> widths() const
    {
        std::vector<float> result;
        for (const ObjectSetItem &item : matrix->store().items(matrix->currentSetName()))
            result.push_back(item.objects.front()->bounds().width());
        return result;
    }
    QComboBox &setSelection() const { return *controller->toolController().shapePanel().findChild<QComboBox *>(); }
    VekObjMatrix *matrix = nullptr;
};

TEST_F(ObjectSetPalette, StartsWithTheDefaultSetWrittenAndRemembered)
{
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("default"));
    EXPECT_TRUE(QFile::exists(matrix->store().filePathFor(QStringLiteral("default"))));
    EXPECT_EQ(matrix->selectedObjects().size(), 1u);
    EXPECT_EQ(setSelection().currentText(), QStringLiteral("default"));
}

TEST_F(ObjectSetPalette, DroppedObjectsBecomeOneItemInReverseOrderFromTheFirstsOrigin)
{
    makeCurrentSetOf(2);
    const QPoint emptyCell = matrix->cellRect(2).center();
    ASSERT_TRUE(matrix->concludeDrop(draggedData(), emptyCell));
    const ObjectSetItems &items = matrix->store().items(matrix->currentSetName());
    ASSERT_EQ(items.size(), 3u);
    ASSERT_EQ(items[2].objects.size(), 3u);
    // Back-most first; placed from (1, 1) by the first one's origin; a zero height becomes 1.
    EXPECT_EQ(items[2].objects[0]->bounds(), Rect(1, 1, 30, 1));
    EXPECT_EQ(items[2].objects[2]->bounds(), Rect(-99, 1, 30, 1));
    EXPECT_EQ(matrix->selectedTag(), 2);
    // A drop on the first cell goes in front; outside the grid nothing happens.
    ASSERT_TRUE(matrix->concludeDrop(draggedData(), matrix->cellRect(0).center()));
    EXPECT_EQ(matrix->store().items(matrix->currentSetName()).size(), 4u);
    EXPECT_FALSE(matrix->concludeDrop(draggedData(), QPoint(-5, 5)));
    EXPECT_FALSE(matrix->concludeDrop(QByteArray("junk"), matrix->cellRect(0).center()));
    // The file holds what is shown.
    ObjectSetStore reread(matrix->store().folder());
    reread.readAll();
    EXPECT_EQ(reread.items(matrix->currentSetName()).size(), 4u);
}

TEST_F(ObjectSetPalette, KeysMoveAndDeleteTheSelectedItem)
{
    makeCurrentSetOf(7);
    EXPECT_EQ(matrix->columnCount(), 3);
    EXPECT_EQ(matrix->rowCount(), 3);   // eight cells needed, nine made
    const std::vector<float> before = widths();
    EXPECT_FALSE(matrix->doEventForChar(Qt::Key_Left));
    EXPECT_FALSE(matrix->doEventForChar(Qt::Key_Up));
    EXPECT_FALSE(matrix->doEventForChar('a'));
    EXPECT_EQ(widths(), before);

    EXPECT_TRUE(matrix->doEventForChar(Qt::Key_Down));   // one row down: place 3
    EXPECT_EQ(matrix->selectedTag(), 3);
    EXPECT_EQ(widths(), (std::vector<float>{11, 12, 13, 10, 14, 15, 16}));
    EXPECT_TRUE(matrix->doEventForChar(Qt::Key_Right));
    EXPECT_FALSE(matrix->doEventForChar(Qt::Key_Down));   // place 7 lies beyond the items
    EXPECT_EQ(matrix->selectedTag(), 4);
    EXPECT_EQ(widths(), (std::vector<float>{11, 12, 13, 14, 10, 15, 16}));

    dialogs.questionAnswers = {1};   // Cancel keeps the item
    EXPECT_TRUE(matrix->doEventForChar(Qt::Key_Delete));
    EXPECT_EQ(widths().size(), 7u);
    dialogs.questionAnswers = {0};
    EXPECT_TRUE(matrix->doEventForChar(Qt::Key_Delete));
    EXPECT_EQ(widths(), (std::vector<float>{11, 12, 13, 14, 15, 16}));
    matrix->selectTag(9);
    EXPECT_FALSE(matrix->doEventForChar(Qt::Key_Delete));
    EXPECT_EQ(matrix->selectedObjects().front()->bounds().width(), 16);   // beyond: the last item
}

TEST_F(ObjectSetPalette, SwitchingCreatingRenamingAndDeletingSets)
{
    const QString defaultFile = matrix->store().filePathFor(QStringLiteral("default"));
    matrix->setSet(QStringLiteral("default"));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    matrix->setSet(QStringLiteral("Mine"));   // unanswered: cancelled
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("default"));
    EXPECT_FALSE(matrix->store().hasSet(QStringLiteral("Mine")));

    dialogs.questionAnswers = {0};
    matrix->setSet(QStringLiteral("Mine"));
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("Mine"));
    EXPECT_TRUE(matrix->selectedObjects().empty());
    EXPECT_EQ(controller->preferences().lastStatesForKey(QStringLiteral("selectedSet")).stringValue(),
              QStringLiteral("Mine"));
    EXPECT_EQ(setSelection().count(), 2);

    matrix->setSet(QStringLiteral("default"));
    dialogs.questionAnswers = {1};
    matrix->setSet(QStringLiteral("Shapes"));
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("Shapes"));
    EXPECT_FALSE(matrix->store().hasSet(QStringLiteral("default")));
    EXPECT_FALSE(QFile::exists(defaultFile));
    EXPECT_TRUE(QFile::exists(matrix->store().filePathFor(QStringLiteral("Shapes"))));
    EXPECT_EQ(matrix->selectedObjects().size(), 1u);

    dialogs.questionAnswers = {0, 0};
    matrix->deleteSet();
    EXPECT_FALSE(QFile::exists(matrix->store().filePathFor(QStringLiteral("Shapes"))));
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("Mine"));
    matrix->deleteSet();   // the last set: the default set comes back at once
    EXPECT_EQ(matrix->store().setNames(), QStringList{QStringLiteral("default")});
    EXPECT_EQ(matrix->currentSetName(), QStringLiteral("default"));
}

TEST_F(ObjectSetPalette, ImportAddsSetsAndSaysWhenNothingWasFound)
{
    ObjectSetStore other(path(QStringLiteral("elsewhere")));
    const QString name = other.addDefaultSet();
    other.updateSupportFileFor(name);
    dialogs.openPanelFiles = {other.filePathFor(name)};
    matrix->readinVekObjSet();
    EXPECT_TRUE(matrix->store().hasSet(QStringLiteral("default1")));
    EXPECT_TRUE(QFile::exists(matrix->store().filePathFor(QStringLiteral("default1"))));
    EXPECT_EQ(dialogs.alerts.last(), QStringLiteral("1 sets added| "));
    dialogs.openPanelFiles = {path(QStringLiteral("prefs.plist"))};
    matrix->readinVekObjSet();
    EXPECT_EQ(dialogs.alerts.last(), QStringLiteral("No proper data found.| "));
}

} // namespace
