// Linked text boxes: the flow of a chain after every change of room or text, undo and redo
// of every step that moves text between boxes, and anchors and links over styled text.
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>

// Failures show the characters and the number of runs.
void PrintTo(const AttributedString &text, std::ostream *os)
{
    *os << '"' << text.string().toStdString() << "\" (" << text.runs().size() << " runs)";
}

namespace {

TextAttributes styled(bool bold, float size = 12)
{
    TextAttributes a;
    a.font = Font{bold ? QStringLiteral("DejaVuSans-Bold") : QStringLiteral("DejaVuSans"), size};
    return a;
}

// Words in runs of alternating styles, so that moving text keeps runs to check.
AttributedString styledWords(int count, int seed = 0)
{
    static const QStringList pool{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma"),
                                  QStringLiteral("delta"), QStringLiteral("epsilon"), QStringLiteral("zeta")};
    AttributedString text;
    for (int i = 0; i < count; ++i) {
        const QString word = pool[(i + seed) % pool.size()] + (i + 1 < count ? QStringLiteral(" ") : QString());
        text.append(AttributedString(word, styled((i / 3) % 2 == 1)));
    }
    return text;
}

// What one box holds: its text with runs, its bounds and its link.
struct BoxState {
    AttributedString text;
    Rect bounds;
    bool linked = false;
    friend bool operator==(const BoxState &a, const BoxState &b)
    {
        return a.text == b.text && a.bounds == b.bounds && a.linked == b.linked;
    }
    friend void PrintTo(const BoxState &box, std::ostream *os)
    {
        PrintTo(box.text, os);
        *os << " in " << stringFromRect(box.bounds).toStdString() << (box.linked ? " linked" : "");
    }
};

// A text with the hyphen a flow added at its end taken away.
AttributedString withoutAddedHyphen(AttributedString text)
{
    const int last = text.length() - 1;
    if (last >= 0 && text.attributesAt(last).insertedHyphen)
        text.deleteCharacters({last, 1});
    return text;
}

// A document with text boxes one below the other, all linked but the last.
struct Chain {
    FakeDocument document;
    std::vector<std::shared_ptr<VekObjText>> boxes;

    explicit Chain(const std::vector<Rect> &bounds)
    {
        ensureGuiApp();
        for (size_t i = 0; i < bounds.size(); ++i) {
            auto box = VekObjText::create();
            document.adopt(box);
            box->setBounds(bounds[i]);
            box->setContents(AttributedString());
            boxes.push_back(box);
        }
        for (size_t i = 0; i + 1 < boxes.size(); ++i)
            boxes[i]->setGroupWithNext(true);
    }
    // Puts the text into the first box and flows it; the history starts after that.
    void fill(const AttributedString &text)
    {
        boxes.front()->setContents(text);
        boxes.front()->controlConnection();
        document.undo.removeAllActions();
    }
    ~Chain()
    {
        if (auto edited = document.canvas.editingObject())
            edited->editing()->endEditingInView(&document.canvas);
    }

    std::vector<BoxState> state() const
    {
        std::vector<BoxState> all;
        for (const auto &b : boxes)
            all.push_back({b->contents().text(), b->bounds(), b->groupWithNext()});
        return all;
    }
    // The chain's whole text, as the boxes hold it one after the other.
    AttributedString text() const
    {
        AttributedString all;
        for (const auto &b : boxes)
            all.append(withoutAddedHyphen(b->contents().text()));
        return all;
    }
    std::vector<QString> strings() const
    {
        std::vector<QString> all;
        for (const auto &b : boxes)
            all.push_back(b->contents().string());
        return all;
    }
    // One user action: what it changes is one undo step.
    void step(const std::function<void()> &action)
    {
        action();
        document.undo.closeEventGroup();
    }
    void undoAll()
    {
        while (document.undo.canUndo())
            document.undo.undo();
    }
    void redoAll()
    {
        while (document.undo.canRedo())
            document.undo.redo();
    }
    void resize(int box, float width, float height)
    {
        const Rect b = boxes[box]->bounds();
        step([&] { boxes[box]->setBounds(Rect(b.origin, {width, height})); });
    }
    // Types at a place in a box through the field editor, one undo step per keystroke, and
    // ends the editing as its own step.
    void type(int box, int at, const QString &typed)
    {
        VekObjText &b = *boxes[box];
        step([&] { b.startEditingWithEvent(MouseEvent{}, &document.canvas); });
        b.editor()->setSelectedRange({at, 0});
        for (QChar c : typed)
            step([&] { b.editor()->keyDown(KeyInput{0, 0, QString(c)}); });
        step([&] { b.endEditingInView(&document.canvas); });
    }
    void erase(int box, TextRange range)
    {
        VekObjText &b = *boxes[box];
        step([&] { b.startEditingWithEvent(MouseEvent{}, &document.canvas); });
        b.editor()->setSelectedRange(range);
        step([&] { b.editor()->deleteBackward(); });
        step([&] { b.endEditingInView(&document.canvas); });
    }
};

// The strings the boxes of the given bounds hold when the text is flowed into the chain
// from its first box.
std::vector<QString> flowedFromTheStart(const std::vector<Rect> &bounds, const AttributedString &text)
{
    Chain fresh(bounds);
    fresh.fill(text);
    return fresh.strings();
}

std::vector<Rect> boundsOf(const Chain &chain)
{
    std::vector<Rect> all;
    for (const auto &b : chain.boxes)
        all.push_back(b->bounds());
    return all;
}

} // namespace

