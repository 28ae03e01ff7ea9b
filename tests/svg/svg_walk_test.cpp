// The element walk on small documents: dispatch and record order, style rules and
// selectors, viewports, definitions and use, gradients and stops, markers and text runs.
#include "tests/svg/svg_test_support.h"

#include "svg/svg_definitions.h"
#include "svg/svg_styles.h"

namespace {

QByteArray svg(const char *content, const char *rootAttributes = R"x(width="200" height="200")x")
{
    return QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" ")
           + rootAttributes + ">" + content + "</svg>";
}

Color fillOf(const SvgObjectInfo *info) { return info->state.fillColor.color.value_or(Color()); }

} // namespace

TEST(SvgWalk, DispatchOrderTitleAndRoot)
{
    const auto list = importSvgText(svg(R"x(<g><title>first</title><rect width="5" height="5"/></g><title>second</title>
        <rect><circle cx="1" cy="1" r="1"/></rect><svg:rect width="5" height="5"/><defs><rect id="r" width="1" height="1"/></defs>
        <symbol id="s"><rect width="3" height="3"/></symbol><mask><rect width="4" height="4"/></mask>)x"));
    EXPECT_EQ(list.svgTitle.value_or(""), "first");
    // The group's rect and the circle inside an attribute-less rect; nothing from defs, the
    // symbol, the mask or the prefixed name.
    const auto drawn = drawnInfos(list);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[1]->bezierPath.bounds().size.width, 2, 1e-4);   // the circle

    const auto other = importSvgText("<drawing width='100' height='50'><unknown/></drawing>");
    EXPECT_EQ(other.bounds.value_or(Rect()), Rect(0, 0, 100, 50));
    EXPECT_TRUE(other.objectInfos.empty());
}

