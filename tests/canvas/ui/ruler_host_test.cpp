// The canvas's rulers: their place in the scroll area's margins, the selection's markers,
// dragging a marker (with undo), the mouse lines and the scroll step.
#include "tests/canvas/ui/ruler_canvas_fixture.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

float markerAt(VekRulerView &ruler, RulerEdge edge)
{
    return ruler.markerRepresenting(rulerEdgeName(edge))->location();
}

// Drags the marker of the edge by `pixels` along its ruler.
void dragMarker(VekRulerView &ruler, RulerEdge edge, double pixels, Qt::KeyboardModifiers modifiers = {})
{
    const QPointF start = ruler.imageRectOfMarker(*ruler.markerRepresenting(rulerEdgeName(edge))).center();
    const QPointF step = ruler.orientation() == Qt::Horizontal ? QPointF(pixels / 2, 0) : QPointF(0, pixels / 2);
    sendMouse(ruler, QEvent::MouseButtonPress, start, modifiers);
    sendMouse(ruler, QEvent::MouseMove, start + step, modifiers);
    sendMouse(ruler, QEvent::MouseMove, start + 2 * step, modifiers);
    sendMouse(ruler, QEvent::MouseButtonRelease, start + 2 * step, modifiers);
}

} // namespace

TEST(RulerHost, RulersTakeTheViewportMarginsWhenShown)
{
    ensureWidgetApp();
    RulerTestCanvas canvas;
    EXPECT_EQ(canvas.viewport()->geometry(), QRect(0, 0, 400, 300));
    canvas.host->toggleVekRulers();
    const int thickness = VekRulerView::ScaleThickness + VekRulerView::MarkerThickness;
    EXPECT_EQ(canvas.viewport()->geometry(), QRect(thickness, thickness, 400 - thickness, 300 - thickness));
    EXPECT_EQ(canvas.host->horizontalRuler().geometry(), QRect(thickness, 0, 400 - thickness, thickness));
    EXPECT_EQ(canvas.host->verticalRuler().geometry(), QRect(0, thickness, thickness, 300 - thickness));
    canvas.resize(500, 300);
    EXPECT_EQ(canvas.host->horizontalRuler().width(), 500 - thickness);

    // An accessory strip widens the horizontal ruler; hiding the rulers drops it.
    auto *strip = new QWidget;
    strip->setFixedHeight(20);
    canvas.host->setAccessoryView(strip);
    EXPECT_EQ(canvas.viewport()->geometry().top(), thickness + 20);
    EXPECT_EQ(canvas.host->horizontalRuler().height(), thickness + 20);
    canvas.host->toggleVekRulers();
    EXPECT_EQ(canvas.viewport()->geometry(), QRect(0, 0, 500, 300));
    EXPECT_TRUE(canvas.host->horizontalRuler().isHidden());
    EXPECT_EQ(canvas.host->horizontalRuler().accessoryView(), nullptr);
}

TEST(RulerHost, TheSelectionGetsFourMarkersAndNoneWithoutIt)
{
    ensureWidgetApp();
    RulerTestCanvas canvas;
    auto object = canvas.add({20, 30, 100, 50});
    canvas.host->setRulersVisible(true);
    canvas.select({object});
    EXPECT_EQ(markerAt(canvas.host->horizontalRuler(), RulerEdge::Left), 20);
    EXPECT_EQ(markerAt(canvas.host->horizontalRuler(), RulerEdge::Right), 120);
    EXPECT_EQ(markerAt(canvas.host->verticalRuler(), RulerEdge::Top), 30);
    EXPECT_EQ(markerAt(canvas.host->verticalRuler(), RulerEdge::Bottom), 80);
    // At 250 % scrolled the markers' pictures stand on the edges' pixels.
    canvas.scale = 2.5;
    canvas.origin = {-40, 10};
    EXPECT_EQ(canvas.host->horizontalRuler().imageRectOfMarker(*canvas.host->horizontalRuler().markerRepresenting(
                  rulerEdgeName(RulerEdge::Left))).left(), -40 + 20 * 2.5);

    canvas.select({});
    EXPECT_TRUE(canvas.host->horizontalRuler().markers().empty());
    EXPECT_TRUE(canvas.host->verticalRuler().markers().empty());
}

