// Drawing laid-out text: colours, stroke widths, slant, baseline offsets, underlines and
// hyphens, recorded as glyph runs (filled upright text) and paths (the rest).
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/text/font_registry.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_drawing.h"
#include "tests/support/gui_app.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

TextAttributes font(float size = 20)
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), size};
    return a;
}

std::vector<RecordedDraw> record(const AttributedString &text, Point at = {10, 10})
{
    RecordingPaintDevice device(QSize(400, 200));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        drawAttributedStringAtPoint(text, at);
    }
    return device.draws();
}

// Where a recorded fill (a path, or the outlines of a glyph run) lands.
QRectF drawnBounds(const RecordedDraw &draw)
{
    return draw.devicePath.boundingRect();
}

QColor fillColour(const RecordedDraw &draw)
{
    return draw.kind == RecordedDraw::Kind::Text ? draw.pen.color() : draw.brush.color();
}

} // namespace

class TextDrawing : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApp(); }
};

TEST_F(TextDrawing, FillsGlyphsOnTheBaseline)
{
    TextAttributes a = font();
    a.foregroundColor = Color::redColor();
    auto draws = record(AttributedString(QStringLiteral("H"), a));
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].kind, RecordedDraw::Kind::Text);   // through the glyph cache
    EXPECT_EQ(fillColour(draws[0]), QColor(Qt::red));
    FontMetrics m = fontMetrics(*a.font);
    QRectF box = drawnBounds(draws[0]);
    EXPECT_NEAR(box.bottom(), 10 + m.ascender, 0.1);             // sits on the baseline
    EXPECT_NEAR(box.height(), m.capHeight, 0.1);
    EXPECT_NEAR(attributedStringSize(AttributedString(QStringLiteral("H"), a)).height, m.lineHeight(), 0.01);
}

TEST_F(TextDrawing, StrokeSlantAndBaselineOffset)
{
    TextAttributes plain = font();
    QRectF upright = drawnBounds(record(AttributedString(QStringLiteral("I"), plain))[0]);

    TextAttributes outlined = font();
    outlined.strokeWidth = 5;                 // outline only
    outlined.strokeColor = Color::blueColor();
    auto draws = record(AttributedString(QStringLiteral("I"), outlined));
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].brush.color(), QColor(Qt::blue));
    EXPECT_EQ(draws[0].kind, RecordedDraw::Kind::Path);
    EXPECT_NEAR(drawnBounds(draws[0]).width(), upright.width() + 1.0, 0.05);   // 5 % of 20 pt

    TextAttributes both = font();
    both.strokeWidth = -5;                    // fill and outline
    EXPECT_EQ(record(AttributedString(QStringLiteral("I"), both)).size(), 2u);

    TextAttributes slanted = font();
    slanted.obliqueness = 0.5f;
    const RecordedDraw leaning = record(AttributedString(QStringLiteral("I"), slanted))[0];
    EXPECT_EQ(leaning.kind, RecordedDraw::Kind::Path);   // slanted glyphs are outlines
    QRectF s = drawnBounds(leaning);
    EXPECT_NEAR(s.left(), upright.left(), 0.05);                          // the foot stays
    EXPECT_NEAR(s.width(), upright.width() + 0.5 * upright.height(), 0.1); // the top leans right

    TextAttributes raised = font();
    raised.baselineOffset = 4;
    QRectF r = drawnBounds(record(AttributedString(QStringLiteral("I"), raised))[0]);
    // A positive offset raises the glyph; the line grows by as much, so it stays in place
    // relative to the line's top plus the offset.
    EXPECT_NEAR(r.bottom(), upright.bottom(), 0.1);
    EXPECT_NEAR(attributedStringSize(AttributedString(QStringLiteral("I"), raised)).height,
                attributedStringSize(AttributedString(QStringLiteral("I"), plain)).height + 4, 0.01);
}

