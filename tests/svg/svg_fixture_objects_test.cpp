// Each fixture of tests/svg/data, one per element and property family, imported into a new
// document: the objects made, checked on their class, bounds, outline, colours, line width,
// dashes and gradient stops.
#include "tests/svg/svg_test_support.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/archiving.h"

#include <functional>

namespace {

// Objects in drawing order (back to front); the document lists them front to back.
std::vector<std::shared_ptr<VekObject>> backToFront(const VekDocument &document)
{
    auto objects = document.objects();
    std::reverse(objects.begin(), objects.end());
    return objects;
}

QString kinds(const BezierPath &path)
{
    QString result;
    for (const PathElement &e : path.elements())
        result.append(QChar(u"MLCZ"[int(e.kind)]));
    return result;
}

void expectRect(const Rect &actual, const Rect &expected, float tolerance = 0.01f)
{
    EXPECT_NEAR(actual.origin.x, expected.origin.x, tolerance);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, tolerance);
    EXPECT_NEAR(actual.size.width, expected.size.width, tolerance);
    EXPECT_NEAR(actual.size.height, expected.size.height, tolerance);
}

void expectColor(const std::optional<Color> &actual, float r, float g, float b, float a = 1)
{
    ASSERT_TRUE(actual.has_value());
    EXPECT_NEAR(actual->redComponent(), r, 0.005);
    EXPECT_NEAR(actual->greenComponent(), g, 0.005);
    EXPECT_NEAR(actual->blueComponent(), b, 0.005);
    EXPECT_NEAR(actual->alphaComponent(), a, 0.005);
}

VekObjPath &path(const std::shared_ptr<VekObject> &object)
{
    auto *p = dynamic_cast<VekObjPath *>(object.get());
    EXPECT_NE(p, nullptr);
    return *p;
}

// The gradient's colours as the object holds them before it is first drawn.
std::vector<Color> heldColors(const VekObject &object)
{
    std::vector<Color> colors;
    const PropertyList &list = object.heldGradientColors();
    for (int i = 0; i < list.count(); ++i)
        if (auto c = unarchiveColorWithData(list.at(i).dataValue()))
            colors.push_back(*c.value);
    return colors;
}

std::vector<float> heldShares(const VekObject &object)
{
    std::vector<float> shares;
    const PropertyList &list = object.heldGradientProportions();
    for (int i = 0; i < list.count(); ++i)
        shares.push_back(list.at(i).floatValue());
    return shares;
}

using Check = std::function<void(const std::vector<std::shared_ptr<VekObject>> &)>;

struct Fixture {
    const char *name;
    size_t objects;
    Check check;
};

