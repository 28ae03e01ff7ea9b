// PDF export of a whole document, an area and a selection, and PDF/X-3, each read back with
// poppler-utils and qpdf.
#include "document/export/pdf_export.h"
#include "document/export/pdfx_conversion.h"
#include "tests/document/export/export_fixture.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace exportfixture;

namespace {

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }

struct Written {
    QTemporaryDir dir;
    QString path = dir.filePath("out.pdf");
    QString text() { return run("pdftotext", {"-layout", path, "-"}); }
    QString info() { return run("pdfinfo", {path}); }
    bool checks()
    {
        int code = 0;
        run("qpdf", {"--check", path}, &code);
        return code == 0;
    }
    QImage page(int number, int dpi = 72)
    {
        run("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(number), "-l",
                         QString::number(number), "-singlefile", path, dir.filePath("page")});
        return QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    }
};

} // namespace

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
