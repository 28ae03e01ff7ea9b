// Tests of VekObject's creation by a scripted drag, moves, rotation, skew, flips, and the
// path setters with their fitting and undo.
#include "model/vek_object.h"

#include "fakes.h"
#include "geometry_fakes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TransformTest : public ::testing::Test {
protected:
    std::shared_ptr<VekObject> adopted(const Rect &bounds)
    {
        auto object = VekObject::create();
        object->setBounds(bounds);
        doc.adopt(object);
        doc.undo.closeEventGroup();
        return object;
    }
    std::shared_ptr<EditableObject> adoptedPath(const BezierPath &path)
    {
        auto object = EditableObject::create();
        object->setBezierPath(path);
        doc.adopt(object);
        doc.undo.closeEventGroup();
        return object;
    }
    // Scripts a press at `from`, drags through `through` and releases at the last one.
    MouseEvent scriptDrag(Point from, std::initializer_list<Point> through)
    {
        const Point *last = &from;
        for (const Point &p : through) {
            doc.canvas.events.drag(p);
            last = &p;
        }
        doc.canvas.events.up(*last);
        return {EventType::LeftMouseDown, from};
    }

    FakeDocument doc;
};

void expectPointsNear(const BezierPath &a, const BezierPath &b)
{
    ASSERT_EQ(a.elementCount(), b.elementCount());
    for (int i = 0; i < a.elementCount(); ++i) {
        for (int k = 0; k < a.element(i).pointCount(); ++k) {
            EXPECT_NEAR(a.element(i).points[k].x, b.element(i).points[k].x, 1e-3) << i << "/" << k;
            EXPECT_NEAR(a.element(i).points[k].y, b.element(i).points[k].y, 1e-3) << i << "/" << k;
        }
    }
}

BezierPath triangle()
{
    BezierPath path;
    path.moveToPoint({100, 100});
    path.lineToPoint({200, 100});
    path.lineToPoint({150, 180});
    path.closePath();
    return path;
}

} // namespace

// ---- Creation by mouse ----

TEST_F(TransformTest, CreationFollowsTheDragAndIsOneUndoStepWithOneBoundsNotification)
{
    auto object = VekObject::create();
    doc.adopt(object);
    doc.undo.closeEventGroup();
    PostCounter posts(object.get());

    const MouseEvent down = scriptDrag({20.2f, 30.7f}, {{40, 50}, {80, 70}, {120.4f, 90.1f}});
    EXPECT_TRUE(object->createWithEvent(down, &doc.canvas));
    doc.undo.closeEventGroup();

    EXPECT_EQ(object->bounds(), Rect(20.5f, 30.5f, 100, 60));
    EXPECT_EQ(doc.canvas.events.masksAsked, std::vector<unsigned>(4, 0x44u));
    EXPECT_EQ(doc.canvas.autoscrolls, 4);
    EXPECT_FALSE(doc.canvas.needsDisplay.empty());
    EXPECT_EQ(doc.canvas.rulerUpdates, 0);
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 1);
    EXPECT_FALSE(object->manipulatingBounds());

    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(0, 0, 1, 1));
    EXPECT_FALSE(doc.undo.canUndo());
}

TEST_F(TransformTest, CreationStartsOnTheGridOrOnAPixelCentre)
{
    const struct {
        bool snaps;
        Point press, expected;
    } cases[] = {
        {true, {14, 26}, {10, 30}},
        {true, {15, 25}, {20, 30}},
        {false, {14.2f, 26.9f}, {14.5f, 26.5f}},
    };
    for (const auto &c : cases) {
        doc.canvas.snaps = c.snaps;
        auto object = VekObject::create();
        EXPECT_FALSE(object->createWithEvent(scriptDrag(c.press, {}), &doc.canvas));
        EXPECT_EQ(object->bounds(), Rect(c.expected.x, c.expected.y, 0, 0));
    }
}