const Fixture fixtures[] = {
    {"rect.svg", 1, [](const auto &o) {
         EXPECT_EQ(o[0]->className(), "VekObjPath");
         expectRect(o[0]->bounds(), Rect(10, 20, 100, 50));
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MLLLZ");
         expectColor(o[0]->storedFillColor(), 1, 0, 0);
         expectColor(o[0]->storedStrokeColor(), 0, 0, 1);
         EXPECT_FLOAT_EQ(o[0]->lineWidth(), 4);
         EXPECT_TRUE(o[0]->drawsFill());
         EXPECT_TRUE(o[0]->drawsStroke());
     }},
    {"rounded_rect.svg", 1, [](const auto &o) {
         expectRect(o[0]->bounds(), Rect(20, 20, 160, 100));
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MLCLCLCLCZ");
         expectColor(o[0]->storedFillColor(), 0, 128 / 255.0f, 1);
         EXPECT_FALSE(o[0]->drawsStroke());   // no stroke: a transparent stroke colour
     }},
    {"circle.svg", 1, [](const auto &o) {
         expectRect(o[0]->bounds(), Rect(40, 40, 120, 120), 0.05f);
         expectColor(o[0]->storedFillColor(), 0, 128 / 255.0f, 0);
         EXPECT_FLOAT_EQ(o[0]->lineWidth(), 6);
     }},
    {"ellipse.svg", 1, [](const auto &o) {
         expectRect(o[0]->bounds(), Rect(20, 40, 160, 80));
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MCCCCZ");
         expectColor(o[0]->storedFillColor(), 1, 128 / 255.0f, 0);
     }},
    {"line.svg", 1, [](const auto &o) {
         expectRect(o[0]->bounds(), Rect(10, 10, 180, 140));
         EXPECT_EQ(kinds(o[0]->bezierPath()), "ML");
         EXPECT_EQ(o[0]->capStyle(), 1);
         EXPECT_FLOAT_EQ(o[0]->lineWidth(), 8);
     }},
    {"polyline.svg", 1, [](const auto &o) {
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MLLLL");
         EXPECT_EQ(o[0]->joinStyle(), 1);
         EXPECT_FALSE(o[0]->drawsFill());
         expectColor(o[0]->storedStrokeColor(), 0.2f, 0.2f, 0.2f);
     }},
    {"polygon.svg", 1, [](const auto &o) {
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MLLZ");
         EXPECT_EQ(o[0]->fillRule(), 1);
         expectColor(o[0]->storedFillColor(), 1, 215 / 255.0f, 0);
     }},
    {"path_commands.svg", 4, [](const auto &o) {
         // M L H V C S Q Z, absolute and relative: the same outline moved by 100.
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MLLLCCCZ");
         EXPECT_EQ(kinds(o[1]->bezierPath()), "MLLLCCCZ");
         expectRect(o[1]->bounds(), Rect(o[0]->bounds().origin.x + 100, o[0]->bounds().origin.y,
                                         o[0]->bounds().size.width, o[0]->bounds().size.height), 0.05f);
         EXPECT_EQ(kinds(o[2]->bezierPath()), "MCCC");   // Q T T
         EXPECT_EQ(kinds(o[3]->bezierPath()), "MCCC");   // q t t
     }},
    {"arcs.svg", 4, [](const auto &o) {
         // Half ellipses of two segments; the large arcs of more than half a turn.
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MCC");
         EXPECT_EQ(kinds(o[1]->bezierPath()), "MCC");
         EXPECT_GT(o[0]->bounds().maxY(), 60);   // sweep 0 bulges down (y grows downwards)
         EXPECT_LT(o[1]->bounds().origin.y, 40);  // sweep 1 bulges up
     }},
    {"transforms.svg", 4, [](const auto &o) {
         expectRect(o[0]->bounds(), Rect(20, 20, 40, 20));   // translate(20,20) scale(2)
         EXPECT_GT(o[1]->bounds().size.width, 40);            // turned by 30 degrees
         EXPECT_NEAR(o[2]->bounds().size.width, 40 + 40 * std::tan(20 * M_PI / 180), 0.05);
     }},
    {"use_symbol.svg", 4, [](const auto &o) {
         expectRect(o[0]->bounds(), Rect(20, 20, 20, 20), 0.05f);
         expectColor(o[0]->storedFillColor(), 0, 0, 1);
         // A fill on the use does not replace the definition's own fill.
         expectRect(o[1]->bounds(), Rect(150, 20, 20, 20), 0.05f);
         // The symbol's 20 x 20 view box fitted into 80 x 80 at (20, 100), clipped to that
         // viewport by a clipping path behind it.
         EXPECT_EQ(o[2]->clipType(), 1);
         expectRect(o[2]->bounds(), Rect(20, 100, 80, 80), 0.05f);
         expectRect(o[3]->bounds(), Rect(40, 120, 40, 40), 0.05f);
     }},
    {"css_styles.svg", 6, [](const auto &o) {
         expectColor(o[0]->storedFillColor(), 0, 0, 1);                  // type rule
         expectColor(o[1]->storedFillColor(), 1, 165 / 255.0f, 0);       // class rule
         EXPECT_FLOAT_EQ(o[1]->lineWidth(), 2);
         expectColor(o[2]->storedFillColor(), 0, 1, 0);                  // id rule
         expectColor(o[4]->storedFillColor(), 128 / 255.0f, 0, 128 / 255.0f);   // inherited from g
         expectColor(o[4]->storedStrokeColor(), 1, 1, 0);
         expectColor(o[5]->storedFillColor(), 1, 0, 0);                  // style attribute
     }},
    {"dashes.svg", 1, [](const auto &o) {
         const PropertyList &dash = path(o[0]).dashInfo();
         ASSERT_EQ(dash.value("pattern").count(), 2);
         EXPECT_FLOAT_EQ(dash.value("pattern").at(0).floatValue(), 20);
         EXPECT_FLOAT_EQ(dash.value("pattern").at(1).floatValue(), 10);
     }},
    {"opacity.svg", 1, [](const auto &o) {
         expectColor(o[0]->storedFillColor(), 0, 0, 1, 0.5f);
         expectColor(o[0]->storedStrokeColor(), 1, 0, 0, 0.25f);
     }},
    {"linear_gradient.svg", 2, [](const auto &o) {
         EXPECT_EQ(o[0]->objGradientType(), GradientLinear);
         const auto colors = heldColors(*o[0]);
         ASSERT_EQ(colors.size(), 3u);
         expectColor(colors[1], 1, 1, 0);
         const auto shares = heldShares(*o[0]);
         ASSERT_EQ(shares.size(), 2u);
         EXPECT_FLOAT_EQ(shares[0], 0.5f);
         EXPECT_FLOAT_EQ(shares[1], 0.5f);
         // Stops from 0.2 to 0.8 keep their places: the end colours are repeated at 0 and 1.
         ASSERT_EQ(heldColors(*o[1]).size(), 4u);
         const auto inner = heldShares(*o[1]);
         ASSERT_EQ(inner.size(), 3u);
         EXPECT_NEAR(inner[0], 0.2f, 1e-6);
         EXPECT_NEAR(inner[1], 0.6f, 1e-6);
         EXPECT_NEAR(inner[2], 0.2f, 1e-6);
     }},
    {"radial_gradient.svg", 1, [](const auto &o) {
         EXPECT_EQ(o[0]->objGradientType(), GradientCircular);
         EXPECT_EQ(heldColors(*o[0]).size(), 2u);
     }},
    // Gradients the document's kinds do not hold (user space, reflected, repeated) are images
    // of the fill, each clipped to its shape by a clipping path behind it.
    {"gradient_spread_units.svg", 4, [](const auto &o) {
         for (size_t i : {0u, 2u}) {
             EXPECT_EQ(o[i]->clipType(), 1);
             EXPECT_EQ(o[i + 1]->className(), "VekObjImage");
             expectRect(o[i + 1]->bounds(), o[i]->bounds());
         }
         expectRect(o[1]->bounds(), Rect(10, 10, 180, 80));
     }},
    {"clip_path.svg", 2, [](const auto &o) {
         EXPECT_EQ(o[0]->clipType(), 1);
         expectRect(o[0]->bounds(), Rect(50, 50, 100, 100), 0.05f);
         expectRect(o[1]->bounds(), Rect(20, 20, 160, 160));
     }},
    {"image.svg", 2, [](const auto &o) {
         EXPECT_EQ(o[0]->className(), "VekObjImage");
         // The square picture fitted into its 30 x 40 viewport and centred.
         expectRect(o[0]->bounds(), Rect(10, 25, 30, 30));
         EXPECT_EQ(o[1]->className(), "VekObjImage");   // the file beside the SVG
         expectRect(o[1]->bounds(), Rect(100, 100, 50, 50));
     }},
    // The path, then each marker copy clipped to its viewport, all one group.
    {"markers.svg", 7, [](const auto &o) {
         EXPECT_EQ(kinds(o[0]->bezierPath()), "MLL");
         EXPECT_FALSE(o[0]->groupID().isEmpty());
         for (size_t i = 1; i < 7; i += 2) {
             EXPECT_EQ(o[i]->clipType(), 1);
             EXPECT_EQ(o[i]->groupID(), o[0]->groupID());
             EXPECT_EQ(o[i + 1]->groupID(), o[0]->groupID());
         }
         // The end marker centred on the last vertex: 10 x 10, times the stroke width of 2.
         expectRect(o[6]->bounds(), Rect(170, 90, 20, 20), 0.1f);
     }},
    {"text.svg", 4, [](const auto &o) {
         // The runs in the order they closed (the text element's own last), then the rectangle.
         EXPECT_EQ(o[0]->className(), "VekObjText");
         EXPECT_EQ(o[2]->className(), "VekObjText");
         expectRect(o[3]->bounds(), Rect(10, 100, 20, 20));
     }},
};

} // namespace

TEST(SvgFixtureObjects, EachFixtureMakesItsObjects)
{
    ensureGuiApp();
    for (const Fixture &f : fixtures) {
        SCOPED_TRACE(f.name);
        auto document = importSvgFile(svgFixturePath(QString::fromLatin1(f.name)));
        ASSERT_TRUE(document);
        const auto objects = backToFront(*document);
        ASSERT_EQ(objects.size(), f.objects);
        f.check(objects);
        EXPECT_FALSE(document->isDocumentEdited());
    }
}
