// SVG export: rendered by librsvg against our own PNG export, checked by xmllint, and read
// back through our SVG import.
#include "export/export_dispatch.h"
#include "tests/export/export_fixture.h"

#include <gtest/gtest.h>

using namespace exportfixture;

namespace {

// The fixture's objects plus a thick, dashed, rotated stroke with round caps.
struct SvgFixture : Document {
    SvgFixture()
    {
        auto dashed = pathObject(BezierPath::bezierPathWithRect(Rect(40, 250, 80, 40)), Color::clearColor());
        dashed->setDrawsFill(false);
        dashed->setDrawsStroke(true);
        dashed->setObjStrokeColor(Color::blueColor());
        dashed->setObjLineWidth(5);
        dashed->setDashPatternUpdate(2, false);
        dashed->setRotation(30, Point(80, 270), true);
        add(dashed);
    }
};

ExportRequest request(const QString &path, const QString &format)
{
    ExportRequest r;
    r.path = path;
    r.format = format;
    r.displayName = "plan.vek";
    return r;
}

QImage onWhite(const QImage &image)
{
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QPainter(&white).drawImage(0, 0, image);
    return white;
}

// The share of pixels whose colour differs by more than `threshold` in some channel.
double differingShare(const QImage &a, const QImage &b, int threshold)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > threshold || std::abs(qGreen(p) - qGreen(q)) > threshold
                || std::abs(qBlue(p) - qBlue(q)) > threshold)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

std::shared_ptr<VekObject> objectWithBounds(VekDocument &document, const Rect &bounds)
{
    for (const auto &object : document.objects())
        if (std::abs(object->bounds().origin.x - bounds.origin.x) < 0.5
            && std::abs(object->bounds().origin.y - bounds.origin.y) < 0.5
            && std::abs(object->bounds().size.width - bounds.size.width) < 0.5
            && std::abs(object->bounds().size.height - bounds.size.height) < 0.5)
            return object;
    return nullptr;
}

} // namespace

TEST(SvgExport, WholeDocumentRendersLikeOurPngExportAndIsWellFormed)
{
    SvgFixture fixture;
    QTemporaryDir dir;
    const QString svg = dir.filePath("out.svg"), png = dir.filePath("out.png");
    QString error;
    ASSERT_TRUE(saveArea(fixture.doc, request(svg, "svg"), &error)) << error.toStdString();
    ASSERT_TRUE(saveArea(fixture.doc, request(png, "png"), &error)) << error.toStdString();

    int code = -1;
    run("xmllint", {"--noout", svg}, &code);
    EXPECT_EQ(code, 0);

    const QString rendered = dir.filePath("rendered.png");
    run("rsvg-convert", {"--dpi-x", "72", "--dpi-y", "72", "-o", rendered, svg}, &code);
    ASSERT_EQ(code, 0);
    const QImage ours = onWhite(QImage(png)), theirs = onWhite(QImage(rendered));
    ASSERT_EQ(theirs.size(), ours.size());
    // Antialiased edges and glyph rasterisation differ between the two renderers; the
    // shapes, colours, images, gradient, shadow, dashes and text must not: at most 2 % of
    // the pixels may differ by more than 64 levels in a channel.
    EXPECT_LT(differingShare(ours, theirs, 64), 0.02);
}

TEST(SvgExport, SelectionCoversItsObjectsAlone)
{
    SvgFixture fixture;
    const std::shared_ptr<VekObject> red = objectWithBounds(fixture.doc, Rect(20, 20, 80, 60));
    ASSERT_TRUE(red);
    QTemporaryDir dir;
    ExportRequest r = request(dir.filePath("red.svg"), "svg");
    r.objects = {red};
    r.clip = true;
    r.area = selectionArea(r.objects, "svg");
    ASSERT_TRUE(saveArea(fixture.doc, r));
    const QByteArray svg = readAll(r.path);
    EXPECT_TRUE(svg.contains("width=\"" + QByteArray::number(int(r.area.size.width))));
    EXPECT_TRUE(svg.contains("#ff0000"));
    EXPECT_FALSE(svg.contains("#0000ff"));   // the blue oval and stroke are not selected
}

TEST(SvgExport, ImportBackKeepsGeometryAndColours)
{
    SvgFixture fixture;
    QTemporaryDir dir;
    const QString svg = dir.filePath("out.svg");
    ASSERT_TRUE(saveArea(fixture.doc, request(svg, "svg")));
    QString error;
    const std::unique_ptr<VekDocument> imported = VekDocument::documentFromSVGFile(svg, &error);
    ASSERT_TRUE(imported) << error.toStdString();
    struct Case {
        Rect bounds;
        Color fill;
    };
    for (const Case &c : {Case{Rect(20, 20, 80, 60), Color::redColor()}, Case{Rect(150, 230, 60, 40), Color::blueColor()},
                          Case{Rect(250, 150, 30, 30), Color::greenColor()}}) {
        SCOPED_TRACE(c.bounds.origin.x);
        const std::shared_ptr<VekObject> object = objectWithBounds(*imported, c.bounds);
        ASSERT_TRUE(object);
        EXPECT_EQ(object->fillColor(), c.fill);
    }
}

TEST(SvgExport, TextStaysTextUnlessOutlinesAreAskedAndLinksHoldIt)
{
    for (const bool outlines : {false, true}) {
        SCOPED_TRACE(outlines);
        SvgFixture fixture;
        QTemporaryDir dir;
        ExportRequest r = request(dir.filePath("out.svg"), "svg");
        r.textAsOutlines = outlines;
        ASSERT_TRUE(saveArea(fixture.doc, r));
        const QByteArray svg = readAll(r.path);
        EXPECT_EQ(svg.contains(">target</text>"), !outlines);
        EXPECT_EQ(svg.contains("font-family=\"DejaVu Sans\" font-size=\"12\""), !outlines);
        EXPECT_EQ(svg.contains("<text"), !outlines);
        // Links hold their text, drawn either way.
        EXPECT_TRUE(svg.contains("<a xlink:href=\"http://example.org/\">"));
    }
}
