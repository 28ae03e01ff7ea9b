// Fonts by PostScript name: installed faces, core-font substitutes, traits and metrics.
#include "platform/text/font_registry.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

TEST(FontRegistry, InstalledAndSubstitutedNames)
{
    FontFace dejavu = fontFace(QStringLiteral("DejaVuSans"));
    EXPECT_FALSE(dejavu.substituted);
    EXPECT_EQ(dejavu.family, "DejaVu Sans");

    FontFace helvetica = fontFace(QStringLiteral("Helvetica-Bold"));
    EXPECT_TRUE(helvetica.substituted);
    EXPECT_EQ(helvetica.postScriptName, "NimbusSans-Bold");
    EXPECT_TRUE(fontExists(QStringLiteral("Helvetica-Bold")));

    // Unknown names are drawn with some face but do not exist.
    EXPECT_FALSE(fontExists(QStringLiteral("NoSuchFont-Regular")));
    EXPECT_FALSE(fontFace(QStringLiteral("NoSuchFont-Regular")).file.isEmpty());
    EXPECT_FALSE(fontWithName(QStringLiteral("NoSuchFont-Regular"), 12).has_value());
    EXPECT_EQ(fontWithName(QStringLiteral("Times-Roman"), 9)->size, 9.0f);
}

TEST(FontRegistry, Traits)
{
    EXPECT_EQ(fontNameWithTraits(QStringLiteral("Helvetica"), true, false), "Helvetica-Bold");
    EXPECT_EQ(fontNameWithTraits(QStringLiteral("Times-Bold"), true, true), "Times-BoldItalic");
    EXPECT_EQ(fontNameWithTraits(QStringLiteral("Times"), false, false), "Times-Roman");
    EXPECT_EQ(fontNameWithTraits(QStringLiteral("DejaVuSans"), true, false), "DejaVuSans-Bold");
    EXPECT_EQ(fontNameWithTraits(QStringLiteral("DejaVu Serif"), false, true), "DejaVuSerif-Italic");
    EXPECT_EQ(fontNameWithTraits(QStringLiteral("DejaVuSans-Bold"), true, false), "DejaVuSans-Bold");
    EXPECT_EQ(fontFamilyName(QStringLiteral("Helvetica-Oblique")), "Helvetica");
    EXPECT_EQ(fontFamilyName(QStringLiteral("DejaVuSans-Bold")), "DejaVu Sans");
}

TEST(FontRegistry, MetricsArePointsAtTheFontSize)
{
    ensureGuiApp();
    FontMetrics m = fontMetrics(Font{QStringLiteral("DejaVuSans"), 12});
    // DejaVu Sans: cap height 1493/2048 em, ascent 1901, descent 483.
    EXPECT_NEAR(m.capHeight, 12 * 1493.0 / 2048, 0.05);
    EXPECT_NEAR(m.ascender, 12 * 1901.0 / 2048, 0.05);
    EXPECT_NEAR(m.descender, -12 * 483.0 / 2048, 0.05);
    FontMetrics big = fontMetrics(Font{QStringLiteral("DejaVuSans"), 24});
    EXPECT_NEAR(big.capHeight, 2 * m.capHeight, 0.01);
    EXPECT_GT(fontMetrics(Font{QStringLiteral("Helvetica"), 12}).capHeight, 8.0f);
}
