// Layout into containers: rectangles, shapes, excluded areas, overflow, hyphenation and
// the position queries.
#include "platform/text/font_registry.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_storage.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float Advance = 0.6021f * 10;   // DejaVu Sans Mono at 10 points: 1233/2048 em

AttributedString mono(const QString &s, float hyphenation = 0)
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSansMono"), 10};
    ParagraphStyle p;
    p.hyphenationFactor = hyphenation;
    a.paragraphStyle = p;
    return AttributedString(s, a);
}

QString words(int n)
{
    static const char *const list[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta"};
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << QLatin1String(list[i % 8]);
    return out.join(u' ');
}

// A circle of radius r around (r, r): each line gets the chord its whole height fits in.
class CircleContainer : public TextContainer {
public:
    explicit CircleContainer(float r) : TextContainer({2 * r, 2 * r}), m_r(r) {}
    bool isSimpleRectangularTextContainer() const override { return false; }
    Rect lineFragmentRectForProposedRect(const Rect &p, LineSweepDirection, LineMovementDirection,
                                         Rect *remaining) override
    {
        *remaining = Rect();
        for (float y = p.minY(); y + p.height() <= 2 * m_r; y += 1) {
            float half = std::min(chord(y), chord(y + p.height()));
            if (2 * half > 2 * lineFragmentPadding() + 4)
                return Rect(m_r - half, y, 2 * half, p.height());
        }
        return Rect();
    }
    float chord(float y) const
    {
        float dy = y - m_r;
        return dy * dy >= m_r * m_r ? 0 : std::sqrt(m_r * m_r - dy * dy);
    }

private:
    float m_r;
};

// A rectangle with an obstacle: lines that meet it are cut into a part left and a
// remaining part right of it.
class ExcludingContainer : public TextContainer {
public:
    ExcludingContainer(Size size, Rect obstacle) : TextContainer(size), m_obstacle(obstacle) {}
    bool isSimpleRectangularTextContainer() const override { return false; }
    Rect lineFragmentRectForProposedRect(const Rect &p, LineSweepDirection s, LineMovementDirection m,
                                         Rect *remaining) override
    {
        Rect r = TextContainer::lineFragmentRectForProposedRect(p, s, m, remaining);
        if (r.isEmpty() || r.maxY() <= m_obstacle.minY() || r.minY() >= m_obstacle.maxY())
            return r;
        if (r.minX() >= m_obstacle.maxX() || r.maxX() <= m_obstacle.minX())
            return r;
        if (r.minX() < m_obstacle.minX()) {
            *remaining = Rect(m_obstacle.maxX(), r.minY(), r.maxX() - m_obstacle.maxX(), r.height());
            return Rect(r.minX(), r.minY(), m_obstacle.minX() - r.minX(), r.height());
        }
        return Rect(m_obstacle.maxX(), r.minY(), r.maxX() - m_obstacle.maxX(), r.height());
    }

private:
    Rect m_obstacle;
};

} // namespace

class Layout : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApp(); }
};

TEST_F(Layout, ParagraphInARectangle)
{
    LayoutManager lm;
    TextContainer box({200, 1000});
    lm.addTextContainer(&box);
    AttributedString text = mono(words(30));
    lm.setAttributedString(text);

    const auto &frags = lm.lineFragments();
    ASSERT_GT(frags.size(), 3u);
    EXPECT_EQ(lm.firstUnlaidCharacterIndex(), text.length());
    FontMetrics m = fontMetrics(Font{QStringLiteral("DejaVuSansMono"), 10});
    int covered = 0;
    for (size_t i = 0; i < frags.size(); ++i) {
        const LineFragment &f = frags[i];
        EXPECT_EQ(f.rect.minX(), 0.0f);
        EXPECT_EQ(f.rect.width(), 200.0f);
        EXPECT_NEAR(f.rect.height(), m.lineHeight(), 0.01);
        EXPECT_NEAR(f.rect.minY(), i * m.lineHeight(), 0.05);
        EXPECT_NEAR(f.baseline - f.rect.minY(), m.ascender, 0.05);
        EXPECT_EQ(f.characters.location, covered);
        covered = f.characters.end();
        // Lines break between words and hold what fits in 200 - 2 * 5 points.
        QString line = text.string().mid(f.characters.location, f.characters.length).trimmed();
        EXPECT_LE(line.size() * Advance, 190.01f) << line.toStdString();
        if (i + 1 < frags.size()) {
            EXPECT_TRUE(text.string()[f.characters.end() - 1].isSpace());
            QString next = text.string().mid(f.characters.end()).section(u' ', 0, 0);
            EXPECT_GT((line.size() + 1 + next.size()) * Advance, 190.0f);
        }
    }
    EXPECT_EQ(covered, text.length());

    // Queries: the first glyph stands at the padding on the first baseline; the third
    // character's rectangle is one advance wide; the point in its middle finds it again.
    EXPECT_NEAR(lm.locationForGlyphAtIndex(0).x, 5.0f, 0.01);
    EXPECT_NEAR(lm.locationForGlyphAtIndex(0).y, m.ascender, 0.05);
    Rect r = lm.boundingRectForGlyphRange({2, 1}, &box);
    EXPECT_NEAR(r.minX(), 5 + 2 * Advance, 0.02);
    EXPECT_NEAR(r.width(), Advance, 0.02);
    EXPECT_NEAR(r.height(), m.lineHeight(), 0.01);
    float fraction = 0;
    EXPECT_EQ(lm.glyphIndexForPoint({r.midX(), r.midY()}, &box, &fraction), 2);
    EXPECT_NEAR(fraction, 0.5f, 0.05);
    int second = frags[1].characters.location;
    EXPECT_EQ(lm.glyphIndexForPoint({6, frags[1].rect.midY()}, &box), second);
    EXPECT_EQ(lm.lineFragmentRectForGlyphAtIndex(second), frags[1].rect);
    Rect used = lm.usedRectForTextContainer(&box);
    EXPECT_NEAR(used.height(), frags.size() * m.lineHeight(), 0.1);
    EXPECT_LE(used.width(), 200.0f);
    EXPECT_GT(used.width(), 150.0f);
}

