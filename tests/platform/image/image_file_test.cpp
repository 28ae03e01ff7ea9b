// Image files: round trips through every written format with orientation kept,
// multi-image files, JPEG 2000, icon files, PDF, atomic writes.
#include "platform/image/image_file.h"

#include "platform/image/icns_file.h"
#include "platform/image/jpeg2000.h"
#include "tests/platform/pdf/pdf_fixtures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// 8 x 6 pixels, left half red and right half blue in the top row band, green below; the
// bottom-right pixel is half transparent when withAlpha is set.
QImage patternImage(bool withAlpha)
{
    QImage image(8, 6, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(Qt::green);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 2; ++y)
            image.setPixelColor(x, y, x < 4 ? QColor(Qt::red) : QColor(Qt::blue));
    if (withAlpha)
        image.setPixelColor(7, 5, QColor(0, 255, 0, 128));
    return image;
}

bool closeTo(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

} // namespace

TEST(ImageFile, RoundTripsEveryWrittenFormatUprightAndUnmirrored)
{
    struct Case {
        const char *format;
        bool alpha;
        int tolerance;
    };
    const Case cases[] = {{"png", true, 0}, {"tiff", true, 0}, {"bmp", false, 0},
                          {"jp2", true, 0}, {"jpeg", false, 40}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        const QImage source = patternImage(c.alpha);
        const QByteArray data = encodeBitmap(BitmapRep(source), c.format, c.tolerance ? 0.9f : -1);
        ASSERT_FALSE(data.isEmpty());
        const Image image = readImageData(data);
        ASSERT_TRUE(image.isValid());
        const QImage back = image.bitmap().toQImage();
        ASSERT_EQ(back.size(), QSize(8, 6));
        EXPECT_TRUE(closeTo(back.pixelColor(0, 0), Qt::red, c.tolerance)) << "top left";
        EXPECT_TRUE(closeTo(back.pixelColor(7, 0), Qt::blue, c.tolerance)) << "top right";
        EXPECT_TRUE(closeTo(back.pixelColor(0, 5), Qt::green, c.tolerance)) << "bottom left";
        if (c.alpha) {
            EXPECT_EQ(back.pixelColor(7, 5).alpha(), 128);
        }
    }
    EXPECT_TRUE(encodeBitmap(BitmapRep(patternImage(false)), "no-such-format").isEmpty());
    EXPECT_TRUE(encodeBitmap(BitmapRep(), "png").isEmpty());
}

TEST(ImageFile, TheResolutionInTheFileGivesTheSizeInPoints)
{
    BitmapRep rep(patternImage(false));
    EXPECT_EQ(readImageData(encodeBitmap(rep, "png")).size(), (Size{8, 6}));
    rep.setSize(Size{4, 3}); // 144 dpi
    for (const char *format : {"png", "tiff"}) {
        const Size size = readImageData(encodeBitmap(rep, format)).size();
        EXPECT_NEAR(size.width, 4, 0.01) << format;
        EXPECT_NEAR(size.height, 3, 0.01) << format;
    }
}

TEST(ImageFile, ReadsGif)
{
    // A 1 x 1 GIF whose one pixel is the first palette entry, white.
    const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                         ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                         35);
    const Image image = readImageData(gif);
    ASSERT_TRUE(image.isValid());
    EXPECT_EQ(image.bitmap().toQImage().pixelColor(0, 0), QColor(Qt::white));
}

TEST(ImageFile, JpegTwoThousandKeepsGreyAndCompressesOnRequest)
{
    QImage grey(40, 30, QImage::Format_Grayscale8);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            grey.scanLine(y)[x] = uchar(x * 6 + y);
    const QByteArray lossless = encodeJpeg2000(grey);
    const QImage back = decodeJpeg2000(lossless);
    ASSERT_EQ(back.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(back, grey);

    QImage noisy(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noisy.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x ^ y) * 4 % 256));
    EXPECT_LT(encodeJpeg2000(noisy, 0.1f).size(), encodeJpeg2000(noisy).size() / 4);
    EXPECT_TRUE(decodeJpeg2000("\xff\x4f\xff\x51 broken").isNull());
    EXPECT_TRUE(decodeJpeg2000("not jpeg 2000").isNull());
}

