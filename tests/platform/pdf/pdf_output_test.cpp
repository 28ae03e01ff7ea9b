// PdfOutput: text stays text, PDF pages stay vectors, CMYK colours, metadata and links,
// each checked with tools other than the code that wrote them (Poppler, qpdf, pdffonts).
#include "platform/pdf/pdf_output.h"

#include "platform/graphics/graphics_context.h"
#include "platform/image/image.h"
#include "platform/pdf/pdf_document.h"
#include "platform/text/text_drawing.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

// The file as qpdf's readable form shows it: uncompressed, one object at a time.
QString readableForm(const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile in(dir.filePath("in.pdf"));
    in.open(QIODevice::WriteOnly);
    in.write(pdf);
    in.close();
    QProcess qpdf;
    qpdf.start("qpdf", {"--qdf", "--object-streams=disable", in.fileName(), dir.filePath("out.pdf")});
    if (!qpdf.waitForFinished() || qpdf.exitCode() != 0)
        return {};
    QFile out(dir.filePath("out.pdf"));
    out.open(QIODevice::ReadOnly);
    return QString::fromLatin1(out.readAll());
}

AttributedString text(const QString &s)
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVu Sans"), 14};
    return AttributedString(s, a);
}

class PdfOutputTest : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApp(); }
};

} // namespace

TEST_F(PdfOutputTest, TextStaysTextWithItsFontEmbeddedAlsoInsideLayers)
{
    PdfOutput output(Size(300, 200));
    {
        GraphicsContext::Scope scope(output.context());
        drawAttributedStringAtPoint(text("Plain words"), {20, 20});
        output.context().beginTransparencyLayer();
        drawAttributedStringAtPoint(text("Layered words"), {20, 80});
        output.context().endTransparencyLayer();
    }
    const QByteArray pdf = output.finish();
    auto document = PdfDocument::openData(pdf);
    ASSERT_TRUE(document);
    const QString words = document->pageText(0);
    EXPECT_TRUE(words.contains("Plain words")) << words.toStdString();
    EXPECT_TRUE(words.contains("Layered words")) << words.toStdString();
    // pdffonts: one line per font after two header lines, ending in the columns emb, sub,
    // uni, object number and generation.
    const QString fonts = QString::fromUtf8(pdfToolOutput("pdffonts", {}, pdf));
    const QStringList lines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(lines.isEmpty()) << fonts.toStdString();
    for (const QString &line : lines) {
        const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
        EXPECT_TRUE(line.startsWith("DejaVuSans")) << line.toStdString();
        EXPECT_EQ(columns.value(columns.size() - 5), "yes") << line.toStdString();
    }
}

TEST_F(PdfOutputTest, PdfPageDrawnAsImageStaysVectorsAtItsPlace)
{
    auto source = PdfDocument::openData(qtPdfWithTextPathAndImage());
    ASSERT_TRUE(source);
    Image page(source->pageSize(0));
    page.addRepresentation(ImageRep(source, 0));

    PdfOutput output(Size(300, 300));
    {
        GraphicsContext::Scope scope(output.context());
        // Half size at (50, 50), and once more turned a quarter about the page's centre.
        page.drawInRect(output.context(), Rect(50, 50, 100, 100));
        GraphicsStateSaver saver(output.context());
        AffineTransform turn;
        turn.translateXBy(150, 150);
        turn.rotateByDegrees(90);
        turn.translateXBy(-150, -150);
        output.context().concat(turn);
        page.drawInRect(output.context(), Rect(150, 150, 100, 100));
    }
    const QByteArray pdf = output.finish();
    auto result = PdfDocument::openData(pdf);
    ASSERT_TRUE(result);
    // Raster pages have no text: the words prove the vectors.
    EXPECT_EQ(result->pageText(0).count("Vekanto text"), 2) << result->pageText(0).toStdString();
    EXPECT_EQ(readableForm(pdf).count("/Subtype /Form"), 1);   // one form, placed twice

    const QImage shown = result->renderPage(0, 72).convertToFormat(QImage::Format_ARGB32);
    auto isRed = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60 && qAlpha(c) > 200; };
    // The red square (20, 100)-(80, 160) of the source: at half size from (50, 50) it covers
    // (60, 100)-(90, 130); turned a quarter clockwise about (150, 150) from its unturned
    // place (160, 200)-(190, 230), it covers (70, 160)-(100, 190).
    EXPECT_TRUE(isRed(shown.pixel(75, 115)));
    EXPECT_FALSE(isRed(shown.pixel(75, 145)));
    EXPECT_TRUE(isRed(shown.pixel(85, 175)));
    QString report;
    QTemporaryDir dir;
    QFile file(dir.filePath("placed.pdf"));
    file.open(QIODevice::WriteOnly);
    file.write(pdf);
    file.close();
    EXPECT_TRUE(checkPdfFile(file.fileName(), &report)) << report.toStdString();
}

