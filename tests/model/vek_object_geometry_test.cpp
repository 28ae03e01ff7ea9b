// Tests of VekObject's geometry: knobs, resizing through edges, hit tests on one and on
// repeated pages, path point selection and editing, bounds manipulation, repetition and
// the inspector's point rows.
#include "model/vek_obj_path.h"
#include "model/vek_object.h"

#include "fakes.h"
#include "geometry_fakes.h"
#include "platform/graphics/color_conversion.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"

#include <gtest/gtest.h>

namespace {

// A document of five 600 x 800 pages with a window.
class GeometryTest : public ::testing::Test {
protected:
    GeometryTest()
    {
        doc.pages = 5;
        doc.canvas.pages = 5;
    }

    std::shared_ptr<VekObject> adopted(const Rect &bounds)
    {
        auto object = VekObject::create();
        object->setBounds(bounds);
        doc.adopt(object);
        return object;
    }
    std::shared_ptr<EditableObject> adoptedPath(const BezierPath &path)
    {
        auto object = EditableObject::create();
        object->setBezierPath(path);
        doc.adopt(object);
        return object;
    }

    FakeDocument doc;
};

BezierPath openCurvePath()
{
    BezierPath path;
    path.moveToPoint({10, 10});
    path.lineToPoint({110, 10});
    path.curveToPoint({110, 110}, {150, 30}, {150, 90});
    return path;
}

} // namespace

// ---- Knobs ----

TEST(Knobs, SideFollowsTheZoom)
{
    const struct {
        int zoom;
        float side;
    } cases[] = {{25, 4}, {50, 4}, {100, 4}, {200, 4}, {400, 2}, {800, 1}, {1000, 1}, {3200, 1}};
    FakeCanvas canvas;
    for (const auto &c : cases) {
        canvas.zoom = c.zoom;
        EXPECT_FLOAT_EQ(VekObject::knobSize(&canvas), c.side) << "zoom " << c.zoom;
    }
    EXPECT_FLOAT_EQ(VekObject::knobSize(nullptr), 4);
}

TEST(Knobs, NumberedAroundTheBoundsAndHitByTheirSquares)
{
    auto object = VekObject::create();
    object->setBounds(Rect(10, 20, 100, 50));
    FakeCanvas canvas;
    canvas.zoom = 400;   // side 2
    const Point points[9] = {{}, {10, 20}, {60, 20}, {110, 20}, {10, 45}, {110, 45}, {10, 70}, {60, 70}, {110, 70}};
    for (int knob = 1; knob <= 8; ++knob) {
        EXPECT_EQ(object->knobRectFor(knob, &canvas), Rect(points[knob].x - 1, points[knob].y - 1, 2, 2)) << knob;
        EXPECT_EQ(object->knobUnderPoint({points[knob].x + 0.5f, points[knob].y - 0.5f}, &canvas), knob);
    }
    EXPECT_EQ(object->knobRectFor(0, &canvas), Rect());
    EXPECT_EQ(object->knobRectFor(9, &canvas), Rect());
    EXPECT_EQ(object->knobUnderPoint({60, 45}, &canvas), 0);
    EXPECT_EQ(object->knobUnderPoint({11.5f, 20}, &canvas), 0);   // just outside knob 1 at side 2
}

TEST(Knobs, FlipTables)
{
    const int horizontal[9] = {0, 3, 2, 1, 5, 4, 8, 7, 6};
    const int vertical[9] = {0, 6, 7, 8, 4, 5, 1, 2, 3};
    for (int knob = 0; knob <= 8; ++knob) {
        EXPECT_EQ(VekObject::flipKnob(knob, true), horizontal[knob]);
        EXPECT_EQ(VekObject::flipKnob(knob, false), vertical[knob]);
    }
}

