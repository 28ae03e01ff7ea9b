// Tests of the path object: defaults, undoable setters, clip neighbours, natural size, flips,
// rotation, the editing click, its own dictionary keys, and the library shape and space holder.
#include "model/vek_obj_obj.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_spaceholder.h"

#include "fakes.h"

#include "platform/foundation/archiving.h"

#include "tests/support/path_helpers.h"

#include <gtest/gtest.h>

namespace {

BezierPath triangle()
{
    BezierPath path;
    path.moveToPoint({100, 100});
    path.lineToPoint({200, 100});
    path.lineToPoint({130, 180});
    path.closePath();
    return path;
}

class PathTest : public ::testing::Test {
protected:
    template <class T = VekObjPath>
    std::shared_ptr<T> adopted(const BezierPath &path)
    {
        auto object = T::create();
        object->setBezierPath(path);
        doc.adopt(object);
        doc.undo.closeEventGroup();
        return object;
    }
    // A path object dragged out from `from` to `to` with the creation tool; the canvas then
    // gives it the tool's path over the new bounds.
    std::shared_ptr<VekObjPath> dragged(Point from, Point to, const BezierPath &shape)
    {
        auto object = VekObjPath::create();
        doc.adopt(object);
        doc.canvas.events.drag({(from.x + to.x) / 2, (from.y + to.y) / 2});
        doc.canvas.events.drag(to);
        doc.canvas.events.up(to);
        EXPECT_TRUE(object->createWithEvent({EventType::LeftMouseDown, from}, &doc.canvas));
        object->setBezierPath(VekObject::adjustPath(shape, object->bounds()));
        object->setOriginalSize(object->bounds().size);
        doc.undo.closeEventGroup();
        return object;
    }

    FakeDocument doc;
};

void expectSamePoints(const BezierPath &a, const BezierPath &b, float tolerance = 0)
{
    ASSERT_EQ(a.elementCount(), b.elementCount());
    for (int i = 0; i < a.elementCount(); ++i) {
        ASSERT_EQ(a.element(i).kind, b.element(i).kind) << i;
        for (int k = 0; k < a.element(i).pointCount(); ++k) {
            EXPECT_NEAR(a.element(i).points[k].x, b.element(i).points[k].x, tolerance) << i << "/" << k;
            EXPECT_NEAR(a.element(i).points[k].y, b.element(i).points[k].y, tolerance) << i << "/" << k;
        }
    }
}

} // namespace

TEST_F(PathTest, NewPathObjectHasTheDefaults)
{
    auto object = VekObjPath::create();
    EXPECT_EQ(object->arrowAngle(), 45);
    EXPECT_EQ(object->arrowLength(), 5.0f);
    EXPECT_EQ(object->attSpace(), 4.0f);
    EXPECT_EQ(object->startArrow(), 0);
    EXPECT_EQ(object->endArrow(), 0);
    EXPECT_EQ(object->clipType(), 0);
    EXPECT_FALSE(object->hasNaturalSize());
    EXPECT_FALSE(object->hasArrow());
    EXPECT_FALSE(object->hasEditablePath());
    EXPECT_TRUE(object->isEditable());
    EXPECT_EQ(object->clickedPoint(), NoPoint);
}

TEST_F(PathTest, CreatedByADragWithTheToolsPath)
{
    auto object = dragged({50, 60}, {250, 160}, polyline({{0, 0}, {10, 10}}));
    // Without a grid the drag snaps to the pixel centres.
    EXPECT_EQ(object->bounds(), Rect(50.5f, 60.5f, 200, 100));
    EXPECT_TRUE(object->hasEditablePath());
    EXPECT_EQ(object->bezierPath().bounds(), object->bounds());
    EXPECT_TRUE(object->containsPoint({150.5f, 110.5f}, false));
    EXPECT_FALSE(object->containsPoint({400, 400}, false));
}

