// The text ruler's paragraph edits on an edited box: which paragraphs each edit reaches,
// what it does to their styles, one named undo step each, and undo-all/redo-all back to the
// exact runs.
#include "model/text/paragraph_ruler_edits.h"

#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/text/text_storage.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

TextAttributes sans(const ParagraphStyle &style = {})
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), 12};
    a.paragraphStyle = style;
    return a;
}

// Three paragraphs: the first with a right tab at 100, the others plain.
AttributedString threeParagraphs()
{
    ParagraphStyle tabbed;
    tabbed.tabStops = {TextTab{TextTabType::Right, 100}};
    AttributedString text(QStringLiteral("one\tx\n"), sans(tabbed));
    text.append(AttributedString(QStringLiteral("two two two\n"), sans()));
    text.append(AttributedString(QStringLiteral("three"), sans()));
    return text;
}

struct EditedBox {
    FakeDocument document;
    std::shared_ptr<VekObjText> box;
    VekTextView *editor = nullptr;

    explicit EditedBox(const AttributedString &text, Rect bounds = Rect(10, 10, 300, 100))
    {
        ensureGuiApp();
        box = VekObjText::create();
        document.adopt(box);
        box->setBounds(bounds);
        box->setContents(text);
        document.undo.removeAllActions();
        box->startEditingWithEvent(MouseEvent{}, &document.canvas);
        editor = box->editor();
    }
    ~EditedBox() { box->endEditingInView(&document.canvas); }

    ParagraphStyle styleAt(int index) const
    {
        return box->contents().text().attributesAt(index).paragraphStyle.value_or(ParagraphStyle{});
    }
    // One edit as one pass of the event loop: true when it changed the text.
    bool apply(TextRange selection, const ParagraphEdit &edit)
    {
        editor->setSelectedRange(selection);
        const bool changed = applyParagraphEditInEditor(*box, *editor, edit);
        document.undo.closeEventGroup();
        return changed;
    }
};

ParagraphEdit edit(ParagraphEdit::Kind kind, float value = 0, TextTab tab = {},
                   TextAlignment alignment = TextAlignment::Left)
{
    ParagraphEdit e;
    e.kind = kind;
    e.value = value;
    e.tab = tab;
    e.alignment = alignment;
    return e;
}

using K = ParagraphEdit::Kind;
constexpr int First = 0, Second = 6, Third = 18;   // a character of each paragraph

} // namespace

TEST(ParagraphRulerEdits, EachEditReachesTheTouchedParagraphsAsOneNamedStepAndUndoesExactly)
{
    EditedBox s(threeParagraphs());
    const TextTab right100{TextTabType::Right, 100};
    const TextTab left40{TextTabType::Left, 40};
    struct Case {
        const char *what;
        TextRange selection;
        ParagraphEdit edit;
        const char *undoName;
        std::function<void(const EditedBox &)> check;
    };
    const Case cases[] = {
        {"centring from the first into the second paragraph", {2, 6}, edit(K::Alignment, 0, {}, TextAlignment::Center),
         "Set Alignment",
         [](const EditedBox &b) {
             EXPECT_EQ(b.styleAt(First).alignment, TextAlignment::Center);
             EXPECT_EQ(b.styleAt(Second).alignment, TextAlignment::Center);
             EXPECT_EQ(b.styleAt(Third).alignment, TextAlignment::Natural);
             // The rest of each paragraph's style stays its own.
             EXPECT_EQ(b.styleAt(First).tabStops, QList<TextTab>({TextTab{TextTabType::Right, 100}}));
         }},
        {"a left tab before the right one, in order", {1, 0}, edit(K::AddTab, 0, left40), "Add Tab Stop",
         [&](const EditedBox &b) { EXPECT_EQ(b.styleAt(First).tabStops, QList<TextTab>({left40, right100})); }},
        {"a tab at a taken place replaces the stop there", {1, 0}, edit(K::AddTab, 0, {TextTabType::Decimal, 40}),
         "Add Tab Stop",
         [&](const EditedBox &b) {
             EXPECT_EQ(b.styleAt(First).tabStops, QList<TextTab>({TextTab{TextTabType::Decimal, 40}, right100}));
         }},
        {"moving the right tab to 20 keeps its kind and the order; the second paragraph has none to move",
         {0, 10}, edit(K::MoveTab, 20, right100), "Move Tab Stop",
         [](const EditedBox &b) {
             EXPECT_EQ(b.styleAt(First).tabStops, QList<TextTab>({TextTab{TextTabType::Right, 20},
                                                                  TextTab{TextTabType::Decimal, 40}}));
             EXPECT_TRUE(b.styleAt(Second).tabStops.isEmpty());
         }},
        {"removing the decimal tab", {3, 0}, edit(K::RemoveTab, 0, {TextTabType::Decimal, 40}), "Remove Tab Stop",
         [](const EditedBox &b) {
             EXPECT_EQ(b.styleAt(First).tabStops, QList<TextTab>({TextTab{TextTabType::Right, 20}}));
         }},
        {"first-line indent of the last paragraph", {20, 0}, edit(K::FirstLineIndent, 18), "Set Indent",
         [](const EditedBox &b) {
             EXPECT_EQ(b.styleAt(Third).firstLineHeadIndent, 18);
             EXPECT_EQ(b.styleAt(Second).firstLineHeadIndent, 0);
         }},
        {"a head indent below 0 is 0, above it is taken", {Second, 0}, edit(K::HeadIndent, 12), "Set Indent",
         [](const EditedBox &b) { EXPECT_EQ(b.styleAt(Second).headIndent, 12); }},
        {"tail indent from the right edge", {0, 23}, edit(K::TailIndent, -30), "Set Indent",
         [](const EditedBox &b) {
             for (int at : {First, Second, Third})
                 EXPECT_EQ(b.styleAt(at).tailIndent, -30);
         }},
        {"double line spacing", {Second, 0}, edit(K::LineHeight, 2), "Set Line Spacing",
         [](const EditedBox &b) {
             EXPECT_EQ(b.styleAt(Second).lineHeightMultiple, 2);
             EXPECT_EQ(simpleLineHeightMultiple(b.styleAt(Second)), 2.0f);
             EXPECT_EQ(simpleLineHeightMultiple(b.styleAt(First)), 1.0f);
         }},
    };
    std::vector<AttributedString> states{s.box->contents().text()};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(s.apply(c.selection, c.edit));
        EXPECT_EQ(s.document.undo.undoActionName(), QString::fromLatin1(c.undoName));
        c.check(s);
        states.push_back(s.box->contents().text());
        EXPECT_NE(states.back(), states[states.size() - 2]);
    }
    // The same edit again changes nothing and makes no step.
    EXPECT_FALSE(s.apply({Second, 0}, edit(K::LineHeight, 2)));

    // Undo all, step by step, back through every state to the exact runs; then redo all.
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(s.document.undo.canUndo());
        s.document.undo.undo();
        EXPECT_EQ(s.box->contents().text(), states[i - 1]) << "after undoing step " << i;
    }
    EXPECT_FALSE(s.document.undo.canUndo());
    for (size_t i = 1; i < states.size(); ++i) {
        s.document.undo.redo();
        EXPECT_EQ(s.box->contents().text(), states[i]) << "after redoing step " << i;
    }
    EXPECT_FALSE(s.document.undo.canRedo());
}