TEST(Knobs, ResizingThroughTheOppositeEdgesFlipsAndContinuesWithTheMirroredKnob)
{
    auto object = VekObject::create();
    object->setBounds(Rect(100, 100, 50, 40));

    // Knob 8 pulled left of the left edge.
    int knob = object->resizeByMovingKnob(8, {80, 160});
    EXPECT_EQ(knob, 6);
    EXPECT_EQ(object->bounds(), Rect(80, 100, 20, 60));
    EXPECT_TRUE(object->flippedHorizontally());
    EXPECT_FALSE(object->flippedVertically());

    // Then up past the top.
    knob = object->resizeByMovingKnob(knob, {70, 90});
    EXPECT_EQ(knob, 1);
    EXPECT_EQ(object->bounds(), Rect(70, 90, 30, 10));
    EXPECT_TRUE(object->flippedVertically());

    // Exactly onto the opposite edges: sizes 0, no further flips.
    knob = object->resizeByMovingKnob(knob, {100, 100});
    EXPECT_EQ(knob, 1);
    EXPECT_EQ(object->bounds(), Rect(100, 100, 0, 0));
    EXPECT_TRUE(object->flippedHorizontally());
    EXPECT_TRUE(object->flippedVertically());

    // A middle knob keeps the other direction.
    object->setBounds(Rect(0, 0, 10, 10));
    EXPECT_EQ(object->resizeByMovingKnob(2, {500, 4}), 2);
    EXPECT_EQ(object->bounds(), Rect(0, 4, 10, 6));
}

TEST_F(GeometryTest, ResizeKnobsAreDrawnInOrderInTheKnobColour)
{
    MarkerShell shell;
    ScopedShell installed(shell);
    auto object = adopted(Rect(0, 0, 10, 20));
    object->drawResizeKnobsOnBounds(Rect(0, 0, 10, 20), &doc.canvas);
    ASSERT_EQ(doc.canvas.knobsDrawn.size(), 8u);
    EXPECT_EQ(doc.canvas.knobsDrawn[0].first, (Point{0, 0}));
    EXPECT_EQ(doc.canvas.knobsDrawn[4].first, (Point{10, 10}));
    EXPECT_EQ(doc.canvas.knobsDrawn[7].first, (Point{10, 20}));
    for (const auto &[point, color] : doc.canvas.knobsDrawn)
        EXPECT_EQ(color, shell.knobColor());
}

// ---- Hit testing ----

TEST_F(GeometryTest, HitInsideAndOnTheStrokeButNotBeyondIt)
{
    auto object = adopted(Rect(100, 100, 50, 50));   // line width 1: drawing bounds grow by 3
    EXPECT_TRUE(object->containsPoint({125, 125}, false));
    EXPECT_TRUE(object->containsPoint({98, 125}, false));
    EXPECT_TRUE(object->containsPoint({152.5f, 152.5f}, false));
    EXPECT_FALSE(object->containsPoint({153, 125}, false));   // the far edge is outside
    EXPECT_FALSE(object->containsPoint({96, 125}, false));
}

TEST_F(GeometryTest, ExtendedHitCoversTheControlPointsOnlyWhenSelected)
{
    auto object = adoptedPath(openCurvePath());   // control points reach x = 150, bounds less
    const Point nearControl{152, 50};
    ASSERT_LT(object->drawingBounds().maxX(), 152);
    EXPECT_FALSE(object->containsPoint(nearControl, true));
    doc.canvas.selected = {object.get()};
    EXPECT_TRUE(object->containsPoint(nearControl, true));
    EXPECT_FALSE(object->containsPoint(nearControl, false));
}

TEST_F(GeometryTest, RepeatedObjectsAreHitOnTheirPagesOnly)
{
    auto object = adopted(Rect(100, 100, 50, 50));
    const auto onPage = [](int page) { return Point{125, 125 + float(page - 1) * 800}; };
    const struct {
        int type, start, end;
        bool hits[5];
    } cases[] = {
        {1, 1, 0, {true, false, true, false, true}},
        {2, 1, 0, {false, true, false, true, false}},
        {3, 1, 0, {true, true, true, true, true}},
        {3, 2, 4, {false, true, true, true, false}},
        {1, 1, 3, {true, false, true, false, false}},
    };
    for (const auto &c : cases) {
        object->setRepeatType(c.type);
        object->setRepeatStart(c.start);
        object->setRepeatEnd(c.end);
        for (int page = 1; page <= 5; ++page)
            EXPECT_EQ(object->containsPoint(onPage(page), false), c.hits[page - 1])
                << "type " << c.type << " start " << c.start << " end " << c.end << " page " << page;
        object->setRepeatType(0);
    }
    // A point beside the object on a page where it repeats misses.
    object->setRepeatType(3);
    EXPECT_FALSE(object->containsPoint({300, 125 + 1600}, false));
}

