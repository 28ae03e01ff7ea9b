// Tables as a user meets them in a full-size window: undo and redo of typing in an open cell
// show in the cell's editor and in the document, and a selected table's column border
// resizes the column where it is dragged while the table stays in place.
#include "tests/app/window/window_driver.h"

#include "document/vek_document.h"
#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid.h"

namespace {

std::shared_ptr<VekObjGrid> onlyTableOf(const VekDocument &document)
{
    std::shared_ptr<VekObjGrid> found;
    for (const auto &o : document.objects())
        if (auto table = std::dynamic_pointer_cast<VekObjGrid>(o))
            found = table;
    return found;
}

} // namespace

TEST_F(WindowTest, TableTypingUndoesInTheOpenCellAndASelectedTablesBorderResizesItsColumn)
{
    VekDocumentWindow &window = start();
    window.resize(1600, 1000);
    QTRY_COMPARE(window.size(), QSize(1600, 1000));
    activate(window);
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Table"));
    activate(window);
    canvas.drag({40, 40}, {340, 160});
    const auto table = onlyTableOf(window.document());
    ASSERT_TRUE(table);
    ASSERT_GE(table->numberOfGridColumns(), 2);
    const auto middleOf = [&](int column, int row) {
        const Rect cell = table->cellFrameOfColumn(column, row);
        return Point{cell.midX(), cell.midY()};
    };
    const auto documentText = [&] {
        const auto text = table->textOfColumn(0, 0);
        return text ? text->string() : QString();
    };
    const auto editorText = [&] {
        return table->currentCellEditor() ? table->currentCellEditor()->attributedStringValue().string() : QString();
    };

    // Typing in a cell that has text; undo and redo show in the open editor and the document.
    canvas.click(middleOf(0, 0).x, middleOf(0, 0).y);
    canvas.type(QStringLiteral("old"));
    canvas.key(Qt::Key_Return);
    canvas.click(middleOf(0, 0).x, middleOf(0, 0).y);
    canvas.type(QStringLiteral(" new"));
    EXPECT_EQ(documentText(), QStringLiteral("old new"));
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editorText(), QStringLiteral("old"));
    EXPECT_EQ(documentText(), QStringLiteral("old"));
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editorText(), QStringLiteral("old new"));
    EXPECT_EQ(documentText(), QStringLiteral("old new"));
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    canvas.key(Qt::Key_Return);   // ends the cell without storing the undone typing again
    EXPECT_FALSE(table->currentCellEditor());
    EXPECT_EQ(documentText(), QStringLiteral("old"));
    EXPECT_TRUE(window.document().undoManager()->canRedo());

    // Selected, not edited: the column border shows the resize cursor and resizes the column.
    canvas.click(450, 500);
    ASSERT_FALSE(canvas.view.editingObject());
    canvas.click(middleOf(1, 1).x, middleOf(1, 1).y);
    ASSERT_EQ(canvas.view.selectedObjects().size(), 1u);
    ASSERT_FALSE(canvas.view.editingObject());
    const Rect bounds = table->bounds();
    const float width0 = table->rectOfGridColumn(0).width();
    const PropertyList columns0 = table->columns();
    const Point border{table->rectOfGridColumn(0).maxX() - 1, middleOf(0, 1).y};
    QTest::mouseMove(canvas.canvas(), canvas.at(border.x, border.y));
    QTRY_COMPARE(canvas.canvas()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(canvas.canvas(), canvas.at(middleOf(0, 1).x, middleOf(0, 1).y));
    QTRY_COMPARE(canvas.canvas()->cursor().shape(), Qt::OpenHandCursor);

    // The column follows the pointer during the drag; the second move comes once the first is seen.
    float liveWidth = 0;
    bool released = false;
    QWidget *viewport = canvas.canvas();
    QTimer::singleShot(0, viewport, [&] {
        QTest::mouseMove(viewport, canvas.at(border.x + 20, border.y));
        QTimer::singleShot(50, viewport, [&] {
            liveWidth = table->rectOfGridColumn(0).width();
            QTest::mouseMove(viewport, canvas.at(border.x + 40, border.y));
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, canvas.at(border.x + 40, border.y));
            released = true;
        });
    });
    QTest::mousePress(viewport, Qt::LeftButton, {}, canvas.at(border.x, border.y));
    QTRY_VERIFY(released);
    QCoreApplication::processEvents();
    EXPECT_NEAR(liveWidth, width0 + 20, 1);
    EXPECT_NEAR(table->rectOfGridColumn(0).width(), width0 + 40, 1);
    EXPECT_EQ(table->bounds(), bounds);   // the table did not move
    const PropertyList columns1 = table->columns();

    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table->columns(), columns0);
    EXPECT_EQ(table->bounds(), bounds);
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(table->columns(), columns1);
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table->columns(), columns0);
}