TEST_F(TransformTest, ClickWithoutDragMakesNothingAndAGridOfNoSizeIsIgnored)
{
    doc.canvas.snaps = true;
    doc.canvas.grid = 0;
    auto object = VekObject::create();
    EXPECT_FALSE(object->createWithEvent(scriptDrag({14.2f, 26.9f}, {}), &doc.canvas));
    EXPECT_EQ(object->bounds(), Rect(14.5f, 26.5f, 0, 0));
    EXPECT_TRUE(std::isfinite(object->bounds().origin.x));
}

TEST_F(TransformTest, DraggingUpAndLeftFlipsBothWays)
{
    doc.canvas.showsRulers = true;
    auto object = VekObject::create();
    EXPECT_TRUE(object->createWithEvent(scriptDrag({100.5f, 100.5f}, {{90, 95}, {40, 60}}), &doc.canvas));
    EXPECT_EQ(object->bounds(), Rect(40.5f, 60.5f, 60, 40));
    EXPECT_TRUE(object->flippedHorizontally());
    EXPECT_TRUE(object->flippedVertically());
    EXPECT_EQ(doc.canvas.rulerUpdates, 1);
}

TEST_F(TransformTest, DragCrossingItsStartTwiceFlipsBackAgain)
{
    auto object = VekObject::create();
    EXPECT_TRUE(object->createWithEvent(scriptDrag({100.5f, 100.5f}, {{50, 150}, {150, 150}}), &doc.canvas));
    EXPECT_EQ(object->bounds(), Rect(100.5f, 100.5f, 50, 50));
    EXPECT_FALSE(object->flippedHorizontally());
    EXPECT_FALSE(object->flippedVertically());
}

// ---- Moves ----

TEST_F(TransformTest, MovesAreUndoable)
{
    auto object = adopted(Rect(10, 10, 20, 20));
    PostCounter posts(object.get());
    object->moveBy(5, -5);
    EXPECT_EQ(object->bounds(), Rect(15, 5, 20, 20));
    doc.undo.closeEventGroup();
    object->moveSimplyBy(100, 0);
    doc.undo.closeEventGroup();
    EXPECT_EQ(object->bounds(), Rect(115, 5, 20, 20));
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 2);

    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(15, 5, 20, 20));
    doc.undo.undo();
    EXPECT_EQ(object->bounds(), Rect(10, 10, 20, 20));
}

TEST_F(TransformTest, MoveSimplyByCarriesThePathAndStaysSilentWhileLoading)
{
    auto object = adoptedPath(triangle());
    object->moveSimplyBy(0, 50);
    EXPECT_EQ(object->bezierPath().bounds(), Rect(100, 150, 100, 80));

    PostCounter posts(object.get());
    object->setIsLoadingPropertyList(true);
    object->moveSimplyBy(1, 1);
    object->setIsLoadingPropertyList(false);
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 0);
    EXPECT_EQ(object->bounds(), Rect(101, 151, 100, 80));
}

// ---- Rotation ----

TEST_F(TransformTest, RotationStaysWithinItsRangeAndIsUndoable)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    PostCounter posts(object.get());
    const float ignored[] = {360, -5, 359.5f, NAN};
    for (float degrees : ignored) {
        object->setRotation(degrees, {}, true);
        EXPECT_EQ(object->objRotation(), 0) << degrees;
    }
    EXPECT_FALSE(doc.undo.canUndo());

    object->setRotation(45, {}, true);
    EXPECT_EQ(object->objRotation(), 45);
    EXPECT_EQ(posts[VekObjectDidChangeNotification], 1);
    object->setRotation(359, {}, true);
    doc.undo.closeEventGroup();
    doc.undo.undo();
    EXPECT_EQ(object->objRotation(), 0);
    doc.undo.redo();
    EXPECT_EQ(object->objRotation(), 359);
}

TEST_F(TransformTest, RotationWithoutUpdateIsStoredAsItComes)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    PostCounter posts(object.get());
    object->setRotation(-30, {}, false);   // as a predecessor clip shape hands it over
    EXPECT_EQ(object->objRotation(), -30);
    EXPECT_FALSE(doc.undo.canUndo());
    EXPECT_EQ(posts[VekObjectDidChangeNotification], 0);
}