TEST_F(PdfOutputTest, CmykColoursBecomeDeviceCmykAndKOnlyBlackStaysApartFromRichBlack)
{
    PdfOutput output(Size(200, 100), true);
    {
        GraphicsContext::Scope scope(output.context());
        GraphicsContext &context = output.context();
        context.setFillColor(Color::colorWithDeviceCyan(0, 0, 0, 1));
        context.fillRect(Rect(0, 0, 50, 50));
        context.setFillColor(Color::colorWithDeviceCyan(1, 1, 1, 1));
        context.fillRect(Rect(50, 0, 50, 50));
        context.setFillColor(Color::colorWithDeviceCyan(0.25f, 0.5f, 0, 0));
        context.fillRect(Rect(100, 0, 50, 50));
        // An RGB colour after the CMYK ones still paints as RGB.
        context.setFillColor(Color::colorWithDeviceRed(0, 0, 1));
        context.fillRect(Rect(150, 0, 50, 50));
        drawAttributedStringAtPoint(text("ink"), {10, 60});
    }
    const QByteArray pdf = output.finish();
    const QString readable = readableForm(pdf);
    EXPECT_TRUE(readable.contains("0 0 0 1 k")) << readable.toStdString();
    EXPECT_TRUE(readable.contains("1 1 1 1 k"));
    EXPECT_TRUE(readable.contains("0.25 0.5 0 0 k"));
    auto result = PdfDocument::openData(pdf);
    ASSERT_TRUE(result);
    const QImage shown = result->renderPage(0, 72).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qBlue(shown.pixel(175, 25)), 255);
    EXPECT_LT(qRed(shown.pixel(175, 25)), 10);
    EXPECT_LT(qGray(shown.pixel(25, 25)), 80);
    EXPECT_TRUE(result->pageText(0).contains("ink"));
}

TEST_F(PdfOutputTest, WritesInformationEntriesAndLinks)
{
    PdfOutput output(Size(200, 200));
    output.newPage();
    output.setInfo({{"Title", "Plan"}, {"Author", QString::fromUtf8("Jürgen Maß")}, {"Subject", "Gardens"},
                    {"Keywords", "green, water"}});
    output.addLink({0, QRectF(10, 10, 50, 20), "https://example.org/x", 0, {}});
    output.addLink({0, QRectF(10, 50, 50, 20), QString(), 1, QPointF(0, 200)});
    const QByteArray pdf = output.finish();
    auto result = PdfDocument::openData(pdf);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->pageCount(), 2);
    EXPECT_EQ(result->info("Title"), "Plan");
    EXPECT_EQ(result->info("Author"), QString::fromUtf8("Jürgen Maß"));
    EXPECT_EQ(result->info("Subject"), "Gardens");
    EXPECT_EQ(result->info("Keywords"), "green, water");
    const QString readable = readableForm(pdf);
    EXPECT_TRUE(readable.contains("/URI (https://example.org/x)")) << readable.toStdString();
    EXPECT_EQ(readable.count("/Subtype /Link"), 2);
    EXPECT_TRUE(readable.contains("/XYZ"));

    PdfOutput bad(Size(100, 100));
    bad.addLink({3, QRectF(0, 0, 10, 10), "https://example.org", 0, {}});
    QString error;
    EXPECT_TRUE(bad.finish(&error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(PdfOutputTest, PlacesLinksOnTheFinishedPagesBeforeAnnotating)
{
    // A height in part points: the pages the placer sees already have their final size.
    PdfOutput output(Size(200, 200.5f));
    {
        GraphicsContext::Scope scope(output.context());
        drawAttributedStringAtPoint(text("ink"), {10, 60});
    }
    output.addLink({0, QRectF(100, 100, 10, 10), "https://example.org/given", 0, {}});
    QByteArray seen;
    Rect placed;
    output.setLinkPlacer([&](const QByteArray &pdf) -> std::vector<PdfLinkAnnotation> {
        seen = pdf;
        auto pages = PdfDocument::openData(pdf);
        const auto match = pages ? pages->findText("ink") : std::nullopt;
        if (!match)
            return {};
        placed = match->bounds;
        return {{match->page, QRectF(placed.minX(), placed.minY(), placed.width(), placed.height()),
                 "https://example.org/ink", 0, {}}};
    });
    const QByteArray pdf = output.finish();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(readableForm(seen).count("/Subtype /Link"), 0);

    auto result = PdfDocument::openData(pdf);
    ASSERT_TRUE(result);
    const auto ink = result->findText("ink");
    ASSERT_TRUE(ink);
    // The word lies where the placer saw it, so its link covers it in the finished file.
    EXPECT_NEAR(ink->bounds.minY(), placed.minY(), 0.01);
    EXPECT_NEAR(ink->bounds.minX(), placed.minX(), 0.01);
    EXPECT_NEAR(ink->bounds.maxY(), 200.5 - 60, 3);   // the text drawn from its top left
    const QString readable = readableForm(pdf);
    EXPECT_EQ(readable.count("/Subtype /Link"), 2);
    EXPECT_TRUE(readable.contains("example.org/ink"));
}
