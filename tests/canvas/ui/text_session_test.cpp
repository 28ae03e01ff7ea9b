// Scripted sessions with text boxes on the canvas: creating and typing (keys, composed
// characters, a right-to-left word), selecting and restyling with undo, pasting RTF,
// linked boxes filling and emptying, and text shaped by a clip oval and an exclusive
// object, each checked on the laid-out line fragments.
#include "tests/canvas/ui/canvas_session.h"

#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "platform/text/font_registry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>

#include <map>
#include <tuple>

namespace {

TextAttributes body(float size = 12)
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), size};
    return a;
}

// The line fragments of a box as its own drawing lays them out, in canvas coordinates.
std::vector<LineFragment> linesOf(VekObjText &box)
{
    TextBoxLayout layout(box, box.contents().text(), box.bounds().size);
    std::vector<LineFragment> lines = layout.layoutManager().lineFragments();
    for (LineFragment &line : lines) {
        line.rect.origin.x += box.bounds().minX();
        line.rect.origin.y += box.bounds().minY();
    }
    return lines;
}

// The left edge of each drawn character's outline, by character index.
std::map<int, float> glyphLefts(VekObjText &box)
{
    TextBoxLayout layout(box, box.contents().text(), box.bounds().size);
    std::map<int, float> lefts;
    for (const GlyphOutline &glyph :
         layout.layoutManager().glyphOutlinesForGlyphRange({0, box.contents().length()}, {0, 0}))
        lefts[glyph.characters.location] = glyph.path.bounds().minX();
    return lefts;
}

class TextSession : public CanvasSession {
protected:
    std::shared_ptr<VekObjText> createBox(Point from, Point to)
    {
        shell.tool = 6;
        drag(from, {to});
        auto box = std::dynamic_pointer_cast<VekObjText>(view->editingObject());
        EXPECT_TRUE(box);
        return box;
    }
    // A box placed as a document would hold it, in front of everything.
    std::shared_ptr<VekObjText> placeBox(const Rect &bounds, const QString &text = QStringLiteral(" "))
    {
        auto box = VekObjText::create();
        box->setBounds(bounds);
        box->setContents(AttributedString(text, body()));
        doc.insertObject(box, 0, false);
        doc.undoManager()->removeAllActions();
        return box;
    }
    void type(const QString &text)
    {
        QTest::keyClicks(view.get(), text);
        doc.undoManager()->closeEventGroup();
    }
    // Each key in an event-loop pass of its own, as a user types.
    void typeKeys(const QString &text)
    {
        for (const QChar c : text) {
            QTest::keyClick(view.get(), c.toLatin1());
            doc.undoManager()->closeEventGroup();
        }
    }
    void key(Qt::Key key)
    {
        QTest::keyClick(view.get(), key);
        doc.undoManager()->closeEventGroup();
    }
    void undoAll()
    {
        while (doc.undoManager()->canUndo())
            undo();
    }
    void redoAll()
    {
        while (doc.undoManager()->canRedo())
            redo();
    }
    void inputMethod(const QString &preedit, const QString &commit)
    {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QCoreApplication::sendEvent(view.get(), &event);
        doc.undoManager()->closeEventGroup();
    }
    void doubleClick(Point at) { drag(at, {}, 0, 2); }
    // A click on the empty canvas ends the editing.
    void clickAway() { click({390, 290}); }
    VekTextView &editor(VekObjText &box)
    {
        EXPECT_NE(box.editor(), nullptr);
        return *box.editor();
    }
};

TEST_F(TextSession, TypingComposingAndARightToLeftWordFillTheStoreInOrder)
{
    const auto box = createBox({40, 40}, {240, 80});
    ASSERT_TRUE(box);
    type(QStringLiteral("Caf"));
    // The input method composes: the store waits for the commit.
    inputMethod(QStringLiteral("e"), {});
    EXPECT_EQ(box->contents().string(), QStringLiteral("Caf"));
    EXPECT_EQ(editor(*box).markedText(), QStringLiteral("e"));
    inputMethod({}, QStringLiteral("\u00e9"));
    EXPECT_TRUE(editor(*box).markedText().isEmpty());
    type(QStringLiteral(" "));
    inputMethod({}, QStringLiteral("\u05e9\u05dc\u05d5\u05dd"));   // Hebrew "shalom"
    type(QStringLiteral(" ok"));
    EXPECT_EQ(box->contents().string(), QStringLiteral("Caf\u00e9 \u05e9\u05dc\u05d5\u05dd ok"));

    clickAway();
    ASSERT_EQ(doc.objects().size(), 1u);
    ASSERT_EQ(linesOf(*box).size(), 1u);
    // The left-to-right line keeps the words in reading order; the Hebrew word inside it
    // runs from right to left.
    const auto lefts = glyphLefts(*box);
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8, 10, 11})
        ASSERT_TRUE(lefts.count(i)) << i;
    EXPECT_LT(lefts.at(0), lefts.at(3));
    EXPECT_LT(lefts.at(3), lefts.at(8));
    EXPECT_GT(lefts.at(5), lefts.at(6));
    EXPECT_GT(lefts.at(6), lefts.at(7));
    EXPECT_GT(lefts.at(7), lefts.at(8));
    EXPECT_LT(lefts.at(5), lefts.at(10));
}

