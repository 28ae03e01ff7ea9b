// Free-hand strokes and markers: capture, thinning, smoothing, colour numbers, the
// dictionary key, drawing and hit tests.
#include "model/vek_obj_marker.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "tests/model/fakes.h"
#include "tests/model/geometry_fakes.h"
#include "toolkit/path_measure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

MouseEvent press(Point p) { return {EventType::LeftMouseDown, p}; }

class FreeHand : public ::testing::Test {
protected:
    // Drags through the points after the first, which is the press, and releases at the last.
    bool stroke(VekObjFree &object, const std::vector<Point> &points)
    {
        for (size_t i = 1; i + 1 < points.size(); ++i)
            doc.canvas.events.drag(points[i]);
        doc.canvas.events.up(points.back());
        return object.createWithEvent(press(points.front()), &doc.canvas);
    }
    static bool finite(const BezierPath &path)
    {
        for (const PathElement &element : path.elements())
            for (int k = 0; k < element.pointCount(); ++k)
                if (!std::isfinite(element.points[k].x) || !std::isfinite(element.points[k].y))
                    return false;
        return true;
    }

    FakeDocument doc;
};

// Points on a straight line from (x0, y) heading in `direction` (+1 right, -1 left).
std::vector<Point> straightStroke(float x0, float y, float direction, int count)
{
    std::vector<Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({x0 + direction * 10.0f * float(i), y + (i % 2 ? 0.3f : -0.3f)});
    return points;
}

} // namespace

TEST_F(FreeHand, AClickGivesAMoveAndOneLine)
{
    auto object = VekObjFree::create();
    doc.adopt(object);
    EXPECT_TRUE(stroke(*object, {{50, 50}, {50, 50}}));
    const BezierPath path = object->bezierPath();
    ASSERT_EQ(path.elementCount(), 2);
    EXPECT_EQ(path.element(1).kind, LineToBezierPathElement);
    EXPECT_FALSE(object->manipulatingBounds());
}

TEST_F(FreeHand, StraightStrokesAreThinnedInEitherDirection)
{
    // Heading left, directions lie near +-pi, where an unwrapped difference reads as a full turn.
    for (float direction : {1.0f, -1.0f}) {
        auto object = VekObjFree::create();
        doc.adopt(object);
        const std::vector<Point> points = straightStroke(300, 100, direction, 30);
        ASSERT_TRUE(stroke(*object, points));
        const BezierPath path = object->bezierPath();
        // A straight stroke thins down to its two ends.
        EXPECT_EQ(path.elementCount(), 2) << "direction " << direction;
        EXPECT_TRUE(finite(path));
        // The kept points are newest first: the path runs from the end of the stroke back.
        EXPECT_LT(distanceBetweenPoints(firstPoint(path), points.back()), 1.0f) << "direction " << direction;
        EXPECT_EQ(object->bounds(), path.bounds());
    }
}

TEST_F(FreeHand, CornersSurviveAndTheResultIsARefinedPolyline)
{
    auto object = VekObjFree::create();
    doc.adopt(object);
    std::vector<Point> zigzag;
    for (int i = 0; i <= 8; ++i)
        zigzag.push_back({20.0f + 30 * float(i), i % 2 ? 150.0f : 50.0f});
    zigzag.push_back(zigzag.back());   // the mouse-up repeats the last drag point
    ASSERT_TRUE(stroke(*object, zigzag));
    const BezierPath path = object->bezierPath();
    EXPECT_TRUE(finite(path));
    ASSERT_GT(path.elementCount(), 9);
    EXPECT_EQ(path.elementCount() % 2, 0);   // four-point refinement doubles the points
    EXPECT_EQ(path.element(0).kind, MoveToBezierPathElement);
    for (int i = 1; i < path.elementCount(); ++i)
        EXPECT_EQ(path.element(i).kind, LineToBezierPathElement);
    // The corners are still reached.
    EXPECT_LT(path.bounds().minY(), 55);
    EXPECT_GT(path.bounds().maxY(), 145);
    EXPECT_TRUE(object->containsPoint(path.element(4).points[0], false));
}