TEST_F(PathTest, SettersUndoOneFieldEachAndIgnoreTheStoredValue)
{
    auto object = adopted(polyline({{10, 10}, {100, 10}}));
    object->setStartArrow(2);
    doc.undo.closeEventGroup();
    object->setEndArrow(1);
    doc.undo.closeEventGroup();
    EXPECT_TRUE(object->hasArrow());
    doc.undo.undo();
    EXPECT_EQ(object->endArrow(), 0);
    EXPECT_EQ(object->startArrow(), 2);

    object->setArrowLength(8, 30);
    doc.undo.closeEventGroup();
    object->setAttOffset(3);
    doc.undo.closeEventGroup();
    doc.undo.undo();
    doc.undo.undo();
    EXPECT_EQ(object->arrowLength(), 5.0f);
    EXPECT_EQ(object->arrowAngle(), 45);
    EXPECT_EQ(object->attOffset(), 0.0f);

    while (doc.undo.canUndo())
        doc.undo.undo();
    object->setStartArrow(0);
    object->setAttSpace(4.0f);
    object->setClipType(0);
    doc.undo.closeEventGroup();
    EXPECT_FALSE(doc.undo.canUndo());
}

TEST_F(PathTest, ClipChangeTellsTheNeighbours)
{
    // A neighbour that counts the calls it gets.
    struct Neighbour : VekObjPath {
        using VekObjPath::VekObjPath;
        static std::shared_ptr<Neighbour> make() { return makeObject<Neighbour>(); }
        void didChange() override { ++changes; }
        int changes = 0;
    };
    std::vector<std::shared_ptr<VekObjPath>> objects;
    for (int i = 0; i < 5; ++i) {
        objects.push_back(Neighbour::make());
        doc.adopt(objects.back());
    }
    const auto changes = [&](int i) { return static_cast<Neighbour &>(*objects[size_t(i)]).changes; };
    for (auto &o : objects)
        static_cast<Neighbour &>(*o).changes = 0;

    objects[3]->setClipType(1);
    EXPECT_EQ(changes(4), 1);   // behind: didChange
    EXPECT_EQ(changes(2), 1);   // in front: clipDidChange, which is didChange
    EXPECT_EQ(changes(1), 0);
    objects[0]->setClipType(2);   // the front-most: only the one behind is told
    EXPECT_EQ(changes(1), 1);

    auto loose = VekObjPath::create();
    loose->setClipType(1);   // no document, no neighbours, no crash
    EXPECT_EQ(loose->clipType(), 1);
}

TEST_F(PathTest, NaturalSizeRestoresTheRecordedProportion)
{
    struct Case {
        Rect bounds;
        Size recorded;
        Size expected;
    };
    const Case cases[] = {
        {{0, 0, 200, 100}, {50, 50}, {200, 200}},
        {{0, 0, 100, 200}, {50, 50}, {200, 200}},
        {{0, 0, 100, 100}, {50, 100}, {50, 100}},
        // A straight line was recorded with a side of 0: nothing to restore, no division by 0.
        {{0, 0, 100, 200}, {98, 0}, {100, 200}},
        {{0, 0, 200, 100}, {0, 40}, {200, 100}},
    };
    for (const Case &c : cases) {
        auto object = adopted(BezierPath::bezierPathWithRect(c.bounds));
        object->setOriginalSize(c.recorded);
        object->setToNaturalSize();
        EXPECT_EQ(object->bounds().size, c.expected) << c.recorded.width << " x " << c.recorded.height;
        EXPECT_EQ(object->bounds().origin, c.bounds.origin);
    }
}

TEST_F(PathTest, FlippingKeepsTheCentreAndTwiceRestoresThePoints)
{
    auto object = adopted(triangle());
    const BezierPath before = object->bezierPath();
    const Rect bounds = object->bounds();

    object->setFlippedHorizontally(true);
    doc.undo.closeEventGroup();
    EXPECT_TRUE(object->flippedHorizontally());
    EXPECT_EQ(object->bezierPath().element(0).points[0], Point(200, 100));
    EXPECT_FLOAT_EQ(object->bounds().midX(), bounds.midX());
    EXPECT_FLOAT_EQ(object->bounds().midY(), bounds.midY());

    object->setFlippedHorizontally(false);
    doc.undo.closeEventGroup();
    expectSamePoints(object->bezierPath(), before);

    object->setFlippedVertically(true);
    doc.undo.closeEventGroup();
    doc.undo.undo();   // one undo step mirrors back
    EXPECT_FALSE(object->flippedVertically());
    expectSamePoints(object->bezierPath(), before, 1e-4f);

    auto empty = VekObjPath::create();
    empty->setFlippedHorizontally(true);   // no path: nothing happens
    EXPECT_FALSE(empty->flippedHorizontally());
}

