// Editing a table in place: cursor areas, selecting columns, rows and picked cells, typing
// into cells with the Tab walk, and the cell commands with their undo.
#include "grid_fixture.h"

#include "model/vek_obj_grid_keys.h"
#include "platform/foundation/notification_center.h"

using GridEditingTest = GridTest;

TEST_F(GridEditingTest, CursorAreasFollowTheStoredEdges)
{
    auto table = makeTable();   // 4 x 3 over {10, 10, 400, 90}: 100 x 30 cells
    const Point rowBorder{150, 10 + 30.5f - 1};
    const Point columnBorder{10 + 100.5f - 1, 50};
    const struct {
        Point p;
        CursorKind cursor;
    } cases[] = {
        {rowBorder, CursorKind::ResizeUpDown},
        {columnBorder, CursorKind::ResizeLeftRight},
        {{150, 11}, CursorKind::SelectColumn},
        {{11, 50}, CursorKind::SelectRow},
        {{150, 50}, CursorKind::Arrow},
    };
    for (const auto &c : cases)
        EXPECT_EQ(table->cursorAtPoint(c.p), c.cursor) << c.p.x << "," << c.p.y;
    EXPECT_EQ(table->editingCursorRects(0, &doc.canvas).size(), 3u + 4u + 2u);
}

TEST_F(GridEditingTest, TypingWalksWithTabAndReturnEnds)
{
    auto table = makeTable();
    int selectionPosts = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        nullptr, VekObjGridCellSelectionDidChangeNotification, table.get(), [&](const Notification &) { ++selectionPosts; });
    clickCell(*table, 3, 0);
    ASSERT_TRUE(table->currentCellEditor());
    EXPECT_EQ(doc.canvas.editing.lock(), table);
    type(*table, "d0");
    pressKey(*table, Qt::Key_Tab);   // last column: on to the first of the next row
    EXPECT_EQ(table->currentEditingCell(), QStringLiteral("C0R1"));
    type(*table, "a1");
    clickCell(*table, 3, 2);
    type(*table, "d2");
    pressKey(*table, Qt::Key_Tab);   // last cell: back to the first
    EXPECT_EQ(table->currentEditingCell(), QStringLiteral("C0R0"));
    pressKey(*table, Qt::Key_Tab);   // left without typing: no record for the placeholder
    pressKey(*table, Qt::Key_Return);
    NotificationCenter::defaultCenter().removeObserver(token);

    EXPECT_FALSE(table->currentCellEditor());
    EXPECT_FALSE(table->haveSelection());
    EXPECT_TRUE(table->currentEditingCell().isEmpty());
    EXPECT_EQ(text(*table, 3, 0), QStringLiteral("d0"));
    EXPECT_EQ(text(*table, 0, 1), QStringLiteral("a1"));
    EXPECT_EQ(text(*table, 3, 2), QStringLiteral("d2"));
    EXPECT_EQ(table->cells().count(), 3);
    EXPECT_EQ(table->wordCount(), 3);
    EXPECT_EQ(selectionPosts, 5);   // every opened cell

    // Each cell's typing is one undo step, and redo brings it back.
    doc.undo.undo();
    EXPECT_TRUE(text(*table, 3, 2).isEmpty());
    EXPECT_EQ(text(*table, 0, 1), QStringLiteral("a1"));
    doc.undo.redo();
    EXPECT_EQ(text(*table, 3, 2), QStringLiteral("d2"));
}

TEST_F(GridEditingTest, ClearingACellKeepsOnlyItsBackground)
{
    auto table = makeTable();
    clickCell(*table, 1, 1);
    type(*table, "x");
    pressKey(*table, Qt::Key_Return);
    clickCell(*table, 2, 1);
    type(*table, "y");
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(1, 0, 0));
    pressKey(*table, Qt::Key_Return);
    for (int column : {1, 2}) {
        clickCell(*table, column, 1);
        table->currentCellEditor()->selectAll();
        table->currentCellEditor()->deleteBackward();
        pressKey(*table, Qt::Key_Return);
    }
    EXPECT_FALSE(table->cells().contains("C1R1"));
    const PropertyList coloured = table->cellItemWithID("C2R1");
    EXPECT_EQ(coloured.keys(), QStringList{CellColorKey});
}

TEST_F(GridEditingTest, ANarrowCellDoesNotOpen)
{
    auto table = makeTable();
    PropertyList columns = table->columns();
    columns.insert("C1", gridRecord(OriginXKey, 100.5f, WidthKey, 2.0f));
    table->setColumns(columns, false);
    table->startEditCellAt(1, 0);
    EXPECT_FALSE(table->currentCellEditor());
    table->startEditCellAt(0, 0);
    EXPECT_TRUE(table->currentCellEditor());
}