// ---- Skew ----

TEST_F(TransformTest, SkewLimits)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    object->setSkewX(1.5f, true);
    EXPECT_EQ(object->skewX(), 0);
    object->setSkewX(0.0005f, true);
    EXPECT_EQ(object->skewX(), 0);
    EXPECT_FALSE(doc.undo.canUndo());
    object->setSkewX(0.3f, true);
    EXPECT_FLOAT_EQ(object->skewX(), 0.3f);
    object->setSkewX(0.0005f, true);
    EXPECT_EQ(object->skewX(), 0);
    object->setSkewY(-1, true);
    EXPECT_EQ(object->skewY(), -1);

    object->setSkewY(7, false);   // without update: stored as it comes, nothing registered
    EXPECT_EQ(object->skewY(), 7);
}

TEST_F(TransformTest, UndoOfASkewRestoresIt)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    object->setSkewY(0.25f, true);
    doc.undo.closeEventGroup();
    object->setSkewY(-0.5f, true);
    doc.undo.closeEventGroup();
    doc.undo.undo();
    EXPECT_FLOAT_EQ(object->skewY(), 0.25f);
    doc.undo.undo();
    EXPECT_EQ(object->skewY(), 0);
    doc.undo.redo();
    EXPECT_FLOAT_EQ(object->skewY(), 0.25f);
}

TEST_F(TransformTest, SkewShearsAnEditablePathAboutItsCentreAndUndoRestoresItExactly)
{
    auto object = adoptedPath(triangle());
    const BezierPath before = object->bezierPath();
    const Rect boundsBefore = object->bounds();
    PostCounter posts(object.get());

    object->setSkewX(0.5f, true);
    doc.undo.closeEventGroup();
    // x grows by nothing, y by half of x: the right corner drops 50 below the left.
    const BezierPath sheared = object->bezierPath();
    EXPECT_NEAR(sheared.element(1).points[0].y - sheared.element(0).points[0].y, 50, 1e-3);
    EXPECT_NEAR(object->bounds().midX(), boundsBefore.midX(), 1e-3);
    EXPECT_NEAR(object->bounds().midY(), boundsBefore.midY(), 1e-3);
    EXPECT_EQ(object->bounds(), sheared.bounds());
    EXPECT_EQ(posts[VekObjectBoundsDidChangeNotification], 1);

    doc.undo.undo();
    EXPECT_EQ(object->skewX(), 0);
    expectPointsNear(object->bezierPath(), before);
    EXPECT_EQ(object->bounds(), boundsBefore);
    EXPECT_FALSE(doc.undo.canUndo());

    doc.undo.redo();
    EXPECT_FLOAT_EQ(object->skewX(), 0.5f);
    expectPointsNear(object->bezierPath(), sheared);
}

// ---- Flips ----

TEST_F(TransformTest, FlipsToggle)
{
    auto object = adopted(Rect(0, 0, 10, 10));
    object->flipHorizontally();
    EXPECT_TRUE(object->flippedHorizontally());
    object->flipHorizontally();
    EXPECT_FALSE(object->flippedHorizontally());
    object->flipVertically();
    EXPECT_TRUE(object->flippedVertically());
    EXPECT_FALSE(object->flippedHorizontally());
}

// ---- The path ----

TEST(AdjustPath, FitsThePathToTheRectangle)
{
    BezierPath vertical;
    vertical.moveToPoint({10, 10});
    vertical.lineToPoint({10, 60});
    BezierPath square = BezierPath::bezierPathWithRect(Rect(0, 0, 10, 10));

    const struct {
        BezierPath path;
        Rect target;
        Rect expected;
    } cases[] = {
        {square, Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)},
        {square, Rect(5, 5, 40, 20), Rect(5, 5, 40, 20)},
        {vertical, Rect(100, 0, 30, 100), Rect(100, 0, 0, 100)},   // width 0 stays 0
        {vertical, Rect(100, 0, 0.05f, 25), Rect(100, 0, 0, 25)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VekObject::adjustPath(c.path, c.target).bounds(), c.expected);
}

