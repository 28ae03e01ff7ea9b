// The table's structure commands: borders, counts, equal sizes, moves, border drags and the
// column and row clipboard, each undone and redone exactly; and a whole scripted session.
#include "grid_fixture.h"

#include "model/vek_obj_grid_keys.h"
#include "platform/text/rtf.h"

namespace {

float edge(const PropertyList &records, const QString &id, const QString &key)
{
    return records.value(id).value(key).floatValue();
}

} // namespace

class GridStructureTest : public GridTest {
protected:
    // Everything a structure command may change, to compare undo and redo against.
    struct State {
        PropertyList dict;
        Rect bounds;
        friend bool operator==(const State &a, const State &b) { return a.dict == b.dict && a.bounds == b.bounds; }
    };
    static State state(const VekObjGrid &table) { return {table.propertyListRepresentation(), table.bounds()}; }

    // Runs the command as one step and checks that undo gives back `before` and redo the result.
    void expectUndoRedo(VekObjGrid &table, const std::function<void()> &command)
    {
        const State before = state(table);
        command();
        doc.undo.closeEventGroup();
        const State after = state(table);
        ASSERT_FALSE(after == before) << "the command changed nothing";
        doc.undo.undo();
        doc.undo.closeEventGroup();
        EXPECT_TRUE(state(table) == before);
        doc.undo.redo();
        doc.undo.closeEventGroup();
        EXPECT_TRUE(state(table) == after);
    }

    void fillColumn(VekObjGrid &table, int column, const QStringList &texts)
    {
        for (int row = 0; row < texts.size(); ++row) {
            clickCell(table, column, row);
            type(table, texts[row]);
            pressKey(table, Qt::Key_Return);
        }
    }

    MouseEvent downAt(Point p) { return MouseEvent{EventType::LeftMouseDown, p}; }
};

TEST_F(GridStructureTest, BordersOfTheSelectedColumnOrRow)
{
    auto table = makeTable();
    table->setLineType(1, 0);   // nothing selected: nothing happens
    EXPECT_EQ(doc.undo.canUndo(), false);
    selectColumnByStrip(*table, 2);
    expectUndoRedo(*table, [&] { table->setLineType(1, 1); });
    EXPECT_EQ(table->lineTypeFor(1), 1);
    EXPECT_EQ(table->lineTypeFor(0), 0);
    table->setLineType(0, 1);
    EXPECT_FALSE(table->columns().value("C2").contains(LineRKey));
    selectRowByStrip(*table, 1);
    table->setLineType(1, 2);
    EXPECT_EQ(table->lineTypeFor(2), 1);
    EXPECT_EQ(table->lineTypeFor(3), 0);
}

TEST_F(GridStructureTest, CountsBelowOneBeepAndHugeCountsAreHeld)
{
    auto table = makeTable();
    table->setNumberOfGridColumns(0);
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(table->numberOfGridColumns(), 4);
    table->setNumberOfGridRows(1000000);
    EXPECT_EQ(table->numberOfGridRows(), VekObjGrid::MaxGridLines);
}

TEST_F(GridStructureTest, InsertingInFrontOfTheSelectedColumn)
{
    shell.columns = 3;
    auto table = makeTable(Rect(10, 10, 300, 90));
    fillColumn(*table, 1, {"b0"});
    selectColumnByStrip(*table, 1);
    expectUndoRedo(*table, [&] { table->setNumberOfGridColumns(5); });
    EXPECT_EQ(table->columnOrder(), (QStringList{"C0", "C3", "C4", "C1", "C2"}));
    EXPECT_EQ(table->selectedColumnNr(), 3);
    EXPECT_EQ(table->selectedColumnRect(), table->rectOfGridColumn(3));
    EXPECT_FLOAT_EQ(table->bounds().width(), 500);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C3", OriginXKey), 100.5f);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C4", OriginXKey), 200.5f);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C1", OriginXKey), 300.5f);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C2", OriginXKey), 400.5f);
    // The cell the user sees keeps its text, and the Tab walk still starts there.
    EXPECT_EQ(text(*table, 3, 0), QStringLiteral("b0"));
    table->startEditCellAt(3, 0);
    pressKey(*table, Qt::Key_Tab);
    EXPECT_EQ(table->currentEditingCell(), QStringLiteral("C2R0"));
}

TEST_F(GridStructureTest, AppendingWithoutSelectionUsesTheLastColumn)
{
    auto table = makeTable();
    PropertyList columns = table->columns();
    columns.insert("C3", gridRecord(OriginXKey, 300.5f, WidthKey, 40));
    table->setColumns(columns, false);
    table->setNumberOfGridRows(4);
    table->setNumberOfGridColumns(6);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C4", OriginXKey), 340.5f);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C5", WidthKey), 40);
    EXPECT_FLOAT_EQ(edge(table->rows(), "R3", OriginYKey), 90.5f);
    EXPECT_FLOAT_EQ(table->bounds().width(), 480);
}