TEST_F(TextSession, ADoubleClickedWordIsRestyledAndUndoRedoRetraceEveryStep)
{
    const auto box = createBox({40, 40}, {240, 80});
    ASSERT_TRUE(box);
    type(QStringLiteral("Plain words"));
    const AttributedString typed = box->contents().text();
    clickAway();

    // A double click on "Plain" edits the box with the word selected.
    doubleClick({55, 47});
    ASSERT_EQ(view->editingObject(), box);
    VekTextView &e = editor(*box);
    EXPECT_EQ(e.selectedRange(), (TextRange{0, 5}));
    const Font plain = *typed.attributesAt(0).font;

    // The toolbar's commands: the bold face of the family, then a bigger size.
    box->setFontNameEditorRange(fontNameWithTraits(plain.name, true, false), e, e.selectedRange());
    doc.undoManager()->closeEventGroup();
    const AttributedString bold = box->contents().text();
    box->setFontSize(20, e, e.selectedRange());
    doc.undoManager()->closeEventGroup();
    const AttributedString styled = box->contents().text();

    const std::vector<TextRun> &runs = styled.runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].range, (TextRange{0, 5}));
    EXPECT_TRUE(fontTraits(runs[0].attributes.font->name)->bold);
    EXPECT_EQ(runs[0].attributes.font->size, 20);
    EXPECT_EQ(*runs[1].attributes.font, plain);
    EXPECT_EQ(e.selectedRange(), (TextRange{0, 5}));

    undo();
    EXPECT_EQ(box->contents().text(), bold);
    undo();
    EXPECT_EQ(box->contents().text(), typed);
    // Further back: the box's natural size at the end of the first editing, then the typing.
    const Rect sized = box->bounds();
    for (int steps = 0; steps < 3 && box->contents().string() != QStringLiteral(" "); ++steps)
        undo();
    EXPECT_EQ(box->contents().string(), QStringLiteral(" "));
    while (doc.undoManager()->canRedo())
        redo();
    EXPECT_EQ(box->contents().text(), styled);
    EXPECT_EQ(box->bounds(), sized);
}

TEST_F(TextSession, RTFPastedFromTheSystemClipboardKeepsItsRuns)
{
    const auto box = createBox({40, 40}, {300, 80});
    ASSERT_TRUE(box);
    type(QStringLiteral("A "));
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("text/rtf"),
                  QByteArrayLiteral("{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss DejaVuSans;}\\f0\\fs24 plain "
                                    "{\\b bold} {\\i\\fs36 big}}"));
    QGuiApplication::clipboard()->setMimeData(mime);
    QTest::keyClick(view.get(), Qt::Key_V, Qt::ControlModifier);

    const AttributedString &text = box->contents().text();
    EXPECT_EQ(text.string(), QStringLiteral("A plain bold big"));
    const auto fontAt = [&](int i) { return *text.attributesAt(i).font; };
    EXPECT_FALSE(fontTraits(fontAt(2).name)->bold);
    EXPECT_EQ(fontAt(2).size, 12);
    EXPECT_TRUE(fontTraits(fontAt(8).name)->bold);
    EXPECT_TRUE(fontTraits(fontAt(13).name)->italic);
    EXPECT_EQ(fontAt(13).size, 18);
    // The insertion point follows the pasted text.
    EXPECT_EQ(editor(*box).selectedRange(), (TextRange{text.length(), 0}));
}

