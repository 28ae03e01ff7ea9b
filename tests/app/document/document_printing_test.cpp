// Printing into a PDF file (as without a printer): pages on paper with headers, footers,
// page numbers and the text of text boxes, read back by pdftotext and pdfinfo.
#include "app/document/document_printing.h"

#include "tests/export/export_fixture.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QPrinter>

using namespace exportfixture;

TEST(DocumentPrinting, PrintingToAPdfFileGivesHeadersFootersAndPageNumbers)
{
    ensureWidgetApp();
    Document fixture;
    fixture.doc.setTitle(QStringLiteral("Garden plan"));
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