TEST(SvgWalk, StyleRulesAndSelectors)
{
    const auto list = importSvgText(svg(R"x(<style>rect { fill: red } rect { fill: blue } .a{fill:#010101}
        rect.b{fill:#020202} [stroke="red"]{fill:#030303} g > rect{fill:lime} .a ellipse{fill:#040404}</style>
        <rect width="1" height="1"/><rect class="a" width="1" height="1"/><circle class="b" r="1"/>
        <rect class="b" width="1" height="1"/><g class="a"><ellipse rx="1" ry="1" id="x"/></g>
        <rect stroke="red" width="1" height="1"/><rect width="1" height="1" style="fill:#050505" fill="#060606"/>
        <style>ellipse{stroke:green}</style><g><style>circle{fill:#070707}</style></g><circle r="2"/>)x"));
    const auto d = drawnInfos(list);
    ASSERT_EQ(d.size(), 8u);
    EXPECT_FLOAT_EQ(fillOf(d[0]).blueComponent(), 1);               // the later rule replaced the first
    EXPECT_NEAR(fillOf(d[1]).redComponent(), 1 / 255.f, 1e-6);      // class rule
    EXPECT_FLOAT_EQ(fillOf(d[2]).redComponent(), 0);                 // rect.b is not for a circle
    EXPECT_NEAR(fillOf(d[3]).redComponent(), 2 / 255.f, 1e-6);
    EXPECT_NEAR(fillOf(d[4]).redComponent(), 4 / 255.f, 1e-6);      // descendant of g.a
    EXPECT_NEAR(fillOf(d[5]).redComponent(), 3 / 255.f, 1e-6);      // attribute selector
    EXPECT_NEAR(fillOf(d[6]).redComponent(), 6 / 255.f, 1e-6);      // attribute after style wins
    EXPECT_NEAR(fillOf(d[7]).redComponent(), 7 / 255.f, 1e-6);      // a sheet in a group applies later

    SvgGraphicsState s = SvgGraphicsState::defaults(QString());
    cssStyle("fill:#ff0000;;stroke:#0000ff", s);
    EXPECT_FLOAT_EQ(s.fillColor.color->redComponent(), 1);
    EXPECT_FLOAT_EQ(s.strokeColor.color->alphaComponent(), 0);   // nothing after ";;"
    xmlStyle("font-weight", "bold", s);
    EXPECT_EQ(s.fontWeight, 8);
    xmlStyle("font-weight", "700", s);
    EXPECT_EQ(s.fontWeight, 7);
    xmlStyle("stroke-linecap", "bogus", s);
    EXPECT_EQ(s.lineCap, 0);
    s.fillRule = 1;
    xmlStyle("fill-rule", "bogus", s);
    EXPECT_EQ(s.fillRule, 1);
    xmlStyle("opacity", "0.5", s);
    EXPECT_FLOAT_EQ(s.opacity, 0.5f);
    EXPECT_FLOAT_EQ(s.fillOpacity, 1);   // multiplied in when drawn, not replaced
    xmlStyle("font-family", "'Times New Roman', serif", s);
    EXPECT_EQ(s.fontFamily, QStringList({"Times New Roman", "serif"}));
    s.fontSize = 10;
    xmlStyle("baseline-shift", "super", s);
    xmlStyle("baseline-shift", "super", s);
    EXPECT_EQ(s.superscript, 2);
    EXPECT_FLOAT_EQ(s.baselineOffset, 10);
}

TEST(SvgWalk, Viewports)
{
    struct Case {
        const char *root;
        double scaleX, scaleY;
        Point origin;   // where the view box origin lands
    } cases[] = {
        {R"x(width="200" height="100" viewBox="0 0 400 400")x", 0.25, 0.25, Point(50, 0)},
        {R"x(width="200" height="100" viewBox="0 0 400 400" preserveAspectRatio="xMinYMin slice")x", 0.5, 0.5, Point(0, 0)},
        {R"x(width="200" height="100" viewBox="0 0 400 400" preserveAspectRatio="none")x", 0.5, 0.25, Point(0, 0)},
        {R"x(width="200" height="100" viewBox="0 0 400 400" preserveAspectRatio="xMaxYMax")x", 0.25, 0.25, Point(100, 0)},
        {R"x(x="50" width="100" height="100")x", 1, 1, Point(0, 0)},   // x on the root is ignored
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.root);
        const auto list = importSvgText(svg(R"x(<path d="M0 0 L1 0"/>)x", c.root));
        EXPECT_DOUBLE_EQ(list.svgScaleX.value_or(0), c.scaleX);
        EXPECT_DOUBLE_EQ(list.svgScaleY.value_or(0), c.scaleY);
        ASSERT_EQ(drawnInfos(list).size(), 1u);
        EXPECT_EQ(drawnInfos(list)[0]->bezierPath.element(0).points[0], c.origin);
    }
    const auto plain = importSvgText("<svg xmlns='http://www.w3.org/2000/svg'/>");
    EXPECT_EQ(plain.bounds.value_or(Rect()), Rect(0, 0, 640, 480));
    EXPECT_EQ(plain.svgViewBox.value_or(Rect()), Rect(0, 0, 640, 480));

    // A nested viewport clips its content; without a view box its content is not scaled again.
    const auto nested = importSvgText(svg(R"x(<g transform="scale(2)"><svg width="10" height="10"><rect width="5" height="5"/></svg></g>)x"));
    ASSERT_EQ(drawnInfos(nested).size(), 1u);
    const SvgObjectInfo &inner = *drawnInfos(nested)[0];
    EXPECT_EQ(inner.bezierPath.bounds(), Rect(0, 0, 10, 10));
    EXPECT_EQ(inner.state.clipPath.bounds(), Rect(0, 0, 20, 20));
    EXPECT_DOUBLE_EQ(inner.state.scaleX, 2);
}

TEST(SvgWalk, UseDefinitionsAndCycles)
{
    const auto list = importSvgText(svg(R"x(<use xlink:href="#r" x="99"/><defs><rect id="r" width="10" height="10"/></defs>
        <use xlink:href="#r" x="10"/><use xlink:href="#r" x="5" transform="translate(100 0)"/>)x"));
    const auto d = drawnInfos(list);
    ASSERT_EQ(d.size(), 2u);   // the use before its definition draws nothing
    EXPECT_EQ(d[0]->bezierPath.bounds(), Rect(10, 0, 10, 10));
    EXPECT_EQ(d[1]->bezierPath.bounds(), Rect(105, 0, 10, 10));   // transform, then x

    // A definition that uses itself, and two that use each other, end.
    const auto cyclic = importSvgText(svg(R"x(<defs><g id="a"><rect width="1" height="1"/><use xlink:href="#b"/></g>
        <g id="b"><use xlink:href="#a"/></g><g id="self"><use xlink:href="#self"/><rect width="2" height="2"/></g></defs>
        <use xlink:href="#a"/><use xlink:href="#self"/>)x"));
    EXPECT_LE(drawnInfos(cyclic).size(), 4u);
    EXPECT_GE(drawnInfos(cyclic).size(), 2u);
}

TEST(SvgWalk, GradientRecordsAndStops)
{
    const auto list = importSvgText(svg(R"x(<linearGradient id="base" spreadMethod="reflect" x1="0.3">
          <stop offset="0.5" stop-color="red"/><stop offset="0.2" style="stop-color:blue;stop-opacity:0.5"/><stop/></linearGradient>
        <linearGradient id="child" xlink:href="#base"/><radialGradient id="rad" cx="30%"><stop offset="150%"/><stop/></radialGradient>
        <rect width="1" height="1" fill="url(#child)"/><rect width="1" height="1" fill="url(#rad)"/>)x"));
    const auto d = drawnInfos(list);
    ASSERT_EQ(d.size(), 2u);
    const SvgDefinition &child = *d[0]->state.fillColor.server;
    EXPECT_EQ(child.gradientClass, "SVGLinearGradient");
    EXPECT_EQ(child.text("spreadMethod"), "reflect");   // inherited
    EXPECT_EQ(child.text("X1"), "0.3");                // inherited, as every attribute it does not set
    EXPECT_EQ(child.text("gradientUnits"), "objectBoundingBox");
    ASSERT_EQ(child.stops.size(), 3u);
    EXPECT_FLOAT_EQ(child.stops[1].offset, 0.5f);   // offsets never decrease
    EXPECT_FLOAT_EQ(child.stops[1].opacity, 0.5f);
    EXPECT_FLOAT_EQ(child.stops[1].color.blueComponent(), 1);
    EXPECT_FLOAT_EQ(child.stops[2].offset, 0.5f);   // no offset: 0, raised to the one before
    const SvgDefinition &radial = *d[1]->state.fillColor.server;
    EXPECT_EQ(radial.text("fx"), "30%");
    EXPECT_EQ(radial.text("fy"), "50%");
    EXPECT_FLOAT_EQ(radial.stops[0].offset, 1);
}

TEST(SvgWalk, MarkersAtVertices)
{
    const char *marker = R"x(<marker id="m" markerWidth="4" markerHeight="4" viewBox="0 0 4 4" orient="auto"><rect width="4" height="4"/></marker>)x";
    auto markersOf = [&](const char *shape) {
        const auto list = importSvgText(svg((QByteArray(marker) + shape).constData()));
        return drawnInfos(list).size() == 1 ? drawnInfos(list)[0]->markerInfos.size() : size_t(99);
    };
    EXPECT_EQ(markersOf(R"x(<polyline points="0,0 10,0 10,10" marker-start="url(#m)" marker-mid="url(#m)" marker-end="url(#m)"/>)x"), 3u);
    EXPECT_EQ(markersOf(R"x(<polyline points="0,0 10,0" marker-start="url(#m)" marker-mid="url(#m)" marker-end="url(#m)"/>)x"), 2u);
    EXPECT_EQ(markersOf(R"x(<path d="M0 0 L10 0" stroke-width="3" marker-end="url(#m)"/>)x"), 1u);

    // A marker named on a circle (which places none) does not reach the next path.
    const auto list = importSvgText(svg((QByteArray(marker) + R"x(<circle r="5" marker-end="url(#m)"/><path d="M0 0 L5 5"/>)x").constData()));
    ASSERT_EQ(drawnInfos(list).size(), 2u);
    EXPECT_TRUE(drawnInfos(list)[1]->markerInfos.empty());

    // Stroke-width units scale the marker: width 3 triples its 4 x 4 square.
    const auto scaled = importSvgText(svg((QByteArray(marker) + R"x(<path d="M0 0 L10 0" stroke-width="3" marker-end="url(#m)"/>)x").constData()));
    const Rect copy = drawnInfos(scaled)[0]->markerInfos[0].bezierPath.bounds();
    EXPECT_NEAR(copy.size.width, 12, 1e-3);
    EXPECT_NEAR(copy.origin.x, 10, 1e-3);

    // A marker whose content names the marker itself ends.
    const auto selfMarker = importSvgText(svg(R"x(<marker id="s"><path d="M0 0 L1 1" marker-end="url(#s)"/></marker>
        <path d="M0 0 L5 5" marker-end="url(#s)"/>)x"));
    EXPECT_EQ(drawnInfos(selfMarker).size(), 1u);
}

TEST(SvgWalk, TextRuns)
{
    ensureGuiApp();
    const auto list = importSvgText(svg(R"x(<text x="10" y="20">Hello <tspan>big</tspan> <tspan dx="5 5 5">world</tspan></text>)x"));
    std::vector<const SvgObjectInfo *> runs;
    for (const SvgObjectInfo &info : list.objectInfos)
        if (info.classNr == SvgTextObject)
            runs.push_back(&info);
    ASSERT_EQ(runs.size(), 3u);
    // Runs in the order they closed, the text's own last; a blank ending one run is written
    // at the start of the next.
    EXPECT_EQ(runs[0]->text->string, " big");
    EXPECT_EQ(runs[1]->text->string, " world");
    EXPECT_EQ(runs[2]->text->string, "Hello");
    EXPECT_EQ(runs[1]->text->textXPositionString.value_or(""), "5 5 5");
    // Each run continues where the previous one ended, also across the blank between them.
    EXPECT_GT(runs[0]->state.currentPoint.x, 10);
    EXPECT_GT(runs[1]->state.currentPoint.x, runs[0]->state.currentPoint.x);

    // Where the glyphs land: every transform applied, dx from where the text before ended,
    // the anchor (and right-to-left text) moving the whole chunk.
    auto runsOf = [](const char *content) {
        std::vector<std::shared_ptr<const SvgTextRun>> result;
        for (const SvgObjectInfo &info : importSvgText(svg(content)).objectInfos)
            if (info.classNr == SvgTextObject)
                result.push_back(info.text);
        return result;
    };
    const auto moved = runsOf(R"x(<g transform="translate(50 0) scale(2)"><text x="100" y="20">A</text></g>)x");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0]->glyphOrigins, std::vector<Point>({Point(250, 40)}));
    const auto continued = runsOf(R"x(<text x="10" y="20">A<tspan dx="5" dy="-2">B</tspan></text>)x");
    ASSERT_EQ(continued.size(), 2u);
    EXPECT_FLOAT_EQ(continued[0]->glyphOrigins[0].x, continued[1]->endX + 5);
    EXPECT_FLOAT_EQ(continued[0]->glyphOrigins[0].y, 18);
    for (const auto &[content, share] : {std::pair{R"x(<text x="100" text-anchor="middle">AB<tspan>CD</tspan></text>)x", 0.5},
                                         std::pair{R"x(<text x="100" text-anchor="end">AB</text>)x", 1.0},
                                         std::pair{R"x(<text x="100" xml:lang="he">AB</text>)x", 1.0}}) {
        SCOPED_TRACE(content);
        const auto anchored = runsOf(content);
        ASSERT_FALSE(anchored.empty());
        const auto &first = anchored.back();   // the text element's own run
        const double chunk = anchored.front()->endX - first->startX;
        EXPECT_NEAR(first->glyphOrigins[0].x, 100 - chunk * share, 1e-3);
    }
    const auto perGlyph = runsOf(R"x(<text x="10 20" y="5">abc</text>)x");
    ASSERT_EQ(perGlyph.size(), 1u);
    EXPECT_EQ(perGlyph[0]->glyphOrigins, std::vector<Point>({Point(10, 5), Point(20, 5)}));

    const auto preserved = importSvgText(svg("<text xml:space=\"preserve\">a\tb  c</text>"));
    ASSERT_FALSE(preserved.objectInfos.empty());
    EXPECT_EQ(preserved.objectInfos.back().text->string, "a b  c");
    // A zero font size makes no run.
    const auto zero = importSvgText(svg(R"x(<text font-size="0">x</text>)x"));
    EXPECT_TRUE(zero.objectInfos.empty());
}
