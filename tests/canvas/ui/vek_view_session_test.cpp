// Scripted sessions on the canvas: creating objects with the tools, selecting, moving,
// resizing, reshaping, nudging and deleting, each checked against the document and its
// undo history.
#include "tests/canvas/ui/canvas_session.h"

#include "model/vek_obj_text.h"
#include "platform/foundation/notification_center.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

TEST_F(CanvasSession, EachCreationToolMakesItsKindAsOneUndoStep)
{
    const struct {
        int tool;
        const char *className;
    } cases[] = {{1, "VekObjObj"}, {2, "VekObjPath"}, {5, "VekObjMarker"}, {7, "VekObjFormat"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.className);
        shell.tool = c.tool;
        drag({50, 40}, {{80, 60}, {120, 90}, {150, 100}});
        ASSERT_EQ(doc.objects().size(), 1u);
        EXPECT_EQ(doc.objects()[0]->className(), c.className);
        EXPECT_GT(doc.objects()[0]->bounds().width(), 0);
        EXPECT_EQ(doc.undoManager()->undoActionName(), "Create Object");
        undo();
        EXPECT_TRUE(doc.objects().empty());
        redo();
        EXPECT_EQ(doc.objects().size(), 1u);
        doc.removeObject(doc.objects()[0]);
        doc.undoManager()->removeAllActions();
    }
    // The field tool hands over to the arrow tool.
    EXPECT_EQ(shell.tool, 0);
}

// The pen's first drag makes the path and leaves it edited without waiting for another
// drag; each later drag from its end adds one segment.
TEST_F(CanvasSession, ThePointPenAddsOneSegmentPerDragToThePathItEdits)
{
    shell.tool = 3;
    drag({50, 40}, {{80, 60}, {120, 90}});
    ASSERT_EQ(doc.objects().size(), 1u);
    const auto pen = doc.objects()[0];
    EXPECT_EQ(pen->className(), "VekObjPoints");
    EXPECT_EQ(view->editingObject(), pen);
    EXPECT_EQ(pen->bezierPath().elementCount(), 2);
    EXPECT_TRUE(events.events.empty());

    drag({120, 90}, {{160, 80}, {200, 60}});
    EXPECT_EQ(doc.objects().size(), 1u);
    EXPECT_EQ(pen->bezierPath().elementCount(), 3);
    EXPECT_EQ(pen->bezierPath().currentPoint(), (Point{200, 60}));
}

TEST_F(CanvasSession, TheShapeToolWithoutAnObjectSetLeavesAVisibleRectangle)
{
    shell.tool = 1;
    drag({50, 40}, {{150, 100}});
    ASSERT_EQ(doc.objects().size(), 1u);
    const auto shape = doc.objects()[0];
    ASSERT_TRUE(shape->hasEditablePath());
    EXPECT_EQ(shape->bezierPath().bounds(), shape->bounds());
}

TEST_F(CanvasSession, ACreationWithoutSizeLeavesNoTrace)
{
    shell.tool = 1;
    click({50, 40});
    EXPECT_TRUE(doc.objects().empty());
    EXPECT_FALSE(doc.undoManager()->canUndo());
}

TEST_F(CanvasSession, ANewObjectGoesInFrontOfTheLastDeselectedOneOrBehindWhenWhollyBelow)
{
    const auto a = add(Rect(10, 10, 100, 50));
    const auto b = add(Rect(200, 10, 100, 50));   // b front, a behind
    click({50, 30});                                // select a
    click({390, 290});                              // nothing: a becomes the last deselected
    shell.tool = 1;
    drag({20, 200}, {{60, 250}});                   // wholly below a: directly behind it
    ASSERT_EQ(doc.objects().size(), 3u);
    EXPECT_EQ(doc.objects()[1], a);
    EXPECT_EQ(doc.objects()[2]->className(), "VekObjObj");
    EXPECT_EQ(doc.objects()[0], b);
}