TEST(HitTest, RepeatingObjectWithoutPagesIsTestedWhereItIs)
{
    FakeDocument doc;
    doc.pageSize = {0, 0};   // no usable page height: no division by zero, no pages
    auto object = VekObject::create();
    object->setBounds(Rect(0, 0, 10, 10));
    doc.adopt(object);
    object->setRepeatType(3);
    EXPECT_TRUE(object->containsPoint({5, 5}, false));
    EXPECT_FALSE(object->containsPoint({5, 805}, false));
}

// ---- Path points ----

TEST_F(GeometryTest, PathPointUnderTheMouseIsFoundAndSelected)
{
    auto object = adoptedPath(openCurvePath());
    PostCounter posts(object.get());
    int element = 7, point = 7;
    EXPECT_TRUE(object->bezierPathElementUnderPointSelectedElementNrPointNr(nullptr, {150, 89}, &element, &point));
    EXPECT_EQ(element, 2);
    EXPECT_EQ(point, 1);
    EXPECT_EQ(object->selectedElementNr(), 2);
    EXPECT_EQ(object->selectedPointNr(), 1);

    // A miss clears the selection and leaves the out-arguments alone.
    EXPECT_FALSE(object->bezierPathElementUnderPointSelectedElementNrPointNr(nullptr, {60, 60}, &element, &point));
    EXPECT_EQ(element, 2);
    EXPECT_EQ(object->selectedElementNr(), -1);
    EXPECT_EQ(object->selectedPointNr(), -1);
    EXPECT_EQ(posts[VekObjectPathSelectionDidChangeNotification], 2);
}

TEST_F(GeometryTest, PathPointOfARepeatedObjectIsFoundOnItsPage)
{
    auto object = adoptedPath(openCurvePath());
    object->setRepeatType(3);
    int element = -1, point = -1;
    EXPECT_TRUE(object->bezierPathElementUnderPointSelectedElementNrPointNr(nullptr, {110, 10 + 2 * 800}, &element,
                                                                            &point));
    EXPECT_EQ(element, 1);
    EXPECT_EQ(point, 0);
}

TEST_F(GeometryTest, SelectionIsNormalisedToTheElementKind)
{
    BezierPath path = openCurvePath();
    path.closePath();
    auto object = adoptedPath(path);
    const struct {
        int element, point, wantElement, wantPoint;
    } cases[] = {
        {2, 2, 2, 2}, {2, 1, 2, 1}, {2, 5, 2, 0}, {2, -1, 2, 0},   // curve
        {1, 2, 1, 0}, {0, -1, 0, 0},                              // line, move
        {3, 0, 3, -1},                                            // close path
        {4, 0, -1, -1}, {-1, 0, -1, -1}, {-3, 1, -1, -1},         // out of range
    };
    PostCounter posts(object.get());
    for (const auto &c : cases) {
        object->setSelectedElementNr(c.element, c.point);
        EXPECT_EQ(object->selectedElementNr(), c.wantElement) << c.element << "," << c.point;
        EXPECT_EQ(object->selectedPointNr(), c.wantPoint) << c.element << "," << c.point;
    }
    EXPECT_EQ(posts[VekObjectPathSelectionDidChangeNotification], int(std::size(cases)));
}

