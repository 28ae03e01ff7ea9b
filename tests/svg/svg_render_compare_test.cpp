// Imported SVG files drawn by the document renderer against rsvg-convert's drawing of the
// same file: within a small share of differing pixels (edges antialiased differently), or,
// where the import leaves a feature out on purpose, with each difference stated (the
// element and its attributes that are not drawn) and the rest of the file drawn alike.
#include "tests/svg/svg_test_support.h"

#include "platform/foundation/c_locale.h"

#include <libxml/parser.h>

#include <QFileInfo>

namespace {

// Pixels may differ along antialiased edges; a real fault moves or recolours whole areas.
constexpr double MatchingShare = 0.02;
// A stated difference must still show: the file as it stands differs by at least this share
// more than the file without the difference.
constexpr double DifferenceShare = 0.002;

// What the import draws differently on purpose: the attributes (blank-separated) of the
// element with the id that the document does not draw, and why. Without those attributes
// the file draws alike.
struct Difference {
    const char *element;
    const char *attributes;
    const char *reason;
};

struct Comparison {
    const char *fixture;
    std::vector<Difference> differences;
};

const Comparison comparisons[] = {
    {"rect.svg", {}},
    {"rounded_rect.svg", {}},
    {"circle.svg", {}},
    {"ellipse.svg", {}},
    {"line.svg", {}},
    {"polyline.svg", {}},
    {"polygon.svg", {}},
    {"path_commands.svg", {}},
    {"arcs.svg", {}},
    {"transforms.svg", {}},
    {"use_symbol.svg", {}},
    {"css_styles.svg", {}},
    {"dashes.svg", {}},
    {"opacity.svg", {}},
    {"group_opacity.svg", {}},
    {"hidden_content.svg", {}},
    {"linear_gradient.svg", {}},
    {"radial_gradient.svg", {}},
    {"image.svg", {}},
    {"text.svg", {}},
    {"text_positions.svg", {}},
    {"gradient_spread_units.svg", {}},
    {"gradient_geometry.svg", {}},
    {"gradient_focal.svg", {}},
    {"gradient_stops.svg", {}},
    {"colors.svg", {}},
    {"clip_path.svg", {}},
    {"clip_units.svg", {}},
    {"nested_viewport.svg", {}},
    {"markers.svg", {}},
    {"markers_orient.svg", {}},
    {"image_fitting.svg", {}},
    {"patterns.svg", {}},
    {"paint_strokes.svg", {}},
};

// The file with the stated attributes taken off their elements, written into `dir`.
QString withoutDifferences(const QString &path, const std::vector<Difference> &differences, const QTemporaryDir &dir)
{
    SvgXmlDocument xml(xmlReadFile(path.toUtf8().constData(), nullptr, XML_PARSE_NONET));
    EXPECT_TRUE(xml);
    if (!xml)
        return path;
    for (const Difference &difference : differences) {
        xmlNode *element = nullptr;
        for (xmlNode *node = xmlDocGetRootElement(xml.get()); node && !element;) {
            xmlChar *id = node->type == XML_ELEMENT_NODE ? xmlGetProp(node, BAD_CAST "id") : nullptr;
            if (id && qstrcmp(reinterpret_cast<const char *>(id), difference.element) == 0)
                element = node;
            xmlFree(id);
            if (node->children) {
                node = node->children;
                continue;
            }
            while (node && !node->next)
                node = node->parent;
            node = node ? node->next : nullptr;
        }
        EXPECT_NE(element, nullptr) << "no element with the id " << difference.element;
        if (!element)
            continue;
        for (const QString &attribute : QString::fromLatin1(difference.attributes).split(u' '))
            EXPECT_EQ(xmlUnsetProp(element, BAD_CAST attribute.toUtf8().constData()), 0)
                << difference.element << " has no attribute " << attribute.toStdString();
    }
    const QString edited = dir.filePath(QFileInfo(path).fileName());
    xmlSaveFile(edited.toUtf8().constData(), xml.get());
    return edited;
}

// The share of pixels that differ between the import's drawing and rsvg-convert's.
double differingShare(const QString &path)
{
    const QImage theirs = renderWithRsvg(path);
    EXPECT_FALSE(theirs.isNull()) << "rsvg-convert failed on " << path.toStdString();
    auto document = importSvgFile(path);
    if (theirs.isNull() || !document)
        return 1;
    const QImage mine = renderDocumentPage(*document);
    EXPECT_EQ(mine.size(), theirs.size());
    return mismatchRatio(mine, theirs);
}

void compare(const QString &path, const std::vector<Difference> &differences)
{
    const double share = differingShare(path);
    if (differences.empty()) {
        EXPECT_LE(share, MatchingShare);
        return;
    }
    QTemporaryDir dir;
    const double rest = differingShare(withoutDifferences(path, differences, dir));
    EXPECT_LE(rest, MatchingShare) << "the file differs beyond the differences stated";
    std::string stated;
    for (const Difference &d : differences)
        stated += std::string(d.element) + " " + d.attributes + ": " + d.reason + "; ";
    EXPECT_GT(share, rest + DifferenceShare) << "now drawn like rsvg-convert; the differences recorded were: " << stated;
}

// The box of the pixels near `color` (each channel within 60), or an empty rectangle.
QRect inkOf(const QImage &image, QRgb color)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (std::abs(qRed(line[x]) - qRed(color)) <= 60 && std::abs(qGreen(line[x]) - qGreen(color)) <= 60
                && std::abs(qBlue(line[x]) - qBlue(color)) <= 60)
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

} // namespace

