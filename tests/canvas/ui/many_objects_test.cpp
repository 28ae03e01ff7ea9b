// Moving a selection of many objects: a drag, arrow-key nudges, and their undo and redo
// give back every object's place exactly, and the objects' changes are redrawn and announced
// together (one notification a command, none an object), so that the work grows with the
// number of objects and not with its square.
#include "tests/canvas/ui/canvas_session.h"

#include "model/vek_obj_text.h"
#include "platform/foundation/notification_center.h"

#include <map>

namespace {

class ManyObjects : public CanvasSession {
protected:
    void SetUp() override
    {
        CanvasSession::SetUp();
        // 30 x 20 small squares over the page, every fifth a clip path of the one in front.
        for (int i = 0; i < 600; ++i) {
            auto o = filledRect(Rect(float(i % 30) * 12 + 10, float(i / 30) * 12 + 20, 8, 8));
            if (i % 5 == 4)
                static_cast<VekObjPath &>(*o).setClipType(1);
            doc.insertObject(o, int(doc.objects().size()), false);
        }
        doc.undoManager()->removeAllActions();
        view->selectAll();
        doc.undoManager()->closeEventGroup();
    }

    std::vector<Rect> places() const
    {
        std::vector<Rect> bounds;
        for (const auto &o : doc.objects())
            bounds.push_back(o->bounds());
        return bounds;
    }

    // How many of each notification the work posts.
    std::map<QString, int> notificationsOf(const std::function<void()> &work)
    {
        std::map<QString, int> counts;
        NotificationCenter &center = NotificationCenter::defaultCenter();
        for (const QString &name :
             {VekObjectDidChangeNotification, VekObjectBoundsDidChangeNotification, VekObjectsDidChangeNotification})
            center.addObserver(&counts, name, nullptr, [&counts](const Notification &n) { ++counts[n.name]; });
        work();
        center.removeObserver(&counts);
        return counts;
    }
};

TEST_F(ManyObjects, DragNudgeUndoAndRedoGiveBackEveryPlaceExactly)
{
    const std::vector<Rect> start = places();
    // From a selected square, three steps of the mouse.
    drag({14, 24}, {{22, 27}, {33, 35}, {49, 43}});
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Move");
    const std::vector<Rect> moved = places();
    EXPECT_EQ(moved[0], Rect(45, 39, 8, 8));
    EXPECT_EQ(moved[599], Rect(393, 267, 8, 8));
    EXPECT_TRUE(view->keyDownWithCharacter(QChar(0xF703), ControlKeyMask));   // 0.5 to the right
    doc.undoManager()->closeEventGroup();
    EXPECT_TRUE(view->keyDownWithCharacter(QChar(0xF700), 0));                // 1 up
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Nudge");
    const std::vector<Rect> nudged = places();
    EXPECT_EQ(nudged[17].origin, (Point{moved[17].minX() + 0.5f, moved[17].minY() - 1}));
    EXPECT_EQ(view->selectedObjects().size(), 600u);

    while (doc.undoManager()->canUndo())
        undo();
    EXPECT_EQ(places(), start);
    while (doc.undoManager()->canRedo())
        redo();
    EXPECT_EQ(places(), nudged);
    EXPECT_EQ(view->selectedObjects().size(), 600u);
}

TEST_F(ManyObjects, AMoveAndItsUndoAnnounceTheObjectsTogether)
{
    const auto once = std::map<QString, int>{{VekObjectsDidChangeNotification, 1}};
    EXPECT_EQ(notificationsOf([&] { drag({14, 24}, {{22, 27}, {33, 35}}); }), once);
    EXPECT_EQ(notificationsOf([&] { view->moveSelectedObjectsByPoint({1, 0}); }), once);
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(notificationsOf([&] { undo(); }), once);
    EXPECT_EQ(notificationsOf([&] { redo(); }), once);
}

// A text box cut around an exclusive square hears of the square's move in the batch: its
// text is redrawn where the square was and where it went.
TEST_F(ManyObjects, ATextBoxCutAroundAMovedObjectIsRedrawn)
{
    auto box = VekObjText::create();
    box->setBounds(Rect(20, 260, 300, 30));
    box->setContents(AttributedString(QStringLiteral("words around the square"), TextAttributes{}));
    doc.insertObject(box, int(doc.objects().size()), false);
    const auto square = doc.objects().front();
    box->noteFloatingObjects({square.get()});
    ASSERT_EQ(box->floatingObjects().size(), 1u);
    view->moveSelectedObjectsByPoint({2, 0});
    // The box forgot the cut, so that its next layout looks at the square anew.
    EXPECT_TRUE(box->floatingObjects().empty());
}

} // namespace