TEST_F(Layout, FollowsTheStoreAndItsEdits)
{
    TextStorage store(mono(QStringLiteral("one two")));
    LayoutManager lm;
    TextContainer box({300, 300});
    lm.addTextContainer(&box);
    lm.setTextStorage(&store);
    EXPECT_EQ(lm.lineFragments().size(), 1u);
    store.replaceCharacters({3, 0}, QStringLiteral("\nthree\n"));
    // "one", "three", " two" and nothing after the last separator.
    EXPECT_EQ(lm.lineFragments().size(), 3u);
    store.replaceCharacters({store.length(), 0}, QStringLiteral("\n"));
    ASSERT_EQ(lm.lineFragments().size(), 4u);   // the empty last line
    EXPECT_EQ(lm.lineFragments().back().characters, (TextRange{store.length(), 0}));
    EXPECT_EQ(lm.glyphAtIndex(3), ControlGlyph);
    EXPECT_NE(lm.glyphAtIndex(0), 0u);
}

TEST_F(Layout, InsideACircle)
{
    LayoutManager lm;
    CircleContainer circle(60);
    lm.addTextContainer(&circle);
    lm.setAttributedString(mono(words(40)));
    const auto &frags = lm.lineFragments();
    ASSERT_GT(frags.size(), 4u);
    float widest = 0;
    for (const LineFragment &f : frags) {
        // Every corner of every fragment lies within the circle.
        for (Point p : {f.rect.origin, Point{f.rect.maxX(), f.rect.minY()}, Point{f.rect.minX(), f.rect.maxY()},
                        Point{f.rect.maxX(), f.rect.maxY()}})
            EXPECT_LE(std::hypot(p.x - 60, p.y - 60), 60.01f);
        widest = std::max(widest, f.rect.width());
    }
    EXPECT_LT(frags.front().rect.width(), widest);
    EXPECT_LT(lm.firstUnlaidCharacterIndex(), lm.text().length());   // the circle is full
}

TEST_F(Layout, AroundAnExcludedRectangle)
{
    LayoutManager lm;
    Rect obstacle(80, 20, 40, 30);
    ExcludingContainer box({200, 400}, obstacle);
    lm.addTextContainer(&box);
    lm.setAttributedString(mono(words(60)));
    const auto &frags = lm.lineFragments();
    int split = 0;
    for (size_t i = 0; i < frags.size(); ++i) {
        Rect r = frags[i].rect;
        EXPECT_FALSE(r.maxX() > obstacle.minX() && r.minX() < obstacle.maxX() && r.maxY() > obstacle.minY()
                     && r.minY() < obstacle.maxY());
        if (i + 1 < frags.size() && frags[i + 1].rect.minY() == r.minY()) {
            ++split;
            EXPECT_EQ(r.maxX(), obstacle.minX());
            EXPECT_EQ(frags[i + 1].rect.minX(), obstacle.maxX());
            EXPECT_EQ(frags[i + 1].characters.location, frags[i].characters.end());
        }
    }
    EXPECT_GE(split, 2);
    EXPECT_EQ(lm.firstUnlaidCharacterIndex(), lm.text().length());
}

