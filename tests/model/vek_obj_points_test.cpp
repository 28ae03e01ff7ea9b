// The point pen: creation by a drag or a click, editing by drags and three-click curves,
// the pen's markers, and hit tests of the result.
#include "model/vek_obj_points.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "tests/model/fakes.h"
#include "tests/model/geometry_fakes.h"

#include <gtest/gtest.h>

namespace {

MouseEvent press(Point p, int clickCount = 1) { return {EventType::LeftMouseDown, p, 0, clickCount}; }

struct ElementSpec {
    BezierPathElement kind;
    std::vector<Point> points;
};

void expectElements(const BezierPath &path, const std::vector<ElementSpec> &expected)
{
    ASSERT_EQ(path.elementCount(), int(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(path.element(int(i)).kind, expected[i].kind) << "element " << i;
        for (size_t k = 0; k < expected[i].points.size(); ++k)
            EXPECT_EQ(path.element(int(i)).points[k], expected[i].points[k]) << "element " << i << " point " << k;
    }
}

class PointPen : public ::testing::Test {
protected:
    void SetUp() override
    {
        pen = VekObjPoints::create();
        doc.adopt(pen);
    }
    FakeCanvas &canvas() { return doc.canvas; }

    // A press at `from` with drags through `through`, released at `to`.
    void script(const std::vector<Point> &through, Point to)
    {
        for (Point p : through)
            canvas().events.drag(p);
        canvas().events.up(to);
    }
    bool create(Point from, const std::vector<Point> &through, Point to)
    {
        script(through, to);
        return pen->createWithEvent(press(from), &canvas());
    }
    void edit(Point from, const std::vector<Point> &through, Point to, int clickCount = 1)
    {
        script(through, to);
        pen->startEditingWithEvent(press(from, clickCount), &canvas());
    }
    void click(Point p) { edit(p, {}, p); }

    FakeDocument doc;
    std::shared_ptr<VekObjPoints> pen;
};

} // namespace

TEST_F(PointPen, ADragMakesOneSnappedSegmentAndAClickAPointPair)
{
    EXPECT_TRUE(create({10.2f, 20.7f}, {{30, 30}, {60.4f, 45}, {80, 50}}, {100.9f, 60.1f}));
    expectElements(pen->bezierPath(), {{MoveToBezierPathElement, {{10.5f, 20.5f}}},
                                       {LineToBezierPathElement, {{100.5f, 60.5f}}}});
    EXPECT_EQ(pen->bounds(), Rect(10.5f, 20.5f, 90, 40));
    EXPECT_FALSE(pen->manipulatingBounds());
    EXPECT_EQ(canvas().events.masksAsked.front(), DragOrUpMask);

    auto clicked = VekObjPoints::create();
    canvas().events.up({40.2f, 40.2f});
    EXPECT_TRUE(clicked->createWithEvent(press({40.2f, 40.2f}), &canvas()));
    expectElements(clicked->bezierPath(), {{MoveToBezierPathElement, {{40.5f, 40.5f}}},
                                           {LineToBezierPathElement, {{40.5f, 40.5f}}}});
}

TEST_F(PointPen, DragsContinueFromThePathsEndAndDropTheClickedPair)
{
    canvas().events.up({40, 40});
    ASSERT_TRUE(pen->createWithEvent(press({40, 40}), &canvas()));
    // The press is away from the end: the new segment still starts at the path's end.
    edit({200, 10}, {{210, 20}, {230, 40}}, {250, 60});
    expectElements(pen->bezierPath(), {{MoveToBezierPathElement, {{40.5f, 40.5f}}},
                                       {LineToBezierPathElement, {{250, 60}}}});
    EXPECT_EQ(pen->bounds(), pen->bezierPath().bounds());
    EXPECT_EQ(canvas().editingObject(), pen);
}

TEST_F(PointPen, ThreeClicksAddOneCurveAndNothingElse)
{
    ASSERT_TRUE(create({10, 10}, {}, {100, 10}));
    edit({100, 10}, {{120, 30}}, {150, 60});   // a second real segment
    const Point a{180, 0}, b{220, 100}, c{260, 60};

    click(a);
    // A click with jitter while the button is down still only places a control point.
    edit(b, {{b.x + 1, b.y + 1}, {b.x - 1, b.y}}, b);
    EXPECT_EQ(pen->ctrlP1(), a);
    EXPECT_EQ(pen->ctrlP2(), b);
    EXPECT_EQ(pen->bezierPath().elementCount(), 3);   // no stray elements in between

    doc.undo.closeEventGroup();
    click(c);
    expectElements(pen->bezierPath(), {{MoveToBezierPathElement, {{10.5f, 10.5f}}},
                                       {LineToBezierPathElement, {{100.5f, 10.5f}}},
                                       {LineToBezierPathElement, {{150, 60}}},
                                       {CurveToBezierPathElement, {a, b, c}}});
    EXPECT_EQ(pen->ctrlP1(), NoPoint);
    EXPECT_EQ(pen->ctrlP2(), NoPoint);
    EXPECT_EQ(pen->bounds(), pen->bezierPath().bounds());

    doc.undo.closeEventGroup();
    doc.undo.undo();
    EXPECT_EQ(pen->bezierPath().elementCount(), 3);
}

TEST_F(PointPen, AClickNearTheEndAndADoubleClickAddNoPoint)
{
    ASSERT_TRUE(create({10, 10}, {}, {100, 10}));
    const BezierPath before = pen->bezierPath();
    edit({60, 60}, {}, {60, 60}, 2);
    EXPECT_EQ(pen->ctrlP1(), NoPoint);
    EXPECT_EQ(canvas().editingObject(), pen);
    EXPECT_EQ(canvas().events.events.size(), 1u);   // the double click did not track

    canvas().events.events.clear();
    click({101.5f, 11});   // within 2 of the end: the control point snaps onto it
    EXPECT_EQ(pen->ctrlP1(), (Point{100.5f, 10.5f}));
    EXPECT_EQ(pen->bezierPath().elementCount(), before.elementCount());

    pen->endEditingInView(&canvas());
    EXPECT_EQ(canvas().editingObject(), nullptr);
}

TEST_F(PointPen, SetBezierPathDropsOnlyALeadingDuplicatePoint)
{
    BezierPath duplicate;
    duplicate.moveToPoint({5, 5});
    duplicate.lineToPoint({5, 5});
    duplicate.lineToPoint({50, 20});
    pen->setBezierPath(duplicate);
    expectElements(pen->bezierPath(), {{MoveToBezierPathElement, {{5, 5}}}, {LineToBezierPathElement, {{50, 20}}}});

    BezierPath distinct;
    distinct.moveToPoint({5, 5});
    distinct.lineToPoint({6, 5});
    distinct.lineToPoint({50, 20});
    pen->setBezierPath(distinct);
    EXPECT_EQ(pen->bezierPath().elementCount(), 3);
}

TEST_F(PointPen, MarkersWhileThePenIsSelectedAndHitTests)
{
    struct PenShell : MarkerShell {
        int tool = 3;
        int selectedTool() const override { return tool; }
    } shell;
    ScopedShell scoped(shell);
    ASSERT_TRUE(create({10, 10}, {}, {100, 10}));
    click({150, 80});

    const auto markerFills = [&] {
        RecordingPaintDevice device(QSize(300, 300));
        {
            GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
            GraphicsContext::Scope scope(context);
            pen->drawInViewIsSelected(&canvas(), false);
        }
        std::vector<QColor> fills;
        for (const RecordedDraw &draw : device.draws())
            if (draw.isFill() && draw.devicePath.boundingRect().width() <= 3.01)
                fills.push_back(draw.brush.color());
        return std::pair(fills, device.draws().size());
    };
    const auto [fills, draws] = markerFills();
    // The current point and the first point are filled; the pending control point is framed only.
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_NEAR(fills[0].redF(), 0.4, 0.01);   // MarkerShell's ctrlPtCColor
    EXPECT_NEAR(fills[1].redF(), 0.5, 0.01);   // and ctrlPtBColor

    shell.tool = 0;
    EXPECT_LT(markerFills().second, draws);

    EXPECT_TRUE(pen->containsPoint({55, 10.5f}, false));
    EXPECT_FALSE(pen->containsPoint({55, 60}, false));
}

TEST_F(PointPen, EditingThroughTheBaseInterfacePlacesControlPoints)
{
    // The canvas holds objects as VekObject and edits through their editing interface.
    ASSERT_TRUE(create({10, 10}, {}, {100, 10}));
    std::shared_ptr<VekObject> object = pen;
    ObjectEditing *editing = object->editing();
    ASSERT_NE(editing, nullptr);
    canvas().events.up({150, 80});
    editing->startEditingWithEvent(press({150, 80}), &canvas());
    EXPECT_EQ(pen->ctrlP1(), (Point{150, 80}));
    canvas().events.up({170, 90});
    editing->editWithEvent(press({170, 90}), &canvas());
    EXPECT_EQ(pen->ctrlP2(), (Point{170, 90}));
    EXPECT_EQ(pen->bezierPath().elementCount(), 2);   // no line point was added
    editing->endEditingInView(&canvas());
    EXPECT_EQ(canvas().editingObject(), nullptr);
    // Kinds that are not edited in place answer no editing.
    EXPECT_EQ(VekObject::create()->editing(), nullptr);
}
