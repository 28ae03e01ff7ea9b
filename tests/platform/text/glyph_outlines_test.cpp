// Laid-out text as glyph outlines: every glyph maps to whole characters (ligatures to all
// of theirs, surrogate pairs and combining sequences whole) and stands where it is drawn.
#include "platform/text/layout_manager.h"
#include "tests/support/gui_app.h"

#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

TEST(GlyphOutlines, EveryGlyphMapsToWholeCharactersWhereItIsDrawn)
{
    ensureGuiApp();
    // A ligature (ffi), a letter with a combining accent, a character outside the BMP.
    const QString string = QStringLiteral("office e\u0301 ") + QString::fromUcs4(U"\U0001D400") + QStringLiteral(" B");
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), 24};   // shapes "ffi" as one glyph
    TextContainer container({400, 100});
    LayoutManager layout;
    layout.addTextContainer(&container);
    layout.setAttributedString(AttributedString(string, a));
    const std::vector<GlyphOutline> outlines = layout.glyphOutlinesForGlyphRange({0, int(string.size())}, {100, 200});
    ASSERT_FALSE(outlines.empty());

    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, string);
    std::vector<int> covered(string.size(), 0);
    for (const GlyphOutline &g : outlines) {
        ASSERT_FALSE(g.characters.isEmpty());
        // Whole clusters only.
        clusters.setPosition(g.characters.location);
        EXPECT_TRUE(clusters.isAtBoundary()) << g.characters.location;
        clusters.setPosition(g.characters.end());
        EXPECT_TRUE(clusters.isAtBoundary()) << g.characters.end();
        for (int i = g.characters.location; i < g.characters.end(); ++i)
            covered[i] = 1;
        // Placed with the container at (100, 200): inside the first line.
        const Rect r = g.path.bounds();
        EXPECT_GE(r.minX(), 100);
        EXPECT_GE(r.minY(), 200);
        EXPECT_LE(r.maxY(), 200 + layout.lineFragments().front().rect.maxY() + 1);
    }
    // Every character but the spaces has a glyph.
    for (int i = 0; i < string.size(); ++i)
        EXPECT_EQ(covered[i], string[i] != u' ') << i;
    // "ffi" is one glyph for three characters; the accent goes with its letter, the pair whole.
    auto outlineOf = [&](int index) {
        for (const GlyphOutline &g : outlines)
            if (index >= g.characters.location && index < g.characters.end())
                return g.characters;
        return TextRange{};
    };
    EXPECT_EQ(outlineOf(2), (TextRange{1, 3}));
    EXPECT_EQ(outlineOf(8), (TextRange{7, 2}));
    EXPECT_EQ(outlineOf(11), (TextRange{10, 2}));
    // A part of the text gives the outlines of that part only.
    const auto part = layout.glyphOutlinesForGlyphRange({0, 1}, {0, 0});
    ASSERT_EQ(part.size(), 1u);
    EXPECT_EQ(part[0].characters, (TextRange{0, 1}));
}
