// Text along a path: glyph placement on straight and curved paths, turning, the setter's
// undo and word count, and the font runs.
#include "model/vek_obj_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/text/layout_manager.h"
#include "tests/model/fakes.h"
#include "tests/model/geometry_fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

AttributedString monoText(const QString &string, float size = 20)
{
    TextAttributes attributes;
    attributes.font = Font{QStringLiteral("DejaVuSansMono"), size};
    return AttributedString(string, attributes);
}

// The glyph fills drawn for the text along the path.
std::vector<RecordedDraw> drawAlong(VekObjPath &object, const AttributedString &text, const BezierPath &path)
{
    RecordingPaintDevice device(QSize(600, 600));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        object.drawString(text, path);
    }
    std::vector<RecordedDraw> fills;
    for (const RecordedDraw &draw : device.draws())
        if (draw.isFill())
            fills.push_back(draw);
    return fills;
}

} // namespace

// The advance of every DejaVu Sans Mono glyph at 20 points: 1233/2048 of the size.
constexpr float MonoAdvance = 20 * 1233.0f / 2048.0f;

float translationX(const RecordedDraw &draw) { return float(draw.transform.dx()); }
float turn(const RecordedDraw &draw) { return float(std::atan2(draw.transform.m12(), draw.transform.m11())); }

TEST(PathTextTest, GlyphsOnAStraightPathSitAtTheirDistancesAboveTheOffset)
{
    ensureGuiApp();
    auto object = VekObjPath::create();
    object->setAttSpace(6);
    object->setAttOffset(5);
    BezierPath line;
    line.moveToPoint({10, 100});
    line.lineToPoint({400, 100});

    // The line break has no glyph: it is not drawn and only its spacing separates its neighbours.
    const std::vector<RecordedDraw> glyphs = drawAlong(*object, monoText("II\nI"), line);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_NEAR(translationX(glyphs[0]), 10 + MonoAdvance / 2, 0.05);
    EXPECT_NEAR(translationX(glyphs[1]) - translationX(glyphs[0]), MonoAdvance + 6, 0.05);
    EXPECT_NEAR(translationX(glyphs[2]) - translationX(glyphs[1]), MonoAdvance + 2 * 6, 0.05);
    for (const RecordedDraw &glyph : glyphs) {
        const QRectF ink = glyph.devicePath.boundingRect();
        EXPECT_NEAR(ink.bottom(), 100 - 5, 0.05);   // "I" stands on its baseline
        EXPECT_NEAR(ink.center().x(), translationX(glyph), 0.05);
        EXPECT_EQ(turn(glyph), 0);   // upright without type 1
    }
}

TEST(PathTextTest, GlyphsAlongACircleTurnWithThePathAndStopWhereItEnds)
{
    ensureGuiApp();
    auto object = VekObjPath::create();
    object->setAttType(1);
    const Point centre{300, 300};
    const float radius = 100;
    const BezierPath circle = BezierPath::bezierPathWithOvalInRect(Rect(200, 200, 200, 200));
    const float circumference = 2 * float(M_PI) * radius;
    const float step = MonoAdvance + object->attSpace();
    const int fitting = int((circumference - MonoAdvance) / step) + 1;

    const std::vector<RecordedDraw> glyphs = drawAlong(*object, monoText(QString(fitting + 10, QChar('o'))), circle);
    ASSERT_NEAR(int(glyphs.size()), fitting, 1);
    ASSERT_LT(int(glyphs.size()), fitting + 10);

    Point previous{400, 300};   // the circle's start
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const Point q{translationX(glyphs[i]), float(glyphs[i].transform.dy())};
        EXPECT_NEAR(distanceBetweenPoints(q, centre), radius, 0.2) << "glyph " << i;
        // Along the arc the centres lie one advance plus the space apart (the chord is
        // shorter), within the 10 % by which the path's approximate measure can miss where
        // one curve element hands over to the next.
        const float arc = i == 0 ? MonoAdvance / 2 : step;
        const float chord = 2 * radius * std::sin(arc / (2 * radius));
        EXPECT_NEAR(distanceBetweenPoints(q, previous), chord, 0.1 * chord) << "glyph " << i;
        EXPECT_NEAR(turn(glyphs[i]), std::atan2(q.y - previous.y, q.x - previous.x), 1e-4) << "glyph " << i;
        previous = q;
    }
}