TEST_F(TextDrawing, UnderlineBackgroundAndHyphen)
{
    TextAttributes a = font();
    a.underlineStyle = UnderlineStyleDouble;
    a.underlineColor = Color::greenColor();
    a.backgroundColor = Color::yellowColor();
    auto draws = record(AttributedString(QStringLiteral("ab"), a));
    ASSERT_EQ(draws.size(), 3u);   // background, glyphs, underline
    EXPECT_EQ(draws[0].brush.color(), QColor(Qt::yellow));
    EXPECT_EQ(draws[2].brush.color(), QColor(Qt::green));
    EXPECT_GT(draws[2].path.boundingRect().top(), 10 + fontMetrics(*a.font).ascender);   // below the baseline

    // A hyphenated line draws a hyphen after its text.
    TextAttributes h = font(10);
    ParagraphStyle p;
    p.hyphenationFactor = 1;
    h.paragraphStyle = p;
    AttributedString text(QStringLiteral("An extraordinarily"), h);
    LayoutManager lm;
    TextContainer box({90, 100});
    lm.addTextContainer(&box);
    lm.setAttributedString(text);
    ASSERT_TRUE(lm.lineFragments().front().hyphenated);
    RecordingPaintDevice device(QSize(200, 100));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        lm.drawGlyphsForGlyphRange({0, lm.lineFragments().front().characters.length}, {0, 0});
    }
    ASSERT_GE(device.draws().size(), 2u);
    QRectF dash = drawnBounds(device.draws().back());
    ASSERT_FALSE(dash.isEmpty());
    EXPECT_LT(dash.height(), 2.0);   // a flat mark, drawn last, right of the text
    EXPECT_GT(dash.left(), drawnBounds(device.draws().front()).right() - 1);
}

TEST_F(TextDrawing, ImageAttachmentTakesItsSizeInTheLine)
{
    QImage image(30, 40, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    TextAttributes a = font(10);
    AttributedString text(QStringLiteral("ab"), a);
    TextAttributes pic = a;
    pic.attachment = TextAttachment{QStringLiteral("p.png"), png};
    text.insert(1, AttributedString(QString(QChar(AttachmentCharacter)), pic));

    LayoutManager lm;
    TextContainer box({300, 300});
    box.setLineFragmentPadding(0);
    lm.addTextContainer(&box);
    lm.setAttributedString(text);
    Rect r = lm.boundingRectForGlyphRange({1, 1}, &box);
    EXPECT_NEAR(r.width(), 30, 0.25);   // within the shaper's 1/64 steps
    FontMetrics m = fontMetrics(*a.font);
    EXPECT_NEAR(lm.lineFragments()[0].baseline, 40, 0.05);   // the image is taller than the ascender
    EXPECT_NEAR(lm.lineFragments()[0].rect.height(), 40 - m.descender + m.leading, 0.05);

    RecordingPaintDevice device(QSize(300, 300));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        lm.drawGlyphsForGlyphRange({0, text.length()}, {0, 0});
    }
    int images = 0;
    for (const RecordedDraw &d : device.draws()) {
        if (d.kind != RecordedDraw::Kind::Image)
            continue;
        ++images;
        EXPECT_NEAR(d.target.left(), r.minX(), 0.1);
        EXPECT_NEAR(d.target.top(), 0, 0.1);
        EXPECT_NEAR(d.target.height(), 40, 0.1);
    }
    EXPECT_EQ(images, 1);
}

TEST_F(TextDrawing, InvisibleCharacterMarks)
{
    struct Case { char16_t c; bool glyph; char16_t mark; } cases[] = {
        {u' ', true, 0x00B7}, {u'\t', true, 0x2192}, {0x21E5, true, 0x2192}, {u'\n', true, 0x00B6},
        {u'\f', true, 0x21CB}, {0x0001, true, 0xFFFD}, {0x0085, true, 0xFFFD}, {0x0378, true, 0xFFFD},
        {u'x', false, 0xFFFD}, {u'x', true, 0}, {0x00A0, true, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(invisibleCharacterMark(QChar(c.c), c.glyph), QChar(c.mark)) << int(c.c);

    AttributedString text(QStringLiteral("a b"), font(10));
    LayoutManager lm;
    TextContainer box({300, 100});
    lm.addTextContainer(&box);
    lm.setAttributedString(text);
    auto count = [&] {
        RecordingPaintDevice device(QSize(300, 100));
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        lm.drawGlyphsForGlyphRange({0, text.length()}, {0, 0});
        return device.draws().size();
    };
    size_t plain = count();
    lm.setShowsInvisibleCharacters(true);
    EXPECT_EQ(count(), plain + 1);   // the middle dot for the space
}
