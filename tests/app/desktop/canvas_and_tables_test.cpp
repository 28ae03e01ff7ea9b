// The canvas as a new user meets it: a table just drawn, or a cell double-clicked, takes
// typing at once, with the cell's lines drawn around the open editor; a shape just drawn
// shows resize knobs, so that its corner resizes it, and the toolbar's control-points
// button says what it does.
#include "tests/app/desktop/desktop_driver.h"

#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid.h"

#include <QToolButton>

namespace {

std::shared_ptr<VekObjGrid> onlyTableOf(const VekDocument &document)
{
    for (const auto &o : document.objects())
        if (auto table = std::dynamic_pointer_cast<VekObjGrid>(o))
            return table;
    return nullptr;
}

// How many of the path's points lie on the vertical line x (in the object's page coordinates).
int pointsAtX(const VekObject &object, float x)
{
    int count = 0;
    const BezierPath path = object.bezierPath();
    for (const PathElement &element : path.elements())
        if (element.kind != ClosePathBezierPathElement && std::abs(element.endPoint().x - x) < 0.5f)
            ++count;
    return count;
}

} // namespace

TEST_F(WindowTest, ATableTakesTypingRightAfterItIsDrawnAndAfterADoubleClickOnACell)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Table"));
    activate(window);
    canvas.drag({40, 40}, {340, 160});
    const auto table = onlyTableOf(window.document());
    ASSERT_TRUE(table);
    const auto cellText = [&](int column, int row) {
        const auto text = table->textOfCell(table->cellIDOfColumn(column, row));
        return text ? text->string() : QString();
    };
    const auto middleOf = [&](int column, int row) {
        const Rect cell = table->cellFrameOfColumn(column, row);
        return Point{cell.midX(), cell.midY()};
    };
    // Straight after the drag, the first cell is open.
    canvas.type(QStringLiteral("abc"));
    EXPECT_EQ(cellText(0, 0), QStringLiteral("abc"));
    // The open editor leaves the cell's lines visible: it lies inside the cell.
    ASSERT_TRUE(table->currentCellEditor());
    const Rect cell = table->cellFrameOfColumn(0, 0), editor = table->currentCellEditor()->frame();
    EXPECT_GT(editor.minX(), cell.minX());
    EXPECT_LT(editor.maxX(), cell.maxX());
    EXPECT_GT(editor.minY(), cell.minY());
    EXPECT_LT(editor.maxY(), cell.maxY());
    canvas.key(Qt::Key_Return);

    // Later, a double-click on another cell of the table opens that cell.
    canvas.click(450, 500);
    ASSERT_FALSE(canvas.view.editingObject());
    canvas.doubleClick(middleOf(1, 1).x, middleOf(1, 1).y);
    canvas.type(QStringLiteral("xyz"));
    EXPECT_EQ(cellText(1, 1), QStringLiteral("xyz"));
    canvas.key(Qt::Key_Return);

    const PropertyList cells = table->cells();
    undoAllThenRedoAll(
        canvas, [&] { EXPECT_FALSE(onlyTableOf(window.document())); },
        [&] {
            const auto again = onlyTableOf(window.document());
            ASSERT_TRUE(again);
            EXPECT_EQ(again->cells(), cells);
        });
}

TEST_F(WindowTest, AShapeJustDrawnResizesByItsCornerAndLaterShowsItsPoints)
{
    VekDocumentWindow &window = start();
    window.resize(1600, 960);
    activate(window);
    CanvasDriver canvas(window);
    ASSERT_TRUE(canvas.view.shouldDrawControlPoints());   // the toolbar's default
    drawRectangle(canvas, {40, 40}, {200, 120});
    const auto shape = window.document().objects().front();
    ASSERT_TRUE(shape->hasEditablePath());
    ASSERT_EQ(canvas.view.selectedObjects().size(), 1u);
    const Rect drawn = shape->bounds();

    // The corner knob resizes the whole shape: both right-hand corners move.
    canvas.drag({drawn.maxX(), drawn.maxY()}, {drawn.maxX() + 40, drawn.maxY() + 20});
    const Rect resized = shape->bounds();
    EXPECT_NEAR(resized.width(), drawn.width() + 40, 1);
    EXPECT_NEAR(resized.height(), drawn.height() + 20, 1);
    EXPECT_EQ(pointsAtX(*shape, resized.maxX()), 2);

    // Deselected and selected again, it shows its points: the corner drags one point.
    canvas.click(450, 500);
    canvas.click(resized.midX(), resized.midY());
    ASSERT_EQ(canvas.view.selectedObjects().size(), 1u);
    canvas.drag({resized.maxX(), resized.maxY()}, {resized.maxX() + 30, resized.maxY()});
    EXPECT_EQ(pointsAtX(*shape, shape->bounds().maxX()), 1);

    // The toolbar's button says so.
    auto *toggle = window.findChild<QToolButton *>(QStringLiteral("viewOption1"));
    ASSERT_TRUE(toggle);
    EXPECT_TRUE(toggle->toolTip().contains(QStringLiteral("resize knobs")));
}
