// The band PNG encoder: what Qt's reader gets back is the image, whatever the number of
// bands, the format and the level; the resolution travels; other images are refused. The
// band writer takes bands in any order from any thread and fails on a missing band or a
// refused write.
#include "platform/image/png_encoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QImage>

#include <algorithm>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

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
        {257, 300, QImage::Format_RGBA8888_Premultiplied, 3},   // the bitmaps' own formats
        {64, 640, QImage::Format_RGBA8888, 3},
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
        if (c.format == QImage::Format_ARGB32_Premultiplied || c.format == QImage::Format_RGBA8888_Premultiplied) {
            const QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    expected.setPixel(x, y, qUnpremultiply(reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y))[x]));
        }
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

namespace {

// The image's rows first .. end as an image of their own, sharing its pixels.
QImage rowsOf(const QImage &image, int first, int end)
{
    return QImage(image.constScanLine(first), image.width(), end - first, image.bytesPerLine(), image.format());
}

// A device that takes the first `room` bytes and refuses the rest.
class FullDevice : public QBuffer {
public:
    explicit FullDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (pos() + length > m_room)
            return -1;
        return QBuffer::writeData(data, length);
    }

private:
    qint64 m_room;
};

} // namespace

// Bands drawn elsewhere arrive from several threads in any order; the file holds them in
// order, each band's first row needing no row of another.
TEST(PngBandWriter, BandsFromThreadsInAnyOrderMakeTheImage)
{
    const QImage image = noiseAndShapes(203, 517, QImage::Format_ARGB32_Premultiplied);
    for (int bandRows : {1, 64, 100, 517}) {
        SCOPED_TRACE(bandRows);
        const int bands = (image.height() + bandRows - 1) / bandRows;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        PngBandWriter writer(buffer, image.size(), true, QSize(2835, 2835));
        std::vector<int> order(static_cast<size_t>(bands));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), std::mt19937(bandRows));
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                for (size_t i = size_t(t); i < order.size(); i += 4) {
                    const int band = order[i];
                    writer.addBand(band, rowsOf(image, band * bandRows, std::min(image.height(), (band + 1) * bandRows)));
                }
            });
        for (std::thread &thread : threads)
            thread.join();
        ASSERT_TRUE(writer.finish());
        QImage back;
        ASSERT_TRUE(back.loadFromData(png, "PNG"));
        EXPECT_EQ(back.dotsPerMeterX(), 2835);
        EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32_Premultiplied), image);
    }
}

TEST(PngBandWriter, AMissingOrWrongBandOrARefusedWriteFails)
{
    const QImage image = noiseAndShapes(64, 128, QImage::Format_ARGB32);
    const auto written = [&](QIODevice &device, const std::vector<QImage> &bands) {
        PngBandWriter writer(device, image.size(), true);
        for (size_t i = 0; i < bands.size(); ++i)
            writer.addBand(int(i), bands[i]);
        return writer.finish();
    };
    FullDevice roomy(1 << 20), full(200);
    FullDevice missing(1 << 20), narrow(1 << 20);
    EXPECT_TRUE(written(roomy, {rowsOf(image, 0, 64), rowsOf(image, 64, 128)}));
    EXPECT_FALSE(written(full, {rowsOf(image, 0, 64), rowsOf(image, 64, 128)}));
    EXPECT_FALSE(written(missing, {rowsOf(image, 0, 64)}));
    EXPECT_FALSE(written(narrow, {rowsOf(image, 0, 64), rowsOf(image, 64, 128).copy(0, 0, 32, 64)}));
}
