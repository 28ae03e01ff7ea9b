// Imported SVG files drawn by the document renderer against rsvg-convert's drawing of the
// same file: within a small share of differing pixels (edges antialiased differently), or,
// where the import leaves a feature out on purpose, recorded as a difference with its reason.
#include "tests/svg/svg_test_support.h"

#include "platform/foundation/c_locale.h"

namespace {

// Pixels may differ along antialiased edges; a real fault moves or recolours whole areas.
constexpr double MatchingShare = 0.02;

struct Comparison {
    const char *fixture;
    // Empty when the drawings must match; otherwise why the import draws differently.
    const char *expectedDifference;
};

const Comparison comparisons[] = {
    {"rect.svg", ""},
    {"rounded_rect.svg", ""},
    {"circle.svg", ""},
    {"ellipse.svg", ""},
    {"line.svg", ""},
    {"polyline.svg", ""},
    {"polygon.svg", ""},
    {"path_commands.svg", ""},
    {"arcs.svg", ""},
    {"transforms.svg", ""},
    {"use_symbol.svg", ""},
    {"css_styles.svg", ""},
    {"dashes.svg", ""},
    {"opacity.svg", ""},
    {"linear_gradient.svg", ""},
    {"radial_gradient.svg", ""},
    {"image.svg", ""},
    {"gradient_spread_units.svg",
     "a gradient object spans its bounds: user-space coordinates and the reflect and repeat spreads are not kept"},
    {"clip_path.svg", "the document reads no clip path from the import: the clipped rectangle is drawn whole"},
    {"markers.svg", "marker copies travel in the import but the document makes no objects of them"},
    {"text.svg", "a text object's box takes the run's y as its top, where SVG puts the baseline: the text sits lower"},
};

void compare(const QString &path, const char *expectedDifference)
{
    const QImage theirs = renderWithRsvg(path);
    ASSERT_FALSE(theirs.isNull()) << "rsvg-convert failed on " << path.toStdString();
    auto document = importSvgFile(path);
    ASSERT_TRUE(document);
    const QImage mine = renderDocumentPage(*document);
    ASSERT_EQ(mine.size(), theirs.size());
    const double share = mismatchRatio(mine, theirs);
    if (*expectedDifference)
        EXPECT_GT(share, MatchingShare) << "now drawn like rsvg-convert; the difference recorded was: "
                                        << expectedDifference;
    else
        EXPECT_LE(share, MatchingShare);
}

} // namespace

TEST(SvgRenderCompare, FixturesAgainstRsvg)
{
    ensureGuiApp();
    for (const Comparison &c : comparisons) {
        SCOPED_TRACE(c.fixture);
        compare(svgFixturePath(QString::fromLatin1(c.fixture)), c.expectedDifference);
    }
}

// A nested viewport of 200 x 100 showing a 100 x 100 view box under every
// preserveAspectRatio value. With "meet" the content stays inside the viewport; with
// "slice" it overflows, and the viewport's clip is not kept by the document.
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
  <svg y="50" width="200" height="100" viewBox="0 0 100 100" preserveAspectRatio="%s %s">
    <rect x="0" y="0" width="100" height="100" fill="orange"/>
    <circle cx="25" cy="25" r="20" fill="blue"/>
  </svg>
</svg>)", align, fit).toUtf8());
            file.close();
            const bool overflows = QByteArray(fit) == "slice" && QByteArray(align) != "none";
            compare(path, overflows ? "content beyond a nested viewport is not clipped by the document" : "");
        }
    }
}
