// The background: a PDF's pages with the list of what each document page shows, merging,
// an image, and both stored forms of a document with a background.
#include "document/vek_document.h"

#include "platform/pdf/pdf_document.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

// A PDF of pages with the given media boxes and rotations, each showing its number in red
// squares (page n: n squares), and a title.
QByteArray pdfOfPages(const std::vector<std::pair<std::string, int>> &pages)
{
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
    std::string kids;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int pageObject = int(objects.size()) + 1;
        std::string content;
        for (size_t k = 0; k <= i; ++k)
            content += "1 0 0 rg " + std::to_string(10 + 30 * k) + " 10 20 20 re f\n";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [" + pages[i].first + "] /Rotate "
                          + std::to_string(pages[i].second) + " /Contents " + std::to_string(pageObject + 1) + " 0 R >>");
        objects.push_back(streamObject("", content));
        kids += std::to_string(pageObject) + " 0 R ";
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
    return pdfFromObjects(objects);
}

std::shared_ptr<PdfDocument> open(const QByteArray &data)
{
    auto pdf = PdfDocument::openData(data);
    EXPECT_TRUE(pdf);
    return pdf;
}

} // namespace

TEST(Background, APdfGivesOnePagePerPageAtItsLargestTurnedSize)
{
    ensureGuiApp();
    VekDocument doc;
    const QByteArray data = pdfOfPages({{"0 0 612 792", 90}, {"0 0 612 900", 0}, {"0 0 500 700.2", 0}});
    doc.setBackgroundPDF(open(data), data, QStringLiteral("/tmp/Quarterly report.pdf"));
    EXPECT_EQ(doc.numberOfPages(), 3);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));
    // Page 1 turned is 792 x 612; page 2 has page 1's media width and is not compared;
    // page 3 is taller, and its 700.2 points round up to 701, never down.
    EXPECT_EQ(doc.drawAreaSizePerPage(), (Size{792, 701}));
    EXPECT_EQ(doc.printInfo().leftMargin, 0);
    EXPECT_EQ(doc.title(), QStringLiteral("Quarterly report"));

    doc.setBackgroundPDF(nullptr, {});
    EXPECT_TRUE(doc.bgPDFpages().empty());
    EXPECT_FALSE(doc.backgroundPDF());
}

// A page tree that holds itself: QPDF cannot walk it, Poppler still shows the page; the
// page size comes from Poppler instead of ending as nothing.
TEST(Background, APageTreeQpdfCannotWalkTakesThePageSizePopplerShows)
{
    ensureGuiApp();
    const QByteArray data = pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>",
                                            "<< /Type /Pages /Kids [3 0 R 2 0 R] /Count 2 >>",
                                            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] >>"});
    const auto pdf = PdfDocument::openData(data);
    if (!pdf)
        GTEST_SKIP() << "Poppler refuses the file: it cannot open as a background";
    VekDocument doc;
    doc.setBackgroundPDF(pdf, data);
    ASSERT_GE(doc.numberOfPages(), 1);
    EXPECT_EQ(doc.drawAreaSizePerPage(), (Size{300, 200}));
}

TEST(Background, ThePageListChangesWithUndo)
{
    ensureGuiApp();
    VekDocument doc;
    const QByteArray data = pdfOfPages({{"0 0 200 100", 0}, {"0 0 200 100", 0}, {"0 0 200 100", 0}});
    doc.setBackgroundPDF(open(data), data);
    UndoManager &undo = *doc.undoManager();
    undo.removeAllActions();

    doc.insertBgPDFPage(0, 10, true);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 3, 0}));
    undo.closeEventGroup();
    undo.undo();
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));

    doc.moveBgPDFPage(0, 2);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{2, 3, 1}));
    undo.closeEventGroup();
    undo.undo();
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));

    doc.removeBgPDFPageAtIndex(7);
    VekDocument plain;
    plain.removeBgPDFPageAtIndex(0);
    EXPECT_TRUE(plain.bgPDFpages().empty());
}

// Text growing past the last page adds a page: the page list follows, and one undo takes
// both back.
TEST(Background, AddingTheLastPageGivesItAnEmptyPageListEntryAndUndoes)
{
    ensureGuiApp();
    VekDocument doc;
    const QByteArray data = pdfOfPages({{"0 0 200 100", 0}, {"0 0 200 100", 0}});
    doc.setBackgroundPDF(open(data), data);
    UndoManager &undo = *doc.undoManager();
    undo.removeAllActions();
    doc.addLastPage();
    undo.closeEventGroup();
    EXPECT_EQ(doc.numberOfPages(), 3);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 0}));
    undo.undo();
    EXPECT_EQ(doc.numberOfPages(), 2);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2}));
    undo.redo();
    EXPECT_EQ(doc.numberOfPages(), 3);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 0}));

    VekDocument plain;
    plain.addLastPage();
    EXPECT_EQ(plain.numberOfPages(), 2);
    EXPECT_TRUE(plain.bgPDFpages().empty());
}