TEST(LinkedTextBoxes, UndoAndRedoPutEveryBoxBackAsItWas)
{
    const struct Case {
        const char *name;
        std::vector<Rect> bounds;
        int words;
        std::function<void(Chain &)> steps;
    } cases[] = {
        {"shrinking the first box while the second holds text",
         {Rect(0, 0, 200, 80), Rect(0, 300, 200, 200)}, 60, [](Chain &c) { c.resize(0, 200, 40); }},
        {"shrinking the first box while the second is empty",
         {Rect(0, 0, 200, 200), Rect(0, 300, 200, 200)}, 20, [](Chain &c) { c.resize(0, 200, 30); }},
        {"growing the first of three boxes",
         {Rect(0, 0, 200, 40), Rect(0, 300, 200, 40), Rect(0, 600, 200, 200)}, 60,
         [](Chain &c) { c.resize(0, 200, 90); }},
        {"typing five words at the end of a full box",
         {Rect(0, 0, 200, 60), Rect(0, 300, 200, 200)}, 40,
         [](Chain &c) {
             const int end = withoutAddedHyphen(c.boxes[0]->contents().text()).length();
             c.type(0, end, QStringLiteral(" one two three four five"));
         }},
        {"deleting the start of the second box",
         {Rect(0, 0, 200, 60), Rect(0, 300, 200, 60), Rect(0, 600, 200, 200)}, 60,
         [](Chain &c) { c.erase(1, {0, 12}); }},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Chain chain(test.bounds);
        chain.fill(styledWords(test.words));
        const auto before = chain.state();
        const AttributedString textBefore = chain.text();
        test.steps(chain);
        const auto after = chain.state();
        ASSERT_NE(after, before);
        for (int round = 0; round < 2; ++round) {
            chain.undoAll();
            EXPECT_EQ(chain.state(), before);
            EXPECT_EQ(chain.text(), textBefore);
            chain.redoAll();
            EXPECT_EQ(chain.state(), after);
        }
    }
}

TEST(LinkedTextBoxes, EveryResizeLeavesTheChainAsIfFlowedFromTheStart)
{
    Chain chain({Rect(0, 0, 200, 60), Rect(0, 300, 200, 60), Rect(0, 600, 200, 60)});
    const AttributedString text = styledWords(70);
    chain.fill(text);
    const struct {
        const char *name;
        int box;
        float width, height;
    } resizes[] = {
        {"shrink the first", 0, 200, 30},      {"grow the first", 0, 200, 120},
        {"empty the second", 1, 200, 10},      {"grow the emptied second again", 1, 200, 80},
        {"narrow the third", 2, 80, 60},       {"widen the second", 1, 300, 80},
        {"empty the first", 0, 200, 10},       {"grow the emptied first again", 0, 200, 60},
    };
    for (const auto &r : resizes) {
        SCOPED_TRACE(r.name);
        chain.resize(r.box, r.width, r.height);
        EXPECT_EQ(chain.text(), text);
        EXPECT_EQ(chain.strings(), flowedFromTheStart(boundsOf(chain), text));
    }
    // A box that holds nothing now still shows what fits once it has room again.
    EXPECT_FALSE(chain.boxes[0]->contents().string().isEmpty());
    EXPECT_FALSE(chain.boxes[1]->contents().string().isEmpty());
}

TEST(LinkedTextBoxes, ABoxTooNarrowForAnUnbreakableWordShowsThePartThatFits)
{
    const QString word = QStringLiteral("q").repeated(40);
    Chain chain({Rect(0, 0, 60, 20), Rect(0, 300, 400, 100)});
    chain.fill(AttributedString(word, styled(false)));
    const QString kept = chain.boxes[0]->contents().string();
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_LT(kept.size(), word.size());
    EXPECT_EQ(kept + chain.boxes[1]->contents().string(), word);
}