TEST(ParagraphRulerEdits, TheRulerShowsTheSelectionsParagraphAndAnEmptyOneTypesInTheEditedStyle)
{
    EditedBox s(threeParagraphs());
    s.apply({Second, 0}, edit(K::Alignment, 0, {}, TextAlignment::Right));
    // The insertion point at the start of a paragraph shows that paragraph, not the one
    // whose line end stands before it.
    s.editor->setSelectedRange({Second, 0});
    EXPECT_EQ(rulerParagraphStyle(*s.editor).alignment, TextAlignment::Right);
    EXPECT_TRUE(rulerParagraphStyle(*s.editor).tabStops.isEmpty());
    s.editor->setSelectedRange({4, 0});
    EXPECT_EQ(rulerParagraphStyle(*s.editor).alignment, TextAlignment::Natural);
    EXPECT_EQ(rulerParagraphStyle(*s.editor).tabStops.size(), 1);
    // A selection over several paragraphs shows the first.
    s.editor->setSelectedRange({Second, 14});   // into the third
    EXPECT_EQ(rulerParagraphStyle(*s.editor).alignment, TextAlignment::Right);

    // An empty box: the edit goes to the typing attributes, makes no undo step, and what is
    // typed next carries it.
    EditedBox empty(AttributedString(QString(), sans()));
    EXPECT_FALSE(empty.apply({0, 0}, edit(K::Alignment, 0, {}, TextAlignment::Center)));
    EXPECT_FALSE(empty.document.undo.canUndo());
    EXPECT_EQ(rulerParagraphStyle(*empty.editor).alignment, TextAlignment::Center);
    empty.editor->insertText(QStringLiteral("typed"));
    EXPECT_EQ(empty.styleAt(0).alignment, TextAlignment::Center);
}

TEST(ParagraphRulerEdits, AnIndentThatWrapsTheTextGrowsTheBoxInTheSameStep)
{
    // A first-line indent leaves 50 points of a 200-point box: the words wrap.
    EditedBox s(AttributedString(QStringLiteral("alpha beta gamma delta"), sans()), Rect(10, 10, 200, 20));
    s.apply({0, 0}, edit(K::FirstLineIndent, 0));   // nothing to change
    const float height = s.box->bounds().height();
    const AttributedString before = s.box->contents().text();
    ASSERT_TRUE(s.apply({0, 0}, edit(K::FirstLineIndent, 150)));
    EXPECT_GT(s.box->bounds().height(), height);
    s.document.undo.undo();
    EXPECT_EQ(s.box->contents().text(), before);
    EXPECT_FALSE(s.document.undo.canUndo());
}