TEST_F(GeometryTest, SelectingRedrawsTheNewAndTheOldPoint)
{
    auto object = adoptedPath(openCurvePath());
    object->setSelectedElementNr(2, 2);   // end point (110, 110)
    doc.canvas.needsDisplay.clear();
    object->setSelectedElementNr(1, 0);   // line point (110, 10)
    ASSERT_EQ(doc.canvas.needsDisplay.size(), 2u);
    EXPECT_EQ(doc.canvas.needsDisplay[0], Rect(106, 6, 8, 8));
    EXPECT_EQ(doc.canvas.needsDisplay[1], Rect(106, 106, 8, 8));   // where the old marker was
}

TEST_F(GeometryTest, DraggingAPathPointReshapesThePathAndTheBounds)
{
    auto object = adoptedPath(openCurvePath());
    object->dragPathPointNr(0, 1, {200, 10});
    EXPECT_EQ(object->bezierPath().element(1).points[0], (Point{200, 10}));
    EXPECT_EQ(object->bounds(), object->bezierPath().bounds());
    EXPECT_FLOAT_EQ(object->bounds().maxX(), 200);

    // On a repeated page the point is dragged where it is shown.
    object->setRepeatType(3);
    doc.canvas.page = 3;
    doc.canvas.visible = doc.canvas.rectForPage(3);
    object->dragPathPointNr(0, 0, {20, 20 + 1600});
    EXPECT_EQ(object->bezierPath().element(0).points[0], (Point{20, 20}));

    // Out of range does nothing.
    const BezierPath before = object->bezierPath();
    object->dragPathPointNr(0, 9, {0, 0});
    object->dragPathPointNr(3, 1, {0, 0});
    EXPECT_EQ(object->bezierPath().elements().size(), before.elements().size());
    EXPECT_EQ(object->bezierPath().element(1).points[0], before.element(1).points[0]);
}

TEST_F(GeometryTest, RemovingAnElementMovesTheSelection)
{
    auto object = adoptedPath(openCurvePath());
    object->setSelectedElementNr(2, 2);
    ASSERT_TRUE(object->removeElementNr(2));
    EXPECT_EQ(object->bezierPath().elementCount(), 2);
    EXPECT_EQ(object->selectedElementNr(), 1);
    EXPECT_EQ(object->selectedPointNr(), 0);
    EXPECT_EQ(object->bounds(), Rect(10, 10, 100, 0));

    EXPECT_FALSE(object->removeElementNr(2));
    EXPECT_FALSE(object->removeElementNr(-1));
    auto plain = adopted(Rect(0, 0, 10, 10));   // no editable path
    EXPECT_FALSE(plain->removeElementNr(0));
}

// ---- Bounds and the manipulation bracket ----

TEST_F(GeometryTest, SetBoundsIsUndoableAndNotifiesOnce)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    doc.undo.closeEventGroup();
    PostCounter posts(object.get());
    object->setBounds(Rect(5, 5, 20, 20));
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 1);
    object->setBounds(Rect(5, 5, 20, 20));
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 1);
    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(0, 0, 10, 10));
    doc.undo.redo();
    EXPECT_EQ(object->bounds(), Rect(5, 5, 20, 20));

    // Without a window: undoable, but silent.
    doc.window = false;
    posts.clear();
    object->setBounds(Rect(1, 1, 1, 1));
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 0);
    EXPECT_EQ(posts[VekObjectDidChangeNotification], 0);
    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(5, 5, 20, 20));
}

TEST_F(GeometryTest, AManipulationIsOneUndoStepWithOneBoundsNotification)
{
    auto object = adoptedPath(openCurvePath());
    const Rect start = object->bounds();
    doc.undo.closeEventGroup();
    PostCounter posts(object.get());

    object->startBoundsManipulation();
    for (int i = 1; i <= 10; ++i)
        object->setBounds(Rect(start.origin.x + float(i), start.origin.y, start.width() + float(i), start.height()));
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 0);
    EXPECT_FALSE(doc.undo.canUndo());
    object->stopBoundsManipulation();
    doc.undo.closeEventGroup();

    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 1);
    EXPECT_EQ(object->bezierPath().bounds(), object->bounds());
    doc.undo.undo();
    EXPECT_EQ(object->bounds(), start);
    EXPECT_EQ(object->bezierPath().bounds(), start);
    EXPECT_FALSE(doc.undo.canUndo());
}