TEST_F(TextSession, TypingInALinkedBoxFlowsIntoTheNextAndDeletingPullsItBack)
{
    // The second box first, behind; then the first in front of it, linked.
    const auto second = placeBox(Rect(40, 160, 200, 100));
    second->setContents(AttributedString());
    const auto first = placeBox(Rect(40, 20, 200, 50), QStringLiteral("Start"));
    first->setGroupWithNext(true);
    ASSERT_EQ(first->connectedTextObject(), second);

    doubleClick({60, 27});
    ASSERT_EQ(view->editingObject(), first);
    QTest::keyClick(view.get(), Qt::Key_End);
    QString words;
    for (int i = 0; i < 30; ++i)
        words += QStringLiteral(" word");
    type(words);
    clickAway();

    const QString all = QStringLiteral("Start") + words;
    const auto joined = [&] { return first->contents().string() + second->contents().string(); };
    // The linked box is back at its size from before editing.
    EXPECT_EQ(first->bounds(), Rect(40, 20, 200, 50));
    EXPECT_FALSE(second->contents().string().isEmpty());
    EXPECT_EQ(joined(), all);
    // Each box's lines lie within it.
    for (const auto &box : {first, second}) {
        const auto lines = linesOf(*box);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().characters.location, 0);
        EXPECT_EQ(lines.back().characters.end(), box->contents().length());
        for (const LineFragment &line : lines)
            EXPECT_LE(line.rect.maxY(), box->bounds().maxY() + 0.01f);
    }
    const float firstHeight = first->bounds().height();
    EXPECT_GT(firstHeight, 40);

    // Deleting ten words makes room: the text flows back out of the second box.
    doubleClick({60, 27});
    QTest::keyClick(view.get(), Qt::Key_Home);
    for (int i = 0; i < 50; ++i)
        QTest::keyClick(view.get(), Qt::Key_Delete);
    doc.undoManager()->closeEventGroup();
    clickAway();
    EXPECT_EQ(joined(), all.mid(50));
    EXPECT_TRUE(second->contents().string().isEmpty() || first->bounds().height() >= firstHeight - 1)
        << first->contents().string().toStdString();
    EXPECT_GT(first->contents().length(), 50);
}

// Keys typed one after another make one step "Typing"; moving the insertion point, a
// command or the end of editing starts the next.
TEST_F(TextSession, ARunOfTypingIsOneUndoStepUntilTheInsertionPointMoves)
{
    const auto box = createBox({40, 40}, {240, 80});
    ASSERT_TRUE(box);
    const AttributedString empty = box->contents().text();
    typeKeys(QStringLiteral("Hello"));
    EXPECT_EQ(doc.undoManager()->undoActionName(), "Typing");
    const AttributedString hello = box->contents().text();
    key(Qt::Key_Left);
    typeKeys(QStringLiteral("XY"));
    key(Qt::Key_Backspace);
    typeKeys(QStringLiteral("Z"));
    const AttributedString second = box->contents().text();
    EXPECT_EQ(second.string(), QStringLiteral("HellXZo"));
    // A command ends the run too.
    view->performAction(QStringLiteral("setBold"), ActionSender{});
    typeKeys(QStringLiteral("!"));
    const AttributedString third = box->contents().text();
    EXPECT_EQ(third.string(), QStringLiteral("HellXZ!o"));

    undo();
    EXPECT_EQ(box->contents().text(), second);
    undo();
    EXPECT_EQ(box->contents().text(), hello);
    undo();
    EXPECT_EQ(box->contents().text(), empty);
    redo();
    redo();
    redo();
    EXPECT_EQ(box->contents().text(), third);   // characters and runs

    // After the end of editing, typing in the box again is a new step.
    clickAway();
    doubleClick({50, 47});
    ASSERT_EQ(view->editingObject(), box);
    key(Qt::Key_End);
    typeKeys(QStringLiteral("ab"));
    undo();
    EXPECT_EQ(box->contents().text(), third);
}

// Typing in the first of two linked boxes flows on into the second inside the typing step:
// undoing it puts both boxes back exactly, and redoing it too.
TEST_F(TextSession, TypingInALinkedBoxIsOneStepThatUndoAndRedoRetraceExactly)
{
    const auto second = placeBox(Rect(40, 160, 200, 100));
    second->setContents(AttributedString());
    const auto first = placeBox(Rect(40, 20, 200, 50), QStringLiteral("Start"));
    first->setGroupWithNext(true);
    doc.undoManager()->removeAllActions();
    // Both boxes' characters with their runs, and their places.
    const auto state = [&] {
        return std::make_tuple(first->contents().text(), second->contents().text(), first->bounds(),
                               second->bounds());
    };
    const auto before = state();

    doubleClick({60, 27});
    ASSERT_EQ(view->editingObject(), first);
    key(Qt::Key_End);
    QString words;
    for (int i = 0; i < 30; ++i)
        words += QStringLiteral(" word");
    typeKeys(words);
    const auto typed = state();
    undo();
    EXPECT_EQ(state(), before);
    redo();
    EXPECT_EQ(state(), typed);

    clickAway();
    const auto flowed = state();
    EXPECT_FALSE(second->contents().string().isEmpty());
    undoAll();
    EXPECT_EQ(state(), before);
    redoAll();
    EXPECT_EQ(state(), flowed);
}