TEST_F(CanvasSession, ClickSelectsShiftTogglesAndTheEmptyCanvasClears)
{
    const auto a = add(Rect(10, 10, 100, 50));
    const auto b = add(Rect(200, 10, 100, 50));
    click({50, 30});
    EXPECT_EQ(view->selectedObjects(), (VekView::ObjectList{a}));
    click({250, 30}, ShiftKeyMask);
    EXPECT_EQ(view->selectedObjects(), (VekView::ObjectList{a, b}));
    click({50, 30}, ShiftKeyMask);
    EXPECT_EQ(view->selectedObjects(), (VekView::ObjectList{b}));
    EXPECT_EQ(a->bounds(), Rect(10, 10, 100, 50));   // a shift-click never moves
    click({390, 290});
    EXPECT_TRUE(view->selectedObjects().empty());
    EXPECT_EQ(view->currentObject(), nullptr);
}

TEST_F(CanvasSession, ARubberBandSelectsWhatItTouchesAndWithOptionDeselects)
{
    const auto a = add(Rect(10, 10, 50, 50));
    const auto b = add(Rect(100, 10, 50, 50));
    const auto c = add(Rect(300, 200, 50, 50));
    drag({5, 5}, {{50, 50}, {120, 40}});
    EXPECT_EQ(view->sortObjectsInOrder(view->selectedObjects()), view->sortObjectsInOrder({a, b}));
    EXPECT_EQ(view->rubberbandRect(), Rect());
    drag({5, 5}, {{40, 40}}, AlternateKeyMask | ShiftKeyMask);
    EXPECT_EQ(view->selectedObjects(), (VekView::ObjectList{b}));
    // A band that ends where it started selects nothing.
    drag({5, 5}, {{30, 30}, {5, 5}});
    EXPECT_TRUE(view->selectedObjects().empty());
    (void)c;
}

TEST_F(CanvasSession, ADragMovesTheSelectionAsOneStepAfterTwoPoints)
{
    const auto a = add(Rect(10, 10, 100, 50));
    const auto b = add(Rect(200, 10, 100, 50));
    click({50, 30});
    click({250, 30}, ShiftKeyMask);
    doc.undoManager()->removeAllActions();

    drag({50, 30}, {{51.9f, 31.9f}, {51.9f, 31.9f}});
    EXPECT_EQ(a->bounds(), Rect(10, 10, 100, 50));
    EXPECT_FALSE(doc.undoManager()->canUndo());

    drag({50, 30}, {{55, 35}, {70, 40}, {80, 50}});
    EXPECT_EQ(a->bounds(), Rect(40, 30, 100, 50));
    EXPECT_EQ(b->bounds(), Rect(230, 30, 100, 50));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Move");
    undo();
    EXPECT_EQ(a->bounds(), Rect(10, 10, 100, 50));
    EXPECT_EQ(b->bounds(), Rect(200, 10, 100, 50));
    EXPECT_FALSE(doc.undoManager()->canUndo());
    redo();
    EXPECT_EQ(b->bounds(), Rect(230, 30, 100, 50));
}

TEST_F(CanvasSession, SnappingPutsTheSelectionOriginOnTheGrid)
{
    const auto a = add(Rect(33, 47, 40, 40));
    view->setSnapsToGrid(true);
    view->setGridSpacing(20);
    click({50, 60});
    drag({50, 60}, {{53, 58}});
    EXPECT_EQ(a->bounds().origin, (Point{40, 40}));
}

TEST_F(CanvasSession, AKnobResizesAndTheOtherSelectedObjectsFollow)
{
    view->setDrawControlPoints(false);
    const auto a = add(Rect(10, 10, 100, 50));
    const auto b = add(Rect(10, 100, 40, 40));
    const auto c = add(Rect(200, 100, 20, 20));
    click({50, 30});
    click({30, 120}, ShiftKeyMask);
    click({210, 110}, ShiftKeyMask);
    doc.undoManager()->removeAllActions();

    // The right-middle knob of a from width 100 to 150: the others widen 1.5 times in place.
    drag({110, 35}, {{130, 35}, {160, 35}});
    EXPECT_EQ(a->bounds(), Rect(10, 10, 150, 50));
    EXPECT_EQ(b->bounds(), Rect(10, 100, 60, 40));
    EXPECT_EQ(c->bounds(), Rect(200, 100, 30, 20));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Resize");
    undo();
    EXPECT_EQ(a->bounds(), Rect(10, 10, 100, 50));
    EXPECT_EQ(b->bounds(), Rect(10, 100, 40, 40));
    EXPECT_EQ(c->bounds(), Rect(200, 100, 20, 20));
}

