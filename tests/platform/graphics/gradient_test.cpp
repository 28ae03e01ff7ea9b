// Tests of gradients: stops and mixing, and each way of drawing checked at sample pixels.
#include "platform/graphics/gradient.h"

#include "platform/graphics/graphics_context.h"

#include <gtest/gtest.h>

namespace {

Gradient blackToWhite(GradientColorSpace space = GradientColorSpace::RGB)
{
    return *Gradient::create({Color::blackColor(), Color::whiteColor()}, {0, 1}, space);
}

// Draws with `draw` into a transparent image made current and returns it.
template <typename F>
QImage drawn(int w, int h, F draw)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    GraphicsContext context(image);
    GraphicsContext::Scope scope(context);
    draw();
    return image;
}

TEST(Gradient, RejectsUnusableStopsAndSortsTheRest)
{
    EXPECT_FALSE(Gradient::create({Color::redColor()}, {0}, GradientColorSpace::RGB));
    EXPECT_FALSE(Gradient::create({Color::redColor(), Color::blueColor()}, {0}, GradientColorSpace::RGB));
    EXPECT_FALSE(Gradient::create({Color::redColor(), Color::colorWithPatternImage(nullptr)}, {0, 1}, GradientColorSpace::RGB));
    const auto g = Gradient::create({Color::blueColor(), Color::redColor()}, {1, 0}, GradientColorSpace::RGB);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->locationAtStop(0), 0);
    EXPECT_EQ(g->colorAtStop(0).redComponent(), 1);
}

TEST(Gradient, MixesInItsOwnSpace)
{
    const auto rgb = Gradient::create({Color::colorWithDeviceWhite(0), Color::colorWithDeviceRed(1, 0, 0, 0)}, {0, 1},
                                      GradientColorSpace::RGB);
    const Color mid = rgb->interpolatedColorAtLocation(0.25f);
    EXPECT_EQ(mid.colorSpaceName(), CalibratedRGBColorSpace);
    EXPECT_FLOAT_EQ(mid.redComponent(), 0.25f);
    EXPECT_FLOAT_EQ(mid.alphaComponent(), 0.75f);
    EXPECT_EQ(rgb->interpolatedColorAtLocation(-3), rgb->colorAtStop(0));
    EXPECT_EQ(rgb->interpolatedColorAtLocation(7), rgb->colorAtStop(1));

    const auto cmyk = Gradient::create({Color::colorWithDeviceCyan(1, 0, 0, 0), Color::colorWithDeviceCyan(0, 1, 0, 0.5f)},
                                       {0, 1}, GradientColorSpace::CMYK);
    const Color c = cmyk->interpolatedColorAtLocation(0.5f);
    EXPECT_EQ(c.colorSpace(), ColorSpace::genericCMYKColorSpace());
    EXPECT_FLOAT_EQ(c.cyanComponent(), 0.5f);
    EXPECT_FLOAT_EQ(c.magentaComponent(), 0.5f);
    EXPECT_FLOAT_EQ(c.blackComponent(), 0.25f);
}

TEST(Gradient, LinearInRectRunsAlongTheAngle)
{
    const Gradient g = blackToWhite();
    const QImage across = drawn(100, 20, [&] { g.drawInRect(Rect(0, 0, 100, 20), 0); });
    EXPECT_LT(qGray(across.pixel(1, 10)), 10);
    EXPECT_NEAR(qGray(across.pixel(50, 10)), 128, 4);
    EXPECT_GT(qGray(across.pixel(98, 10)), 245);
    // 90 degrees runs down the y axis; only the rectangle is painted.
    const QImage down = drawn(20, 100, [&] { g.drawInRect(Rect(0, 0, 10, 100), 90); });
    EXPECT_LT(qGray(down.pixel(5, 1)), 10);
    EXPECT_GT(qGray(down.pixel(5, 98)), 245);
    EXPECT_EQ(qAlpha(down.pixel(15, 50)), 0);
}

