// PDF export of a whole document, an area and a selection, and PDF/X-3, each read back with
// poppler-utils and qpdf.
#include "export/pdf_export.h"
#include "export/pdfx_conversion.h"
#include "tests/export/export_fixture.h"

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/image_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QSaveFile>

#include <algorithm>

using namespace exportfixture;

namespace {

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }

// The share of pixels whose colour differs by more than a visible step in any channel.
double shareOfDifferentPixels(const QImage &a, const QImage &b)
{
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) > 64)
                ++different;
        }
    return double(different) / (a.width() * a.height());
}

// The page as the canvas shows it, on white, one pixel a point.
QImage screenPage(VekDocument &document, int page)
{
    const Size size = document.drawAreaSizePerPage();
    QImage pixels(int(size.width), int(size.height), QImage::Format_RGB32);
    pixels.fill(Qt::white);
    GraphicsContext context(pixels);
    GraphicsContext::Scope scope(context);
    AffineTransform toPage;
    toPage.translateXBy(0, -size.height * float(page - 1));
    context.concat(toPage);
    OffscreenCanvas canvas(document);
    OffscreenCanvasScope canvasScope(document, canvas);
    RenderRequest request;
    request.dirty = Rect(0, size.height * float(page - 1), size.width, size.height);
    drawDocumentPages(document, canvas, request);
    return pixels;
}

} // namespace

TEST(PdfExport, TextBoxesBecomeRealTextWithLinkAnnotationsOverTheirWords)
{
    Document fixture;
    Written out;
    QString error;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek", &error)) << error.toStdString();
    EXPECT_TRUE(out.checks());
    const QString text = out.text();
    EXPECT_TRUE(text.contains(QRegularExpression("Go to the anchor or\\s+example.org"))) << text.toStdString();
    EXPECT_TRUE(text.contains("Here is the target"));

    const std::vector<Link> links = linksIn(out.path);
    ASSERT_EQ(links.size(), 2u);
    const double paperHeight = 841.89;
    const auto words = wordCentres(out.path, 1, paperHeight);
    const Link &internal = links[0].uri.isEmpty() ? links[0] : links[1];
    const Link &external = links[0].uri.isEmpty() ? links[1] : links[0];
    EXPECT_EQ(external.uri, "http://example.org/");
    EXPECT_EQ(external.page, 0);
    EXPECT_TRUE(external.rect.contains(words.value("example.org"))) << external.rect.x() << " " << external.rect.y();
    EXPECT_FALSE(external.rect.contains(words.value("anchor")));
    EXPECT_EQ(internal.page, 0);
    EXPECT_TRUE(internal.rect.contains(words.value("anchor")));
    EXPECT_FALSE(internal.rect.contains(words.value("Go")));
    // The destination is the top left of the anchored word "target" on the second page.
    ASSERT_EQ(internal.destinationPage, 1);
    const QPointF target = wordCentres(out.path, 2, paperHeight).value("target");
    EXPECT_NEAR(internal.destination.x(), target.x() - 16, 10);
    EXPECT_GT(internal.destination.y(), target.y());
    EXPECT_LT(internal.destination.y(), target.y() + 12);
}