TEST_F(CanvasSession, DraggingAPathPointReshapesIt)
{
    const auto a = add(Rect(10, 10, 100, 50));
    click({50, 30});
    doc.undoManager()->removeAllActions();
    drag({10, 10}, {{20, 5}, {30, 0}});
    EXPECT_EQ(a->bezierPath().element(0).endPoint(), (Point{30, 0}));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Reshape");
    undo();
    EXPECT_EQ(a->bounds(), Rect(10, 10, 100, 50));
    EXPECT_EQ(a->bezierPath().element(0).endPoint(), (Point{10, 10}));
}

TEST_F(CanvasSession, ArrowKeysNudgeDeleteRemovesAndPagesTurnWithoutASelection)
{
    doc.setNumberOfPages(3);
    const auto a = add(Rect(10, 10, 100, 50));
    view->setGridSpacing(20);
    const QChar right(0xF703), left(0xF702), up(0xF700), down(0xF701);

    EXPECT_FALSE(view->keyDownWithCharacter(QChar(0x7F), 0));   // nothing selected
    EXPECT_TRUE(view->keyDownWithCharacter(down, 0));
    EXPECT_EQ(view->currentPage(), 2);
    EXPECT_TRUE(view->keyDownWithCharacter(up, 0));
    EXPECT_FALSE(view->keyDownWithCharacter(up, 0));            // already on page 1

    click({50, 30});
    doc.undoManager()->removeAllActions();
    EXPECT_TRUE(view->keyDownWithCharacter(right, ShiftKeyMask));
    doc.undoManager()->closeEventGroup();
    EXPECT_TRUE(view->keyDownWithCharacter(left, ControlKeyMask));
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(a->bounds().origin, (Point{29.5f, 10}));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Nudge");
    EXPECT_FALSE(view->keyDownWithCharacter(QChar('x'), 0));

    EXPECT_TRUE(view->keyDownWithCharacter(QChar(0x7F), 0));
    doc.undoManager()->closeEventGroup();
    EXPECT_TRUE(doc.objects().empty());
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Delete");
    undo();
    ASSERT_EQ(doc.objects().size(), 1u);
    EXPECT_EQ(doc.objects()[0], a);
}

TEST_F(CanvasSession, SelectingAGroupedObjectSelectsItsGroupAndUndoDeselectsIt)
{
    const auto a = add(Rect(10, 10, 50, 50));
    const auto b = add(Rect(100, 10, 50, 50));
    add(Rect(300, 10, 50, 50));
    doc.groupObjects({a, b});
    doc.undoManager()->removeAllActions();
    int notifications = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        this, VekViewSelectionDidChangeNotification, view.get(), [&](const Notification &) { ++notifications; });

    view->selectObject(a);
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(view->sortObjectsInOrder(view->selectedObjects()), view->sortObjectsInOrder({a, b}));
    EXPECT_EQ(notifications, 1);
    // Deselecting one deselects its group, named as a selection change.
    view->deselectObject(b);
    doc.undoManager()->closeEventGroup();
    EXPECT_TRUE(view->selectedObjects().empty());
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Selection Change");
    undo();
    EXPECT_EQ(view->selectedObjects().size(), 2u);
    undo();
    EXPECT_TRUE(view->selectedObjects().empty());
    NotificationCenter::defaultCenter().removeObserver(token);
}