TEST(Gradient, LinearBetweenPointsPaintsBeyondItsEndsOnlyWhenAsked)
{
    const Gradient g = blackToWhite();
    const QImage bare = drawn(100, 10, [&] { g.drawFromPoint({20, 0}, {80, 0}, 0); });
    EXPECT_EQ(qAlpha(bare.pixel(10, 5)), 0);
    EXPECT_EQ(qAlpha(bare.pixel(90, 5)), 0);
    EXPECT_NEAR(qGray(bare.pixel(50, 5)), 128, 4);
    const QImage padded = drawn(100, 10, [&] {
        g.drawFromPoint({20, 0}, {80, 0}, GradientDrawsBeforeStartingLocation | GradientDrawsAfterEndingLocation);
    });
    EXPECT_EQ(padded.pixel(10, 5), qRgb(0, 0, 0));
    EXPECT_EQ(padded.pixel(90, 5), qRgb(255, 255, 255));
}

TEST(Gradient, RadialRunsFromTheStartCircleToTheEndCircle)
{
    const Gradient g = blackToWhite();
    const QImage bare = drawn(100, 100, [&] { g.drawFromCenter({50, 50}, 0, {50, 50}, 40, 0); });
    EXPECT_LT(qGray(bare.pixel(50, 50)), 10);
    EXPECT_NEAR(qGray(bare.pixel(70, 50)), 128, 8);
    EXPECT_EQ(qAlpha(bare.pixel(2, 2)), 0);
    const QImage padded = drawn(100, 100, [&] { g.drawFromCenter({50, 50}, 10, {50, 50}, 40, GradientDrawsAfterEndingLocation); });
    EXPECT_EQ(padded.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(padded.pixel(50, 50)), 0);  // inside the start circle, not drawn before the start
}

TEST(Gradient, SquaresAndSweepArePerPixel)
{
    const Gradient g = blackToWhite();
    const QImage squares = g.renderSquares(QSize(41, 41), {20.5f, 20.5f}, 20, 0);
    EXPECT_LT(qGray(squares.pixel(20, 20)), 10);
    // Same location on the square's edge and at its corner: a square, not a circle.
    EXPECT_EQ(squares.pixel(30, 20), squares.pixel(30, 30));
    EXPECT_NEAR(qGray(squares.pixel(30, 20)), 128, 8);
    const QImage turned = g.renderSquares(QSize(41, 41), {20.5f, 20.5f}, 20, 45);
    EXPECT_GT(qGray(turned.pixel(30, 30)), qGray(turned.pixel(30, 20)));

    const QImage sweep = g.renderSweep(QSize(40, 40), {20, 20}, 0);
    EXPECT_LT(qGray(sweep.pixel(38, 20)), 10);                 // angle 0
    EXPECT_NEAR(qGray(sweep.pixel(20, 38)), 64, 6);             // a quarter turn towards +y
    EXPECT_NEAR(qGray(sweep.pixel(1, 20)), 128, 6);
    EXPECT_TRUE(g.renderSweep(QSize(0, 5), {0, 0}, 0).isNull());
}

TEST(Gradient, CmykGradientFollowsCmykMixingOnScreen)
{
    // From C 1 K 0.5 (RGB 0, 0.5, 0.5) to no ink (white): halfway is C 0.5 K 0.25, whose red
    // is 1 - min(1, 0.5 + 0.25) = 0.25; mixing the RGB ends would give 0.5.
    const auto g = Gradient::create({Color::colorWithDeviceCyan(1, 0, 0, 0.5f), Color::colorWithDeviceCyan(0, 0, 0, 0)},
                                    {0, 1}, GradientColorSpace::CMYK);
    const QImage image = drawn(101, 4, [&] { g->drawInRect(Rect(0, 0, 101, 4), 0); });
    EXPECT_NEAR(qRed(image.pixel(50, 2)), 64, 4);
    EXPECT_NEAR(qGreen(image.pixel(50, 2)), 191, 4);
}

} // namespace
