// The preview plug-in's answers: stored previews, drawn pages, the page background rule and
// the marker colours of the preferences file.
#include "model/vek_obj_marker.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/pdf/pdf_document.h"
#include "tests/plugins/plugin_fixture.h"

#include <QImage>

using namespace pluginfixture;

namespace {

QByteArray withEntries(const VekDocument &document, const std::map<QString, PropertyList> &entries)
{
    PropertyList dictionary = document.vekDocumentDictionaryForObjects(document.objects(), std::nullopt, true);
    for (const auto &[key, value] : entries)
        dictionary.insert(key, value);
    return textPropertyListData(dictionary);
}

QRgb pixelOfThumbnail(const Answer &answer, int x, int y)
{
    return QImage::fromData(answer.data).pixel(x, y);
}

} // namespace

TEST(PreviewGeneration, TheStoredOptionDecidesWhatIsShown)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    const QString none = writtenBytes(withEntries(*document, {{"qloption", PropertyList::fromInt(0)}}), dir, "0.vek");
    for (bool preview : {true, false}) {
        const Answer answer = generate(none, preview);
        EXPECT_FALSE(answer.answered);
        EXPECT_EQ(answer.status, 0);
    }

    // Stored previews are handed over as they are, without reading the objects.
    const QByteArray storedPdf("%PDF-1.4 stored preview");
    const QByteArray storedPng("\x89PNG stored thumbnail");
    const QString stored = writtenBytes(withEntries(*document, {{"qloption", PropertyList::fromInt(1)},
                                                                {"pdfdata", PropertyList::fromData(storedPdf)},
                                                                {"thumbdata", PropertyList::fromData(storedPng)},
                                                                {"objects", PropertyList::fromInt(7)}}),
                                        dir, "1.vek");
    const Answer preview = generate(stored, true);
    EXPECT_EQ(preview.data, storedPdf);
    EXPECT_EQ(preview.contentType, "com.adobe.pdf");
    const Answer thumbnail = generate(stored, false);
    EXPECT_EQ(thumbnail.data, storedPng);
    EXPECT_EQ(thumbnail.contentType, "public.png");
}

TEST(PreviewGeneration, UpToFourPagesAreVectorsAndLongerDocumentsPageImages)
{
    QTemporaryDir dir;
    for (int pages : {4, 5}) {
        SCOPED_TRACE(pages);
        auto document = pagesDocument(pages);
        const Answer answer = generate(written(*document, dir, QStringLiteral("p.vek")), true);
        ASSERT_TRUE(answer.answered);
        auto pdf = PdfDocument::openData(answer.data);
        ASSERT_TRUE(pdf);
        EXPECT_EQ(pdf->pageCount(), pages);
        EXPECT_EQ(answer.data.contains("/Subtype /Image") || answer.data.contains("/Subtype/Image"), pages == 5);
        const QImage page = pdf->renderPage(pages - 1, 72);
        EXPECT_EQ(page.size(), QSize(200, 100));
        EXPECT_GT(QColor(page.pixel(25, 25)).red(), 250);
        EXPECT_LT(QColor(page.pixel(25, 25)).green(), 10);
    }
}

TEST(PreviewGeneration, UnreadableFilesGiveNoAnswer)
{
    QTemporaryDir dir;
    const QString damaged = writtenBytes(QByteArrayLiteral("\x04\x0bstreamtyped\x81\xe8"), dir, "d.vek");
    EXPECT_EQ(generate(damaged, true).status, -1);
    const Answer thumbnail = generate(damaged, false);
    EXPECT_EQ(thumbnail.status, 0);
    EXPECT_FALSE(thumbnail.answered);
    EXPECT_FALSE(generate(dir.filePath("missing.vek"), true).answered);
}

TEST(PreviewGeneration, TheThumbnailIsPageOneOnAnOpaqueBackground)
{
    QTemporaryDir dir;
    const struct {
        Color background;
        QRgb expected;
    } cases[] = {
        {Color::colorWithCalibratedRed(0, 0, 1, 0.05f), qRgb(255, 255, 255)},   // faint: white
        {Color::colorWithCalibratedRed(0, 0, 1, 0.5f), qRgb(0, 0, 255)},        // made opaque
    };
    for (const auto &c : cases) {
        auto document = pagesDocument(2);
        document->setBackgroundColor(c.background);
        const Answer answer = generate(written(*document, dir, QStringLiteral("b.vek")), false);
        ASSERT_TRUE(answer.answered);
        EXPECT_EQ(QImage::fromData(answer.data).size(), QSize(200, 100));   // the whole first page
        EXPECT_EQ(pixelOfThumbnail(answer, 150, 80), c.expected);
        EXPECT_EQ(pixelOfThumbnail(answer, 25, 25), qRgb(255, 0, 0));
    }
    auto document = pagesDocument(1);
    const Answer fitted = generate(written(*document, dir, QStringLiteral("f.vek")), false, 50);
    EXPECT_EQ(QImage::fromData(fitted.data).size(), QSize(50, 25));
}

TEST(PreviewGeneration, MarkersTakeTheirColoursFromThePreferencesFile)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());   // no preferences file there
    auto document = pagesDocument(1);
    auto marker = VekObjMarker::create();
    BezierPath stroke;
    stroke.moveToPoint({100, 50});
    stroke.lineToPoint({180, 50});
    marker->setBezierPath(stroke);
    marker->setBounds(Rect(100, 45, 80, 10));
    marker->setObjLineWidth(10);
    marker->setColorNr(3);
    document->insertObject(marker, 0, false);
    const Answer answer = generate(written(*document, dir, QStringLiteral("m.vek")), false);
    const QColor pixel = pixelOfThumbnail(answer, 140, 45);
    // Cyan at alpha 0.4 over white.
    EXPECT_NEAR(pixel.red(), 153, 3);
    EXPECT_EQ(pixel.green(), 255);
    EXPECT_EQ(pixel.blue(), 255);
    qunsetenv("XDG_CONFIG_HOME");
}
