// Attributed string runs, lookups, editing and the text store's edit reports.
#include "platform/text/attributed_string.h"
#include "platform/text/text_storage.h"

#include <gtest/gtest.h>

namespace {

TextAttributes fontAttrs(const char *name, float size)
{
    TextAttributes a;
    a.font = Font{name, size};
    return a;
}

// "Hello world": "Hello" in Times 12, " world" in Helvetica 12 with a link on "wor".
AttributedString sample()
{
    AttributedString s(QStringLiteral("Hello world"), fontAttrs("Times-Roman", 12));
    s.setAttributes(fontAttrs("Helvetica", 12), {5, 6});
    TextAttributes link;
    link.link = QStringLiteral("https://example.org");
    s.addAttributes(link, {6, 3});
    return s;
}

} // namespace

TEST(AttributedString, RunsAreSplitAndMerged)
{
    AttributedString s = sample();
    ASSERT_EQ(s.runs().size(), 4u);
    EXPECT_EQ(s.runs()[2].range, (TextRange{6, 3}));
    EXPECT_EQ(s.runs()[2].attributes.font->name, "Helvetica");

    // Removing the link merges the three Helvetica runs back into one.
    s.removeAttribute(TextAttribute::Link, {0, s.length()});
    ASSERT_EQ(s.runs().size(), 2u);
    EXPECT_EQ(s.runs()[1].range, (TextRange{5, 6}));
}

TEST(AttributedString, LongestEffectiveRangeOfOneAttribute)
{
    AttributedString s = sample();
    TextRange run;
    s.attributesAt(7, &run);
    EXPECT_EQ(run, (TextRange{6, 3}));
    EXPECT_EQ(s.longestEffectiveRange(TextAttribute::Font, 7), (TextRange{5, 6}));
    EXPECT_EQ(s.longestEffectiveRange(TextAttribute::Link, 2), (TextRange{0, 6}));
    EXPECT_EQ(s.longestEffectiveRange(TextAttribute::Font, 7, {6, 2}), (TextRange{6, 2}));
    EXPECT_TRUE(s.longestEffectiveRange(TextAttribute::Font, 20).isEmpty());
    EXPECT_FALSE(s.attributesAt(-1).font.has_value());
}

TEST(AttributedString, ReplacingTakesNeighbourAttributes)
{
    AttributedString s = sample();
    s.replaceCharacters({5, 0}, QStringLiteral("!!"));   // after "Hello": Times
    EXPECT_EQ(s.string(), "Hello!! world");
    EXPECT_EQ(s.attributesAt(6).font->name, "Times-Roman");
    s.replaceCharacters({0, 0}, QStringLiteral(">"));    // at the start: the first character's
    EXPECT_EQ(s.attributesAt(0).font->name, "Times-Roman");
    s.replaceCharacters({9, 3}, QStringLiteral("W"));    // replaces "wor": the link stays
    EXPECT_EQ(s.string(), ">Hello!! Wld");
    EXPECT_EQ(s.attributesAt(9).link, QStringLiteral("https://example.org"));

    AttributedString inserted(QStringLiteral("XY"), fontAttrs("Courier", 9));
    s.insert(1, inserted);
    EXPECT_EQ(s.attributesAt(2).font->name, "Courier");
    EXPECT_EQ(s.longestEffectiveRange(TextAttribute::Font, 1), (TextRange{1, 2}));
    s.deleteCharacters({1, 2});
    EXPECT_EQ(s.string(), ">Hello!! Wld");
    ASSERT_EQ(s.runs().size(), 4u);   // Times, Helvetica, Helvetica + link, Helvetica
}

TEST(AttributedString, CopiesAreIndependentValues)
{
    AttributedString a = sample();
    AttributedString b = a;
    EXPECT_EQ(a, b);
    b.addAttributes(fontAttrs("Courier", 10), {0, 1});
    EXPECT_NE(a, b);
    EXPECT_EQ(a.attributesAt(0).font->name, "Times-Roman");
    // Inserting a text into itself reads the text before changing it.
    a.insert(0, a);
    EXPECT_EQ(a.string(), "Hello worldHello world");
    EXPECT_EQ(a.attributesAt(11).font->name, "Times-Roman");
}

TEST(AttributedString, SubstringKeepsRuns)
{
    AttributedString sub = sample().substring({4, 4});
    EXPECT_EQ(sub.string(), "o wo");
    ASSERT_EQ(sub.runs().size(), 3u);
    EXPECT_EQ(sub.runs()[2].range, (TextRange{2, 2}));
    EXPECT_TRUE(sample().substring({50, 3}).isEmpty());
}

TEST(AttributedString, ParagraphRanges)
{
    AttributedString s(QStringLiteral("ab\ncd\r\nef\r\rg"));
    struct Case { TextRange in; TextRange out; } cases[] = {
        {{0, 0}, {0, 3}}, {{2, 0}, {0, 3}}, {{3, 0}, {3, 4}}, {{6, 0}, {3, 4}},
        {{5, 0}, {3, 4}}, {{1, 3}, {0, 7}}, {{7, 0}, {7, 3}}, {{10, 0}, {10, 1}},
        {{9, 0}, {7, 3}}, {{11, 0}, {11, 1}}, {{12, 0}, {11, 1}}, {{0, 3}, {0, 3}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(s.paragraphRange(c.in), c.out) << c.in.location << "," << c.in.length;
}

TEST(TextStorage, ReportsAttributeAndCharacterEditsApart)
{
    TextStorage store(sample());
    std::vector<TextEdit> edits;
    int id = store.addObserver([&](const TextStorage &, const TextEdit &e) { edits.push_back(e); });

    store.addAttributes(fontAttrs("Courier", 10), {0, 2});
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].mask, TextEditedAttributes);
    EXPECT_EQ(edits[0].editedRange, (TextRange{0, 2}));

    store.beginEditing();
    store.replaceCharacters({0, 5}, QStringLiteral("Hi"));
    store.replaceCharacters({2, 0}, QStringLiteral("!"));
    store.endEditing();
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[1].mask, TextEditedCharacters);
    EXPECT_EQ(edits[1].editedRange, (TextRange{0, 3}));
    EXPECT_EQ(edits[1].changeInLength, -2);
    EXPECT_EQ(store.string(), "Hi! world");

    store.removeObserver(id);
    store.replaceCharacters({0, 1}, QStringLiteral("x"));
    EXPECT_EQ(edits.size(), 2u);
}
