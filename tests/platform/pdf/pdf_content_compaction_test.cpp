// PdfRewriter::compactContents: the content stream gets shorter, looks the same to Poppler,
// and keeps decimal points under a decimal-comma locale.
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <clocale>

namespace {

// A page as Qt's writer draws a filled and stroked shape: numbers with nine decimals, the
// graphics state named again, the fill and the stroke as two groups with the whole path,
// and state set just before a restore.
QByteArray qtStylePage()
{
    const std::string path = "10.123456789 10.000000001 m 90.5 10 l 90.5 60.987654321 l 10 60 l h\n";
    return pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 80] /Contents 4 0 R"
        " /Resources << /ExtGState << /GSa << /CA 1 /ca 1 >> >> >> >>",
        streamObject("", "/GSa gs q /GSa gs 1 0 0 rg\n" + path + "f Q q 0 0 1 RG 2.500000000 w\n" + path
                             + "S 0.5 w Q q 0 1 0 rg 1 0 0 1 0 0 cm Q\n"),
    });
}

// The decompressed content stream of the first page.
QByteArray contents(const QByteArray &pdf)
{
    return pdfToolOutput("qpdf", {"--show-object=4", "--filtered-stream-data"}, pdf);
}

QByteArray compacted(const QByteArray &pdf)
{
    PdfRewriter rewriter;
    EXPECT_TRUE(rewriter.openData(pdf));
    EXPECT_TRUE(rewriter.compactContents());
    return rewriter.writeToData();
}

} // namespace

TEST(PdfContentCompaction, MergesFillAndStrokeDropsUnusedStateAndShortensNumbers)
{
    ensureGuiApp();
    const QByteArray before = qtStylePage();
    const QByteArray after = compacted(before);
    const QByteArray stream = contents(after);
    EXPECT_LT(stream.size(), contents(before).size());
    EXPECT_TRUE(stream.contains("10.1235 10 m")) << stream.toStdString();
    EXPECT_TRUE(stream.contains("\nB\n"));
    EXPECT_FALSE(stream.contains("\nf\n"));
    EXPECT_EQ(stream.count("gs"), 1);
    EXPECT_FALSE(stream.contains("0.5 w"));
    EXPECT_FALSE(stream.contains("0 1 0 rg"));
    // Poppler draws both alike (edge pixels may differ by antialiasing).
    auto original = PdfDocument::openData(before);
    auto small = PdfDocument::openData(after);
    ASSERT_TRUE(original && small);
    const QImage a = original->renderPage(0, 144).convertToFormat(QImage::Format_RGB32);
    const QImage b = small->renderPage(0, 144).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(a.size(), b.size());
    int different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            different += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q))}) > 48;
        }
    EXPECT_LT(different, a.width() * a.height() / 200) << different;
    EXPECT_EQ(qRgb(255, 0, 0), b.pixel(100, 70));   // the fill
}

TEST(PdfContentCompaction, NumbersKeepTheirDecimalPointUnderADecimalCommaLocale)
{
    ensureGuiApp();
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no decimal-comma locale is installed";
    const QByteArray stream = contents(compacted(qtStylePage()));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(stream.contains("10.1235 10 m")) << stream.toStdString();
    EXPECT_TRUE(stream.contains("2.5 w"));
    EXPECT_FALSE(stream.contains(','));
}
