// Reordering from the objects table: what hangs on the stacking order follows the new order,
// a linked text box's share of its chain's text as the clip shape behind it comes and goes,
// and undo and redo give back exactly the texts and the order before and after.
#include "panels/docinfo/object_reordering.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "tests/support/gui_app.h"
#include "tests/support/text_objects_document.h"

#include <gtest/gtest.h>

namespace {

using text_objects::style;
using text_objects::words;

// Front-most first: a linked box in front of an oval that clips its text, the box it flows
// into, and a plain shape at the back.
struct ClippedChain {
    ClippedChain()
    {
        ensureGuiApp();
        const Rect area(20, 20, 220, 160);
        back = text_objects::shape(doc, BezierPath::bezierPathWithRect(Rect(300, 300, 40, 40)), Color::blackColor());
        second = text_objects::textBox(doc, Rect(20, 220, 220, 400), AttributedString(QStringLiteral(" "), style(11)));
        oval = VekObjPath::create();
        oval->setBezierPath(BezierPath::bezierPathWithOvalInRect(area));
        oval->setBounds(area);
        oval->simplySetAsClip(1, nullptr);
        doc.insertObject(oval, 0, false);
        first = text_objects::textBox(doc, area, AttributedString(words(160), style(11)));
        first->setGroupWithNext(true);
        first->controlConnection();
        doc.undoManager()->closeEventGroup();
        doc.undoManager()->removeAllActions();
    }
    struct State {
        std::vector<VekObject *> order;
        QString first, second;
        bool operator==(const State &) const = default;
    };
    State state() const
    {
        State s{{}, first->contents().string(), second->contents().string()};
        for (const auto &object : doc.objects())
            s.order.push_back(object.get());
        return s;
    }

    VekDocument doc;
    std::shared_ptr<VekObjText> first, second;
    std::shared_ptr<VekObjPath> oval;
    std::shared_ptr<VekObject> back;
};

} // namespace

TEST(ObjectReordering, AClipShapeMovedAwayLetsTheLinkedBoxInFrontTakeMoreTextAndUndoPutsItBack)
{
    ClippedChain f;
    const auto before = f.state();
    ASSERT_GT(before.second.size(), 1);   // the oval leaves too little room for all the text

    // The oval one step back: behind the second box, which it now clips instead.
    ASSERT_TRUE(moveObjects(f.doc, {f.oval}, ObjectsTableOption::AllObjects, false));
    EXPECT_EQ(f.doc.undoManager()->undoActionName(), QStringLiteral("Reorder"));
    f.doc.undoManager()->closeEventGroup();
    const auto after = f.state();
    EXPECT_EQ(after.order, (std::vector<VekObject *>{f.first.get(), f.second.get(), f.oval.get(), f.back.get()}));
    EXPECT_GT(after.first.size(), before.first.size());
    EXPECT_EQ(after.first + after.second, before.first + before.second);   // the chain's text is whole

    f.doc.undoManager()->undo();
    EXPECT_EQ(f.state(), before);
    f.doc.undoManager()->redo();
    EXPECT_EQ(f.state(), after);
}