TEST(PdfExport, LinkAnnotationsFollowTheAnchorsPlaceAndThePrintedPages)
{
    struct Case {
        const char *name;
        bool objectAnchor;       // a path object carries "#target" in place of the text
        Rect anchorBox;          // where the anchor's object stands
        int page;                // the page exported, 0 for all
        int links;               // annotations on the exported pages
        int destinationPage;     // of the internal link, -1 for none
    };
    const Case cases[] = {
        // An anchor exactly on the top edge of page 2 shows page 2, not the foot of page 1.
        {"anchor on a page's top edge", true, Rect(20, 200, 50, 20), 0, 2, 1},
        {"anchor at the top of page 1", false, Rect(20, 0, 100, 40), 0, 2, 0},
        // Page 1 alone: the anchor's page is not in the file, so the internal link goes.
        {"anchor on a page not exported", false, Rect(20, 300, 200, 40), 1, 1, -1},
        {"only page 2: its links are none", false, Rect(20, 300, 200, 40), 2, 0, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Document fixture;
        for (const auto &object : fixture.doc.objects())
            if (auto box = std::dynamic_pointer_cast<VekObjText>(object); box && box->contents().string().startsWith("Here")) {
                if (c.objectAnchor)
                    fixture.doc.removeObject(box);
                else
                    box->setBounds(c.anchorBox);
            }
        if (c.objectAnchor) {
            auto marker = pathObject(BezierPath::bezierPathWithRect(c.anchorBox), Color::blueColor());
            marker->setAnchorName("#target");
            fixture.add(marker);
        }
        Written out;
        QSaveFile file(out.path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(currentDocumentAsPDF(fixture.doc, c.page, "plan.vek"));
        ASSERT_TRUE(file.commit());
        EXPECT_TRUE(out.checks());
        const std::vector<Link> links = linksIn(out.path);
        EXPECT_EQ(int(links.size()), c.links);
        for (const Link &link : links) {
            if (link.uri.isEmpty()) {
                EXPECT_EQ(link.destinationPage, c.destinationPage);
                // The destination lies within the printed page: its left edge on the margin
                // (72), its bottom on the bottom margin (90), its top 200 points higher.
                EXPECT_GE(link.destination.x(), 72);
                EXPECT_LE(link.destination.y(), 290.5);
                EXPECT_GE(link.destination.y(), 90);
                if (c.objectAnchor) {
                    EXPECT_NEAR(link.destination.y(), 290, 0.5);
                }
            }
        }
    }
}

TEST(PdfExport, LinkToAnAnchorNobodyHasStaysWithoutAction)
{
    Document fixture;
    for (const auto &object : fixture.doc.objects())
        if (auto box = std::dynamic_pointer_cast<VekObjText>(object); box && box->contents().string().startsWith("Here"))
            fixture.doc.removeObject(box);
    Written out;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek"));
    EXPECT_TRUE(out.checks());
    const std::vector<Link> links = linksIn(out.path);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(std::count_if(links.begin(), links.end(), [](const Link &l) { return !l.hasAction; }), 1);
}

TEST(PdfExport, PopplerDrawsThePrintedPagesAsTheCanvasShowsThem)
{
    Document fixture;
    // Paper with whole-point margins puts each page at (50, 50) of the rendered paper.
    PrintInfo info = fixture.doc.printInfo();
    info.paperSize = Size(400, 300);
    info.leftMargin = info.rightMargin = info.topMargin = info.bottomMargin = 50;
    fixture.doc.setPrintInfo(info);
    Written out;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek"));
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE(page);
        const QImage printed = out.page(page).copy(50, 50, 300, 200);
        const QImage screen = screenPage(fixture.doc, page);
        ASSERT_EQ(printed.size(), screen.size());
        EXPECT_LT(shareOfDifferentPixels(printed, screen), 0.02);
    }
}
TEST(PdfExport, WholeDocumentGivesPrintedPagesWithVectorBackgroundAndMetadata)
{
    Document fixture;
    fixture.doc.setTitle(QStringLiteral("Plan"));
    fixture.doc.setAuthor(QString::fromUtf8("Jürgen"));
    fixture.doc.setKeywords(QStringLiteral(" a , b,, c"));
    Written out;
    QString error;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek", &error)) << error.toStdString();
    EXPECT_TRUE(out.checks());
    const QString info = out.info();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595.2\\d* x 841.8\\d* pts"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Plan")));
    EXPECT_TRUE(info.contains(QString::fromUtf8("Jürgen")));
    EXPECT_TRUE(info.contains(QRegularExpression("Keywords:\\s+a, b, c")));
    EXPECT_TRUE(info.contains(QRegularExpression("Creator:\\s+Vekanto")));
    // The background PDF page keeps its text: it was placed as vectors, not as pixels.
    EXPECT_GE(out.text().count("Background words"), 1) << out.text().toStdString();

    // The page sits on the left margin (72) with its bottom on the bottom margin (90): the
    // red rectangle (20, 20)-(100, 80) of page 1 lies at (92..172, 571.9..631.9) on paper.
    const QImage first = out.page(1);
    EXPECT_TRUE(isRed(first.pixel(130, 600)));
    EXPECT_FALSE(isRed(first.pixel(60, 600)));
    // The repeating green square is on page 2 as well.
    const QImage second = out.page(2);
    EXPECT_GT(qGreen(second.pixel(72 + 265, 552 + 165)), 100);
    EXPECT_LT(qRed(second.pixel(72 + 265, 552 + 165)), 60);
}

