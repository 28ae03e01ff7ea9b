// BitmapRep: the kept formats and what they report, sample access, CMYK buffers.
#include "platform/image/bitmap_rep.h"

#include <gtest/gtest.h>

TEST(BitmapRep, ReportsLayoutOfEachKeptFormat)
{
    struct Case {
        QImage::Format source;
        int samples;
        bool alpha;
        bool premultiplied;
        const char *space;
    };
    const Case cases[] = {
        {QImage::Format_Grayscale8, 1, false, false, "NSDeviceWhiteColorSpace"},
        {QImage::Format_RGB32, 3, false, false, "NSDeviceRGBColorSpace"},
        {QImage::Format_ARGB32, 4, true, false, "NSDeviceRGBColorSpace"},
        {QImage::Format_ARGB32_Premultiplied, 4, true, true, "NSDeviceRGBColorSpace"},
        {QImage::Format_Mono, 1, false, false, "NSDeviceWhiteColorSpace"},
    };
    for (const Case &c : cases) {
        QImage image(5, 3, c.source);
        image.fill(0);
        const BitmapRep rep(image);
        SCOPED_TRACE(c.source);
        EXPECT_EQ(rep.pixelsWide(), 5);
        EXPECT_EQ(rep.pixelsHigh(), 3);
        EXPECT_EQ(rep.bitsPerSample(), 8);
        EXPECT_EQ(rep.samplesPerPixel(), c.samples);
        EXPECT_EQ(rep.bitsPerPixel(), 8 * c.samples);
        EXPECT_EQ(rep.hasAlpha(), c.alpha);
        EXPECT_EQ(rep.isAlphaPremultiplied(), c.premultiplied);
        EXPECT_GE(rep.bytesPerRow(), 5 * c.samples);
        EXPECT_EQ(rep.colorSpaceName(), QLatin1String(c.space));
    }
    EXPECT_TRUE(BitmapRep().isNull());
    EXPECT_EQ(BitmapRep().samplesPerPixel(), 0);
}

TEST(BitmapRep, SamplesAreInRgbaOrderCountedFromTheTopLeft)
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(1, 0, QColor(10, 20, 30, 40)); // top right
    BitmapRep rep(image);
    unsigned int s[4];
    rep.getPixel(s, 1, 0);
    EXPECT_EQ((std::vector<unsigned>(s, s + 4)), (std::vector<unsigned>{10, 20, 30, 40}));
    rep.getPixel(s, 1, 1);
    EXPECT_EQ(s[3], 0u);

    const unsigned int red[4] = {255, 0, 0, 255};
    rep.setPixel(red, 0, 1); // bottom left
    EXPECT_EQ(rep.toQImage().pixelColor(0, 1), QColor(255, 0, 0));
    rep.setPixel(red, 7, 7); // outside: ignored
    rep.getPixel(s, -1, 0);
    EXPECT_EQ(s[0] + s[1] + s[2] + s[3], 0u);
}

TEST(BitmapRep, CmykBufferHoldsFiveSamplesAndPreviewsWithThePlainFormula)
{
    BitmapRep rep = BitmapRep::cmykBitmap(3, 2, true);
    ASSERT_TRUE(rep.isCMYK());
    EXPECT_EQ(rep.samplesPerPixel(), 5);
    EXPECT_EQ(rep.bytesPerRow(), 15);
    EXPECT_TRUE(rep.hasAlpha());
    EXPECT_EQ(rep.colorSpaceName(), QLatin1String("NSDeviceCMYKColorSpace"));
    EXPECT_TRUE(rep.image().isNull());

    const unsigned int magentaHalfBlack[5] = {0, 255, 0, 128, 255};
    rep.setPixel(magentaHalfBlack, 2, 1);
    unsigned int s[5];
    rep.getPixel(s, 2, 1);
    EXPECT_EQ((std::vector<unsigned>(s, s + 5)), (std::vector<unsigned>{0, 255, 0, 128, 255}));
    const QColor preview = rep.toQImage().pixelColor(2, 1);
    EXPECT_EQ(preview.red(), 127);
    EXPECT_EQ(preview.green(), 0);
    EXPECT_EQ(preview.blue(), 127);
    EXPECT_EQ(rep.toQImage().pixelColor(0, 0).alpha(), 0) << "a new CMYK bitmap is transparent";

    EXPECT_EQ(BitmapRep::cmykBitmap(2, 2, false).samplesPerPixel(), 4);
    EXPECT_TRUE(BitmapRep::cmykBitmap(0, 2, false).isNull());
}