TEST_F(GeometryTest, AManipulationWithoutAChangeLeavesNoTrace)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    doc.undo.closeEventGroup();
    PostCounter posts(object.get());
    object->startBoundsManipulation();
    object->setBounds(Rect(3, 3, 3, 3));
    object->setBounds(Rect(0, 0, 10, 10));
    object->stopBoundsManipulation();
    object->stopBoundsManipulation();   // without a start: nothing
    EXPECT_FALSE(doc.undo.canUndo());
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 0);
    EXPECT_FALSE(object->manipulatingBounds());
}

TEST_F(GeometryTest, SetBoundsSimplyAsFitsThePathSilently)
{
    auto object = adoptedPath(openCurvePath());
    doc.undo.closeEventGroup();
    PostCounter posts(object.get());
    object->setBoundsSimplyAs(Rect(0, 0, 70, 50));
    EXPECT_EQ(object->bezierPath().bounds(), Rect(0, 0, 70, 50));
    EXPECT_FALSE(doc.undo.canUndo());
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 0);
}

// ---- Repetition on pages ----

TEST_F(GeometryTest, RepeatingMovesTheObjectToPageOneAndUndoPutsItBack)
{
    auto object = adopted(Rect(50, 2 * 800 + 100, 40, 30));   // on page 3
    object->setRepeatEnd(2);
    object->setRepeatStart(1);
    doc.undo.closeEventGroup();

    object->setRepeatType(1);
    doc.undo.closeEventGroup();
    EXPECT_EQ(object->repeatType(), 1);
    EXPECT_EQ(object->bounds(), Rect(50, 100, 40, 30));
    EXPECT_EQ(object->repeatStartPage(), 3);
    EXPECT_EQ(object->repeatEndPage(), 5);   // the old end 2 lay before the new start

    doc.undo.undo();
    EXPECT_EQ(object->repeatType(), 0);
    EXPECT_EQ(object->bounds(), Rect(50, 1700, 40, 30));
    EXPECT_EQ(object->repeatStartPage(), 1);
    EXPECT_EQ(object->repeatEndPage(), 2);

    doc.undo.redo();
    EXPECT_EQ(object->repeatType(), 1);
    EXPECT_EQ(object->bounds(), Rect(50, 100, 40, 30));
    EXPECT_EQ(object->repeatStartPage(), 3);
    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(50, 1700, 40, 30));
}

TEST_F(GeometryTest, RepeatingThroughTheLastPageKeepsThatSetting)
{
    auto object = adopted(Rect(50, 800 + 100, 40, 30));   // page 2, end 0
    object->setRepeatType(3);
    EXPECT_EQ(object->repeatStartPage(), 2);
    doc.pages = 7;
    EXPECT_EQ(object->repeatEndPage(), 7);
}

TEST_F(GeometryTest, EndingTheRepetitionMovesTheObjectToItsStartPageAndUndoBringsItBack)
{
    auto object = adopted(Rect(50, 2 * 800 + 100, 40, 30));
    object->setRepeatType(3);   // now on page 1, from page 3
    doc.undo.closeEventGroup();

    object->setRepeatType(0);
    doc.undo.closeEventGroup();
    EXPECT_EQ(object->bounds(), Rect(50, 1700, 40, 30));
    EXPECT_FALSE(doc.canvas.displayed.empty());

    doc.undo.undo();
    EXPECT_EQ(object->repeatType(), 3);
    EXPECT_EQ(object->bounds(), Rect(50, 100, 40, 30));
    doc.undo.undo();
    EXPECT_EQ(object->repeatType(), 0);
    EXPECT_EQ(object->bounds(), Rect(50, 1700, 40, 30));
}

