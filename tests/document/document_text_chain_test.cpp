// A linked text box that joins a chain, or leaves it, in a document with a window: the
// chain flows anew through the boxes it now has, and undo puts every box back.
#include "document/vek_document.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/undo_manager.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<VekObjText> box(const Rect &bounds, const QString &text)
{
    auto object = VekObjText::create();
    object->setBounds(bounds);
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), 12};
    object->setContents(AttributedString(text, a));
    return object;
}

QStringList texts(const std::vector<std::shared_ptr<VekObjText>> &boxes)
{
    QStringList all;
    for (const auto &b : boxes)
        all << b->contents().string();
    return all;
}

} // namespace

TEST(DocumentTextChain, ABoxInsertedIntoOrRemovedFromAChainFlowsItAnew)
{
    ensureGuiApp();
    VekDocument doc;
    FakeCanvas canvas;
    doc.setVekView(&canvas);
    doc.setHasWindow(true);
    QStringList words;
    for (int i = 0; i < 80; ++i)
        words << QStringLiteral("word%1").arg(i);
    const QString whole = words.join(u' ');
    auto last = box(Rect(20, 400, 200, 60), QString());
    auto first = box(Rect(20, 20, 200, 60), whole);
    doc.insertObject(last, 0, false);
    doc.insertObject(first, 0, false);
    first->setGroupWithNext(true);
    doc.undoManager()->closeEventGroup();
    const QStringList twoBoxes = texts({first, last});
    ASSERT_EQ(twoBoxes.join(QString()), whole);

    // A linked box put between them (behind the first, in front of the last) takes the text
    // after the first box's and passes the rest on.
    auto middle = box(Rect(20, 200, 200, 60), QString());
    middle->setGroupWithNext(true);
    doc.insertObject(middle, 1, false);
    doc.undoManager()->closeEventGroup();
    const QStringList threeBoxes = texts({first, middle, last});
    EXPECT_EQ(threeBoxes.join(QString()), whole);
    EXPECT_EQ(threeBoxes[0], twoBoxes[0]);
    EXPECT_FALSE(threeBoxes[1].isEmpty());
    EXPECT_TRUE(twoBoxes[1].startsWith(threeBoxes[1]));

    doc.undoManager()->undo();
    EXPECT_EQ(texts({first, last}), twoBoxes);
    doc.undoManager()->redo();
    EXPECT_EQ(texts({first, middle, last}), threeBoxes);

    // Taken out again, it takes its text along, and the first box flows into the last one.
    doc.removeObject(middle);
    doc.undoManager()->closeEventGroup();
    EXPECT_EQ(texts({first, last}).join(QString()), QString(whole).remove(threeBoxes[1]));
    EXPECT_EQ(first->contents().string(), threeBoxes[0]);
    doc.undoManager()->undo();
    EXPECT_EQ(texts({first, middle, last}), threeBoxes);
    doc.setVekView(nullptr);
}