TEST(Marker, TakesThePalettesChoicesAndTheShellsColours)
{
    struct Palette : ShellServices {
        int colorNr = 3;
        int currentMarkerColorNr() const override { return colorNr; }
        float currentMarkerThickness() const override { return 12; }
        Color markerColor(int number) const override { return Color::colorWithDeviceRed(0.1f * float(number), 1, 0); }
    } palette;
    ScopedShell scoped(palette);
    auto marker = VekObjMarker::create();
    EXPECT_EQ(marker->colorNr(), 3);
    EXPECT_EQ(marker->lineWidth(), 12);
    EXPECT_TRUE(marker->noShadow());
    EXPECT_EQ(marker->note(), QStringLiteral("M"));
    marker->setExclusive(true);
    EXPECT_FALSE(marker->isExclusive());
    marker->setDrawsStroke(false);
    EXPECT_TRUE(marker->drawsStroke());
    EXPECT_EQ(marker->strokeColor(), Color::colorWithDeviceRed(0.3f, 1, 0));

    palette.colorNr = 9;
    EXPECT_EQ(VekObjMarker::create()->colorNr(), 5);
}

TEST_F(FreeHand, MarkerColourNumbersAreClampedAndUndoable)
{
    auto marker = VekObjMarker::create();
    doc.adopt(marker);
    const struct {
        int given, stored;
        bool undoable;
    } cases[] = {{0, 1, false}, {9, 5, true}, {7, 5, false}, {2, 2, true}};
    for (const auto &c : cases) {
        doc.undo.removeAllActions();
        marker->setColorNr(c.given);
        doc.undo.closeEventGroup();
        EXPECT_EQ(marker->colorNr(), c.stored) << c.given;
        EXPECT_EQ(doc.undo.canUndo(), c.undoable) << c.given;
    }
    doc.undo.undo();
    EXPECT_EQ(marker->colorNr(), 5);
}

TEST_F(FreeHand, MarkerDictionaryFormAndCopyKeepTheNumber)
{
    auto marker = VekObjMarker::create();
    ASSERT_TRUE(stroke(*marker, {{10, 10}, {40, 30}, {80, 20}, {120, 60}}));
    marker->setColorNr(4);
    const PropertyList dict = marker->propertyListRepresentation();
    EXPECT_EQ(dict.value(QStringLiteral("class")).stringValue(), QStringLiteral("VekObjMarker"));
    EXPECT_EQ(dict.value(QStringLiteral("markerColor")).intValue(), 4);

    auto read = VekObjMarker::create();
    read->loadPropertyListRepresentation(dict);
    EXPECT_EQ(read->colorNr(), 4);

    PropertyList withoutColour = dict;
    withoutColour.remove(QStringLiteral("markerColor"));
    auto plain = VekObjMarker::create();
    plain->loadPropertyListRepresentation(withoutColour);
    EXPECT_EQ(plain->colorNr(), shellServices().currentMarkerColorNr());

    const auto copy = std::dynamic_pointer_cast<VekObjMarker>(marker->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->colorNr(), 4);
}

TEST_F(FreeHand, AMarkerStrokesInItsColourAndWidth)
{
    struct Colours : ShellServices {
        Color markerColor(int) const override { return Color::colorWithDeviceRed(0, 0, 1); }
    } colours;
    ScopedShell scoped(colours);
    auto marker = VekObjMarker::create();
    doc.adopt(marker);
    ASSERT_TRUE(stroke(*marker, {{10, 10}, {40, 30}, {80, 20}, {120, 60}}));

    RecordingPaintDevice device(QSize(200, 200));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        marker->drawInViewIsSelected(&doc.canvas, false);
    }
    bool stroked = false;
    for (const RecordedDraw &draw : device.draws())
        if (draw.isStroke() && draw.pen.color() == QColor(0, 0, 255)) {
            stroked = true;
            EXPECT_EQ(draw.pen.widthF(), marker->lineWidth());
        }
    EXPECT_TRUE(stroked);
}