TEST_F(PathTest, RotationTurnsThePathAboutTheCentreAndUndoes)
{
    auto object = adopted(polyline({{100, 100}, {200, 100}}));
    const BezierPath before = object->bezierPath();
    object->setRotation(90, {150, 100}, true);
    doc.undo.closeEventGroup();
    EXPECT_EQ(object->objRotation(), 90.0f);
    const BezierPath turned = object->bezierPath();
    EXPECT_NEAR(turned.element(0).points[0].x, 150, 1e-3);
    EXPECT_NEAR(turned.element(0).points[0].y, 50, 1e-3);
    EXPECT_NEAR(turned.element(1).points[0].y, 150, 1e-3);

    doc.undo.undo();
    EXPECT_EQ(object->objRotation(), 0.0f);
    expectSamePoints(object->bezierPath(), before, 1e-3f);
}

TEST_F(PathTest, ImportedClipHandsItsTransformsToTheObjectInFront)
{
    auto clip = adopted(triangle());
    clip->setRotation(30, {150, 140}, false);
    clip->setSkewX(0.25f, false);
    clip->setFlippedVertically(true);
    auto above = VekObject::create();
    clip->simplySetAsClip(1, above.get());
    EXPECT_EQ(clip->clipType(), 1);
    EXPECT_FLOAT_EQ(above->objRotation(), 330.0f);
    EXPECT_FLOAT_EQ(above->skewX(), 0.25f);
    EXPECT_EQ(above->skewY(), 0.0f);
    EXPECT_TRUE(above->flippedVertically());
    EXPECT_FALSE(above->flippedHorizontally());
    clip->simplySetAsClip(2, nullptr);
    EXPECT_EQ(clip->clipType(), 2);
}

TEST_F(PathTest, PathCommands)
{
    auto object = adopted(polyline({{10, 10}, {100, 50}}));
    object->reverse();
    EXPECT_EQ(object->bezierPath().element(0).points[0], Point(100, 50));
    object->closeBezierPath();
    object->closeBezierPath();   // already closed: no second close-path
    EXPECT_EQ(object->bezierPath().elementCount(), 3);

    BezierPath single;
    single.moveToPoint({5, 5});
    auto dot = adopted(single);
    dot->reverse();   // fewer than 2 elements: ignored
    EXPECT_EQ(dot->bezierPath().element(0).points[0], Point(5, 5));
}

TEST_F(PathTest, DashIndexChangeTakesTheInspectorsInfoAndUndoesBoth)
{
    struct Inspector : PanelServices {
        PropertyList dashInfoFor(int index) const override
        {
            if (index != 3)
                return {};
            PropertyList info = PropertyList::dictionary();
            info.insert(QStringLiteral("phase"), PropertyList::fromInt(1));
            return info;
        }
    } inspector;
    ScopedPanels panels(inspector);

    auto object = adopted(polyline({{0, 0}, {50, 0}}));
    PropertyList old = PropertyList::dictionary();
    old.insert(QStringLiteral("phase"), PropertyList::fromInt(7));
    object->setDashInfo(old);
    object->setDashPatternUpdate(3, true);
    doc.undo.closeEventGroup();
    EXPECT_EQ(object->objDashPattern(), 3);
    EXPECT_EQ(object->dashInfo().value(QStringLiteral("phase")).intValue(), 1);
    doc.undo.undo();
    EXPECT_EQ(object->objDashPattern(), 0);
    EXPECT_EQ(object->dashInfo(), old);

    // An index the inspector has nothing for leaves no stale pattern behind.
    object->setDashPatternUpdate(4, true);
    EXPECT_TRUE(object->dashInfo().isAbsent());
}

// ---- The editing click ----

