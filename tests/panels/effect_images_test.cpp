// The light effect images, the grey mapping and the frames beside the image filter panel.
#include "panels/filters/effect_images.h"
#include "platform/filters/image_filter.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

TEST(EffectImages, EachGeneratorLightsItsCentreAndFadesToClear)
{
    ensureGuiApp();
    const Color orange = Color::colorWithCalibratedRed(1, 0.5f, 0);
    const struct {
        int effect;
        float v1, v2, v3, v4;
    } cases[] = {{0, 50, 15, 0.6f, 2.5f}, {1, 40, 2.5f, 0.5f, 1.4f}, {2, 70, 87, 0.77f, 0.5f}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.effect);
        const QImage image = generateCIFilterImage(c.effect, Size(300, 300), orange, c.v1, c.v2, c.v3, c.v4);
        ASSERT_FALSE(image.isNull());
        // Trimmed to what shows, so smaller than the square, and lit in its middle or on its ring.
        EXPECT_LE(image.width(), 300);
        const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
        const QColor ring = image.pixelColor(image.width() / 2 + int(c.v1), image.height() / 2);
        EXPECT_GT(std::max(middle.alpha(), ring.alpha()), 100);
        EXPECT_EQ(image.pixelColor(0, 0).alpha() < 128, true);
    }
    EXPECT_TRUE(generateCIFilterImage(3, Size(100, 100), orange, 1, 1, 1, 1).isNull());
}

TEST(EffectImages, GreyMappingKeepsBlackAndWhiteAndLiftsDarkGreys)
{
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(51, 51, 51));   // luminance 0.2
    image.setPixel(2, 0, qRgb(255, 255, 255));
    const QImage grey = getGrayscaleImageOf(image);
    EXPECT_EQ(grey.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_NEAR(qRed(grey.pixel(1, 0)), 128, 1);
    EXPECT_EQ(grey.pixel(2, 0), qRgb(255, 255, 255));
}

TEST(EffectImages, FramesAreClearInsideAndOpaqueTowardsTheEdges)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(10, 120, 200));
    for (int shape : {0, 1, 2}) {
        SCOPED_TRACE(shape);
        const QImage frame = makeFrameFor(picture, shape, 0.2f);
        ASSERT_EQ(frame.size(), picture.size());
        EXPECT_EQ(qAlpha(frame.pixel(20, 15)), 0);          // the middle shows what lies below
        const QRgb edge = frame.pixel(0, 15);
        EXPECT_GT(qAlpha(edge), 150);                        // the edge is nearly opaque
        EXPECT_TRUE(edge == qRgb(255, 255, 255) || qBlue(edge) == 200);   // white or the picture's own colour
    }
    // Transparency of single pixels: inside the inner area fully clear, falling across the
    // band to its outer edge.
    EXPECT_EQ(transpAtX(20, 15, 0, Size(32, 22), 8, 0), 255);
    EXPECT_GT(transpAtX(5, 15, 0, Size(32, 22), 8, 0), transpAtX(2, 15, 0, Size(32, 22), 8, 0));
    EXPECT_LT(transpAtX(0, 15, 0, Size(32, 22), 8, 0), 64);
    EXPECT_TRUE(makeFrameFor(QImage(), 0, 0.2f).isNull());
}
