// The importer's value readers: base64, trimming and character references, colours,
// lengths, transform lists and path data.
#include "svg/svg_colors.h"
#include "svg/svg_geometry.h"
#include "svg/svg_path_data.h"
#include "svg/svg_styles.h"
#include "svg/svg_text_utilities.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SvgGraphicsState state() { return SvgGraphicsState::defaults(QString()); }

QString kinds(const BezierPath &path)
{
    QString result;
    for (const PathElement &e : path.elements())
        result.append(QChar(u"MLCZ"[int(e.kind)]));
    return result;
}

} // namespace

TEST(SvgTextUtilities, Base64TrimAndReferences)
{
    EXPECT_EQ(svgBase64("TWFu"), QByteArray("Man"));
    EXPECT_EQ(svgBase64("TQ=="), QByteArray("M"));
    EXPECT_EQ(svgBase64("TW\nFu"), QByteArray("Man"));
    EXPECT_EQ(svgBase64("TWE"), QByteArray("Ma"));   // an unpadded last group
    EXPECT_EQ(svgBase64("T=Fu"), QByteArray());      // second symbol padding: nothing

    EXPECT_EQ(strntrim("  a \t b  "), "a   b");
    EXPECT_EQ(strntrim(" \n "), "");

    EXPECT_EQ(specialConvert("&#x41;&#65;"), "AA");
    EXPECT_EQ(specialConvert("a &unknown; b"), "a &unknown; b");
    EXPECT_EQ(specialConvert("fish & chips"), "fish & chips");
    EXPECT_EQ(specialConvert("&amp &lt;"), "&amp <");   // the second "&" abandons the first
    EXPECT_EQ(specialConvert("&nbsp;&Prime;&prime;"), QString::fromUtf16(u" \u2033\u2032"));
    // Codes that are no character keep the reference as written.
    EXPECT_EQ(specialConvert("&#0;&#xD800;&#x110000;"), "&#0;&#xD800;&#x110000;");
}

