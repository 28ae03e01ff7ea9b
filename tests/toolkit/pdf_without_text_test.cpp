// CreatePDFwoText: text gone (also in form XObjects, annotations and object streams),
// graphics and images kept, a valid file written atomically.
#include "toolkit/pdf_without_text.h"

#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pixels with any ink in a rectangle of a rendered page (y down).
int inkedPixels(const QImage &page, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qAlpha(page.pixel(x, y)) > 0;
    return count;
}

bool near(QRgb c, QRgb expected)
{
    return qAlpha(c) > 240 && std::abs(qRed(c) - qRed(expected)) < 30 && std::abs(qGreen(c) - qGreen(expected)) < 30
        && std::abs(qBlue(c) - qBlue(expected)) < 30;
}

} // namespace

TEST(CreatePDFwoText, NullPathsFailAtOnce)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("in.pdf");
    writeFile(source, handMadeTextPdf());
    EXPECT_FALSE(CreatePDFwoText(QString(), source));
    EXPECT_FALSE(CreatePDFwoText(dir.filePath("out.pdf"), QString()));
    EXPECT_FALSE(QFile::exists(dir.filePath("out.pdf")));
}

TEST(CreatePDFwoText, RemovesTextFromPagesFormsAndAnnotationsAndKeepsGraphics)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("in.pdf");
    const QString destination = dir.filePath("out.pdf");
    writeFile(source, handMadeTextPdf());
    const QRect helloArea(20, 200 - 175, 70, 28); // "Hello" at (20, 150) in PDF space, 24 pt
    {
        auto before = PdfDocument::open(source);
        ASSERT_TRUE(before);
        EXPECT_TRUE(before->pageText(0).contains(QLatin1String("Inside")));
        const QImage page = before->renderPage(0, 72);
        ASSERT_GT(inkedPixels(page, helloArea), 20);
        ASSERT_GT(inkedPixels(page, QRect(20, 200 - 80, 60, 20)), 5);
    }

    ASSERT_TRUE(CreatePDFwoText(destination, source));

    auto after = PdfDocument::open(destination);
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->pageText(0).trimmed().isEmpty()) << after->pageText(0).toStdString();
    const QImage page = after->renderPage(0, 72);
    EXPECT_EQ(inkedPixels(page, helloArea), 0);
    EXPECT_EQ(inkedPixels(page, QRect(20, 200 - 80, 60, 20)), 0) << "the annotation's text is gone";
    EXPECT_TRUE(near(page.pixel(35, 200 - 35), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(page.pixel(110, 200 - 110), qRgb(0, 255, 0))) << "a colour set inside a text object still applies";
    EXPECT_TRUE(near(page.pixel(160, 200 - 20), qRgb(0, 0, 255))) << "the form XObject's square stays";
    EXPECT_TRUE(near(page.pixel(155, 200 - 155), qRgb(255, 0, 255))) << "the inline image stays";
    const QByteArray bytes = readFile(destination);
    EXPECT_FALSE(bytes.contains("/Helvetica")) << "the font is no longer written";
    EXPECT_FALSE(bytes.contains("/Font"));
    QString report;
    EXPECT_TRUE(checkPdfFile(destination, &report)) << report.toStdString();
}

TEST(CreatePDFwoText, HandlesCompressedStreamsAndObjectStreams)
{
    ensureGuiApp();
    QTemporaryDir dir;
    const QString source = dir.filePath("packed.pdf");
    {
        PdfRewriter packer;
        ASSERT_TRUE(packer.openData(qtPdfWithTextPathAndImage()));
        ASSERT_TRUE(packer.write(source, true));
    }
    const QByteArray sourceBytes = readFile(source);
    ASSERT_TRUE(sourceBytes.contains("/ObjStm"));
    ASSERT_TRUE(sourceBytes.contains("/FlateDecode"));
    ASSERT_TRUE(PdfDocument::open(source)->pageText(0).contains(QLatin1String("Vekanto")));

    const QString destination = dir.filePath("plain.pdf");
    ASSERT_TRUE(CreatePDFwoText(destination, source));

    QString report;
    EXPECT_TRUE(checkPdfFile(destination, &report)) << report.toStdString();
    auto after = PdfDocument::open(destination);
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->pageText(0).trimmed().isEmpty());
    const QImage page = after->renderPage(0, 72);
    EXPECT_EQ(inkedPixels(page, QRect(0, 0, 200, 60)), 0) << "no glyph is drawn in the text's band";
    EXPECT_TRUE(near(page.pixel(50, 130), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(page.pixel(150, 130), qRgb(0, 0, 255)));
}

TEST(CreatePDFwoText, FailuresLeaveTheDestinationAndTheWorkingFolderAlone)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("in.pdf");
    const QString destination = dir.filePath("out.pdf");
    writeFile(source, handMadeTextPdf());
    writeFile(destination, "previous");

    EXPECT_FALSE(CreatePDFwoText(destination, dir.filePath("absent.pdf")));
    writeFile(dir.filePath("junk.pdf"), "%PDF-1.4 no objects here");
    EXPECT_FALSE(CreatePDFwoText(destination, dir.filePath("junk.pdf")));
    EXPECT_FALSE(CreatePDFwoText(dir.filePath("no-such-folder/out.pdf"), source));
    EXPECT_EQ(readFile(destination), QByteArray("previous"));

    const QString previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_TRUE(CreatePDFwoText(destination, source));
    QDir::setCurrent(previousFolder);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.pdf", "junk.pdf", "out.pdf"}));
}

TEST(CreatePDFwoText, PagesWithoutContentOrWithDamagedStreams)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.pdf");
    writeFile(empty, pdfFromObjects({
                         "<< /Type /Catalog /Pages 2 0 R >>",
                         "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                         "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 50 50] >>",
                     }));
    EXPECT_TRUE(CreatePDFwoText(dir.filePath("empty-out.pdf"), empty));
    EXPECT_TRUE(checkPdfFile(dir.filePath("empty-out.pdf")));

    const QString damaged = dir.filePath("damaged.pdf");
    writeFile(damaged, pdfFromObjects({
                           "<< /Type /Catalog /Pages 2 0 R >>",
                           "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 50 50] /Contents 4 0 R >>",
                           streamObject("/Filter /FlateDecode", "this is not deflated data"),
                       }));
    const QString out = dir.filePath("damaged-out.pdf");
    const bool written = CreatePDFwoText(out, damaged);
    EXPECT_EQ(written, QFile::exists(out));
    if (written) {
        EXPECT_TRUE(PdfDocument::open(out));
    }
}