TEST_F(PathTest, EditingClicksAddLineCurveAndSubPathPoints)
{
    struct Case {
        unsigned modifiers;
        BezierPathElement kind;
        int selectedPoint;
        int elements;
        int selected;
    };
    const Case cases[] = {
        {0, LineToBezierPathElement, 0, 3, 2},
        {ShiftKeyMask, CurveToBezierPathElement, 2, 3, 2},
        // A new sub-path: a short mark at the click (selected), then the old path goes on
        // from its end.
        {AlternateKeyMask, MoveToBezierPathElement, 0, 5, 3},
    };
    for (const Case &c : cases) {
        auto object = adopted(polyline({{100, 100}, {200, 100}}));
        object->startEditingWithEvent({}, &doc.canvas);
        ASSERT_EQ(doc.canvas.editingObject(), object);
        object->setSelectedElementNr(1, 0);
        object->editWithEvent({EventType::LeftMouseDown, {250, 180}, c.modifiers}, &doc.canvas);

        const BezierPath path = object->bezierPath();
        ASSERT_EQ(path.elementCount(), c.elements) << c.modifiers;
        EXPECT_EQ(path.element(2).kind, c.kind);
        EXPECT_EQ(path.element(2).endPoint(), Point(250, 180));
        EXPECT_EQ(path.element(1).endPoint(), Point(200, 100));
        EXPECT_EQ(object->selectedElementNr(), c.selected);
        EXPECT_EQ(object->selectedPointNr(), c.selectedPoint);
        EXPECT_EQ(object->bounds(), path.bounds());
        object->endEditingInView(&doc.canvas);
        EXPECT_EQ(doc.canvas.editingObject(), nullptr);
    }
}

TEST_F(PathTest, EditingClickOnTheOutlineInsertsIntoThatSegment)
{
    auto object = adopted(polyline({{100, 100}, {200, 100}}));
    object->startEditingWithEvent({}, &doc.canvas);
    object->setSelectedElementNr(0, 2);   // a point number a move-to does not have is bounded
    object->editWithEvent({EventType::LeftMouseDown, {150, 100}}, &doc.canvas);
    const BezierPath path = object->bezierPath();
    ASSERT_EQ(path.elementCount(), 3);
    EXPECT_EQ(path.element(1).endPoint(), Point(150, 100));
    EXPECT_EQ(path.element(2).endPoint(), Point(200, 100));
}

TEST_F(PathTest, EditingIgnoresAnObjectWithoutPath)
{
    auto object = VekObjPath::create();
    doc.adopt(object);
    object->startEditingWithEvent({}, &doc.canvas);
    EXPECT_EQ(doc.canvas.editingObject(), nullptr);
    object->editWithEvent({EventType::LeftMouseDown, {10, 10}}, &doc.canvas);
    EXPECT_FALSE(object->pathCreated());
}

// ---- Dictionary keys ----

TEST_F(PathTest, PathKeysRoundTrip)
{
    auto object = VekObjObj::create();
    object->setBezierPath(triangle());
    object->setStartArrow(1);
    object->setEndArrow(4);
    object->setArrowLength(9.5f, 60);
    object->setClipType(2);
    object->setOriginalSize({40, 20});
    object->setObjLineWidth(2.345f);
    object->setJoinStyle(1);
    object->setLineDrawPattern(5, false);
    object->setLineDrawIntensity(0.3f, false);
    object->setDashPatternUpdate(3, false);

    PropertyList dict = PropertyList::dictionary();
    object->writePathKeys(dict);
    EXPECT_EQ(dict.value(QStringLiteral("class")).stringValue(), QStringLiteral("VekObjObj"));
    EXPECT_EQ(dict.value(QStringLiteral("lineWidth")).stringValue(), QStringLiteral("2.35"));
    EXPECT_TRUE(dict.contains(QStringLiteral("orginalSize")));
    EXPECT_FALSE(dict.contains(QStringLiteral("attStringForPath")));

    auto read = VekObjObj::create();
    const auto path = unarchiveBezierPathWithData(dict.value(QStringLiteral("path")).dataValue());
    ASSERT_TRUE(path);
    read->setBezierPath(*path.value);
    read->readPathKeys(dict);
    EXPECT_EQ(read->className(), QStringLiteral("VekObjObj"));
    expectSamePoints(read->bezierPath(), object->bezierPath());
    EXPECT_EQ(read->startArrow(), 1);
    EXPECT_EQ(read->endArrow(), 4);
    EXPECT_EQ(read->arrowLength(), 9.5f);
    EXPECT_EQ(read->arrowAngle(), 60);
    EXPECT_EQ(read->clipType(), 2);
    EXPECT_EQ(read->originalSize(), Size(40, 20));
    EXPECT_FLOAT_EQ(read->lineWidth(), 2.35f);
    EXPECT_EQ(read->joinStyle(), 1);
    EXPECT_EQ(read->lineDrawPattern(), 5);
    EXPECT_FLOAT_EQ(read->lineDrawIntensity(), 0.3f);
    EXPECT_EQ(read->objDashPattern(), 3);
}