TEST(PathTextTest, NothingToDrawOnAnEmptyPathOrForAnEmptyText)
{
    ensureGuiApp();
    auto object = VekObjPath::create();
    EXPECT_TRUE(drawAlong(*object, monoText("abc"), BezierPath()).empty());
    BezierPath line;
    line.moveToPoint({0, 0});
    line.lineToPoint({100, 0});
    EXPECT_TRUE(drawAlong(*object, AttributedString(), line).empty());
}

TEST(PathTextTest, SettingTheTextCountsWordsAndUndoes)
{
    FakeDocument doc;
    auto object = VekObjPath::create();
    doc.adopt(object);
    PostCounter posts(object.get());

    object->setAttStringForPath(AttributedString());
    EXPECT_FALSE(object->attStringForPath());
    EXPECT_FALSE(doc.undo.canUndo());

    object->setAttStringForPath(monoText("along the path"));
    EXPECT_EQ(object->wordCount(), 3);
    EXPECT_EQ(posts[VekObjectWordcountDidChangeNotification], 1);
    // The first text undoes to none, and redoes.
    doc.undo.closeEventGroup();
    ASSERT_TRUE(doc.undo.canUndo());
    doc.undo.undo();
    EXPECT_FALSE(object->attStringForPath());
    EXPECT_EQ(object->wordCount(), 0);
    doc.undo.redo();
    ASSERT_TRUE(object->attStringForPath());
    EXPECT_EQ(object->wordCount(), 3);

    object->setAttStringForPath(monoText("two words"));
    EXPECT_EQ(object->wordCount(), 2);
    doc.undo.closeEventGroup();
    doc.undo.undo();
    ASSERT_TRUE(object->attStringForPath());
    EXPECT_EQ(object->attStringForPath()->string(), QStringLiteral("along the path"));
    EXPECT_EQ(object->wordCount(), 3);

    object->setAttStringForPath(std::nullopt);
    EXPECT_FALSE(object->attStringForPath());
    EXPECT_EQ(object->wordCount(), 0);
}

TEST(PathTextTest, ACmykDocumentDrawsAConvertedCopyAndTakesItBackWithoutAChange)
{
    FakeDocument doc;
    doc.cmyk = true;
    auto object = VekObjPath::create();
    doc.adopt(object);
    TextAttributes red;
    red.foregroundColor = Color::colorWithDeviceRed(1, 0, 0);
    object->setAttStringForPath(AttributedString(QStringLiteral("red"), red));
    doc.undo.closeEventGroup();
    doc.undo.removeAllActions();

    const std::optional<AttributedString> drawn = object->attStringForPath();
    ASSERT_TRUE(drawn);
    EXPECT_NE(*drawn, AttributedString(QStringLiteral("red"), red));
    object->setAttStringForPath(drawn);
    EXPECT_FALSE(doc.undo.canUndo());
    doc.cmyk = false;
    EXPECT_EQ(*object->attStringForPath(), AttributedString(QStringLiteral("red"), red));
}

TEST(PathTextTest, FontRunsOfTheText)
{
    auto object = VekObjPath::create();
    EXPECT_TRUE(object->textInfo().isAbsent());
    AttributedString text = monoText("ab", 12);
    text.append(monoText("cd", 9.5f));
    object->setAttStringForPath(text);
    const PropertyList rows = object->textInfo();
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.at(1).at(1).stringValue(), QStringLiteral("9.5"));
    EXPECT_EQ(rows.at(1).at(2).stringValue(), QStringLiteral("cd"));
}

TEST(PathTextTest, TheObjectDrawsItsTextLastAndNotWhileItsBoundsAreManipulated)
{
    ensureGuiApp();
    FakeDocument doc;
    auto object = VekObjPath::create();
    doc.adopt(object);
    BezierPath line;
    line.moveToPoint({10, 100});
    line.lineToPoint({300, 100});
    object->setBezierPath(line);
    object->setAttStringForPath(monoText("IIII"));

    const auto draws = [&] {
        RecordingPaintDevice device(QSize(400, 400));
        {
            GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
            GraphicsContext::Scope scope(context);
            object->drawInViewIsSelected(&doc.canvas, false);
        }
        return device.draws();
    };
    const std::vector<RecordedDraw> drawn = draws();
    ASSERT_GE(drawn.size(), 5u);
    for (size_t i = drawn.size() - 4; i < drawn.size(); ++i)
        EXPECT_TRUE(drawn[i].isFill()) << "glyph " << i;
    EXPECT_TRUE(drawn[drawn.size() - 5].isStroke());   // the line comes before the text

    object->startBoundsManipulation();
    EXPECT_EQ(draws().size(), drawn.size() - 4);
    object->stopBoundsManipulation();
}