TEST(ImageFile, WrittenIconFilesReadBackMemberByMember)
{
    QImage big(256, 256, QImage::Format_ARGB32);
    big.fill(Qt::transparent);
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(QColor(200, 0, 0, 255));
    small.setPixelColor(15, 0, QColor(0, 0, 200, 0)); // a transparent top-right pixel
    QImage medium = small.scaled(32, 32);
    const BitmapRep s(small), m(medium), b(big);

    IcnsFile icns;
    icns.addMember("is32", IcnsFile::packedRgbData(s, 16));
    icns.addMember("s8mk", IcnsFile::alphaMaskData(s, 16));
    icns.addMember("il32", IcnsFile::packedRgbData(m, 32));
    icns.addMember("l8mk", IcnsFile::alphaMaskData(m, 32));
    icns.addMember("ICN#", IcnsFile::oneBitIconAndMask(m));
    icns.addMember("ic08", IcnsFile::pngData(b, 256));
    const QByteArray bytes = icns.bytes();
    EXPECT_EQ(IcnsFile::parse(bytes).size(), 6u);
    EXPECT_EQ(IcnsFile::parse(bytes)[5].first, QByteArray("ic08"));

    const Image image = readImageData(bytes);
    ASSERT_TRUE(image.isValid());
    std::vector<int> sides;
    for (const ImageRep &rep : image.representations())
        sides.push_back(rep.pixelsWide());
    EXPECT_NE(std::find(sides.begin(), sides.end(), 16), sides.end());
    EXPECT_NE(std::find(sides.begin(), sides.end(), 256), sides.end());
    for (const ImageRep &rep : image.representations()) {
        if (rep.pixelsWide() != 16)
            continue;
        const QImage px = rep.toQImage();
        EXPECT_EQ(px.pixelColor(0, 0), QColor(200, 0, 0));
        EXPECT_EQ(px.pixelColor(15, 0).alpha(), 0) << "the mask applies, top row first";
    }

    EXPECT_TRUE(IcnsFile::packedRgbData(s, 32).isEmpty()) << "a member must have its exact size";
    const QByteArray bits = IcnsFile::oneBitIconAndMask(m);
    ASSERT_EQ(bits.size(), 256);
    EXPECT_EQ(uchar(bits[0]), 0xffu);
    EXPECT_EQ(uchar(bits[3]), 0xfcu) << "the two transparent top-right pixels are clear";
    EXPECT_EQ(bits.left(128), bits.mid(128));
    const QByteArray argb = IcnsFile::argbData(s, 16);
    EXPECT_EQ(argb.left(4), QByteArray("\xff\xc8\x00\x00", 4));
}

TEST(ImageFile, PackedRgbRunsDecodeToThePixels)
{
    // A run of 20 equal bytes then 3 different ones, per channel.
    QImage image(23, 1, QImage::Format_RGB32);
    image.fill(qRgb(9, 9, 9));
    image.setPixel(20, 0, qRgb(1, 1, 1));
    image.setPixel(21, 0, qRgb(2, 2, 2));
    image.setPixel(22, 0, qRgb(3, 3, 3));
    QImage square(23, 23, QImage::Format_RGB32);
    square.fill(qRgb(9, 9, 9));
    for (int x = 20; x < 23; ++x)
        square.setPixel(x, 0, image.pixel(x, 0));
    const QByteArray packed = IcnsFile::packedRgbData(BitmapRep(square), 23, true);
    EXPECT_EQ(packed.left(4), QByteArray(4, '\0'));
    // First channel: the first 20 nines... the run of 20 repeats (0x80 + 17), then literals.
    EXPECT_EQ(uchar(packed[4]), 0x80u + 17);
    EXPECT_EQ(uchar(packed[5]), 9u);
    EXPECT_EQ(uchar(packed[6]), 2u); // three literals follow
    EXPECT_EQ(packed.mid(7, 3), QByteArray("\x01\x02\x03", 3));
}

TEST(ImageFile, ReadsThePdfFirstPageAsVectorRepresentation)
{
    const Image image = readImageData(handMadeTextPdf());
    ASSERT_EQ(image.representations().size(), 1u);
    EXPECT_TRUE(image.representations()[0].pdfDocument());
    EXPECT_EQ(image.representations()[0].pixelsWide(), 200);
    QString error;
    EXPECT_FALSE(readImageData("%PDF-1.4 nothing", &error).isValid());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readImageData("neither image nor pdf", &error).isValid());
    EXPECT_FALSE(readImageFile(QStringLiteral("/nonexistent/x.png")).isValid());
}

TEST(ImageFile, WritingReplacesAFileOnlyWithACompleteNewOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.png");
    ASSERT_TRUE(writeBitmapFile(BitmapRep(patternImage(true)), path, "png"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    EXPECT_FALSE(writeBitmapFile(BitmapRep(patternImage(true)), path, "no-such-format"));
    EXPECT_FALSE(writeBitmapFile(BitmapRep(), path, "png"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_FALSE(writeBitmapFile(BitmapRep(patternImage(true)), dir.filePath("missing/x.png"), "png"));
    EXPECT_EQ(readImageFile(path).bitmap().toQImage().pixelColor(0, 0), QColor(Qt::red));
}