TEST_F(GridStructureTest, DeletingTheSelectedColumnRestoresItsCellsOnUndo)
{
    auto table = makeTable();
    fillColumn(*table, 1, {"one", "two", "three"});
    fillColumn(*table, 2, {"right"});
    selectColumnByStrip(*table, 1);
    expectUndoRedo(*table, [&] { table->deleteSelection(); });
    EXPECT_EQ(table->columnOrder(), (QStringList{"C0", "C2", "C3"}));
    EXPECT_FLOAT_EQ(edge(table->columns(), "C2", OriginXKey), 100.5f);
    EXPECT_EQ(text(*table, 1, 0), QStringLiteral("right"));
    EXPECT_EQ(table->wordCount(), 1);
    EXPECT_EQ(table->selectedColumnNr(), 1);   // the column that moved into its place
    doc.undo.undo();
    EXPECT_EQ(text(*table, 1, 2), QStringLiteral("three"));
    EXPECT_EQ(table->textOfColumn(1, 1), attributedStringWithRTF(table->cellItemWithID("C1R1").value(CellTextKey).dataValue()));

    // Without a selection the last column goes; its number is given again.
    table->endEditingInView(&doc.canvas);
    table->startEditingWithEvent(MouseEvent{}, &doc.canvas);
    table->setNumberOfGridColumns(3);
    EXPECT_EQ(table->columnOrder(), (QStringList{"C0", "C1", "C2"}));
    table->setNumberOfGridColumns(4);
    EXPECT_EQ(table->columnOrder().last(), QStringLiteral("C3"));
}

TEST_F(GridStructureTest, EqualSizesDropBorders)
{
    auto table = makeTable();
    selectColumnByStrip(*table, 0);
    table->setLineType(1, 0);
    PropertyList rows = table->rows();
    rows.insert("R1", gridRecord(OriginYKey, 30.5f, HeightKey, 5));
    table->setRows(rows, false);
    doc.undo.closeEventGroup();
    expectUndoRedo(*table, [&] { table->setAllColumnsSameWidth(); });
    EXPECT_FALSE(table->columns().value("C0").contains(LineLKey));
    expectUndoRedo(*table, [&] { table->setAllRowsSameHeight(); });
    EXPECT_FLOAT_EQ(edge(table->rows(), "R1", HeightKey), 30);
}

TEST_F(GridStructureTest, MovingARowKeepsThePairsOuterEdges)
{
    auto table = makeTable();
    PropertyList rows = table->rows();
    rows.insert("R0", gridRecord(OriginYKey, 0.5f, HeightKey, 10));
    rows.insert("R1", gridRecord(OriginYKey, 10.5f, HeightKey, 30));
    table->setRows(rows, false);
    selectRowByStrip(*table, 0);
    table->moveSelectionUp();
    EXPECT_EQ(shell.beeps, 1);
    expectUndoRedo(*table, [&] { EXPECT_TRUE(table->keyDownWhileEditing(QChar(0xF701), 0, &doc.canvas)); });
    EXPECT_EQ(table->rowOrder(), (QStringList{"R1", "R0", "R2"}));
    EXPECT_FLOAT_EQ(edge(table->rows(), "R1", OriginYKey), 0.5f);
    EXPECT_FLOAT_EQ(edge(table->rows(), "R0", OriginYKey), 30.5f);
    EXPECT_EQ(table->selectedRowNr(), 1);

    selectColumnByStrip(*table, 3);
    table->moveSelectionRight();
    EXPECT_EQ(shell.beeps, 2);
}

TEST_F(GridStructureTest, DraggingAColumnBorderStopsBeforeTheNeighbourVanishes)
{
    auto table = makeTable();
    PropertyList columns = table->columns();
    columns.insert("C2", gridRecord(OriginXKey, 200.5f, WidthKey, 20));
    table->setColumns(columns, false);
    const State before = state(*table);
    const float border = table->rectOfGridColumn(1).maxX() - 1;
    doc.canvas.events.drag({border + 10, 50});
    doc.canvas.events.drag({border + 60, 50});
    doc.canvas.events.up({border + 60, 50});
    click(*table, {border, 50});
    EXPECT_FLOAT_EQ(edge(table->columns(), "C1", WidthKey), 119);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C2", WidthKey), 1);
    EXPECT_FLOAT_EQ(edge(table->columns(), "C2", OriginXKey), 219.5f);
    EXPECT_EQ(table->bounds(), before.bounds);
    EXPECT_FALSE(table->temporalBP());
    doc.undo.undo();
    EXPECT_TRUE(state(*table) == before);
}