TEST(Repetition, WithoutACanvasOnlyTheTypeChangesAndUndoStillRestoresIt)
{
    FakeDocument doc;
    doc.window = false;
    doc.pages = 4;
    auto object = VekObject::create();
    object->setBounds(Rect(0, 2000, 10, 10));
    doc.adopt(object);
    doc.undo.closeEventGroup();
    object->setRepeatType(3);
    EXPECT_EQ(object->repeatType(), 3);
    EXPECT_EQ(object->bounds(), Rect(0, 2000, 10, 10));
    doc.undo.undo();
    EXPECT_EQ(object->repeatType(), 0);
    EXPECT_FALSE(doc.undo.canUndo());
}

TEST_F(GeometryTest, ObjectOnPageOneStaysWhereItIs)
{
    auto object = adopted(Rect(50, 100, 40, 30));
    object->setRepeatType(2);
    EXPECT_EQ(object->bounds(), Rect(50, 100, 40, 30));
    EXPECT_EQ(object->repeatStartPage(), 1);
}

TEST_F(GeometryTest, PagesOnWhichARepeatedObjectIsDrawn)
{
    auto object = adopted(Rect(50, 100, 40, 30));
    const Rect page2 = doc.canvas.rectForPage(2);
    EXPECT_FALSE(object->shouldDrawOnPage(2, page2));
    EXPECT_TRUE(object->shouldDrawOnPage(1, doc.canvas.rectForPage(1)));
    object->setRepeatType(2);
    object->setRepeatEnd(4);
    EXPECT_TRUE(object->shouldDrawOnPage(2, page2));
    EXPECT_FALSE(object->shouldDrawOnPage(3, doc.canvas.rectForPage(3)));
    EXPECT_TRUE(object->shouldDrawOnPage(4, doc.canvas.rectForPage(4)));
    EXPECT_FALSE(object->shouldDrawOnPage(6, doc.canvas.rectForPage(6)));

    EXPECT_EQ(object->boundsOnPage(3, page2), Rect(50, 1700, 40, 30));
    EXPECT_EQ(object->bezierPathOnPage(3, page2).bounds(), Rect(50, 1700, 40, 30));
    EXPECT_EQ(object->bezierPathOnPage(1, page2).bounds(), object->bounds());

    doc.canvas.page = 4;
    EXPECT_EQ(object->boundsInVisibleRect(doc.canvas.rectForPage(4), &doc.canvas), Rect(50, 2500, 40, 30));
    EXPECT_EQ(object->boundsInVisibleRect(doc.canvas.rectForPage(1), &doc.canvas), object->bounds());
}

TEST_F(GeometryTest, PathDrawnOnTheCurrentPage)
{
    auto object = adoptedPath(openCurvePath());
    float offset = -1;
    EXPECT_EQ(object->actuallyDrawnPath(&offset).bounds(), object->bounds());
    EXPECT_EQ(offset, 0);

    object->setRepeatType(3);
    doc.canvas.page = 3;
    doc.canvas.visible = doc.canvas.rectForPage(3);
    EXPECT_EQ(object->actuallyDrawnPath(&offset).bounds(), offsetRect(object->bounds(), 0, 1600));
    EXPECT_EQ(offset, 1600);

    // A path that reaches left of the page is still shown on the current page.
    object->moveBy(-50, 0);
    object->actuallyDrawnPath(&offset);
    EXPECT_EQ(offset, 1600);
}

// ---- Selection markers ----

