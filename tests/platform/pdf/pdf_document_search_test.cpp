// PdfDocument's text search: literal matches in reading order across pages, their bounds in
// the page's PDF space, and pages without characters.
#include "platform/pdf/pdf_document.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

namespace {

constexpr double PageHeight = 200;
const QPointF HelloAt(50, 60);      // baselines, y down from the page's top
const QPointF LowerHelloAt(50, 150);
const QPointF WorldOnPage3At(200, 40);

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

// Three 300 x 200 point pages. Page 1: "Hello" and "world" drawn as two runs on one line,
// then "Hello" lower down; page 2: only a filled rectangle; page 3: "world".
QByteArray threePagePdf()
{
    ensureGuiApp();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(300, PageHeight), QPageSize::Point), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    painter.setFont(testFont());
    const QFontMetricsF metrics(testFont());
    painter.drawText(HelloAt, QStringLiteral("Hello"));
    painter.drawText(HelloAt + QPointF(metrics.horizontalAdvance(QStringLiteral("Hello ")), 0), QStringLiteral("world"));
    painter.drawText(LowerHelloAt, QStringLiteral("Hello"));
    writer.newPage();
    painter.fillRect(QRectF(20, 20, 100, 50), Qt::blue);
    writer.newPage();
    painter.drawText(WorldOnPage3At, QStringLiteral("world"));
    painter.end();
    return bytes;
}

// Whether a match's bounds (PDF space, y up) cover the text line whose baseline lies at
// the point (y down), starting at its x.
bool coversLineAt(const Rect &bounds, QPointF baseline)
{
    const float baselineUp = float(PageHeight - baseline.y());
    return std::abs(bounds.minX() - baseline.x()) < 2 && bounds.minY() < baselineUp
        && bounds.maxY() > baselineUp + 5 && bounds.height() < 20;
}

} // namespace

TEST(PdfDocumentSearch, FindsLiteralTextInReadingOrderAcrossRunsAndPages)
{
    auto pdf = PdfDocument::openData(threePagePdf());
    ASSERT_TRUE(pdf);

    // The words of two runs match as one line.
    const auto across = pdf->findText(QStringLiteral("Hello world"));
    ASSERT_TRUE(across);
    EXPECT_EQ(across->page, 0);
    EXPECT_TRUE(coversLineAt(across->bounds, HelloAt)) << across->bounds.minX() << " " << across->bounds.minY();
    EXPECT_GT(across->bounds.width(), 50);

    // Each search continues after the previous match: top of page 1, lower on page 1, none.
    const auto first = pdf->findText(QStringLiteral("Hello"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(coversLineAt(first->bounds, HelloAt));
    const auto second = pdf->findTextAfter(QStringLiteral("Hello"), *first);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->page, 0);
    EXPECT_TRUE(coversLineAt(second->bounds, LowerHelloAt));
    EXPECT_FALSE(pdf->findTextAfter(QStringLiteral("Hello"), *second));

    // A page without the text is passed; a start page skips earlier matches.
    const auto world = pdf->findText(QStringLiteral("world"));
    ASSERT_TRUE(world);
    const auto nextWorld = pdf->findTextAfter(QStringLiteral("world"), *world);
    ASSERT_TRUE(nextWorld);
    EXPECT_EQ(nextWorld->page, 2);
    EXPECT_TRUE(coversLineAt(nextWorld->bounds, WorldOnPage3At));
    const auto fromPage2 = pdf->findText(QStringLiteral("world"), 1);
    ASSERT_TRUE(fromPage2);
    EXPECT_EQ(fromPage2->page, 2);

    // Literal: case counts; no match and empty text give nothing.
    EXPECT_FALSE(pdf->findText(QStringLiteral("hello")));
    EXPECT_FALSE(pdf->findText(QStringLiteral("Hello there")));
    EXPECT_FALSE(pdf->findText(QString()));
    EXPECT_FALSE(pdf->findText(QStringLiteral("Hello"), 7));
}

TEST(PdfDocumentSearch, TellsPagesWithCharactersFromPagesWithout)
{
    auto pdf = PdfDocument::openData(threePagePdf());
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(pdf->pageHasCharacters(0));
    EXPECT_FALSE(pdf->pageHasCharacters(1));
    EXPECT_TRUE(pdf->pageHasCharacters(2));
    EXPECT_FALSE(pdf->pageHasCharacters(3));
    EXPECT_FALSE(pdf->pageHasCharacters(-1));
}

TEST(PdfDocumentSearch, GivesBoundsInThePageSpaceOfCroppedAndTurnedPages)
{
    // The word's baseline starts at (100, 50) of a page space whose crop box starts at
    // (20, 10); the page is shown turned by each angle.
    for (int rotation : {0, 90, 180, 270}) {
        const std::string content = "BT /F1 12 Tf 100 50 Td (Turn) Tj ET";
        auto pdf = PdfDocument::openData(pdfFromObjects({
            "<< /Type /Catalog /Pages 2 0 R >>",
            "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /CropBox [20 10 280 190] /Rotate "
                + std::to_string(rotation) + " /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>",
            streamObject("", content),
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        }));
        ASSERT_TRUE(pdf);
        const auto match = pdf->findText(QStringLiteral("Turn"));
        ASSERT_TRUE(match) << rotation;
        EXPECT_NEAR(match->bounds.minX(), 100, 1.5) << rotation;
        EXPECT_LT(match->bounds.minY(), 50) << rotation;
        EXPECT_GT(match->bounds.maxY(), 58) << rotation;
        EXPECT_NEAR(match->bounds.width(), 26, 4) << rotation;
    }
}