TEST_F(PathTest, PathKeysReadUnusableArrowsAsDefaultsAndAcceptStrings)
{
    auto object = VekObjPath::create();
    PropertyList dict = PropertyList::dictionary();
    dict.insert(QStringLiteral("arrowAngle"), PropertyList::fromInt(1));
    dict.insert(QStringLiteral("arrowLength"), PropertyList::fromFloat(0.5f));
    dict.insert(QStringLiteral("arrowEnd"), PropertyList::fromString(QStringLiteral("3")));
    object->readPathKeys(dict);
    EXPECT_EQ(object->arrowAngle(), 45);
    EXPECT_EQ(object->arrowLength(), 5.0f);
    EXPECT_EQ(object->endArrow(), 3);

    auto bare = VekObjPath::create();
    bare->readPathKeys(PropertyList::dictionary());
    EXPECT_EQ(bare->arrowAngle(), 45);
    EXPECT_EQ(bare->arrowLength(), 5.0f);
}

TEST_F(PathTest, ObjectWithoutPathWritesOnlyItsClass)
{
    for (const std::shared_ptr<VekObjPath> &object :
         {VekObjPath::create(), std::shared_ptr<VekObjPath>(VekObjSpaceholder::create())}) {
        PropertyList dict = PropertyList::dictionary();
        object->writePathKeys(dict);
        EXPECT_EQ(dict.keys(), QStringList{QStringLiteral("class")});
        EXPECT_EQ(dict.value(QStringLiteral("class")).stringValue(), object->className());
    }
}

TEST_F(PathTest, CopyCarriesThePathAttributes)
{
    auto object = adopted(triangle());
    object->setEndArrow(2);
    object->setArrowLength(7, 50);
    object->setOriginalSize({10, 20});
    object->setLineDrawPattern(3, false);
    auto copy = VekObjPath::create();
    object->copyPathAttributesTo(*copy);
    EXPECT_EQ(copy->endArrow(), 2);
    EXPECT_EQ(copy->arrowLength(), 7.0f);
    EXPECT_EQ(copy->arrowAngle(), 50);
    EXPECT_EQ(copy->originalSize(), Size(10, 20));
    EXPECT_EQ(copy->lineDrawPattern(), 3);
}

TEST_F(PathTest, EveryPathKindRoundTripsThroughTheDictionaryFormAndCopies)
{
    const std::vector<std::shared_ptr<VekObjPath>> kinds = {VekObjPath::create(), VekObjObj::create(),
                                                            VekObjSpaceholder::create()};
    for (const auto &object : kinds) {
        object->setBezierPath(triangle());
        object->setObjLineWidth(3);
        object->setEndArrow(2);
        object->setArrowLength(6, 40);
        object->setClipType(1);

        const auto checkSame = [&](const std::shared_ptr<VekObject> &other) {
            auto *read = dynamic_cast<VekObjPath *>(other.get());
            ASSERT_NE(read, nullptr) << object->className().toStdString();
            EXPECT_EQ(read->className(), object->className());
            expectSamePoints(read->bezierPath(), object->bezierPath());
            EXPECT_EQ(read->bounds(), object->bounds());
            EXPECT_EQ(read->lineWidth(), 3.0f);
            EXPECT_EQ(read->endArrow(), 2);
            EXPECT_EQ(read->arrowLength(), 6.0f);
            EXPECT_EQ(read->arrowAngle(), 40);
            EXPECT_EQ(read->clipType(), 1);
        };
        checkSame(VekObject::objectWithPropertyListRepresentation(object->propertyListRepresentation()));
        checkSame(object->copy());
    }
}