// Merging into a document whose background is an image: the image becomes the first
// background page, so that it and the merged page both show; undo gives the image back.
TEST(Background, MergingIntoAnImageBackgroundKeepsTheImageAsTheFirstPage)
{
    ensureGuiApp();
    VekDocument doc;
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    doc.setBackgroundImage(Image(picture), "image bytes", Size{});
    doc.undoManager()->removeAllActions();
    ASSERT_TRUE(doc.mergeBackgroundPDF(pdfOfPages({{"0 0 200 100", 0}})));
    doc.undoManager()->closeEventGroup();
    EXPECT_FALSE(doc.backgroundImage().isValid());
    ASSERT_TRUE(doc.backgroundPDF());
    EXPECT_EQ(doc.numberOfPages(), 2);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2}));
    EXPECT_EQ(doc.drawAreaSizePerPage(), (Size{200, 100}));
    const QImage first = doc.backgroundPDF()->renderPage(0, 72);
    EXPECT_GT(qBlue(first.pixel(100, 50)), 240);
    EXPECT_LT(qRed(first.pixel(100, 50)), 16);
    const QImage second = doc.backgroundPDF()->renderPage(1, 72);
    EXPECT_EQ(QColor(second.pixel(20, 80)), QColor(Qt::red));   // the merged page's square

    doc.undoManager()->undo();
    EXPECT_TRUE(doc.backgroundImage().isValid());
    EXPECT_FALSE(doc.backgroundPDF());
    EXPECT_EQ(doc.numberOfPages(), 1);
}

TEST(Background, MergingAppendsPagesWithoutCuttingAndUndoes)
{
    ensureGuiApp();
    VekDocument doc;
    const QByteArray one = pdfOfPages({{"0 0 200 100", 0}});
    doc.setBackgroundPDF(open(one), one);
    doc.setNumberOfPages(4);   // more document pages than background pages
    doc.undoManager()->removeAllActions();
    ASSERT_TRUE(doc.mergeBackgroundPDF(pdfOfPages({{"0 0 200 100", 0}, {"0 0 200 100", 0}})));
    EXPECT_EQ(doc.numberOfPagesOfBackgroundPDF(), 3);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(doc.numberOfPages(), 4);   // no page is cut
    EXPECT_TRUE(doc.isDocumentEdited());
    doc.undoManager()->closeEventGroup();
    doc.undoManager()->undo();
    EXPECT_EQ(doc.numberOfPagesOfBackgroundPDF(), 1);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1}));

    // Into a document without a background: as many pages as the merged PDF.
    VekDocument empty;
    ASSERT_TRUE(empty.mergeBackgroundPDF(pdfOfPages({{"0 0 300 200", 0}, {"0 0 300 200", 0}})));
    EXPECT_EQ(empty.numberOfPages(), 2);
    EXPECT_FALSE(empty.mergeBackgroundPDF("neither a PDF nor an image"));
}

TEST(Background, BothStoredFormsKeepTheBackgroundAndTheStoredPaper)
{
    ensureGuiApp();
    VekDocument doc;
    const QByteArray data = pdfOfPages({{"0 0 300 200", 0}, {"0 0 300 200", 0}});
    doc.setBackgroundPDF(open(data), data);
    doc.setNumberOfPages(3);
    doc.insertBgPDFPage(0, 2, false);   // page 3 shows no background
    PrintInfo info = doc.printInfo();
    info.leftMargin = 12;   // the stored paper differs from the PDF's
    doc.setPrintInfo(info);
    doc.setDrawAreaSizePerPage({310, 210});
    for (bool textForm : {false, true}) {
        VekDocument back;
        ASSERT_TRUE(back.readFromData(doc.dataOfDocument(textForm), nullptr));
        ASSERT_TRUE(back.backgroundPDF());
        EXPECT_EQ(back.numberOfPagesOfBackgroundPDF(), 3);
        EXPECT_EQ(back.numberOfPages(), 3);
        EXPECT_EQ(back.printInfo().leftMargin, 12);
        EXPECT_EQ(back.drawAreaSizePerPage(), (Size{310, 210}));
        // Page 2 of the stored background is the second PDF page (two squares).
        const QImage second = back.backgroundPDF()->renderPage(1, 72);
        EXPECT_EQ(second.pixelColor(45, second.height() - 20).red(), 255);
    }
    // Saving page 2 alone stores the PDF page that page shows.
    const PropertyList subset = doc.vekDocumentDictionaryForObjects({}, std::vector<int>{2}, false);
    auto pdf = PdfDocument::openData(subset.value(QStringLiteral("background")).value(QStringLiteral("pdfdata")).dataValue());
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->pageCount(), 1);
    const QImage page = pdf->renderPage(0, 72);
    EXPECT_EQ(page.pixelColor(45, page.height() - 20).red(), 255);
}