TEST(SvgColors, ValuesAndKeywords)
{
    const SvgGraphicsState s = state();
    auto rgb = [&](const char *value) -> std::optional<Color> {
        auto paint = svgColorValue(QString::fromLatin1(value), SvgColorTarget::Fill, s);
        return paint ? paint->color : std::nullopt;
    };
    struct Case {
        const char *value;
        float r, g, b, a = 1;
    } cases[] = {
        {"#f00", 1, 0, 0},         {"#FF0000", 1, 0, 0},       {"rgb(255,0,0)", 1, 0, 0},
        {"rgb(100%, 0%, 0%)", 1, 0, 0}, {"rgb(50%, 300, -5)", 0.5f, 1, 0},   // each channel its own, clamped
        {"rgba(0, 0, 255, 0.25)", 0, 0, 1, 0.25f}, {"RGBA(0%, 100%, 0%, 50%)", 0, 1, 0, 0.5f},
        {"rgb(0 128 255 / 0.5)", 0, 128 / 255.f, 1, 0.5f},
        {"hsl(0, 100%, 50%)", 1, 0, 0}, {"hsl(120, 100%, 25%)", 0, 0.5f, 0}, {"hsl(-120deg, 100%, 50%)", 0, 0, 1},
        {"hsla(240, 100%, 50%, 0.3)", 0, 0, 1, 0.3f}, {"hsl(60, 50%, 75%)", 0.875f, 0.875f, 0.625f},
        {"transparent", 0, 0, 0, 0},
        {"GAINSBORO", 220 / 255.f, 220 / 255.f, 220 / 255.f}, {"LightGoldenRodYellow", 250 / 255.f, 250 / 255.f, 210 / 255.f},
        {"lightgrey", 211 / 255.f, 211 / 255.f, 211 / 255.f}, {"#abcd", 0xaa / 255.f, 0xbb / 255.f, 0xcc / 255.f, 0xdd / 255.f},
        {"#11223344", 0x11 / 255.f, 0x22 / 255.f, 0x33 / 255.f, 0x44 / 255.f},
        {"url(#missing) #0f0", 0, 1, 0},   // the fallback of a reference that names nothing
        {"url(#missing)", 0, 0, 0, 0},     // without one: nothing drawn
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        const auto color = rgb(c.value);
        ASSERT_TRUE(color);
        EXPECT_NEAR(color->redComponent(), c.r, 1e-4);
        EXPECT_NEAR(color->greenComponent(), c.g, 1e-4);
        EXPECT_NEAR(color->blueComponent(), c.b, 1e-4);
        EXPECT_NEAR(color->alphaComponent(), c.a, 1e-4);
    }
    for (const char *broken : {"rgb(255, 0)", "rgb(1, 2, 3, 4, 5)", "hsl(10)", "notacolour"})
        EXPECT_FALSE(rgb(broken)) << broken;

    // currentColor is the color property, black unless set, and keeps following it: set later
    // on the same element or on a descendant.
    SvgGraphicsState current = state();
    xmlStyle("fill", "currentColor", current);
    EXPECT_FLOAT_EQ(current.fillColor.color->alphaComponent(), 1);
    EXPECT_FLOAT_EQ(current.fillColor.color->redComponent(), 0);
    xmlStyle("color", "red", current);
    SvgGraphicsState child = current;
    xmlStyle("stroke", "currentColor", child);
    xmlStyle("color", "lime", child);
    EXPECT_FLOAT_EQ(current.fillColor.color->redComponent(), 1);
    EXPECT_FLOAT_EQ(child.fillColor.color->greenComponent(), 1);
    EXPECT_FLOAT_EQ(child.strokeColor.color->greenComponent(), 1);
    xmlStyle("fill", "blue", child);
    xmlStyle("color", "red", child);
    EXPECT_FLOAT_EQ(child.fillColor.color->blueComponent(), 1);   // no longer following
    EXPECT_EQ(css2ColorList().size(), 147);

    SvgGraphicsState blue = state();
    blue.fillColor.color = svgColor(0, 0, 1);
    const auto none = svgColorValue("none", SvgColorTarget::Fill, blue);
    ASSERT_TRUE(none && none->color);
    EXPECT_FLOAT_EQ(none->color->blueComponent(), 1);
    EXPECT_FLOAT_EQ(none->color->alphaComponent(), 0);
}

TEST(SvgGeometry, LengthsAndTransforms)
{
    SvgGraphicsState s = state();
    s.fontSize = 16;
    // Absolute units keep CSS's ratios to the pixel, the user unit.
    EXPECT_DOUBLE_EQ(unitToPix(u"12pc", s, 0), 192);
    EXPECT_DOUBLE_EQ(unitToPix(u"1in", s, 0), 96);
    EXPECT_DOUBLE_EQ(unitToPix(u"72pt", s, 0), 96);
    EXPECT_NEAR(unitToPix(u"25.4mm", s, 0), 96, 1e-9);
    EXPECT_NEAR(unitToPix(u"2.54cm", s, 0), 96, 1e-9);
    EXPECT_DOUBLE_EQ(unitToPix(u"50%", s, 200), 100);
    EXPECT_DOUBLE_EQ(unitToPix(u"3", s, 0), 3);
    EXPECT_DOUBLE_EQ(unitToPix(u"10px", s, 0), 10);
    EXPECT_DOUBLE_EQ(unitToPix(u"1em", s, 0), 16);

    auto mapped = [](const char *list, double x, double y) {
        return svgTransform(QString::fromLatin1(list), SvgGraphicsState::defaults(QString())).ctm.map(x, y);
    };
    EXPECT_EQ(mapped("translate(10,20) scale(2)", 1, 1), Point(12, 22));
    EXPECT_EQ(mapped("translate(10)", 0, 0), Point(10, 0));
    EXPECT_EQ(mapped("translate (5 5)", 0, 0), Point(5, 5));
    const Point turned = mapped("rotate(90 50 50)", 100, 50);
    EXPECT_NEAR(turned.x, 50, 1e-4);
    EXPECT_NEAR(turned.y, 100, 1e-4);
    EXPECT_EQ(mapped("rotate(30", 1, 1), Point(1, 1));   // unclosed: nothing applied

    const SvgGraphicsState m = svgTransform(u"matrix(2 0 0 3 5 7)", state());
    EXPECT_DOUBLE_EQ(m.scaleX, 2);
    EXPECT_DOUBLE_EQ(m.scaleY, 3);
    EXPECT_EQ(m.translate, Point(5, 7));
    const SvgGraphicsState r = svgTransform(u"matrix(0 1 -1 0 0 0)", state());
    EXPECT_NEAR(r.rotate, M_PI / 2, 1e-9);
    EXPECT_DOUBLE_EQ(r.scaleX, 1);
    // A pure horizontal skew keeps a finite vertical factor.
    EXPECT_TRUE(std::isfinite(svgTransform(u"matrix(1 0 0.5 1 0 0)", state()).scaleY));
    EXPECT_TRUE(svgTransform(u"matrix(1 2 3)", state()).ctm.isIdentity());
}