TEST_F(CanvasSession, HitTestingPrefersSelectedObjectsAndFindsThinLines)
{
    const auto behind = add(Rect(10, 10, 100, 100));
    const auto front = add(Rect(10, 10, 100, 100));
    view->selectObjects({behind});
    EXPECT_EQ(view->objectUnderPoint({50, 50}, false), behind);
    const auto line = add(Rect(200, 10, 0, 100));
    EXPECT_EQ(view->objectsIntersectingRect(Rect(195, 50, 10, 10)), (VekView::ObjectList{line}));
    (void)front;
}

// Through the real widget: Qt mouse events drive the same drag.
TEST_F(CanvasSession, TheWidgetTracksADragFromQtMouseEvents)
{
    view->setEventSource(nullptr);
    view->setDrawControlPoints(false);
    const auto a = add(Rect(10, 10, 100, 50));
    QWidget *viewport = view->viewport();
    const auto post = [viewport](QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
        QCoreApplication::postEvent(viewport, new QMouseEvent(type, QPointF(p), viewport->mapToGlobal(QPointF(p)),
                                                              Qt::LeftButton, buttons, Qt::NoModifier));
    };
    post(QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    post(QEvent::MouseMove, {80, 50}, Qt::LeftButton);
    post(QEvent::MouseButtonRelease, {80, 50}, Qt::NoButton);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 30), viewport->mapToGlobal(QPointF(50, 30)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    EXPECT_EQ(a->bounds(), Rect(40, 30, 100, 50));
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Move");
    EXPECT_EQ(view->cursorKindAtPoint({75, 55}), CursorKind::OpenHand);
    EXPECT_EQ(view->cursorKindAtPoint({140, 55}), CursorKind::ResizeLeftRight);
}

} // namespace

namespace {

void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
    }
}

TEST_F(CanvasSession, TheTextToolMakesABoxThatTakesTypingAndGoesWhenLeftEmpty)
{
    shell.tool = 6;
    drag({50, 40}, {{150, 60}, {200, 90}});
    ASSERT_EQ(doc.objects().size(), 1u);
    const auto box = std::dynamic_pointer_cast<VekObjText>(doc.objects()[0]);
    ASSERT_TRUE(box);
    EXPECT_EQ(view->editingObject(), box);
    ASSERT_NE(view->editorView(), nullptr);
    EXPECT_EQ(shell.tool, 0);

    typeInto(view.get(), QStringLiteral("Hi there"));
    EXPECT_EQ(box->contents().string(), "Hi there");
    // Input methods compose into the hosted editor.
    QInputMethodEvent compose(QString(), {});
    compose.setCommitString(QStringLiteral("\u00e9"));
    QCoreApplication::sendEvent(view.get(), &compose);
    EXPECT_EQ(box->contents().string(), "Hi there\u00e9");

    // A click elsewhere ends the editing; the box keeps its text.
    click({350, 250});
    EXPECT_EQ(view->editingObject(), nullptr);
    EXPECT_EQ(doc.objects().size(), 1u);

    // A new box left empty leaves no object behind.
    shell.tool = 6;
    drag({50, 150}, {{150, 200}});
    EXPECT_EQ(doc.objects().size(), 2u);
    click({350, 250});
    EXPECT_EQ(doc.objects().size(), 1u);
}

} // namespace

namespace {

TEST_F(CanvasSession, TheContourToolCollectsClicksIntoAPathWhenEditingEnds)
{
    shell.tool = 4;
    for (const Point p : {Point{50, 50}, Point{100, 60}, Point{150, 51}})
        click(p);
    EXPECT_TRUE(doc.objects().empty());
    view->endEditing();
    doc.undoManager()->closeEventGroup();
    ASSERT_EQ(doc.objects().size(), 1u);
    EXPECT_EQ(doc.objects()[0]->className(), "VekObjPath");
    EXPECT_EQ(view->selectedObjects(), (VekView::ObjectList{doc.objects()[0]}));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Create Object");
    undo();
    EXPECT_TRUE(doc.objects().empty());
}

} // namespace
