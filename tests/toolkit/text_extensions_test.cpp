// Scaled, CMYK and hyphenated copies of attributed texts, and the trimming functions.
#include "toolkit/cmyk_color.h"
#include "toolkit/text_extensions.h"

#include "platform/text/text_drawing.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

TextAttributes sized(const char *font, float size)
{
    TextAttributes a;
    a.font = Font{font, size};
    return a;
}

} // namespace

TEST(TextExtensions, ScaledCopy)
{
    ensureGuiApp();
    AttributedString text(QStringLiteral("small big odd"), sized("Helvetica", 10));
    text.setAttributes(sized("Times-Roman", 20), {6, 3});
    text.setAttributes(sized("NoSuchFont-Regular", 30), {10, 3});
    ParagraphStyle p;
    p.tabStops = {{TextTabType::Left, 36}, {TextTabType::Right, 72}};
    p.lineSpacing = 0;
    p.paragraphSpacing = 8;
    p.paragraphSpacingBefore = 4;
    p.headIndent = 10;
    p.firstLineHeadIndent = 20;
    p.tailIndent = 5000;
    text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) { a.paragraphStyle = p; });

    AttributedString half = createCopyInScale(text, 0.5f, 6);
    EXPECT_EQ(half.string(), text.string());
    EXPECT_EQ(half.attributesAt(0).font, (Font{"Helvetica", 6}));     // 5 is raised to the minimum
    EXPECT_EQ(half.attributesAt(6).font, (Font{"Times-Roman", 10}));
    EXPECT_EQ(half.attributesAt(10).font, (Font{"Helvetica", 15}));   // a missing font: the label font
    const ParagraphStyle &q = *half.attributesAt(0).paragraphStyle;
    EXPECT_EQ(q.tabStops, (QList<TextTab>{{TextTabType::Left, 18}, {TextTabType::Right, 36}}));
    EXPECT_EQ(q.lineSpacing, 0.0f);
    EXPECT_EQ(q.paragraphSpacing, 4.0f);
    EXPECT_EQ(q.paragraphSpacingBefore, 2.0f);
    EXPECT_EQ(q.headIndent, 10.0f);
    EXPECT_EQ(q.firstLineHeadIndent, 20.0f);
    EXPECT_NEAR(q.tailIndent, attributedStringSize(half).width, 0.01);
    EXPECT_LT(q.tailIndent, 5000.0f);

    EXPECT_EQ(createCopyInScale(text, 1.0f, 50), text);
}

TEST(TextExtensions, CMYKCopy)
{
    AttributedString text(QStringLiteral("plain red"), sized("Helvetica", 12));
    TextAttributes red = sized("Helvetica", 12);
    red.foregroundColor = Color::redColor();
    red.underlineStyle = UnderlineStyleSingle;
    red.underlineColor = Color::greenColor();
    text.setAttributes(red, {6, 3});

    AttributedString cmyk = attributedStringUsingCMYK(text);
    Color richBlack = Color::colorWithDeviceCyan(1, 1, 1, 1, 1);
    const TextAttributes &a = cmyk.attributesAt(0);
    EXPECT_EQ(a.foregroundColor, richBlack);
    EXPECT_EQ(a.underlineColor, richBlack);
    EXPECT_EQ(a.strikethroughColor, richBlack);
    EXPECT_EQ(a.strokeColor, richBlack);
    const TextAttributes &b = cmyk.attributesAt(7);
    EXPECT_EQ(b.foregroundColor, cmykColor(Color::redColor()));
    EXPECT_EQ(b.underlineColor, cmykColor(Color::redColor()));
    EXPECT_TRUE(b.underlineColor->isCMYK());
    EXPECT_EQ(b.underlineStyle, UnderlineStyleSingle);
    EXPECT_TRUE(attributedStringUsingCMYK(AttributedString()).isEmpty());
}

TEST(TextExtensions, AddHyphen)
{
    AttributedString text(QStringLiteral("ab"), sized("Helvetica", 12));
    text.setAttributes(sized("Courier", 9), {1, 1});
    AttributedString hyphenated = addHyphen(text);
    EXPECT_EQ(hyphenated.string(), "ab-");
    EXPECT_EQ(hyphenated.attributesAt(2).font, (Font{"Courier", 9}));
    AttributedString empty = addHyphen(AttributedString());
    EXPECT_EQ(empty.string(), "-");
    EXPECT_TRUE(empty.attributesAt(0).isEmpty());
}

TEST(TextExtensions, Trimming)
{
    struct Case { const char *in; const char *trimmed; const char *stripped; } cases[] = {
        {"", "", ""},
        {"   ", "", ""},
        {" a b ", "a b", "a b"},
        {"\ta\t", "\ta\t", "\ta\t"},
        {" a , ,b ,  ", "a , ,b ,", "a,b"},
        {" , ", ",", ""},
        {",,x,,", ",,x,,", "x"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TrimSpaces(QString::fromUtf8(c.in)), QString::fromUtf8(c.trimmed)) << c.in;
        EXPECT_EQ(StripSpacesOfCommaSeparatedString(QString::fromUtf8(c.in)), QString::fromUtf8(c.stripped)) << c.in;
    }
}