TEST_F(TextSession, TextFlowsInsideAClipOvalAndAroundAnExclusiveObject)
{
    QString words;
    for (int i = 0; i < 80; ++i)
        words += QStringLiteral("lorem ");

    // An oval clip shape directly behind the box.
    const Rect ovalRect(40, 20, 300, 220);
    auto oval = VekObjPath::create();
    oval->setBezierPath(BezierPath::bezierPathWithOvalInRect(ovalRect));
    oval->setBounds(ovalRect);
    doc.insertObject(oval, 0, false);
    oval->setClipType(1);
    const auto clipped = placeBox(Rect(40, 20, 300, 220), words);
    ASSERT_EQ(doc.objects()[1], oval);
    const auto lines = linesOf(*clipped);
    ASSERT_GT(lines.size(), 5u);
    const Point c{ovalRect.midX(), ovalRect.midY()};
    const float rx = ovalRect.width() / 2, ry = ovalRect.height() / 2;
    const auto inOval = [&](Point p) {
        const float dx = (p.x - c.x) / rx, dy = (p.y - c.y) / ry;
        return dx * dx + dy * dy <= 1.02f;
    };
    float widest = 0;
    for (const LineFragment &line : lines) {
        if (line.rect.isEmpty())
            continue;
        const Rect &r = line.rect;
        SCOPED_TRACE(r.minY());
        EXPECT_TRUE(inOval({r.minX(), r.minY()}) && inOval({r.maxX(), r.minY()}) && inOval({r.minX(), r.maxY()})
                    && inOval({r.maxX(), r.maxY()}));
        widest = std::max(widest, r.width());
    }
    // The lines near the middle are much wider than those at the top.
    EXPECT_GT(widest, lines.front().rect.width() + 50);

    // An exclusive object in the middle of another box: no line runs across it.
    doc.removeObject(clipped);
    doc.removeObject(oval);
    auto block = filledRect(Rect(120, 80, 60, 40));
    block->setExclusive(true);
    doc.insertObject(block, 0, false);
    const auto around = placeBox(Rect(40, 40, 300, 200), words);
    bool beside = false;
    for (const LineFragment &line : linesOf(*around)) {
        SCOPED_TRACE(line.rect.minY());
        EXPECT_FALSE(intersectsRect(line.rect, block->bounds()));
        beside = beside || (line.rect.maxY() > 80 && line.rect.minY() < 120 && line.rect.minX() > 180);
    }
    EXPECT_TRUE(beside);
    EXPECT_EQ(around->floatingObjects().count(block.get()), 1u);
}

} // namespace

// The Page menu's view options: invisible characters reach the editor only while a box is
// edited (the item keeps its state when it cannot be chosen), and anchors show as marks
// whose tool tip is the anchor's name.
TEST_F(TextSession, InvisibleCharactersAndAnchorMarksFollowTheirToggles)
{
    ActionSender sender;
    EXPECT_FALSE(view->validateAction(QStringLiteral("showInvisibleChars"), sender));
    auto box = createBox({40, 40}, {240, 140});
    type(QStringLiteral("a b"));
    ASSERT_TRUE(view->validateAction(QStringLiteral("showInvisibleChars"), sender));
    EXPECT_EQ(sender.state, 0);
    view->performAction(QStringLiteral("showInvisibleChars"), sender);
    EXPECT_TRUE(editor(*box).layoutManager().showsInvisibleCharacters());
    clickAway();
    EXPECT_FALSE(view->validateAction(QStringLiteral("showInvisibleChars"), sender));
    EXPECT_EQ(sender.state, 1);
    // A box edited later starts with the marks on.
    auto second = createBox({40, 180}, {240, 260});
    EXPECT_TRUE(editor(*second).layoutManager().showsInvisibleCharacters());
    clickAway();

    auto target = add({300, 200, 40, 40});
    target->setAnchorName(QStringLiteral("#here"));
    const QImage before = view->viewport()->grab().toImage();
    EXPECT_TRUE(view->anchorNameAt({300, 200}).isEmpty());
    ASSERT_TRUE(view->validateAction(QStringLiteral("showAnchors"), sender));
    view->performAction(QStringLiteral("showAnchors"), sender);
    EXPECT_EQ(view->anchorNameAt({301, 201}), QStringLiteral("#here"));
    EXPECT_TRUE(view->anchorNameAt({320, 220}).isEmpty());
    const QImage after = view->viewport()->grab().toImage();
    EXPECT_NE(before.pixel(298, 198), after.pixel(298, 198));
    EXPECT_EQ(before.pixel(380, 100), after.pixel(380, 100));
    view->validateAction(QStringLiteral("showAnchors"), sender);
    EXPECT_EQ(sender.state, 1);
}