TEST(SvgRenderCompare, FixturesAgainstRsvg)
{
    ensureGuiApp();
    for (const Comparison &c : comparisons) {
        SCOPED_TRACE(c.fixture);
        compare(svgFixturePath(QString::fromLatin1(c.fixture)), c.differences);
    }
}

// Every run of text, each in its own colour, lands where rsvg-convert draws it: the same
// left edge, baseline (the bottom of capitals) and right edge, within font-metric
// differences.
TEST(SvgRenderCompare, TextRunsLandWhereRsvgDrawsThem)
{
    ensureGuiApp();
    struct Run {
        const char *text;
        QRgb color;
    };
    const Run runs[] = {{"HELLO", 0xff0000}, {"BOLD", 0x00a000}, {"WORLD", 0x0000ff}, {"AB", 0xff00ff},
                        {"CD (dx dy)", 0x00c0c0}, {"MOVED", 0xff8000}, {"MID (middle)", 0x800000},
                        {"DLE (middle)", 0x008000}, {"END (end)", 0x008080}, {"BIG (scale)", 0x808000},
                        {"TURNED (rotate)", 0x404040}};
    const QString path = svgFixturePath(QStringLiteral("text_positions.svg"));
    const QImage theirs = renderWithRsvg(path);
    ASSERT_FALSE(theirs.isNull());
    auto document = importSvgFile(path);
    ASSERT_TRUE(document);
    const QImage mine = renderDocumentPage(*document);
    for (const Run &run : runs) {
        SCOPED_TRACE(run.text);
        const QRect expected = inkOf(theirs, run.color), actual = inkOf(mine, run.color);
        ASSERT_FALSE(expected.isEmpty());
        ASSERT_FALSE(actual.isEmpty());
        EXPECT_NEAR(actual.left(), expected.left(), 3);
        EXPECT_NEAR(actual.right(), expected.right(), 3);
        EXPECT_NEAR(actual.bottom(), expected.bottom(), 2);
    }
}

// A nested viewport of 200 x 100 showing a 100 x 100 view box under every
// preserveAspectRatio value: with "meet" the content stays inside the viewport, with "slice"
// it overflows and the viewport clips it.
TEST(SvgRenderCompare, ViewBoxUnderEveryAspectRatio)
{
    ensureGuiApp();
    const char *aligns[] = {"none", "xMinYMin", "xMinYMid", "xMinYMax", "xMidYMin", "xMidYMid", "xMidYMax",
                            "xMaxYMin", "xMaxYMid", "xMaxYMax"};
    QTemporaryDir dir;
    for (const char *align : aligns) {
        for (const char *fit : {"meet", "slice"}) {
            SCOPED_TRACE(std::string(align) + " " + fit);
            const QString path = dir.filePath(QStringLiteral("%1_%2.svg").arg(QLatin1String(align), QLatin1String(fit)));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(formatC(R"(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200">
  <rect x="0" y="0" width="200" height="200" fill="none" stroke="black"/>
  <svg id="viewport" y="50" width="200" height="100" viewBox="0 0 100 100" preserveAspectRatio="%s %s">
    <rect x="0" y="0" width="100" height="100" fill="orange"/>
    <circle cx="25" cy="25" r="20" fill="blue"/>
  </svg>
</svg>)", align, fit).toUtf8());
            file.close();
            compare(path, {});
        }
    }
}
// A gradient in a turned shape's box units is laid out in the shape's own (turned) user
// space: it draws exactly as the same gradient written in user-space units. (rsvg-convert
// 2.54 lays such gradients out differently, so the import is compared with itself here.)
TEST(SvgRenderCompare, BoxGradientOnATurnedShapeIsItsUserSpaceGradient)
{
    ensureGuiApp();
    const char *shape = R"x(<svg xmlns="http://www.w3.org/2000/svg" width="240" height="120"><defs>%s</defs>
  <rect x="20" y="20" width="80" height="80" fill="url(#l)" transform="rotate(30 60 60)"/>
  <rect x="140" y="20" width="80" height="80" fill="url(#r)" transform="rotate(-20 180 60)"/></svg>)x";
    const char *stops = R"x(<stop offset="0" stop-color="orange"/><stop offset="1" stop-color="purple"/>)x";
    const QString box = formatC(R"x(<linearGradient id="l" x2="0" y2="0.25" spreadMethod="reflect">%s</linearGradient>
<radialGradient id="r" fx="0.3" r="0.4" gradientTransform="translate(0.5 0.5) scale(1 0.5) translate(-0.5 -0.5)">%s</radialGradient>)x",
                                stops, stops);
    const QString user = formatC(R"x(<linearGradient id="l" gradientUnits="userSpaceOnUse" x1="20" y1="20" x2="20" y2="40" spreadMethod="reflect">%s</linearGradient>
<radialGradient id="r" gradientUnits="userSpaceOnUse" cx="180" cy="60" fx="164" fy="60" r="32" gradientTransform="translate(0 30) scale(1 0.5)">%s</radialGradient>)x",
                                 stops, stops);
    QTemporaryDir dir;
    QImage pages[2];
    for (int i = 0; i < 2; ++i) {
        const QString path = dir.filePath(QStringLiteral("turned%1.svg").arg(i));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(formatC(shape, (i == 0 ? box : user).toUtf8().constData()).toUtf8());
        file.close();
        auto document = importSvgFile(path);
        ASSERT_TRUE(document);
        pages[i] = renderDocumentPage(*document);
    }
    EXPECT_LE(mismatchRatio(pages[0], pages[1], 24), 0.005);
}