TEST(LinkedTextBoxes, RandomEditsUndoAllAndRedoAllKeepEveryBoxExactly)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        Chain chain({Rect(0, 0, 180, 60), Rect(0, 300, 180, 60), Rect(0, 600, 180, 80)});
        chain.fill(styledWords(50, int(seed)));
        const auto initial = chain.state();
        // The chain's text as the edits change it, wherever the boxes put the boundaries.
        AttributedString expected = chain.text();
        for (int op = 0; op < 20; ++op) {
            const int box = pick(3);
            int offset = 0;   // where the box's text begins in the chain's text
            for (int i = 0; i < box; ++i)
                offset += withoutAddedHyphen(chain.boxes[i]->contents().text()).length();
            const int length = withoutAddedHyphen(chain.boxes[box]->contents().text()).length();
            switch (pick(5)) {
            case 0:
                if (length > 0) {
                    const int at = pick(length + 1);
                    const QString typed = QStringLiteral(" kappa%1").arg(op);
                    // Typed characters take the attributes of the character before them
                    // (of the first at the start).
                    const TextAttributes a = chain.boxes[box]->contents().text().attributesAt(std::max(at - 1, 0));
                    chain.type(box, at, typed);
                    expected.insert(offset + at, AttributedString(typed, a));
                }
                break;
            case 1:
                if (length > 0) {
                    const int at = pick(length);
                    const TextRange range{at, std::min(1 + pick(8), length - at)};
                    chain.erase(box, range);
                    expected.deleteCharacters({offset + range.location, range.length});
                }
                break;
            case 2:
                chain.resize(box, 120 + float(pick(120)), 10 + float(pick(90)));
                break;
            case 3:
                if (box < 2)
                    chain.step([&] { chain.boxes[box]->setGroupWithNext(!chain.boxes[box]->groupWithNext()); });
                break;
            default:
                chain.resize(box, 180, 60);
                break;
            }
            ASSERT_EQ(chain.text(), expected) << "after operation " << op;
            if (chain.boxes[0]->groupWithNext() && chain.boxes[1]->groupWithNext()) {
                EXPECT_EQ(chain.strings(), flowedFromTheStart(boundsOf(chain), expected)) << "after operation " << op;
            }
            const auto after = chain.state();
            chain.undoAll();
            ASSERT_EQ(chain.state(), initial) << "undo all after operation " << op;
            chain.redoAll();
            ASSERT_EQ(chain.state(), after) << "redo all after operation " << op;
        }
    }
}

TEST(TextAnchors, AnAnchorOverStyledTextIsFoundWholeAndAskingChangesNothing)
{
    ensureGuiApp();
    FakeDocument document;
    auto box = VekObjText::create();
    document.adopt(box);
    box->setBounds(Rect(0, 0, 400, 100));
    AttributedString text = styledWords(9);   // plain, bold and plain again
    TextAttributes anchor;
    anchor.anchor = QStringLiteral("#place");
    text.addAttributes(anchor, {0, 30});
    TextAttributes link;
    link.link = QStringLiteral("https://example.org/");
    text.addAttributes(link, {6, 20});
    box->setContents(text);
    document.undo.removeAllActions();
    const size_t invalidated = document.invalidated.size();

    const PropertyList anchors = box->anchorInfo();
    const PropertyList links = box->linkInfo();
    EXPECT_EQ(box->contents().text(), text);
    EXPECT_EQ(document.invalidated.size(), invalidated);
    document.undo.closeEventGroup();
    EXPECT_FALSE(document.undo.canUndo());

    EXPECT_EQ(box->rangeOfAnchor(QStringLiteral("#place")), (TextRange{0, 30}));
    EXPECT_EQ(box->anchorInfoToSave().value(QStringLiteral("#place")).stringValue(), QStringLiteral("{0, 30}"));
    // The anchor's rectangle spans its bold part too.
    const Rect place = rectFromString(anchors.value(QStringLiteral("#place")).stringValue());
    {
        TextBoxLayout layout(*box, text, box->bounds().size);
        const Rect firstPiece = layout.layoutManager().boundingRectForGlyphRange({0, 17}, &layout.container());
        EXPECT_GT(place.width(), firstPiece.width() + 20);
    }
    ASSERT_EQ(links.count(), 1);
    EXPECT_EQ(links.at(0).at(2).stringValue(), text.string().mid(6, 20));
}
