// The field and table tools as a user meets them: their options panels come with the tool,
// set the kind of field and the size of the table before they are made, and change a field
// while it is edited.
#include "tests/app/window/window_driver.h"

#include "app/tool_controller.h"
#include "document/vek_document.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_grid.h"
#include "panels/format_options_panel.h"
#include "panels/table_options_panel.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

template <typename T>
std::shared_ptr<T> onlyObjectOf(const VekDocument &document)
{
    std::shared_ptr<T> found;
    for (const auto &o : document.objects())
        if (auto typed = std::dynamic_pointer_cast<T>(o))
            found = typed;
    return found;
}

// Picks the item of a closed pop-up as the keyboard does (which sends `activated`).
void pickItem(QComboBox &combo, const QString &text)
{
    const int wanted = combo.findText(text);
    ASSERT_GE(wanted, 0) << text.toStdString();
    combo.setFocus();
    for (int step = 0; combo.currentIndex() != wanted && step < combo.count(); ++step)
        QTest::keyClick(&combo, wanted > combo.currentIndex() ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(combo.currentIndex(), wanted);
}

void typeInto(QLineEdit &field, const QString &text)
{
    field.setFocus();
    field.selectAll();
    QTest::keyClicks(&field, text);
    QTest::keyClick(&field, Qt::Key_Return);
}

} // namespace

TEST_F(WindowTest, TheFieldToolsPanelChoosesTheKindOfTheNextFieldAndChangesAnEditedOne)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Page number and date"));
    auto *panel = qobject_cast<FormatOptionsPanel *>(visibleTopLevelTitled(QStringLiteral("Field Options")));
    ASSERT_TRUE(panel) << "the field tool shows no field options panel";
    pickItem(*panel->formatTypes, QStringLiteral("Date"));
    pickItem(*panel->formatsDate, QStringLiteral("%Y/%m/%d"));
    activate(window);
    canvas.click(100, 100);
    const auto field = onlyObjectOf<VekObjFormat>(window.document());
    ASSERT_TRUE(field);
    EXPECT_EQ(field->formatType(), 1);
    EXPECT_EQ(field->format(), QStringLiteral("%Y/%m/%d"));

    // Edited, the field takes the format picked from the list; undo and redo follow it.
    QCoreApplication::processEvents();
    const Rect bounds = field->bounds();
    canvas.doubleClick(bounds.midX(), bounds.midY());
    ASSERT_EQ(panel->editedField(), field.get());
    pickItem(*panel->formatsDate, QStringLiteral("%d.%m.%Y"));
    QCoreApplication::processEvents();
    EXPECT_EQ(field->format(), QStringLiteral("%d.%m.%Y"));
    window.document().undoManager()->undo();
    EXPECT_EQ(field->format(), QStringLiteral("%Y/%m/%d"));
    window.document().undoManager()->redo();
    EXPECT_EQ(field->format(), QStringLiteral("%d.%m.%Y"));
}

TEST_F(WindowTest, TheTableToolsPanelSetsTheColumnsAndRowsOfTheNextTable)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Table"));
    auto *panel = qobject_cast<TableOptionsPanel *>(visibleTopLevelTitled(QStringLiteral("Table Options")));
    ASSERT_TRUE(panel) << "the table tool shows no table options panel";
    ASSERT_TRUE(panel->gridColNr->isEnabled());
    typeInto(*panel->gridColNr, QStringLiteral("4"));
    typeInto(*panel->gridRowNr, QStringLiteral("3"));
    activate(window);
    canvas.drag({40, 40}, {280, 160});
    const auto table = onlyObjectOf<VekObjGrid>(window.document());
    ASSERT_TRUE(table);
    EXPECT_EQ(table->numberOfGridColumns(), 4);
    EXPECT_EQ(table->numberOfGridRows(), 3);
}

TEST_F(WindowTest, ADrawnTablesCellsTakeTypingAsAUserGoesAboutIt)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Table"));
    activate(window);
    canvas.drag({40, 40}, {280, 160});
    const auto table = onlyObjectOf<VekObjGrid>(window.document());
    ASSERT_TRUE(table);
    ASSERT_EQ(table->numberOfGridColumns(), 2);
    const auto middleOf = [&](int column, int row) {
        const Rect cell = table->cellFrameOfColumn(column, row);
        return Point{cell.midX(), cell.midY()};
    };
    const auto cellText = [&](int column, int row) {
        const auto text = table->textOfCell(table->cellIDOfColumn(column, row));
        return text ? text->string().trimmed() : QString();
    };
    // A click in a cell of the table just drawn, typing, Tab to the next cell.
    canvas.click(middleOf(0, 0).x, middleOf(0, 0).y);
    canvas.type(QStringLiteral("abc"));
    canvas.key(Qt::Key_Tab);
    canvas.type(QStringLiteral("def"));
    canvas.key(Qt::Key_Return);
    EXPECT_EQ(cellText(0, 0), QStringLiteral("abc"));
    EXPECT_EQ(cellText(1, 0), QStringLiteral("def"));
    // Later, with the arrow: a double-click on the table and then on a cell opens it.
    canvas.click(400, 400);
    ASSERT_FALSE(canvas.view.editingObject());
    canvas.doubleClick(middleOf(1, 1).x, middleOf(1, 1).y);
    canvas.click(middleOf(1, 1).x, middleOf(1, 1).y);
    canvas.type(QStringLiteral("ghi"));
    canvas.key(Qt::Key_Return);
    EXPECT_EQ(cellText(1, 1), QStringLiteral("ghi"));
}