TEST_F(Layout, OverflowGoesToTheNextContainer)
{
    LayoutManager lm;
    TextContainer first({150, 40}), second({150, 1000});
    lm.addTextContainer(&first);
    AttributedString text = mono(words(40));
    lm.setAttributedString(text);
    int fit = lm.firstUnlaidCharacterIndex();
    EXPECT_GT(fit, 0);
    EXPECT_LT(fit, text.length());
    EXPECT_EQ(lm.glyphRangeForTextContainer(&first), (TextRange{0, fit}));
    EXPECT_EQ(lm.textContainerForGlyphAtIndex(fit), nullptr);
    for (const LineFragment &f : lm.lineFragments())
        EXPECT_LE(f.rect.maxY(), 40.0f);

    lm.addTextContainer(&second);
    EXPECT_EQ(lm.firstUnlaidCharacterIndex(), text.length());
    EXPECT_EQ(lm.glyphRangeForTextContainer(&second), (TextRange{fit, text.length() - fit}));
    EXPECT_EQ(lm.textContainerForGlyphAtIndex(fit), &second);
    EXPECT_EQ(lm.lineFragmentRectForGlyphAtIndex(fit).minY(), 0.0f);
}

TEST_F(Layout, HyphenationOnAndOff)
{
    QString s = QStringLiteral("The extraordinary international representatives considered "
                               "incomprehensibilities characteristically uncharacteristically");
    LayoutManager lm;
    TextContainer box({130, 2000});
    lm.addTextContainer(&box);

    lm.setAttributedString(mono(s, 0));
    for (const LineFragment &f : lm.lineFragments())
        EXPECT_FALSE(f.hyphenated);
    size_t linesWithout = lm.lineFragments().size();

    lm.setAttributedString(mono(s, 1.0f));
    int hyphenated = 0;
    for (const LineFragment &f : lm.lineFragments()) {
        if (!f.hyphenated)
            continue;
        ++hyphenated;
        // The line ends inside a word and its text plus the hyphen fits the line.
        EXPECT_TRUE(s[f.characters.end() - 1].isLetter());
        EXPECT_TRUE(s[f.characters.end()].isLetter());
        EXPECT_LE((f.characters.length + 1) * Advance, 120.01f);
    }
    EXPECT_GT(hyphenated, 0);
    EXPECT_LE(lm.lineFragments().size(), linesWithout);

    // The layout manager's factor applies when the paragraph has none.
    lm.setAttributedString(mono(s, 0));
    lm.setHyphenationFactor(1.0f);
    bool any = false;
    for (const LineFragment &f : lm.lineFragments())
        any = any || f.hyphenated;
    EXPECT_TRUE(any);
}

TEST_F(Layout, ParagraphSpacingAndLineHeights)
{
    AttributedString text = mono(QStringLiteral("a\nb\nc"));
    ParagraphStyle p;
    p.paragraphSpacingBefore = 4;
    p.paragraphSpacing = 6;
    p.lineSpacing = 2;
    p.minimumLineHeight = 20;
    text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) { a.paragraphStyle = p; });
    LayoutManager lm;
    TextContainer box({100, 1000});
    lm.addTextContainer(&box);
    lm.setAttributedString(text);
    const auto &f = lm.lineFragments();
    ASSERT_EQ(f.size(), 3u);
    EXPECT_NEAR(f[0].rect.height(), 20 + 2 + 6, 0.01);        // no spacing before at the top
    EXPECT_NEAR(f[1].rect.minY(), 28, 0.01);
    EXPECT_NEAR(f[1].rect.height(), 4 + 20 + 2 + 6, 0.01);
    FontMetrics m = fontMetrics(Font{QStringLiteral("DejaVuSansMono"), 10});
    EXPECT_NEAR(f[1].baseline, 28 + 4 + 20 + m.descender - m.leading, 0.05);
}

TEST(WordCount, CountsSegmentsWithLettersOrDigits)
{
    EXPECT_EQ(wordCount(QString()), 0);
    EXPECT_EQ(wordCount(QStringLiteral("  -- ,, ")), 0);
    EXPECT_EQ(wordCount(QStringLiteral("Hello, world! 42 times")), 4);
    EXPECT_EQ(wordCount(QStringLiteral("don't stop")), 2);
}

TEST_F(Layout, TabStopsAreMeasuredFromTheContainersLeftEdge)
{
    AttributedString text = mono(QStringLiteral("a\tbb\tcc\tx"));
    ParagraphStyle p;
    p.tabStops = {{TextTabType::Left, 50}, {TextTabType::Right, 120}, {TextTabType::Center, 200}};
    p.headIndent = p.firstLineHeadIndent = 10;
    text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) { a.paragraphStyle = p; });
    LayoutManager lm;
    TextContainer box({400, 100});
    lm.addTextContainer(&box);
    lm.setAttributedString(text);
    EXPECT_NEAR(lm.boundingRectForGlyphRange({0, 1}, &box).minX(), 15, 0.05);    // padding + indent
    EXPECT_NEAR(lm.boundingRectForGlyphRange({2, 1}, &box).minX(), 50, 0.05);    // left tab
    EXPECT_NEAR(lm.boundingRectForGlyphRange({5, 2}, &box).maxX(), 120, 0.05);   // right tab
    EXPECT_NEAR(lm.boundingRectForGlyphRange({8, 1}, &box).midX(), 200, 0.05);   // centre tab
}
