// The previews stored in a saved document: thumbnail and PDF, their sizes and backgrounds.
#include "export/preview_data.h"
#include "tests/export/export_fixture.h"

#include <gtest/gtest.h>

using namespace exportfixture;

TEST(PreviewData, SavedDocumentCarriesAThumbnailAndAVectorPdfOfItsPages)
{
    installDocumentPreviewMakers();
    Document fixture;
    fixture.doc.setQLOption(1, 1, 1, true);
    const PropertyList dict = fixture.doc.vekDocumentDictionaryForObjects(fixture.doc.objects(), std::vector<int>{}, true);
    const QImage thumbnail = QImage::fromData(dict.value("thumbdata").dataValue(), "PNG");
    EXPECT_EQ(thumbnail.size(), QSize(300, 200));
    EXPECT_EQ(qAlpha(thumbnail.pixel(290, 5)), 255);
    auto pdf = PdfDocument::openData(dict.value("pdfdata").dataValue());
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->pageCount(), 2);
    EXPECT_EQ(pdf->pageSize(0), Size(300, 200));
    EXPECT_TRUE(pdf->pageText(0).contains("Background words"));   // vectors
    EXPECT_TRUE(pdf->pageText(0).contains("Go to the anchor"));     // text boxes as text
    EXPECT_TRUE(pdf->pageText(1).contains("Here is the target"));
    // Objects sit on their page, not shifted: the red rectangle's centre.
    const QImage page = pdf->renderPage(0, 72).convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(qRed(page.pixel(60, 50)), 200);
    EXPECT_LT(qGreen(page.pixel(60, 50)), 60);
    EXPECT_GT(qRed(page.pixel(21, 21)), 200);
}

TEST(PreviewData, ManyPagesBecomeBitmapPagesWithin800PointsAndBackgroundsTurnOpaque)
{
    ensureGuiApp();
    VekDocument doc;
    doc.setDrawAreaSizePerPage({595, 842});
    doc.setNumberOfPages(4);
    doc.setBackgroundColor(Color::redColor().colorWithAlphaComponent(0.5f));
    auto pdf = PdfDocument::openData(createMultiPagesDataForQuickLookInMaxSize(doc, 800));
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->pageCount(), 4);
    EXPECT_NEAR(pdf->pageSize(3).width, 565.32, 0.01);
    EXPECT_NEAR(pdf->pageSize(3).height, 800, 0.01);

    doc.setNumberOfPages(1);
    auto vector = PdfDocument::openData(VekPDFRepresentation(doc));
    ASSERT_TRUE(vector);
    const QRgb shown = vector->renderPage(0, 72).pixel(100, 100);
    EXPECT_EQ(qRed(shown), 255);
    EXPECT_LT(qGreen(shown), 5);
    doc.setBackgroundColor(Color::clearColor());
    const QRgb white = PdfDocument::openData(VekPDFRepresentation(doc))->renderPage(0, 72).pixel(100, 100);
    EXPECT_EQ(white, qRgb(255, 255, 255));
}
