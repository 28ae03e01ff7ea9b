// BitmapRep: the kept formats and what they report, sample access, CMYK buffers.
#include "platform/image/bitmap_rep.h"

#include <QBuffer>

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

// Palette images read from PNG keep their table's colours and transparency at every depth;
// only a grey table without transparency becomes one grey sample.
TEST(BitmapRep, PaletteImagesKeepTheirColoursAndTransparency)
{
    struct Case {
        const char *name;
        QImage::Format format;
        QList<QRgb> table;
        int samples;
    };
    const Case cases[] = {
        {"1-bit red and transparent", QImage::Format_Mono, {qRgba(0, 0, 0, 0), qRgb(220, 20, 30)}, 4},
        {"1-bit blue and yellow", QImage::Format_Mono, {qRgb(10, 20, 200), qRgb(250, 240, 0)}, 3},
        {"1-bit black and white", QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, 1},
        {"8-bit red and transparent", QImage::Format_Indexed8, {qRgba(0, 0, 0, 0), qRgb(220, 20, 30)}, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage source(8, 2, c.format);
        source.setColorTable(c.table);
        source.fill(0);
        source.setPixel(3, 1, 1);
        QByteArray png;
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && source.save(&buffer, "PNG"));
        const QImage read = QImage::fromData(png, "PNG");
        ASSERT_EQ(read.format(), c.format);
        const BitmapRep rep(read);
        EXPECT_EQ(rep.samplesPerPixel(), c.samples);
        const QImage shown = rep.toQImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown.pixel(3, 1), c.table[1]);
        EXPECT_EQ(qAlpha(shown.pixel(0, 0)), qAlpha(c.table[0]));
        if (qAlpha(c.table[0]) == 255) {
            EXPECT_EQ(shown.pixel(0, 0), c.table[0]);
        }
    }
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
