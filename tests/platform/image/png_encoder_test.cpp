// The band PNG encoder: what Qt's reader gets back is the image, whatever the number of
// bands, the format and the level; the resolution travels; other images are refused.
#include "platform/image/png_encoder.h"

#include <gtest/gtest.h>

#include <QColorSpace>
#include <QImage>

#include <random>

namespace {

QImage noiseAndShapes(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Flat areas, gradients and noise, with every kind of alpha.
            const int noise = int(random() % 256);
            const int alpha = (x / 16) % 3 == 0 ? 255 : (x / 16) % 3 == 1 ? 0 : noise;
            image.setPixel(x, y, qRgba((x * 7) % 256, y % 256, noise, alpha));
        }
    return image.convertToFormat(format);
}

} // namespace

TEST(PngEncoder, ReadsBackAsTheImageForEveryFormatBandCountAndLevel)
{
    struct Case {
        int width, height;
        QImage::Format format;
        int level;
    };
    const Case cases[] = {
        {1, 1, QImage::Format_ARGB32, 3},
        {37, 63, QImage::Format_RGB32, 1},              // one band
        {300, 1000, QImage::Format_ARGB32, 3},          // bands on every core
        {301, 517, QImage::Format_ARGB32_Premultiplied, 9},
        {2000, 130, QImage::Format_RGB32, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        QImage image = noiseAndShapes(c.width, c.height, c.format);
        image.setDotsPerMeterX(5669);   // 144 dpi
        image.setDotsPerMeterY(2835);
        ASSERT_TRUE(pngEncoderTakes(image));
        const QByteArray png = encodePng(image, c.level);
        QImage back;
        ASSERT_TRUE(back.loadFromData(png, "PNG"));
        EXPECT_EQ(back.hasAlphaChannel(), image.hasAlphaChannel());
        EXPECT_EQ(back.dotsPerMeterX(), 5669);
        EXPECT_EQ(back.dotsPerMeterY(), 2835);
        // Straight alpha on both sides: premultiplied pixels come back as qUnpremultiply
        // gives them.
        QImage expected = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (c.format == QImage::Format_ARGB32_Premultiplied)
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    expected.setPixel(x, y, qUnpremultiply(reinterpret_cast<const QRgb *>(image.constScanLine(y))[x]));
        EXPECT_EQ(back.convertToFormat(expected.format()), expected);
    }
}

TEST(PngEncoder, ImagesWithAColourSpaceOrOtherFormatsAreLeftToQt)
{
    QImage grey(10, 10, QImage::Format_Grayscale8);
    EXPECT_FALSE(pngEncoderTakes(grey));
    EXPECT_TRUE(encodePng(grey).isEmpty());
    QImage profiled(10, 10, QImage::Format_ARGB32);
    profiled.setColorSpace(QColorSpace::SRgb);
    EXPECT_FALSE(pngEncoderTakes(profiled));
    EXPECT_FALSE(pngEncoderTakes(QImage()));
}
