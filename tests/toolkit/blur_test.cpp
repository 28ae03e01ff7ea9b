// Tests of the blurred image and the soft round spot.
#include "toolkit/blur.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

qint64 alphaSum(const QImage &image)
{
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qAlpha(image.pixel(x, y));
    return sum;
}

TEST(Blur, RadiusClampsFactorAndRadius)
{
    EXPECT_FLOAT_EQ(gaussianblurRadius(40, 5), 10);     // factor 5 counts as 1
    EXPECT_FLOAT_EQ(gaussianblurRadius(40, 0.01f), 1);  // factor below 0.1 counts as 0.1
    EXPECT_FLOAT_EQ(gaussianblurRadius(0, 1), 0.1f);
    EXPECT_FLOAT_EQ(gaussianblurRadius(4000, 1), 100);
    EXPECT_FLOAT_EQ(gaussianblurRadius(NAN, 1), 0.1f);
    EXPECT_EQ(gaussianblurMargin(40, 1), 30);
}

TEST(Blur, ResultGrowsByTheMarginAndKeepsTheEnergy)
{
    QImage square(20, 10, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::black);
    const QImage blurred = gaussianblur(square, 16, 1);  // radius 4, margin 12
    ASSERT_EQ(blurred.size(), QSize(44, 34));
    EXPECT_NEAR(double(alphaSum(blurred)), 200.0 * 255, 200.0 * 255 * 0.01);
    // Symmetric about the source's centre, which sits at the margin.
    EXPECT_EQ(qAlpha(blurred.pixel(12, 17)), qAlpha(blurred.pixel(31, 17)));
    EXPECT_EQ(qAlpha(blurred.pixel(22, 12)), qAlpha(blurred.pixel(22, 21)));
    EXPECT_EQ(qAlpha(blurred.pixel(0, 0)), 0);
    // A blur of radius r is a Gaussian of standard deviation r: the source covers x 12..32
    // and y 12..22 of the result, and a pixel takes the share of the Gaussian over it.
    auto share = [](double from, double to, double at) {
        const double s = 4 * std::sqrt(2.0);
        return 0.5 * (std::erf((to - at) / s) - std::erf((from - at) / s));
    };
    for (auto [x, y] : {std::pair{11, 17}, {12, 17}, {22, 17}, {22, 24}, {34, 20}}) {
        const double expected = share(12, 32, x + 0.5) * share(12, 22, y + 0.5);
        EXPECT_NEAR(qAlpha(blurred.pixel(x, y)) / 255.0, expected, 0.03) << x << "," << y;
    }
}

TEST(Blur, RefusesNullAndOversizedResults)
{
    EXPECT_TRUE(gaussianblur(QImage(), 10, 1).isNull());
    QImage wide(99999, 1, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::transparent);
    EXPECT_TRUE(gaussianblur(wide, 10, 1).isNull());  // 99999 + 2 x 8 > 100000
}

TEST(Blur, CircleIsASoftSpotOfTheGradientRadius)
{
    EXPECT_FLOAT_EQ(blurCircleRadius(2000), 800);
    EXPECT_FLOAT_EQ(blurCircleRadius(20), 15);
    const QImage spot = blurCircle(QImage(), Color::colorWithDeviceRed(1, 0, 0, 0.5f), 20);
    ASSERT_EQ(spot.size(), QSize(30, 30));
    // Half-alpha red at the centre, falling off outwards to nothing at the radius.
    const QRgb centre = qUnpremultiply(spot.pixel(15, 15));
    EXPECT_NEAR(qAlpha(centre), 127, 2);
    EXPECT_EQ(qRed(centre), 255);
    int previous = 256;
    for (int x = 15; x < 30; ++x) {
        const int a = qAlpha(spot.pixel(x, 15));
        EXPECT_LE(a, previous);
        previous = a;
    }
    EXPECT_EQ(qAlpha(spot.pixel(29, 15)), 0);
    EXPECT_EQ(qAlpha(spot.pixel(0, 0)), 0);
    // Symmetric about its centre.
    EXPECT_EQ(spot.pixel(10, 12), spot.pixel(19, 17));

    const QImage big = blurCircle(QImage(), Color::blackColor(), 2000);
    EXPECT_EQ(big.size(), QSize(1600, 1600));
    EXPECT_EQ(qAlpha(big.pixel(800, 800)), 255);

    // No RGB value: opaque black.
    EXPECT_EQ(blurCircle(QImage(), Color::colorWithPatternImage(nullptr), 10).pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_TRUE(blurCircle(QImage(), Color::blackColor(), 0).isNull());
    EXPECT_TRUE(blurCircle(QImage(), Color::blackColor(), -4).isNull());
}

TEST(Blur, ImagesGoThroughTheSameFunctions)
{
    QImage square(6, 4, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::black);
    const Image blurred = gaussianblur(Image(square), 8, 1);  // radius 2, margin 6
    ASSERT_TRUE(blurred.isValid());
    EXPECT_EQ(blurred.size(), (Size{18, 16}));
    EXPECT_FALSE(gaussianblur(Image(), 8, 1).isValid());
    EXPECT_EQ(blurCircle(Image(), Color::redColor(), 10).size(), (Size{15, 15}));
    EXPECT_FALSE(blurCircle(Image(), Color::redColor(), 0).isValid());
}

} // namespace
