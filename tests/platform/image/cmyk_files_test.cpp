// CMYK TIFF and JPEG files: inks kept through a round trip, readable by other readers.
#include "platform/image/cmyk_files.h"
#include "platform/image/image_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

namespace {

// 8 x 4: the top-left pixel pure cyan, the bottom-right K only, the rest magenta + yellow;
// alpha falls from left to right when present.
BitmapRep cmykPicture(bool alpha)
{
    BitmapRep rep = BitmapRep::cmykBitmap(8, 4, alpha);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            unsigned s[5] = {0, 200, 100, 0, 255u - unsigned(x) * 30};
            if (x == 0 && y == 0)
                s[0] = 255, s[1] = s[2] = 0;
            if (x == 7 && y == 3)
                s[0] = s[1] = s[2] = 0, s[3] = 255;
            rep.setPixel(s, x, y);
        }
    return rep;
}

std::vector<unsigned> samples(const BitmapRep &rep, int x, int y)
{
    std::vector<unsigned> s(size_t(rep.samplesPerPixel()));
    rep.getPixel(s.data(), x, y);
    return s;
}

QImage readWithQt(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).read();
}

} // namespace

TEST(CmykFiles, TiffKeepsEveryInkAndAlphaExactly)
{
    BitmapRep source = cmykPicture(true);
    source.setSize(Size{4, 2}); // 144 dpi
    const QByteArray tiff = encodeBitmap(source, "tiff");
    ASSERT_FALSE(tiff.isEmpty());
    const Image image = readImageData(tiff);
    const BitmapRep back = image.bitmap();
    ASSERT_TRUE(back.isCMYK());
    ASSERT_EQ(back.samplesPerPixel(), 5);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(samples(back, x, y), samples(source, x, y)) << x << "," << y;
    EXPECT_NEAR(image.size().width, 4, 0.01);

    const QImage asRgb = readWithQt(tiff);
    ASSERT_FALSE(asRgb.isNull());
    const QColor cyan = asRgb.pixelColor(0, 0);
    EXPECT_LT(cyan.red(), 30);
    EXPECT_GT(cyan.green(), 220);
    EXPECT_GT(cyan.blue(), 220);

    EXPECT_EQ(decodeCmykTiff(encodeBitmap(BitmapRep(QImage(2, 2, QImage::Format_RGB32)), "tiff")).isNull(), true)
        << "RGB TIFFs are left to Qt";
    EXPECT_TRUE(encodeCmykTiff(BitmapRep(QImage(2, 2, QImage::Format_RGB32))).isEmpty());
}

TEST(CmykFiles, JpegUsesTheAdobeConventionOtherReadersExpect)
{
    const BitmapRep source = cmykPicture(false);
    const QByteArray jpeg = encodeBitmap(source, "jpeg", 1.0f);
    ASSERT_FALSE(jpeg.isEmpty());
    const BitmapRep back = readImageData(jpeg).bitmap();
    ASSERT_TRUE(back.isCMYK());
    ASSERT_EQ(back.samplesPerPixel(), 4);
    const std::vector<unsigned> middle = samples(back, 4, 1);
    EXPECT_NEAR(int(middle[1]), 200, 12);
    EXPECT_NEAR(int(middle[2]), 100, 12);
    EXPECT_LE(middle[0] + middle[3], 20u);

    // Qt reads it as RGB through its own JPEG reader: magenta + yellow is a red-orange,
    // not the inverted colour.
    const QImage asRgb = readWithQt(jpeg);
    ASSERT_FALSE(asRgb.isNull());
    const QColor c = asRgb.pixelColor(4, 1);
    EXPECT_GT(c.red(), 200);
    EXPECT_LT(c.green(), 100);

    EXPECT_TRUE(decodeCmykJpeg(encodeBitmap(BitmapRep(QImage(2, 2, QImage::Format_RGB32)), "jpeg")).isNull());
    EXPECT_TRUE(decodeCmykJpeg("\xff\xd8 truncated").isNull());
    EXPECT_TRUE(decodeCmykTiff(QByteArray("II*\0\x08\0\0\0 truncated", 18)).isNull());
}
