// The "Merge Background..." command's file reading: a PDF or an image file appended to the
// background, anything else refused with the background unchanged.
#include "app/document/background_merge.h"

#include "document/vek_document.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

TEST(BackgroundMerge, APdfAndAnImageFileAppendPagesAndOtherFilesAreRefused)
{
    ensureWidgetApp();
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath("pages.pdf");
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write(pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
                              "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] >>",
                              "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] >>"}));
    pdf.close();
    const QString imagePath = dir.filePath("scan.png");
    QImage scan(300, 200, QImage::Format_RGB32);
    scan.fill(Qt::green);
    ASSERT_TRUE(scan.save(imagePath));
    const QString textPath = dir.filePath("notes.txt");
    QFile text(textPath);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("neither a PDF nor an image");
    text.close();

    VekDocument doc;
    ASSERT_TRUE(mergeBackgroundFromFile(doc, pdfPath));
    EXPECT_EQ(doc.numberOfPages(), 2);
    ASSERT_TRUE(mergeBackgroundFromFile(doc, imagePath));
    EXPECT_EQ(doc.numberOfPages(), 3);
    EXPECT_EQ(doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(mergeBackgroundFromFile(doc, textPath));
    EXPECT_FALSE(mergeBackgroundFromFile(doc, dir.filePath("missing.pdf")));
    EXPECT_EQ(doc.numberOfPages(), 3);
}