TEST_F(GridEditingTest, SelectedCellKeysFollowTheSelection)
{
    auto table = makeTable();
    clickCell(*table, 0, 0);
    type(*table, "a");
    pressKey(*table, Qt::Key_Return);
    clickCell(*table, 0, 2);
    type(*table, "c");
    pressKey(*table, Qt::Key_Return);

    EXPECT_EQ(*table->selectedCellKeys(false), (QStringList{"C0R0", "C0R2"}));   // whole table
    EXPECT_EQ(table->selectedCellKeys(true)->size(), 12);
    selectColumnByStrip(*table, 0);
    EXPECT_EQ(*table->selectedCellKeys(true), (QStringList{"C0R0", "C0R1", "C0R2"}));
    EXPECT_EQ(*table->selectedCellKeys(false), (QStringList{"C0R0", "C0R2"}));
    EXPECT_EQ(table->lineTypeFor(0), 0);

    // Command starts the pick from the column's cells with records; a second pick removes.
    click(*table, {table->cellFrameOfColumn(2, 1).midX(), table->cellFrameOfColumn(2, 1).midY()}, CommandKeyMask);
    EXPECT_EQ(table->multipleCellSelection(), (QStringList{"C0R0", "C0R2", "C2R1"}));
    click(*table, {table->cellFrameOfColumn(0, 0).midX(), table->cellFrameOfColumn(0, 0).midY()}, CommandKeyMask);
    EXPECT_EQ(*table->selectedCellKeys(false), (QStringList{"C0R2", "C2R1"}));
    EXPECT_TRUE(table->isAnyCellSelected());
    EXPECT_EQ(shell.outlets.back(), std::make_pair(0, -1));

    // Not selected on the canvas: no cells to act on.
    doc.canvas.selected.clear();
    EXPECT_FALSE(table->selectedCellKeys(false));
}

TEST_F(GridEditingTest, CellCommandsChangeSelectedCellsInOneUndoStep)
{
    auto table = makeTable();
    for (int row : {0, 1}) {
        clickCell(*table, 1, row);
        type(*table, row == 0 ? "top" : "middle");
        pressKey(*table, Qt::Key_Return);
    }
    selectColumnByStrip(*table, 1);
    const PropertyList before = table->cells();

    table->applyFontToSelectedCells("Helvetica-Bold");
    doc.undo.closeEventGroup();
    table->applyFontSizeToSelectedCells(20);
    doc.undo.closeEventGroup();
    table->applyFontColorToSelectedCells(Color::colorWithCalibratedRed(0, 0, 1));
    doc.undo.closeEventGroup();
    table->applyAlignmentToSelectedCells(1);
    doc.undo.closeEventGroup();
    const PropertyList styled = table->cells();

    const TextAttributes a = table->textOfColumn(1, 1)->attributesAt(0);
    EXPECT_EQ(a.font, (Font{"Helvetica-Bold", 20}));
    EXPECT_EQ(a.foregroundColor, Color::colorWithCalibratedRed(0, 0, 1));
    EXPECT_EQ(a.paragraphStyle->alignment, TextAlignment::Right);
    EXPECT_EQ(table->cellItemWithID("C1R1").value(CellAlignKey).intValue(), 1);
    EXPECT_FALSE(table->cells().contains("C1R2"));   // cells without text stay empty
    EXPECT_EQ(table->currentFontName(), QStringLiteral("Helvetica-Bold"));
    EXPECT_EQ(table->currentFontSize(), 20);
    EXPECT_EQ(table->currentAlignment(), 1);

    for (int i = 0; i < 4; ++i)
        doc.undo.undo();
    EXPECT_EQ(table->cells(), before);
    for (int i = 0; i < 4; ++i)
        doc.undo.redo();
    EXPECT_EQ(table->cells(), styled);
}

TEST_F(GridEditingTest, BackgroundColoursBelowTheAlphaLimitClear)
{
    auto table = makeTable();
    selectRowByStrip(*table, 2);
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(1, 0, 0, 0.09f));
    EXPECT_EQ(table->cells().count(), 4);
    EXPECT_EQ(table->currentBGcolor(), Color::colorWithCalibratedRed(1, 0, 0, 0.09f));
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(1, 0, 0, 0.05f));
    EXPECT_EQ(table->cells().count(), 0);
    EXPECT_EQ(table->currentBGcolor(), Color::clearColor());
}

TEST_F(GridEditingTest, EndingTheEditingClearsTheSelectionAndThePanel)
{
    auto table = makeTable();
    selectColumnByStrip(*table, 1);
    click(*table, {table->cellFrameOfColumn(3, 1).midX(), table->cellFrameOfColumn(3, 1).midY()}, ShiftKeyMask);
    table->endEditingInView(&doc.canvas);
    EXPECT_FALSE(doc.canvas.editing.lock());
    EXPECT_EQ(table->selectedColumnNr(), -1);
    EXPECT_EQ(table->selectedColumnRect(), Rect());
    EXPECT_TRUE(table->multipleCellSelection().isEmpty());
    EXPECT_FALSE(table->isAnyCellSelected());
}

namespace {

// The table's records and bounds, to compare undo and redo against.
struct GridState {
    PropertyList dict;
    Rect bounds;
    friend bool operator==(const GridState &, const GridState &) = default;
};

GridState stateOf(const VekObjGrid &table)
{
    return {table.propertyListRepresentation(), table.bounds()};
}

// What an open cell's editor should show: the cell's text, or the placeholder of an empty cell.
QString editorText(const VekObjGrid &table)
{
    return table.currentCellEditor() ? table.currentCellEditor()->attributedStringValue().string() : QString();
}

QString recordTextOfOpenCell(const VekObjGrid &table)
{
    const auto text = table.textOfCell(table.currentEditingCell());
    return text ? text->string() : QStringLiteral(" ");
}

} // namespace

