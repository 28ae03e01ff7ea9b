// The find panel's actions in one text: finding with wrap-around, replacing, and taking
// the selection as the find string.
#include "model/text/text_finder.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

TEST(TextFinder, FindsForwardAndBackwardWrappingAround)
{
    const QString text = QStringLiteral("Cat, cat and CAT");
    struct Case {
        const char *name;
        int from;
        bool backwards;
        bool ignoreCase;
        std::optional<TextRange> expected;
    } cases[] = {
        {"forward from the start", 0, false, true, TextRange{0, 3}},
        {"forward past the first", 1, false, true, TextRange{5, 3}},
        {"forward wraps to the start", 14, false, true, TextRange{0, 3}},
        {"case matters", 1, false, false, TextRange{5, 3}},
        {"backward from the end", 16, true, true, TextRange{13, 3}},
        {"backward before the second", 5, true, true, TextRange{0, 3}},
        {"backward wraps to the end", 0, true, true, TextRange{13, 3}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(findInString(text, QStringLiteral("cat"), c.from, c.backwards, c.ignoreCase), c.expected) << c.name;
    EXPECT_FALSE(findInString(text, QStringLiteral("dog"), 0, false, true));
    EXPECT_FALSE(findInString(text, QString(), 0, false, true));
    EXPECT_FALSE(findInString(QStringLiteral("ca"), QStringLiteral("cat"), 0, true, true));
}

TEST(TextFinder, ReplacesTheMatchOrAllOfThemWithUndo)
{
    ensureGuiApp();
    FakeDocument document;
    auto box = VekObjText::create();
    document.adopt(box);
    TextAttributes bold;
    bold.font = Font{QStringLiteral("DejaVuSans-Bold"), 12};
    AttributedString text(QStringLiteral("one two one two"));
    text.addAttributes(bold, {0, 3});
    box->setContents(text);
    document.undo.removeAllActions();
    box->startEditingWithEvent(MouseEvent{}, &document.canvas);
    VekTextView &editor = *box->editor();
    TextFinder &finder = TextFinder::shared();
    finder.settings = FindSettings{QStringLiteral("one"), QStringLiteral("three"), false};

    // Replace only replaces a selection that matches.
    editor.setSelectedRange({4, 3});
    EXPECT_FALSE(finder.performAction(editor, FindPanelReplace));
    editor.setSelectedRange({0, 3});
    EXPECT_TRUE(finder.performAction(editor, FindPanelReplaceAndFind));
    EXPECT_EQ(box->contents().string(), QStringLiteral("three two one two"));
    EXPECT_EQ(box->contents().text().attributesAt(0).font, bold.font);   // the match's attributes
    EXPECT_EQ(editor.selectedRange(), (TextRange{10, 3}));
    finder.settings.findString = QStringLiteral("two");
    EXPECT_TRUE(finder.performAction(editor, FindPanelReplaceAll));
    EXPECT_EQ(box->contents().string(), QStringLiteral("three three one three"));
    while (document.undo.canUndo())
        document.undo.undo();
    EXPECT_EQ(box->contents().text(), text);

    // The selection becomes the find string.
    editor.setSelectedRange({4, 3});
    EXPECT_TRUE(finder.performAction(editor, FindPanelSetFindString));
    EXPECT_EQ(finder.settings.findString, QStringLiteral("two"));
    box->endEditingInView(&document.canvas);
}