// The page of the paper's size fills the paper inside its margins (72 left and right, 90 top
// and bottom) whatever the orientation and resolution.
TEST(PdfExport, PageFillsThePaperInsideTheMarginsInEitherOrientationAndAtAnyResolution)
{
    struct Case {
        int resolution;
        PrintInfo::Orientation orientation;
        QString size;
        QRect red;
    };
    const Case cases[] = {
        {72, PrintInfo::Orientation::Portrait, "595.28 x 841.89", QRect(72, 90, 451, 662)},
        {144, PrintInfo::Orientation::Portrait, "595.28 x 841.89", QRect(72, 90, 451, 662)},
        {72, PrintInfo::Orientation::Landscape, "841.89 x 595.28", QRect(72, 90, 698, 415)},
        {144, PrintInfo::Orientation::Landscape, "841.89 x 595.28", QRect(72, 90, 698, 415)},
    };
    for (const Case &c : cases) {
        ensureGuiApp();
        VekDocument doc;
        fillPageOfPaper(doc, c.resolution, c.orientation);
        Written out;
        QString error;
        ASSERT_TRUE(saveAsPdf(doc, out.path, {}, 0, "paper.vek", &error)) << error.toStdString();
        EXPECT_TRUE(out.info().contains(QRegularExpression("Page size:\\s+" + QRegularExpression::escape(c.size))))
            << out.info().toStdString();
        const QRect red = redArea(out.page(1));
        for (const auto &[got, want] : {std::pair{red.left(), c.red.left()}, {red.top(), c.red.top()},
                                        {red.right(), c.red.right()}, {red.bottom(), c.red.bottom()}})
            EXPECT_NEAR(got, want, 1) << c.resolution << " dpi, " << c.size.toStdString();
    }
}

// Wide text boxes within a point or two of a page break are drawn into their own pages only:
// a clipped copy on the neighbouring page would be found there by text extraction and search.
TEST(PdfExport, EachPageHoldsOnlyTheTextOfItsOwnPage)
{
    ensureGuiApp();
    VekDocument doc;
    doc.setPrintInfo(PrintInfo::defaults());
    doc.setNumberOfPages(3);
    const float page = doc.drawAreaSizePerPage().height;
    const float width = doc.drawAreaSizePerPage().width - 20;
    doc.insertObject(textBox(Rect(10, page - 31, width, 30), "Alpha words"), 0, false);   // ends 1 pt above
    doc.insertObject(textBox(Rect(10, page + 1, width, 30), "Bravo words"), 0, false);
    doc.insertObject(textBox(Rect(10, 2 * page - 32, width, 30), "Bravo ends"), 0, false);   // 2 pt above
    doc.insertObject(textBox(Rect(10, 2 * page + 2, width, 30), "Charlie words"), 0, false);
    Written out;
    ASSERT_TRUE(saveAsPdf(doc, out.path, {}, 0, "pages.vek"));
    const QStringList words = {"Alpha", "Bravo", "Charlie"};
    for (int p = 1; p <= 3; ++p) {
        const QString text = run("pdftotext", {"-f", QString::number(p), "-l", QString::number(p), out.path, "-"});
        for (int w = 0; w < words.size(); ++w)
            EXPECT_EQ(text.contains(words[w]), w + 1 == p) << "page " << p << ": " << text.toStdString();
    }
}

// An image scanned at 300 dpi: the page is its pixels, the paper its size in points, and the
// exported page is the image from edge to edge.
TEST(PdfExport, ABackgroundImageAt300DpiFillsPaperOfItsPhysicalSize)
{
    ensureGuiApp();
    QImage scan(600, 300, QImage::Format_RGB32);
    scan.fill(Qt::red);
    scan.setDotsPerMeterX(11811);   // 300 dpi
    scan.setDotsPerMeterY(11811);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(scan.save(&buffer, "PNG"));
    VekDocument doc;
    doc.setBackgroundImage(readImageData(bytes), bytes, Size{});
    EXPECT_EQ(doc.resolution(), 300);
    EXPECT_EQ(doc.drawAreaSizePerPage(), (Size{600, 300}));
    EXPECT_NEAR(doc.printInfo().paperSize.width, 144, 0.01);
    EXPECT_NEAR(doc.printInfo().paperSize.height, 72, 0.01);

    Written out;
    ASSERT_TRUE(saveAsPdf(doc, out.path, {}, 0, "scan.vek"));
    EXPECT_TRUE(out.info().contains(QRegularExpression("Page size:\\s+144 x 72 pts"))) << out.info().toStdString();
    EXPECT_EQ(redArea(out.page(1, 144)), QRect(0, 0, 288, 144));
}

TEST(PdfExport, HeadersAndFootersWithPageNumbersWhenTheDocumentAddsThem)
{
    Document fixture;
    fixture.doc.setTitle(QStringLiteral("Plan"));
    fixture.doc.setAddBorder(1);
    Written out;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek"));
    const QString text = out.text();
    EXPECT_EQ(text.count("Plan"), 2) << text.toStdString();
    // pdftotext closes up the footer's spaces.
    EXPECT_TRUE(text.contains(QRegularExpression("-\\s*1\\s*-"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("-\\s*2\\s*-")));
}

TEST(PdfExport, NoMetadataWritesNoDocumentAttributes)
{
    Document fixture;
    Written out;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 0, "plan.vek"));
    const QString info = out.info();
    EXPECT_FALSE(info.contains("Creator:")) << info.toStdString();
    EXPECT_FALSE(info.contains("Title:"));
}

