// Image files whose headers claim sizes beyond the pixel budget, and PDF pages too large or
// too damaged to render whole: each gives a clear error or a bounded image, never an abort.
#include "platform/image/bitmap_rep.h"
#include "platform/image/cmyk_files.h"
#include "platform/image/image.h"
#include "platform/image/image_file.h"
#include "platform/image/jpeg2000.h"
#include "platform/image/pixel_budget.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace {

BitmapRep smallCmyk()
{
    BitmapRep bitmap = BitmapRep::cmykBitmap(8, 8, false);
    std::fill(bitmap.bitmapData(), bitmap.bitmapData() + 8 * bitmap.bytesPerRow(), uchar(60));
    return bitmap;
}

// Writes a big-endian 16-bit or 32-bit number into the data at the offset.
void putBigEndian16(QByteArray &data, qsizetype at, quint16 value) { qToBigEndian(value, data.data() + at); }
void putBigEndian32(QByteArray &data, qsizetype at, quint32 value) { qToBigEndian(value, data.data() + at); }

// A CMYK JPEG whose frame header claims width x height.
QByteArray cmykJpegClaiming(quint16 width, quint16 height)
{
    QByteArray jpeg = encodeCmykJpeg(smallCmyk());
    const qsizetype frame = jpeg.indexOf("\xff\xc0");   // baseline frame: length, precision, height, width
    EXPECT_GT(frame, 0);
    putBigEndian16(jpeg, frame + 5, height);
    putBigEndian16(jpeg, frame + 7, width);
    return jpeg;
}

// A CMYK TIFF whose image width and length tags claim the given size.
QByteArray cmykTiffClaiming(quint32 width, quint32 height)
{
    QByteArray tiff = encodeCmykTiff(smallCmyk());
    EXPECT_TRUE(tiff.startsWith("II"));
    const quint32 ifd = qFromLittleEndian<quint32>(tiff.constData() + 4);
    const quint16 count = qFromLittleEndian<quint16>(tiff.constData() + ifd);
    for (quint16 i = 0; i < count; ++i) {
        char *entry = tiff.data() + ifd + 2 + 12 * i;
        const quint16 tag = qFromLittleEndian<quint16>(entry);
        if (tag != 256 && tag != 257)
            continue;
        qToLittleEndian<quint16>(4, entry + 2);   // a LONG value
        qToLittleEndian<quint32>(tag == 256 ? width : height, entry + 8);
    }
    return tiff;
}

// A JPEG 2000 codestream (one tile) whose size marker claims width x height.
QByteArray jpeg2000Claiming(quint32 width, quint32 height)
{
    QImage small(8, 8, QImage::Format_RGB888);
    small.fill(Qt::red);
    const QByteArray jp2 = encodeJpeg2000(small);
    QByteArray codestream = jp2.mid(jp2.indexOf("jp2c") + 4);
    const qsizetype siz = codestream.indexOf("\xff\x51");   // length, capabilities, then the sizes
    EXPECT_GT(siz, 0);
    putBigEndian32(codestream, siz + 6, width);
    putBigEndian32(codestream, siz + 10, height);
    putBigEndian32(codestream, siz + 22, width);    // one tile the size of the image
    putBigEndian32(codestream, siz + 26, height);
    return codestream;
}

QByteArray pdfWithPage(const std::string &mediaBox)
{
    return pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                           "<< /Type /Page /Parent 2 0 R /MediaBox [" + mediaBox + "] /Contents 4 0 R >>",
                           streamObject("", "1 0 0 rg 0 0 100 100 re f")});
}

} // namespace

TEST(PixelBudget, FitsRenderingsAndRefusesOversizeAllocations)
{
    EXPECT_TRUE(PixelBudget::allows(8192, 8192));
    EXPECT_FALSE(PixelBudget::allows(65500, 65500));
    EXPECT_FALSE(PixelBudget::allows(0, 10));
    EXPECT_FALSE(PixelBudget::allows(PixelBudget::maxPixels + 1, 1));
    EXPECT_TRUE(PixelBudget::allocate(65500, 65500, QImage::Format_RGBA8888).isNull());
    EXPECT_TRUE(BitmapRep::cmykBitmap(99999, 99999, true).isNull());

    const struct {
        double width, height;
    } sizes[] = {{30000, 30000}, {1e10, 1e10}, {1e10, 3}, {INFINITY, 100}};
    for (const auto &s : sizes) {
        const QSize fitted = PixelBudget::fitted(s.width, s.height);
        ASSERT_FALSE(fitted.isEmpty()) << s.width;
        EXPECT_LE(qint64(fitted.width()) * fitted.height(), PixelBudget::maxPixels) << s.width;
    }
    EXPECT_EQ(PixelBudget::fitted(300, 200), QSize(300, 200));
    EXPECT_TRUE(PixelBudget::fitted(NAN, 100).isEmpty());
}

TEST(HostileImages, HeadersClaimingHugeSizesGiveAClearError)
{
    const struct {
        const char *name;
        QByteArray data;
    } cases[] = {
        {"CMYK JPEG 65500 x 65500", cmykJpegClaiming(65500, 65500)},
        {"CMYK TIFF 99999 x 99999", cmykTiffClaiming(99999, 99999)},
        {"JPEG 2000 30000 x 30000", jpeg2000Claiming(30000, 30000)},
    };
    for (const auto &c : cases) {
        QString error;
        const Image image = readImageData(c.data, &error);
        EXPECT_FALSE(image.isValid()) << c.name;
        EXPECT_TRUE(error.contains("too large")) << c.name << ": " << error.toStdString();
    }
    // The same files at their true size still read.
    EXPECT_TRUE(readImageData(encodeCmykJpeg(smallCmyk())).isValid());
    EXPECT_TRUE(readImageData(encodeCmykTiff(smallCmyk())).isValid());
}

TEST(HostileImages, HugePdfPagesRenderWithinTheBudget)
{
    ensureGuiApp();
    for (const std::string box : {"0 0 30000 30000", "0 0 1e10 1e10"}) {
        const Image image = readImageData(pdfWithPage(box));
        if (!image.isValid())
            continue;   // refusing the page is as good as rendering it smaller
        const BitmapRep bitmap = image.bitmap();
        EXPECT_LE(qint64(bitmap.pixelsWide()) * bitmap.pixelsHigh(), PixelBudget::maxPixels) << box;
    }
}

TEST(HostileImages, APdfWithACyclicPageTreeIsAnErrorOrAPageThatDraws)
{
    ensureGuiApp();
    // The page tree's kids name the tree itself before the page.
    const QByteArray pdf = pdfFromObjects({"<< /Type /Catalog /Pages 2 0 R >>",
                                           "<< /Type /Pages /Kids [2 0 R 3 0 R] /Count 2 >>",
                                           "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 80] /Contents 4 0 R >>",
                                           streamObject("", "1 0 0 rg 0 0 100 80 re f")});
    QString error;
    const Image image = readImageData(pdf, &error);
    if (!image.isValid()) {
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    EXPECT_GT(image.size().width, 0);
    EXPECT_GT(image.size().height, 0);
    const QImage pixels = image.toQImage(QSize(50, 40));
    ASSERT_FALSE(pixels.isNull());
    EXPECT_EQ(pixels.pixelColor(25, 20).red(), 255);
}
