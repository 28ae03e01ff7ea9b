// Printing into a PDF file (as without a printer): pages on paper with headers, footers,
// page numbers and the text of text boxes, read back by pdftotext and pdfinfo.
#include "app/document/document_printing.h"

#include "tests/export/export_fixture.h"
#include "tests/model/fakes.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QPrinter>

using namespace exportfixture;

TEST(DocumentPrinting, PrintingToAPdfFileGivesHeadersFootersAndPageNumbers)
{
    ensureWidgetApp();
    Document fixture;
    fixture.doc.setTitle(QStringLiteral("Garden plan"));
    fixture.doc.setAuthor(QStringLiteral("Ada Gärtner"));
    fixture.doc.setSubject(QStringLiteral("Beds and paths"));
    fixture.doc.setKeywords(QStringLiteral("garden, plan"));
    fixture.doc.setAddBorder(1);
    fixture.doc.borderinfo();   // the default cells, before one setting changes
    fixture.doc.updateBorderInfoForKey(PropertyList::fromInt(1), "exFirst");
    QTemporaryDir dir;
    const QString path = dir.filePath("printed.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QString error;
    ASSERT_TRUE(printDocumentPages(fixture.doc, printer, "plan.vek", &error)) << error.toStdString();

    const QString info = run("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2"))) << info.toStdString();
    // The metadata of the exported PDF.
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Garden plan\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Author:\\s+Ada Gärtner\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Subject:\\s+Beds and paths\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Keywords:\\s+garden, plan\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Creator:\\s+Vekanto\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts"))) << info.toStdString();
    const QString first = run("pdftotext", {"-f", "1", "-l", "1", path, "-"});
    const QString second = run("pdftotext", {"-f", "2", "-l", "2", path, "-"});
    EXPECT_FALSE(first.contains("Garden plan")) << first.toStdString();   // the first page is excepted
    EXPECT_TRUE(second.contains("Garden plan")) << second.toStdString();
    EXPECT_TRUE(second.contains(QRegularExpression("-\\s*2\\s*-"))) << second.toStdString();
    // The text boxes print as text on their own pages, the page's box between its header
    // and its footer.
    EXPECT_TRUE(first.contains(QRegularExpression("Go to the anchor or\\s+example.org"))) << first.toStdString();
    EXPECT_FALSE(first.contains("Here is the target"));
    const int header = int(second.indexOf("Garden plan")), box = int(second.indexOf("Here is the target"));
    const int footer = int(second.indexOf(QRegularExpression("-\\s*2\\s*-")));
    EXPECT_LT(header, box);
    EXPECT_LT(box, footer);
}

// Printing places the page as the PDF export does: landscape paper turned, and a page at
// 144 dpi filling the paper inside its margins at half scale, as at 72 dpi.
TEST(DocumentPrinting, PrintsLandscapeAndHighResolutionPagesOnThePaperInsideItsMargins)
{
    ensureWidgetApp();
    struct Case {
        int resolution;
        PrintInfo::Orientation orientation;
        QString size;
        QRect red;
    };
    const Case cases[] = {
        {144, PrintInfo::Orientation::Portrait, "595(\\.\\d+)? x 84[12](\\.\\d+)?", QRect(72, 90, 451, 662)},
        {72, PrintInfo::Orientation::Landscape, "84[12](\\.\\d+)? x 595(\\.\\d+)?", QRect(72, 90, 698, 415)},
        {144, PrintInfo::Orientation::Landscape, "84[12](\\.\\d+)? x 595(\\.\\d+)?", QRect(72, 90, 698, 415)},
    };
    for (const Case &c : cases) {
        VekDocument doc;
        fillPageOfPaper(doc, c.resolution, c.orientation);
        Written out;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.path);
        QString error;
        ASSERT_TRUE(printDocumentPages(doc, printer, "paper.vek", &error)) << error.toStdString();
        EXPECT_TRUE(out.info().contains(QRegularExpression("Page size:\\s+" + c.size)))
            << out.info().toStdString();
        const QRect red = redArea(out.page(1));
        for (const auto &[got, want] : {std::pair{red.left(), c.red.left()}, {red.top(), c.red.top()},
                                        {red.right(), c.red.right()}, {red.bottom(), c.red.bottom()}})
            EXPECT_NEAR(got, want, 1) << c.resolution << " dpi, " << c.size.toStdString();
    }
}

TEST(DocumentPrinting, LeavesOutTheBackgroundTheWindowHides)
{
    ensureWidgetApp();
    for (const bool hidden : {false, true}) {
        Document fixture;
        FakeCanvas window;
        window.hidesBackground = hidden;
        fixture.doc.setVekView(&window);
        Written out;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.path);
        ASSERT_TRUE(printDocumentPages(fixture.doc, printer, "plan.vek"));
        fixture.doc.setVekView(nullptr);
        // Printing draws background pages as pixels: their yellow band, not their text.
        const QImage page = out.page(1);
        bool yellow = false;
        for (int y = 0; y < page.height() && !yellow; ++y)
            for (int x = 0; x < page.width() && !yellow; ++x)
                yellow = qRed(page.pixel(x, y)) > 200 && qGreen(page.pixel(x, y)) > 200 && qBlue(page.pixel(x, y)) < 80;
        EXPECT_EQ(yellow, !hidden);
    }
}
