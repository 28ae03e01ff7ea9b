// PdfDocument: opening (with passwords), page boxes and rotation, rendering the right way up.
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"
#include "tests/platform/pdf/pdf_fixtures.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

// Two pages: the first 200 x 100 with a crop box and no rotation, the second inheriting
// /Rotate 90 from the page tree.
QByteArray twoPagePdf()
{
    return pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /Rotate 90 /MediaBox [0 0 200 100] >>",
        "<< /Type /Page /Parent 2 0 R /Rotate 0 /CropBox [10 20 110 70] /TrimBox [15 25 105 65] >>",
        "<< /Type /Page /Parent 2 0 R >>",
    });
}

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 50 && qBlue(c) < 50 && qAlpha(c) > 200;
}

} // namespace

TEST(PdfDocument, ReadsPageBoxesRotationAndShownSize)
{
    auto pdf = PdfDocument::openData(twoPagePdf());
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->pageCount(), 2);

    EXPECT_EQ(pdf->boundsForBox(0, PdfBox::Media), Rect(0, 0, 200, 100));
    EXPECT_EQ(pdf->boundsForBox(0, PdfBox::Crop), Rect(10, 20, 100, 50));
    EXPECT_EQ(pdf->boundsForBox(0, PdfBox::Trim), Rect(15, 25, 90, 40));
    EXPECT_EQ(pdf->boundsForBox(0, PdfBox::Bleed), Rect(10, 20, 100, 50)); // falls back to the crop box
    EXPECT_EQ(pdf->rotation(0), 0);
    EXPECT_EQ(pdf->pageSize(0), (Size{100, 50}));

    EXPECT_EQ(pdf->boundsForBox(1, PdfBox::Crop), Rect(0, 0, 200, 100)); // the inherited media box
    EXPECT_EQ(pdf->rotation(1), 90);
    EXPECT_EQ(pdf->pageSize(1), (Size{100, 200}));

    EXPECT_EQ(pdf->boundsForBox(2, PdfBox::Media), Rect());
    EXPECT_TRUE(pdf->renderPage(2, 72).isNull());
}

TEST(PdfDocument, RendersTheShownPageUprightWithTopRowFirst)
{
    auto pdf = PdfDocument::openData(handMadeTextPdf());
    ASSERT_TRUE(pdf);
    const QImage page = pdf->renderPage(0, 72);
    ASSERT_EQ(page.size(), QSize(200, 200));
    // The red square lies at y 10..60 in PDF space (y up), so near the bottom of the image.
    EXPECT_TRUE(isRed(page.pixel(35, 200 - 35)));
    EXPECT_FALSE(isRed(page.pixel(35, 35)));
    EXPECT_EQ(qAlpha(page.pixel(190, 190)), 0) << "pages render on a transparent background";

    const QImage doubled = pdf->renderPage(0, 144);
    EXPECT_EQ(doubled.size(), QSize(400, 400));

    auto rotated = PdfDocument::openData(twoPagePdf());
    EXPECT_EQ(rotated->renderPage(1, 72).size(), QSize(100, 200));
}

TEST(PdfDocument, DrawsAPageIntoAPainterTarget)
{
    auto pdf = PdfDocument::openData(handMadeTextPdf());
    QImage canvas(100, 100, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    pdf->drawPage(0, painter, QRectF(0, 0, 100, 100));
    painter.end();
    EXPECT_TRUE(isRed(canvas.pixel(17, 100 - 17)));
    EXPECT_EQ(canvas.pixel(95, 5), qRgb(255, 255, 255));
}

TEST(PdfDocument, ExtractsPageText)
{
    auto pdf = PdfDocument::openData(handMadeTextPdf());
    EXPECT_TRUE(pdf->pageText(0).contains(QLatin1String("Hello")));
    EXPECT_TRUE(pdf->pageText(5).isEmpty());
}

TEST(PdfDocument, OpensEncryptedDocumentsOnlyWithTheirPassword)
{
    PdfRewriter writer;
    ASSERT_TRUE(writer.openData(handMadeTextPdf()));
    writer.setEncryption("user", "owner");
    const QByteArray encrypted = writer.writeToData();
    ASSERT_FALSE(encrypted.isEmpty());

    QString error;
    EXPECT_FALSE(PdfDocument::openData(encrypted, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(PdfDocument::openData(encrypted, "wrong"));
    for (const char *password : {"user", "owner"}) {
        auto pdf = PdfDocument::openData(encrypted, password);
        ASSERT_TRUE(pdf) << password;
        EXPECT_EQ(pdf->pageCount(), 1);
        EXPECT_EQ(pdf->boundsForBox(0, PdfBox::Media), Rect(0, 0, 200, 200));
    }
}

TEST(PdfDocument, RejectsWhatIsNotAPdf)
{
    QString error;
    EXPECT_FALSE(PdfDocument::openData("not a pdf at all", {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(PdfDocument::open(QStringLiteral("/nonexistent/file.pdf")));
}
