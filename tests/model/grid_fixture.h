// A table in a fake document with a scripted canvas, and the helpers the table tests share:
// a shell that records what the table tells it, a clipboard in memory, clicks, typing and
// whole-table snapshots to compare undo and redo against.
#pragma once

#include "fakes.h"

#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid.h"
#include "tests/support/gui_app.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

class GridShell : public ShellServices {
public:
    int columns = 4;
    int rows = 3;
    int beeps = 0;
    std::vector<std::pair<int, int>> outlets;
    std::optional<Font> userFont = Font{QStringLiteral("Helvetica"), 12};

    int gridCurrentColumnNr() const override { return columns; }
    int gridCurrentRowNr() const override { return rows; }
    void setGridOutlets(VekObjGrid &, int column, int row) override { outlets.emplace_back(column, row); }
    void beep() override { ++beeps; }
    std::optional<Font> vekDefaultUserFont() const override { return userFont; }
};

class MemoryClipboard : public TextClipboard {
public:
    QHash<QString, QByteArray> contents;
    void setData(const QHash<QString, QByteArray> &data) override { contents = data; }
    QByteArray data(const QString &mimeType) const override { return contents.value(mimeType); }
};

class GridTest : public ::testing::Test {
protected:
    GridTest() : scopedShell(shell) { ensureGuiApp(); }

    // A table of shell.columns x shell.rows over the rectangle, adopted, selected and edited.
    std::shared_ptr<VekObjGrid> makeTable(const Rect &bounds = Rect(10, 10, 400, 90))
    {
        auto table = VekObjGrid::create();
        table->setBounds(bounds);
        table->setupOnCurrentCondition();
        doc.adopt(table);
        table->setClipboard(&clipboard);
        doc.canvas.selected = {table.get()};
        table->startEditingWithEvent(MouseEvent{}, &doc.canvas);
        doc.undo.removeAllActions();
        return table;
    }

    void click(VekObjGrid &table, Point p, unsigned flags = 0)
    {
        table.editWithEvent(MouseEvent{EventType::LeftMouseDown, p, flags}, &doc.canvas);
        doc.undo.closeEventGroup();
    }
    // A click in the middle of the cell at the positions.
    void clickCell(VekObjGrid &table, int column, int row, unsigned flags = 0)
    {
        const Rect frame = table.cellFrameOfColumn(column, row);
        click(table, {frame.midX(), frame.midY()}, flags);
    }
    // A click in the strip left of the first column, at the row.
    void selectRowByStrip(VekObjGrid &table, int row)
    {
        click(table, {table.bounds().minX() + 1.5f, table.rectOfGridRow(row).midY()});
    }
    void selectColumnByStrip(VekObjGrid &table, int column)
    {
        click(table, {table.rectOfGridColumn(column).midX(), table.bounds().minY() + 1.5f});
    }

    // Keys typed into the open cell editor; tab and ret end the cell as the user would.
    void type(VekObjGrid &table, const QString &text)
    {
        ASSERT_TRUE(table.currentCellEditor());
        for (QChar c : text)
            table.currentCellEditor()->keyDown(KeyInput{0, 0, QString(c)});
    }
    void pressKey(VekObjGrid &table, int key)
    {
        ASSERT_TRUE(table.currentCellEditor());
        table.currentCellEditor()->keyDown(KeyInput{key, 0, {}});
        QCoreApplication::processEvents();   // the Tab walk opens the next cell from the loop
        doc.undo.closeEventGroup();
    }

    static QString text(const VekObjGrid &table, int column, int row)
    {
        const auto t = table.textOfColumn(column, row);
        return t ? t->string() : QString();
    }

    FakeDocument doc;
    GridShell shell;
    ScopedShell scopedShell;
    MemoryClipboard clipboard;
};