// Undo while a cell is open puts the text back in the record and in the editor, so that
// ending the cell stores nothing again; redo brings the typing back the same way.
TEST_F(GridEditingTest, UndoInAnOpenCellShowsTheOldTextInTheEditor)
{
    auto table = makeTable();
    clickCell(*table, 1, 1);
    type(*table, "old");
    pressKey(*table, Qt::Key_Return);
    clickCell(*table, 1, 1);
    table->currentCellEditor()->selectAll();
    type(*table, "new");
    EXPECT_EQ(text(*table, 1, 1), QStringLiteral("new"));   // the record follows the editor
    doc.undo.closeEventGroup();

    doc.undo.undo();
    ASSERT_TRUE(table->currentCellEditor());
    EXPECT_EQ(editorText(*table), QStringLiteral("old"));
    EXPECT_EQ(text(*table, 1, 1), QStringLiteral("old"));
    EXPECT_EQ(table->currentCellEditor()->selectedRange(), (TextRange{0, 3}));   // as "new" was typed over it
    doc.undo.redo();
    EXPECT_EQ(editorText(*table), QStringLiteral("new"));
    EXPECT_EQ(table->currentCellEditor()->selectedRange(), (TextRange{3, 0}));
    doc.undo.undo();
    pressKey(*table, Qt::Key_Return);
    EXPECT_EQ(text(*table, 1, 1), QStringLiteral("old"));
    EXPECT_TRUE(doc.undo.canRedo());   // Return stored nothing, so the typing can still be redone
    doc.undo.redo();
    EXPECT_EQ(text(*table, 1, 1), QStringLiteral("new"));
}

// Typing, the cell commands and structure changes with a cell open, the Tab walk and a
// closed cell: undo all, then redo all, pass through exactly the states seen on the way,
// and an open editor always shows its cell's record.
TEST_F(GridEditingTest, CellStepsUndoAndRedoExactlyWhetherTheCellIsOpenOrNot)
{
    auto table = makeTable();
    std::vector<GridState> states{stateOf(*table)};
    const auto step = [&](const char *what) {
        doc.undo.closeEventGroup();
        states.push_back(stateOf(*table));
        EXPECT_FALSE(states.back() == states[states.size() - 2]) << what << " changed nothing";
    };
    clickCell(*table, 1, 1);
    type(*table, "one");
    step("typing into an empty cell");
    type(*table, " two");
    step("typing on");
    table->currentCellEditor()->setSelectedRange({0, 3});
    table->currentCellEditor()->deleteBackward();
    step("deleting");
    table->applyFontSizeToSelectedCells(20);
    step("size");
    table->applyFontColorToSelectedCells(Color::colorWithCalibratedRed(0, 0, 1));
    step("colour");
    table->applyAlignmentToSelectedCells(2);
    step("alignment");
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(1, 1, 0));
    step("background");
    table->setNumberOfGridRows(4);
    step("adding a row");
    table->setNumberOfGridColumns(3);
    step("deleting the last column");
    EXPECT_EQ(table->currentEditingCell(), QStringLiteral("C1R1"));
    pressKey(*table, Qt::Key_Tab);
    type(*table, "three");
    step("typing after Tab");
    pressKey(*table, Qt::Key_Return);
    selectRowByStrip(*table, 1);
    table->applyFontToSelectedCells("Helvetica-Bold");
    step("font of a row, no cell open");
    clickCell(*table, 1, 1);
    const TextAttributes a = table->textOfColumn(1, 1)->attributesAt(0);
    EXPECT_EQ(a.font, (Font{"Helvetica-Bold", 20}));
    EXPECT_EQ(a.paragraphStyle->alignment, TextAlignment::Center);
    EXPECT_EQ(text(*table, 1, 1), QStringLiteral(" two"));

    // Undone with the cell open, then with none open.
    for (size_t i = states.size() - 1; i > 0; --i) {
        if (i == 4)
            pressKey(*table, Qt::Key_Return);
        doc.undo.undo();
        EXPECT_TRUE(stateOf(*table) == states[i - 1]) << "undo to step " << i - 1;
        if (table->currentCellEditor()) {
            EXPECT_EQ(editorText(*table), recordTextOfOpenCell(*table)) << "undo to step " << i - 1;
        }
    }
    EXPECT_FALSE(doc.undo.canUndo());
    clickCell(*table, 1, 1);
    for (size_t i = 1; i < states.size(); ++i) {
        doc.undo.redo();
        EXPECT_TRUE(stateOf(*table) == states[i]) << "redo of step " << i;
        if (table->currentCellEditor()) {
            EXPECT_EQ(editorText(*table), recordTextOfOpenCell(*table)) << "redo of step " << i;
        }
    }
    EXPECT_FALSE(doc.undo.canRedo());
}
