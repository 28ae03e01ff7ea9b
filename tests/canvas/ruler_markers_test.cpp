// Dragging the selection's ruler markers: resize and move modes, their limits, the page of a
// repeating object, and undo of a whole drag.
#include "canvas/ruler_markers.h"

#include "model/vek_obj_format.h"
#include "tests/canvas/command_fixture.h"
#include "tests/model/fakes.h"

namespace {

// A table as far as the markers are concerned: it answers the table's class name.
class TableStandIn : public VekObject {
public:
    explicit TableStandIn(Passkey key) : VekObject(key) {}
    static std::shared_ptr<TableStandIn> make() { return std::make_shared<TableStandIn>(Passkey()); }
    QString className() const override { return QStringLiteral("VekObjGrid"); }
};

struct MarkerFixture : CommandFixture {
    MarkerFixture() : CommandFixture(3)
    {
        view.pageSize = {PageWidth, PageHeight};
        view.pages = 3;
        view.visible = {0, 0, PageWidth, PageHeight};
    }
    RulerMarkerMove drag(const std::vector<std::shared_ptr<VekObject>> &selection, RulerEdge edge, float location,
                         bool shift = false, bool simply = false)
    {
        auto ctx = context(selection);
        return moveSelectionWithRulerMarker(ctx, selection.empty() ? nullptr : selection.front(), view, edge,
                                            location, shift, simply);
    }
    FakeCanvas view;
};

struct DragCase {
    RulerEdge edge;
    float to;
    bool shift;
    float location;
    std::optional<float> paired;
    Rect bounds;
};

} // namespace

TEST(RulerMarkers, DraggingAnEdgeResizesOrWithShiftMovesTheObject)
{
    // The object is {10, 10, 50, 20}: right edge 60, bottom edge 30.
    const DragCase cases[] = {
        {RulerEdge::Left, 30, false, 30, std::nullopt, {30, 10, 30, 20}},
        {RulerEdge::Left, 100, false, 59, std::nullopt, {59, 10, 1, 20}},     // stops 1.0 before the right edge
        {RulerEdge::Right, 80, false, 80, std::nullopt, {10, 10, 70, 20}},
        {RulerEdge::Right, 0, false, 11, std::nullopt, {10, 10, 1, 20}},
        {RulerEdge::Top, 5, false, 5, std::nullopt, {10, 5, 50, 25}},
        {RulerEdge::Top, 40, false, 29, std::nullopt, {10, 29, 50, 1}},
        {RulerEdge::Bottom, 50, false, 50, std::nullopt, {10, 10, 50, 40}},
        {RulerEdge::Bottom, -5, false, 11, std::nullopt, {10, 10, 50, 1}},
        {RulerEdge::Left, 40, true, 40, 90, {40, 10, 50, 20}},
        {RulerEdge::Right, 100, true, 100, 50, {50, 10, 50, 20}},
        {RulerEdge::Top, 0, true, 0, 20, {10, 0, 50, 20}},
        {RulerEdge::Bottom, 70, true, 70, 50, {10, 50, 50, 20}},
    };
    for (const DragCase &c : cases) {
        MarkerFixture f;
        auto object = f.add({10, 10, 50, 20});
        f.settle();
        const RulerMarkerMove move = f.drag({object}, c.edge, c.to, c.shift);
        EXPECT_EQ(move.location, c.location) << rulerEdgeName(c.edge).toStdString() << " to " << c.to;
        EXPECT_EQ(move.pairedLocation, c.paired) << rulerEdgeName(c.edge).toStdString() << " to " << c.to;
        EXPECT_EQ(object->bounds(), c.bounds) << rulerEdgeName(c.edge).toStdString() << " to " << c.to;
    }
}

