// Dragging the selection out of the canvas: what the drag carries, when a move becomes a
// drag, and what another canvas makes of the dropped objects.
#include "tests/canvas/ui/canvas_session.h"

#include <QMimeData>

namespace {

TEST_F(CanvasSession, TheDragCarriesTheSelectionAsDocumentDataAndAPicture)
{
    EXPECT_EQ(view->mimeDataOfSelection(), nullptr);
    view->selectObject(add({20, 20, 40, 30}));
    std::unique_ptr<QMimeData> mime(view->mimeDataOfSelection());
    ASSERT_TRUE(mime);
    EXPECT_TRUE(mime->hasFormat(VekantoDocumentMimeType));
    EXPECT_FALSE(mime->data(VekantoDocumentMimeType).isEmpty());
    ASSERT_TRUE(mime->hasImage());
    EXPECT_FALSE(qvariant_cast<QImage>(mime->imageData()).isNull());
}

TEST_F(CanvasSession, AMoveBecomesADragOnlyWhenThePointerLeavesTheWindow)
{
    const struct {
        Point inWindow;
        bool leaves;
    } cases[] = {{{200, 150}, false}, {{399, 299}, false}, {{0, 0}, false},
                 {{400, 150}, true},  {{-1, 150}, true},   {{200, 320}, true}};
    for (const auto &c : cases)
        EXPECT_EQ(view->pointLeavesView(c.inWindow), c.leaves) << c.inWindow.x << ", " << c.inWindow.y;
}

TEST_F(CanvasSession, AMoveThatLeavesTheWindowPutsTheObjectsBackWithoutAMoveStep)
{
    const auto object = add({20, 20, 40, 30});
    drag({30, 30}, {{60, 60}, {120, 90}, {480, 100}});
    EXPECT_EQ(object->bounds(), Rect(20, 20, 40, 30));
    EXPECT_TRUE(doc.undoManager()->undoActionName().isEmpty());   // only the selection's step
    EXPECT_TRUE(view->objectIsSelected(*object));
    events.events.clear();   // the drag took the mouse-up

    drag({30, 30}, {{60, 60}, {120, 90}});   // within the window a move stays a move
    EXPECT_EQ(object->bounds(), Rect(110, 80, 40, 30));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Move");
}

TEST_F(CanvasSession, ObjectsDroppedOnAnotherCanvasArriveAsCopiesAtTheDropPoint)
{
    const auto back = add({20, 20, 40, 30});
    add({100, 50, 30, 30});
    view->selectAll();
    std::unique_ptr<QMimeData> mime(view->mimeDataOfSelection());
    ASSERT_TRUE(mime);

    VekDocument other;
    other.setDrawAreaSizePerPage({400, 300});
    VekView target(other);
    ASSERT_TRUE(target.dropMimeData(*mime, {200, 150}, false));
    ASSERT_EQ(other.objects().size(), 2u);
    // Same stacking order, the group's back-most object at the drop point, the rest with it.
    EXPECT_EQ(other.objects()[0]->bounds(), Rect(280, 180, 30, 30));
    EXPECT_EQ(other.objects()[1]->bounds(), Rect(200, 150, 40, 30));
    EXPECT_EQ(target.selectedObjects().size(), 2u);
    EXPECT_EQ(doc.objects().size(), 2u);   // the source keeps its objects
    EXPECT_EQ(back->bounds(), Rect(20, 20, 40, 30));
}

} // namespace