TEST(PdfExport, AreaIsOnePageOfItsSizeWithTheAreasTopLeftAtTheOrigin)
{
    Document fixture;
    Written out;
    ExportSelection area{Rect(10, 10, 150, 100), {}, false};
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, area, 0, "plan.vek"));
    EXPECT_TRUE(out.checks());
    EXPECT_TRUE(out.info().contains(QRegularExpression("Page size:\\s+150 x 100 pts")));
    const QImage page = out.page(1);
    EXPECT_TRUE(isRed(page.pixel(40, 40)));   // (50, 50) of the canvas
}

// Paths with a plain fill and stroke, all of one colour and line: each is one operator that
// fills and strokes, the colours and the line are set once for all, and Poppler draws the
// page as the canvas shows it.
TEST(PdfExport, PlainlyFilledAndStrokedPathsAreOneOperatorEachWithTheirStateSetOnce)
{
    ensureGuiApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({300, 200});
    doc.setNumberOfPages(1);
    doc.undoManager()->disableUndoRegistration();
    constexpr int Count = 8;
    for (int i = 0; i < Count; ++i) {
        auto oval = pathObject(BezierPath::bezierPathWithOvalInRect(Rect(20 + 32 * i, 40, 24, 60)), Color::redColor());
        oval->setDrawsStroke(true);
        oval->setObjStrokeColor(Color::blueColor());
        oval->setObjLineWidth(3);
        doc.insertObject(oval, 0, false);
    }
    Written out;
    ASSERT_TRUE(saveAsPdf(doc, out.path, {Rect(0, 0, 300, 200), {}, false}, 0, "ovals.vek"));
    EXPECT_TRUE(out.checks());
    const QStringList lines = run("qpdf", {"--qdf", "--object-streams=disable", out.path, "-"}).split('\n');
    const auto count = [&](const QString &op) {
        return std::count_if(lines.begin(), lines.end(), [&](const QString &line) {
            return line == op || line.endsWith(' ' + op);
        });
    };
    EXPECT_EQ(count("B"), Count);
    EXPECT_EQ(count("f") + count("S"), 0);
    EXPECT_EQ(count("scn") + count("rg"), 1);
    EXPECT_EQ(count("SCN") + count("RG"), 1);
    EXPECT_EQ(count("w"), 1);
    const QImage printed = out.page(1);
    EXPECT_LT(shareOfDifferentPixels(printed, screenPage(doc, 1)), 0.02);
    EXPECT_TRUE(isRed(printed.pixel(32, 70)));
}

TEST(PdfExport, SelectionShowsTheBackgroundOnlyInsideTheSelectedObjects)
{
    Document fixture;
    fixture.doc.setBackgroundColor(Color::cyanColor());
    const auto objects = fixture.doc.objects();
    std::shared_ptr<VekObject> oval;
    for (const auto &object : objects)
        if (object->bounds().minY() >= 200 && object->repeatType() == 0)
            oval = object;
    ASSERT_TRUE(oval);
    Written out;
    ExportSelection selection{Rect(140, 220, 80, 60), {oval}, true};
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, selection, 0, "plan.vek"));
    const QImage page = out.page(1);
    EXPECT_GT(qBlue(page.pixel(40, 30)), 200);    // the oval's centre
    EXPECT_EQ(page.pixel(2, 2), qRgb(255, 255, 255));   // no background outside it
}

TEST(PdfExport, PdfX3ThroughGhostscriptWithAnOutputIntent)
{
    Document fixture;
    Written out;
    QString error, warning;
    ASSERT_TRUE(saveAsPdf(fixture.doc, out.path, {}, 150, "plan.vek", &error, &warning)) << error.toStdString();
    EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
    EXPECT_TRUE(out.checks());
    const QByteArray bytes = readAll(out.path);
    int code = 0;
    const QString readable = run("qpdf", {"--qdf", "--object-streams=disable", out.path, "-"}, &code);
    EXPECT_TRUE(readable.contains("/GTS_PDFXVersion (PDF/X-3:2002)")) << readable.left(2000).toStdString();
    EXPECT_TRUE(readable.contains("/S /GTS_PDFX"));
    EXPECT_TRUE(readable.contains("/DestOutputProfile"));
    EXPECT_TRUE(out.info().contains(QRegularExpression("Title:\\s+plan.vek")));
}

TEST(PdfExport, MissingGhostscriptFallsBackToPlainPdfWithAClearMessage)
{
    Document fixture;
    Written out;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    QString warning;
    const bool saved = saveAsPdf(fixture.doc, out.path, {}, 150, "plan.vek", nullptr, &warning);
    qputenv("PATH", path);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(warning.contains("Ghostscript")) << warning.toStdString();
    EXPECT_TRUE(out.checks());
}
