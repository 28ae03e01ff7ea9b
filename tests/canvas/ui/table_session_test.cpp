// A table on the real canvas: the table tool makes one with its grid, and the hosted cell
// editor takes typing, walks on with Tab and ends with Return through the widget's keys.
#include "canvas_session.h"

#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

void pressKey(QWidget *widget, int key, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::processEvents();   // the Tab walk opens the next cell from the loop
}

} // namespace

TEST_F(CanvasSession, TheTableToolMakesATableWhoseCellsTakeTyping)
{
    shell.tool = 8;
    drag({50, 40}, {{150, 60}, {250, 100}});
    ASSERT_EQ(doc.objects().size(), 1u);
    const auto table = std::dynamic_pointer_cast<VekObjGrid>(doc.objects()[0]);
    ASSERT_TRUE(table);
    EXPECT_EQ(shell.tool, 0);
    EXPECT_EQ(table->numberOfGridColumns(), 2);
    EXPECT_EQ(view->editingObject(), table);

    table->startEditCellAt(0, 0);
    ASSERT_EQ(view->editorView(), table->currentCellEditor());
    for (const QChar c : QStringLiteral("ab"))
        pressKey(view.get(), 0, QString(c));
    pressKey(view.get(), Qt::Key_Tab);
    ASSERT_TRUE(table->currentCellEditor());
    EXPECT_EQ(view->editorView(), table->currentCellEditor());
    EXPECT_EQ(table->currentEditingCell(), QStringLiteral("C1R0"));
    pressKey(view.get(), 0, QStringLiteral("c"));
    pressKey(view.get(), Qt::Key_Return);
    EXPECT_EQ(view->editorView(), nullptr);
    EXPECT_EQ(view->editingObject(), table);
    EXPECT_EQ(table->textOfColumn(0, 0)->string(), QStringLiteral("ab"));
    EXPECT_EQ(table->textOfColumn(1, 0)->string(), QStringLiteral("c"));

    // Ending the editing leaves the texts; undo takes back the last cell's typing.
    view->endEditing();
    EXPECT_EQ(view->editingObject(), nullptr);
    doc.undoManager()->closeEventGroup();
    undo();
    EXPECT_FALSE(table->textOfColumn(1, 0));
    EXPECT_EQ(table->textOfColumn(0, 0)->string(), QStringLiteral("ab"));
}

// A table selected with the arrow, not edited: the cursor shows the resize cursors over its
// row and column borders, and a drag there resizes that row or column as one step, no
// smaller than a point; a drag anywhere else moves the table.
TEST_F(CanvasSession, ASelectedTablesBordersResizeItsLinesAndElsewhereADragMovesIt)
{
    shell.tool = 8;
    drag({50, 40}, {{150, 60}, {250, 100}});
    const auto table = std::dynamic_pointer_cast<VekObjGrid>(doc.objects().at(0));
    ASSERT_TRUE(table);
    view->endEditing();
    ASSERT_EQ(view->selectedObjects().size(), 1u);
    ASSERT_FALSE(view->editingObject());
    const auto width = [&](int column) { return table->rectOfGridColumn(column).width(); };
    const auto height = [&](int row) { return table->rectOfGridRow(row).height(); };
    const Rect column0 = table->rectOfGridColumn(0), row0 = table->rectOfGridRow(0);
    const Point columnBorder{column0.maxX() - 1, row0.maxY() + 10};
    const Point rowBorder{column0.midX(), row0.maxY() - 1};
    EXPECT_EQ(view->cursorKindAtPoint(columnBorder), CursorKind::ResizeLeftRight);
    EXPECT_EQ(view->cursorKindAtPoint(rowBorder), CursorKind::ResizeUpDown);
    EXPECT_EQ(view->cursorKindAtPoint({column0.midX(), row0.midY()}), CursorKind::OpenHand);

    struct State {
        PropertyList dict;
        Rect bounds;
        bool operator==(const State &) const = default;
    };
    const auto state = [&] { return State{table->propertyListRepresentation(), table->bounds()}; };
    std::vector<State> states{state()};
    const Rect bounds0 = table->bounds();
    const float width0 = width(0), width1 = width(1), height0 = height(0);

    drag(columnBorder, {{columnBorder.x + 10, columnBorder.y}, {columnBorder.x + 30, columnBorder.y}});
    EXPECT_FLOAT_EQ(width(0), width0 + 30);
    EXPECT_FLOAT_EQ(width(1), width1 - 30);
    EXPECT_EQ(table->bounds(), bounds0);   // the table keeps its place and width
    states.push_back(state());

    drag(rowBorder, {{rowBorder.x, rowBorder.y + 8}});
    EXPECT_FLOAT_EQ(height(0), height0 + 8);
    EXPECT_EQ(table->bounds().origin, bounds0.origin);
    EXPECT_FLOAT_EQ(table->bounds().height(), bounds0.height() + 8);   // the rows below move down
    states.push_back(state());

    const Point movedBorder{table->rectOfGridColumn(0).maxX() - 1, columnBorder.y};
    drag(movedBorder, {{movedBorder.x - 500, movedBorder.y}});
    EXPECT_FLOAT_EQ(width(0), 1);
    states.push_back(state());

    const PropertyList columns = table->columns();
    const Point inside{table->rectOfGridColumn(1).midX(), table->rectOfGridRow(1).midY()};
    drag(inside, {{inside.x + 20, inside.y + 10}});
    EXPECT_EQ(table->bounds().origin, (Point{bounds0.minX() + 20, bounds0.minY() + 10}));
    EXPECT_EQ(table->columns(), columns);
    states.push_back(state());

    for (size_t i = states.size() - 1; i > 0; --i) {
        undo();
        EXPECT_TRUE(state() == states[i - 1]) << "undo to step " << i - 1;
    }
    for (size_t i = 1; i < states.size(); ++i) {
        redo();
        EXPECT_TRUE(state() == states[i]) << "redo of step " << i;
    }
}