TEST_F(GridStructureTest, DraggingTheLastRowGrowsTheTableAsOneStep)
{
    auto table = makeTable();
    const State before = state(*table);
    const float border = table->rectOfGridRow(2).maxY() - 1;
    doc.canvas.events.drag({150, border + 5});
    doc.canvas.events.drag({150, border + 12});
    doc.canvas.events.up({150, border + 12});
    click(*table, {150, border});
    EXPECT_FLOAT_EQ(edge(table->rows(), "R2", HeightKey), 42);
    EXPECT_FLOAT_EQ(table->bounds().height(), 102);
    const State after = state(*table);
    doc.undo.undo();
    EXPECT_TRUE(state(*table) == before);
    doc.undo.redo();
    EXPECT_TRUE(state(*table) == after);

    // A row above the last pushes the rows below it down and grows the table.
    const float middle = table->rectOfGridRow(0).maxY() - 1;
    doc.canvas.events.drag({150, middle - 10});
    doc.canvas.events.up({150, middle - 10});
    click(*table, {150, middle});
    EXPECT_FLOAT_EQ(edge(table->rows(), "R0", HeightKey), 20);
    EXPECT_FLOAT_EQ(edge(table->rows(), "R1", OriginYKey), 20.5f);
    EXPECT_FLOAT_EQ(table->bounds().height(), 92);
}

TEST_F(GridStructureTest, CopyAndPasteAColumnOfCells)
{
    auto table = makeTable();
    fillColumn(*table, 0, {"a", "", "c"});
    clickCell(*table, 0, 1);
    table->applyBGColorToSelectedCells(Color::colorWithCalibratedRed(1, 0, 0));
    pressKey(*table, Qt::Key_Return);
    fillColumn(*table, 2, {"x", "y", "z"});

    selectColumnByStrip(*table, 0);
    EXPECT_TRUE(table->copyWhileEditing(&doc.canvas));
    ASSERT_EQ(table->copiedColumn().size(), 3u);
    EXPECT_EQ(attributedStringWithRTF(clipboard.contents.value(RTFMimeType))->string(), QStringLiteral("a, c"));

    selectColumnByStrip(*table, 2);
    expectUndoRedo(*table, [&] { table->pasteWhileEditing(&doc.canvas); });
    EXPECT_EQ(text(*table, 2, 0), QStringLiteral("a"));
    EXPECT_FALSE(table->cells().contains("C2R1"));   // the colour-only cell was copied as empty
    EXPECT_EQ(text(*table, 2, 2), QStringLiteral("c"));
}

TEST_F(GridStructureTest, DeletingPickedCellsCanBeUndone)
{
    auto table = makeTable();
    fillColumn(*table, 3, {"p", "q"});
    clickCell(*table, 3, 0);   // an open cell: the pick starts empty
    clickCell(*table, 3, 0, CommandKeyMask);
    clickCell(*table, 3, 1, CommandKeyMask);
    expectUndoRedo(*table, [&] { table->deleteWhileEditing(&doc.canvas); });
    EXPECT_EQ(table->cells().count(), 0);
}

// The whole way through: create a 4 x 3 table, type with Tab, make a row bold, insert and
// delete a column, drag a row's border, copy and paste a column; then undo every step back
// to the empty table and redo them all, comparing the whole table at every step.
TEST_F(GridStructureTest, AScriptedSessionUndoesAndRedoesExactly)
{
    auto table = makeTable();
    std::vector<State> states{state(*table)};
    const auto step = [&] {
        doc.undo.closeEventGroup();
        states.push_back(state(*table));
    };

    clickCell(*table, 0, 0);
    for (const char *word : {"north", "east", "south", "west"}) {
        type(*table, QString::fromLatin1(word));
        pressKey(*table, Qt::Key_Tab);
        step();
    }
    EXPECT_EQ(table->currentEditingCell(), QStringLiteral("C0R1"));
    pressKey(*table, Qt::Key_Return);
    EXPECT_EQ(text(*table, 3, 0), QStringLiteral("west"));

    selectRowByStrip(*table, 0);
    table->applyFontToSelectedCells("Helvetica-Bold");
    step();
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(table->textOfColumn(column, 0)->attributesAt(0).font->name, QStringLiteral("Helvetica-Bold"));

    selectColumnByStrip(*table, 2);
    table->setNumberOfGridColumns(5);
    step();
    EXPECT_EQ(table->columnOrder(), (QStringList{"C0", "C1", "C4", "C2", "C3"}));
    selectColumnByStrip(*table, 0);
    table->deleteSelection();
    step();
    EXPECT_EQ(table->columnOrder(), (QStringList{"C1", "C4", "C2", "C3"}));

    const float border = table->rectOfGridRow(1).maxY() - 1;
    doc.canvas.events.drag({200, border + 8});
    doc.canvas.events.up({200, border + 8});
    click(*table, {200, border});
    step();
    EXPECT_FLOAT_EQ(edge(table->rows(), "R1", HeightKey), 38);

    selectColumnByStrip(*table, 0);
    table->copyCells();
    selectColumnByStrip(*table, 1);
    table->pasteCells();
    step();
    EXPECT_EQ(text(*table, 1, 0), QStringLiteral("east"));

    for (size_t i = states.size() - 1; i > 0; --i) {
        doc.undo.undo();
        EXPECT_TRUE(state(*table) == states[i - 1]) << "undo to step " << i - 1;
    }
    EXPECT_EQ(table->cells().count(), 0);
    for (size_t i = 1; i < states.size(); ++i) {
        doc.undo.redo();
        EXPECT_TRUE(state(*table) == states[i]) << "redo of step " << i;
    }
}