TEST(RulerHost, DraggingAMarkerResizesTheObjectAsOneUndoStep)
{
    ensureWidgetApp();
    RulerTestCanvas canvas;
    canvas.scale = 2.0;
    auto object = canvas.add({20, 30, 100, 50});
    auto other = canvas.add({40, 100, 20, 20});
    canvas.host->setRulersVisible(true);
    canvas.select({object, other});

    // 60 pixels at 200 % are 30 canvas units.
    dragMarker(canvas.host->horizontalRuler(), RulerEdge::Right, 60);
    EXPECT_EQ(object->bounds(), Rect(20, 30, 130, 50));
    EXPECT_EQ(markerAt(canvas.host->horizontalRuler(), RulerEdge::Right), 150);
    EXPECT_FLOAT_EQ(other->bounds().size.width, 26);
    canvas.doc.undoManager()->closeEventGroup();

    dragMarker(canvas.host->verticalRuler(), RulerEdge::Top, -20);
    EXPECT_EQ(object->bounds(), Rect(20, 20, 130, 60));
    canvas.doc.undoManager()->closeEventGroup();

    canvas.doc.undoManager()->undo();
    EXPECT_EQ(object->bounds(), Rect(20, 30, 130, 50));
    canvas.doc.undoManager()->undo();
    EXPECT_EQ(object->bounds(), Rect(20, 30, 100, 50));
    EXPECT_EQ(other->bounds(), Rect(40, 100, 20, 20));
    EXPECT_FALSE(canvas.doc.undoManager()->canUndo());
}

TEST(RulerHost, ShiftDragMovesTheObjectWithBothMarkers)
{
    ensureWidgetApp();
    RulerTestCanvas canvas;
    auto object = canvas.add({20, 30, 100, 50});
    canvas.host->setRulersVisible(true);
    canvas.select({object});
    dragMarker(canvas.host->horizontalRuler(), RulerEdge::Left, -10, Qt::ShiftModifier);
    EXPECT_EQ(object->bounds(), Rect(10, 30, 100, 50));
    EXPECT_EQ(markerAt(canvas.host->horizontalRuler(), RulerEdge::Left), 10);
    EXPECT_EQ(markerAt(canvas.host->horizontalRuler(), RulerEdge::Right), 110);

    // While the inspector sets the bounds itself, the marker moves alone.
    canvas.host->setSimplyMoveRulerMarkers(true);
    dragMarker(canvas.host->horizontalRuler(), RulerEdge::Left, 40);
    EXPECT_EQ(object->bounds(), Rect(10, 30, 100, 50));
}

TEST(RulerHost, MouseLinesAndTheScrollStepFollowTheCanvas)
{
    ensureWidgetApp();
    RulerTestCanvas canvas;
    canvas.host->setRulersVisible(true);
    const QPoint inViewport(100, 50);
    const QPointF inWindow = canvas.viewport()->mapTo(&canvas, QPointF(inViewport) + QPointF(0.7, 0.2));
    canvas.host->drawTemporaryLinesAt({float(inWindow.x()), float(inWindow.y())});
    EXPECT_EQ(canvas.host->horizontalRuler().rulerlineLocation(), 100.5);
    EXPECT_EQ(canvas.host->verticalRuler().rulerlineLocation(), 50.5);
    canvas.host->drawTemporaryLinesAt(NoPoint);
    EXPECT_FALSE(canvas.host->horizontalRuler().rulerlineLocation());

    // Centimetres by default: one major step of 2 cm at 100 % is 56.7 pixels.
    canvas.host->updateBaseWithZoom();
    EXPECT_EQ(canvas.verticalScrollBar()->singleStep(), 57);

    // The unit preference changes to inches, and the real-world base goes on for a 144 dpi
    // document: a major step is an inch of paper, 144 canvas pixels, shown at 50 %.
    struct InchShell : ShellServices {
        int selectedUnit() const override { return 1; }
        bool displayOnRealWorldBase() const override { return true; }
    } shell;
    ScopedShell installed(shell);
    NotificationCenter::defaultCenter().postNotificationName(VekRulerUnitDidChangeNotification, nullptr);
    canvas.doc.setResolution(144);
    canvas.scale = 0.5;
    canvas.host->updateBaseWithZoom();
    EXPECT_EQ(canvas.host->verticalRuler().unit(), 1);
    EXPECT_EQ(canvas.host->verticalRuler().base(), 72);
    EXPECT_EQ(canvas.verticalScrollBar()->singleStep(), 72);
}