TEST(RulerMarkers, TheSelectionFollowsAndOneDragIsUndoneExactly)
{
    MarkerFixture f;
    auto current = f.add({10, 10, 50, 20});
    auto other = f.add({60, 40, 20, 10});
    f.settle();
    // One drag of the right marker, in steps, as one undo group.
    f.doc.undoManager()->beginUndoGrouping();
    f.drag({current, other}, RulerEdge::Right, 90);
    f.drag({current, other}, RulerEdge::Right, 130);
    f.doc.undoManager()->endUndoGrouping();
    f.step();
    // The selection {10..80} is scaled by 120 / 50 about its left edge.
    EXPECT_EQ(current->bounds(), Rect(10, 10, 120, 20));
    EXPECT_FLOAT_EQ(other->bounds().origin.x, 130);
    EXPECT_FLOAT_EQ(other->bounds().size.width, 48);
    EXPECT_EQ(other->bounds().origin.y, 40);

    f.undo();
    EXPECT_EQ(current->bounds(), Rect(10, 10, 50, 20));
    EXPECT_EQ(other->bounds(), Rect(60, 40, 20, 10));
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
    f.redo();
    EXPECT_EQ(current->bounds(), Rect(10, 10, 120, 20));
}

TEST(RulerMarkers, TablesAlwaysMoveAndSeveralFieldsDoNotResize)
{
    MarkerFixture f;
    auto table = TableStandIn::make();
    table->setBounds({10, 10, 50, 20});
    f.doc.insertObject(table, 0, false);
    auto a = VekObjFormat::create();
    auto b = VekObjFormat::create();
    a->setBounds({0, 50, 30, 10});
    b->setBounds({0, 70, 30, 10});
    f.doc.insertObject(a, 1, false);
    f.doc.insertObject(b, 2, false);
    f.settle();

    EXPECT_EQ(f.drag({table}, RulerEdge::Left, 0).pairedLocation, 50.0f);
    EXPECT_EQ(table->bounds(), Rect(0, 10, 50, 20));

    const Rect aBefore = a->bounds(), bBefore = b->bounds();
    EXPECT_EQ(f.drag({a, b}, RulerEdge::Right, 80).location, 80);
    EXPECT_EQ(a->bounds(), aBefore);
    EXPECT_EQ(b->bounds(), bBefore);
    // Moving them is allowed.
    f.drag({a, b}, RulerEdge::Left, 5, true);
    EXPECT_EQ(a->bounds().origin.x, 5);
    EXPECT_EQ(b->bounds().origin.x, 5);
}

TEST(RulerMarkers, WithoutSelectionOrWhileTheInspectorMovesThemNothingChanges)
{
    MarkerFixture f;
    auto object = f.add({10, 10, 50, 20});
    f.settle();
    EXPECT_EQ(f.drag({}, RulerEdge::Left, 500).location, 500);
    EXPECT_EQ(f.drag({object}, RulerEdge::Left, 500, false, true).location, 500);
    EXPECT_EQ(object->bounds(), Rect(10, 10, 50, 20));
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
}

TEST(RulerMarkers, ARepeatingObjectIsMeasuredAndDraggedOnTheCurrentPage)
{
    MarkerFixture f;
    auto object = f.add({10, 10, 50, 20});
    object->setRepeatType(1);
    f.settle();
    const Rect stored = object->bounds();
    f.view.page = 3;
    f.view.visible = {0, 200, f.PageWidth, f.PageHeight};

    RulerMarkerLocations shown = markerLocationsFor(*object, f.view);
    EXPECT_EQ(shown.top, stored.origin.y + 200);
    EXPECT_EQ(shown.bottom, stored.origin.y + stored.size.height + 200);
    EXPECT_EQ(shown.left, stored.origin.x);

    // Dragging the bottom marker down by 15 on page 3 lengthens the object by 15 and keeps
    // it where it is stored; the markers stay with it on page 3.
    const RulerMarkerMove move = f.drag({object}, RulerEdge::Bottom, shown.bottom + 15);
    EXPECT_EQ(move.location, shown.bottom + 15);
    EXPECT_EQ(object->bounds(), Rect(stored.origin.x, stored.origin.y, stored.size.width, stored.size.height + 15));
    EXPECT_EQ(markerLocationsFor(*object, f.view).bottom, shown.bottom + 15);

    // The limit is the top edge as shown on page 3.
    EXPECT_EQ(f.drag({object}, RulerEdge::Bottom, 0).location, shown.top + 1);
}