TEST_F(TransformTest, PathOfANewObjectGivesTheBoundsAndAnExistingObjectScalesItIn)
{
    auto fresh = EditableObject::create();
    fresh->setBezierPath(triangle());
    EXPECT_EQ(fresh->bounds(), Rect(100, 100, 100, 80));

    auto placed = EditableObject::create();
    placed->setBounds(Rect(0, 0, 50, 40));
    placed->setBezierPath(triangle());
    EXPECT_EQ(placed->bounds(), Rect(0, 0, 50, 40));
    EXPECT_EQ(placed->bezierPath().bounds(), Rect(0, 0, 50, 40));

    // A kind without an editable path keeps the path as given.
    auto plain = VekObject::create();
    plain->setBounds(Rect(0, 0, 50, 40));
    plain->setBezierPath(triangle());
    EXPECT_EQ(plain->bezierPath().bounds(), Rect(100, 100, 100, 80));
}

TEST_F(TransformTest, SettingAPathIsUndoableAlsoOnAnObjectWithoutOne)
{
    auto object = adopted(Rect(0, 0, 50, 40));
    PostCounter posts(object.get());
    object->setBezierPath(triangle());
    doc.undo.closeEventGroup();
    EXPECT_TRUE(object->pathCreated());
    EXPECT_EQ(posts[VekObjectPathDidChangeNotification], 1);
    doc.undo.undo();
    EXPECT_FALSE(object->pathCreated());
    doc.undo.redo();
    EXPECT_TRUE(object->pathCreated());
}

TEST_F(TransformTest, PathDuringAManipulationPostsOnlyWhenTheElementCountChanges)
{
    auto object = adoptedPath(triangle());
    PostCounter posts(object.get());
    object->startBoundsManipulation();
    BezierPath moved = triangle();
    moved.appendBezierPath(BezierPath());   // the same elements: a drag that moved no point off
    object->setBezierPath(moved);
    EXPECT_EQ(posts[VekObjectPathDidChangeNotification], 0);
    BezierPath longer = triangle();
    longer.lineToPoint({0, 0});
    object->setBezierPath(longer);
    EXPECT_EQ(posts[VekObjectPathDidChangeNotification], 1);
    object->stopBoundsManipulation();
}

TEST_F(TransformTest, PathSetterVariants)
{
    auto object = adoptedPath(triangle());
    PostCounter posts(object.get());

    // adjust NO: the bounds follow the path.
    BezierPath elsewhere = BezierPath::bezierPathWithRect(Rect(300, 300, 10, 10));
    object->setBezierPathAdjust(elsewhere, false);
    EXPECT_EQ(object->bounds(), Rect(300, 300, 10, 10));
    EXPECT_EQ(posts[VekObjectPathDidChangeNotification], 1);
    doc.undo.closeEventGroup();

    // adjust YES: the path fits the bounds.
    object->setBezierPathAdjust(triangle(), true);
    EXPECT_EQ(object->bounds(), Rect(300, 300, 10, 10));
    EXPECT_EQ(object->bezierPath().bounds(), Rect(300, 300, 10, 10));
    doc.undo.closeEventGroup();
    doc.undo.undo();
    EXPECT_EQ(object->bezierPath().elementCount(), 5);   // the rectangle again

    // adjust NO with a new path inside the same bounds is still redrawn.
    BezierPath inside = BezierPath::bezierPathWithRect(Rect(300, 300, 10, 10));
    inside.lineToPoint({305, 305});
    const size_t invalidatedBefore = doc.invalidated.size();
    object->setBezierPathAdjust(inside, false);
    EXPECT_GT(doc.invalidated.size(), invalidatedBefore);

    // Simply: no undo, no notification, no fitting.
    doc.undo.closeEventGroup();
    posts.clear();
    object->setBezierPathSimplyAs(triangle());
    EXPECT_EQ(object->bezierPath().bounds(), Rect(100, 100, 100, 80));
    EXPECT_EQ(posts[VekObjectPathDidChangeNotification], 0);
    EXPECT_EQ(doc.undo.groupingLevel(), 0);   // nothing registered
}
