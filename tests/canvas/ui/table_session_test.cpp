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