TEST(SvgPathData, CommandsArcsAndBounds)
{
    struct Case {
        const char *d;
        const char *kinds;
        int vertices;
    } cases[] = {
        {"M10 10 20 20 30 10", "MLL", 3},
        {"m10 10 20 20", "ML", 2},
        {"M0 0 H50 V50 Z", "MLLZ", 3},
        {"M0,0 Q50,100 100,0", "MC", 2},
        {"M0 0 A50 50 0 0 1 100 0", "MCC", 2},
        {"M0 0 A50 50 0 1 1 0 1", "MCCCC", 2},        // nearly a whole turn: four segments
        {"M0 0 a10 10 0 0110 10", "MC", 2},          // flags written together
        {"M0 0 A0 10 0 0 1 10 10", "ML", 2},          // zero radius: a line
        {"M5 5 A10 10 0 0 1 5 5", "M", 2},            // arc to its own start: no segment
        {"L10 10", "ML", 1},                          // no moveto: starts at the origin
        {"M0 0 L1e999 5", "M", 1},                    // an infinite number drops its command
        {"", "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.d);
        SvgGraphicsState s = state();
        const SvgPathData data = dToPath(QString::fromLatin1(c.d), s);
        EXPECT_EQ(kinds(data.path), QLatin1String(c.kinds));
        EXPECT_EQ(int(data.originalPoints.size()), c.vertices);
    }

    SvgGraphicsState s = state();
    const SvgPathData quad = dToPath(u"M0,0 Q50,100 100,0", s);
    EXPECT_NEAR(quad.path.element(1).points[0].x, 33.333, 1e-3);
    EXPECT_NEAR(quad.path.element(1).points[0].y, 66.667, 1e-3);
    EXPECT_NEAR(quad.path.element(1).points[1].x, 66.667, 1e-3);

    const SvgPathData smooth = dToPath(u"M0 0 C 0 50 50 50 50 0 S 100 -50 100 0", s);
    EXPECT_EQ(smooth.path.element(2).points[0], Point(50, -50));

    // A radius too small for its end points is scaled up: the half circle reaches y 50.
    const SvgPathData small = dToPath(u"M0 0 A1 1 0 0 1 100 0", s);
    EXPECT_NEAR(small.path.bounds().size.height, 50, 0.5);

    SvgGraphicsState scaled = svgTransform(u"scale(2)", state());
    const SvgPathData data = dToPath(u"M1 1 L2 2", scaled);
    EXPECT_EQ(data.path.element(0).points[0], Point(2, 2));
    EXPECT_EQ(data.objectBounds, Rect(1, 1, 1, 1));
    EXPECT_EQ(scaled.currentPoint, Point(2, 2));
}