TEST_F(GeometryTest, ControlPointsReplaceTheKnobsAndAreColouredByTheirRole)
{
    MarkerShell shell;
    ScopedShell installed(shell);
    auto object = adoptedPath(openCurvePath());
    object->setSelectedElementNr(2, 1);
    doc.canvas.controlPoints = true;
    doc.canvas.controlLines = true;

    RecordingPaintDevice device(QSize(300, 300));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        object->drawSelectionMarkersFor(object->bounds(), &doc.canvas);
    }
    EXPECT_TRUE(doc.canvas.knobsDrawn.empty());

    // One dashed control-line stroke, then each point as a filled and framed oval.
    const auto &draws = device.draws();
    ASSERT_EQ(draws.size(), 1u + 5u * 2u);
    EXPECT_TRUE(draws[0].isStroke());
    EXPECT_EQ(draws[0].pen.color(), toQColor(shell.ctrlLineColor()));
    EXPECT_FALSE(draws[0].pen.dashPattern().isEmpty());

    const Color expected[5] = {shell.ctrlPtBColor(), shell.ctrlPtOColor(), shell.ctrlPtsColor(),
                               shell.ctrlPtCColor(), shell.ctrlPtEColor()};
    const Point centres[5] = {{10, 10}, {110, 10}, {150, 30}, {150, 90}, {110, 110}};
    for (int i = 0; i < 5; ++i) {
        const RecordedDraw &fill = draws[size_t(1 + 2 * i)];
        EXPECT_TRUE(fill.isFill());
        EXPECT_EQ(fill.brush.color(), toQColor(expected[i])) << i;
        const QRectF square = fill.path.boundingRect();
        EXPECT_NEAR(square.center().x(), centres[i].x, 0.5) << i;
        EXPECT_NEAR(square.center().y(), centres[i].y, 0.5) << i;
        EXPECT_TRUE(draws[size_t(2 + 2 * i)].isStroke());
    }
}

TEST_F(GeometryTest, WithoutControlPointsTheKnobsAreDrawn)
{
    auto object = adoptedPath(openCurvePath());
    RecordingPaintDevice device(QSize(300, 300));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        object->drawSelectionMarkersFor(object->bounds(), &doc.canvas);
    }
    EXPECT_EQ(doc.canvas.knobsDrawn.size(), 8u);
    EXPECT_TRUE(device.draws().empty());
}

// ---- The inspector's rows ----

TEST_F(GeometryTest, PointRowsInTheThreeReferenceModes)
{
    BezierPath path = openCurvePath();
    path.closePath();
    auto object = adoptedPath(path);
    object->moveBy(0, 800);   // onto page 2: page coordinates differ from canvas ones

    EXPECT_EQ(object->pointArrayRelativeTo(0),
              QStringList({"10.00,810.00,M,0,0", "110.00,810.00,L,1,0", "150.00,830.00,C,2,0",
                           "150.00,890.00, ,2,1", "110.00,910.00, ,2,2", " , ,Z,3,-1"}));
    EXPECT_EQ(object->pointArrayRelativeTo(1).first(), "10.00,10.00,M,0,0");
    EXPECT_EQ(object->pointArrayRelativeTo(2),
              QStringList({"0.00,0.00,M,0,0", "100.00,0.00,L,1,0", "140.00,20.00,C,2,0", "140.00,80.00, ,2,1",
                           "100.00,100.00, ,2,2", " , ,Z,3,-1"}));
    EXPECT_TRUE(VekObject::create()->pointArrayRelativeTo(0).size() == 5);   // the bounds rectangle
}

TEST_F(GeometryTest, AResizeDragThatFlipsTheObjectStaysOneStepWithOneChange)
{
    auto object = VekObjPath::create();
    object->setBezierPath(BezierPath::bezierPathWithRect(Rect(100, 100, 50, 40)));
    object->setBounds(Rect(100, 100, 50, 40));
    doc.adopt(object);
    doc.undo.closeEventGroup();
    PostCounter posts(object.get());

    // Knob 8 (bottom right) pulled left across the left edge and on: the object flips
    // inside the drag, whose bracket must stay open.
    object->startBoundsManipulation();
    int knob = 8;
    for (Point p : {Point{120, 150}, Point{80, 150}, Point{60, 160}})
        knob = object->resizeByMovingKnob(knob, p);
    EXPECT_TRUE(object->manipulatingBounds());
    object->stopBoundsManipulation();
    doc.undo.closeEventGroup();

    EXPECT_FALSE(object->manipulatingBounds());
    EXPECT_EQ(object->bounds(), Rect(60, 100, 40, 60));
    EXPECT_TRUE(object->flippedHorizontally());
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 1);
    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(100, 100, 50, 40));
    EXPECT_FALSE(object->flippedHorizontally());
    EXPECT_EQ(object->bezierPath().bounds(), Rect(100, 100, 50, 40));
    EXPECT_FALSE(doc.undo.canUndo());
}
