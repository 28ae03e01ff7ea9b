// The preview plug-in's gradients, built from stepped stripes, rays and rings.
#include "plugins/preview/gradient_rasterisers.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

using namespace previewgradients;

namespace {

const std::vector<Color> redToBlue = {Color::colorWithCalibratedRed(1, 0, 0), Color::colorWithCalibratedRed(0, 0, 1)};

} // namespace

TEST(PreviewGradients, ALinearGradientStepsOneColumnAtATime)
{
    ensureGuiApp();
    const QImage image = gradientImage(1, Size(100, 20), redToBlue, {1.0f}, 0);
    ASSERT_EQ(image.size(), QSize(100, 20));
    // Column k shows the colour after k steps of (blue - red) / 100 (the stripes sit half a
    // pixel to the right, so each pixel is half its own stripe and half the one before).
    for (int k : {1, 25, 50, 75, 99}) {
        const QColor c = image.pixelColor(k, 10);
        EXPECT_NEAR(c.blue(), 255.0 * (k - 0.5) / 100, 3) << k;
        EXPECT_NEAR(c.red(), 255.0 * (1 - (k - 0.5) / 100), 3) << k;
    }
}

TEST(PreviewGradients, TheSweepClosesTheCircleBackToTheFirstColour)
{
    ensureGuiApp();
    const QImage image = gradientImage(5, Size(100, 100), redToBlue, {1.0f}, 0);
    ASSERT_FALSE(image.isNull());
    // Angles are counter-clockwise from the right: just above and just below the centre's
    // right-hand ray lie the start and the end of the sweep, both near the first colour.
    const QColor start = image.pixelColor(95, 48), end = image.pixelColor(95, 52);
    EXPECT_GT(start.red(), 200);
    EXPECT_GT(end.red(), 200);
    EXPECT_GT(image.pixelColor(5, 50).blue(), 200);   // half way round: the second colour
}

TEST(PreviewGradients, RingsGrowFromTheCentreOnASquareAndOvalsStandOnTheBottomEdge)
{
    ensureGuiApp();
    // Unturned rings are built on the square of the larger side and not cut back.
    for (int type : {2, 3}) {
        SCOPED_TRACE(type);
        const QImage image = gradientImage(type, Size(60, 40), redToBlue, {1.0f}, 0);
        ASSERT_EQ(image.size(), QSize(60, 60));
        EXPECT_GT(image.pixelColor(30, 30).red(), 200);    // the first colour in the middle
        EXPECT_GT(image.pixelColor(1, 30).blue(), 150);    // the last at the edge
    }
    const QImage oval = gradientImage(4, Size(60, 40), redToBlue, {1.0f}, 0);
    ASSERT_EQ(oval.size(), QSize(60, 40));
    EXPECT_GT(oval.pixelColor(30, 34).red(), 150);   // the innermost oval stands on the bottom
    EXPECT_GT(oval.pixelColor(2, 2).blue(), 150);    // outside every oval: the last colour
}

TEST(PreviewGradients, ARotatedGradientIsCutBackToTheObjectsSize)
{
    ensureGuiApp();
    const QImage image = gradientImage(1, Size(80, 30), redToBlue, {1.0f}, 90);
    ASSERT_EQ(image.size(), QSize(80, 30));
    // Turned by 90 degrees the colours run vertically: the columns agree, the rows differ.
    EXPECT_NEAR(image.pixelColor(10, 15).blue(), image.pixelColor(70, 15).blue(), 3);
    EXPECT_GT(std::abs(image.pixelColor(40, 2).blue() - image.pixelColor(40, 27).blue()), 20);
}

TEST(PreviewGradients, NoImageForOtherTypesTooFewColoursOrNoSize)
{
    ensureGuiApp();
    EXPECT_TRUE(gradientImage(6, Size(50, 50), redToBlue, {1.0f}, 0).isNull());
    EXPECT_TRUE(gradientImage(0, Size(50, 50), redToBlue, {1.0f}, 0).isNull());
    EXPECT_TRUE(gradientImage(1, Size(50, 50), {Color::redColor()}, {}, 0).isNull());
    EXPECT_TRUE(gradientImage(1, Size(0.5f, 50), redToBlue, {1.0f}, 0).isNull());
    // A share too small for one degree makes an empty sweep band, not rays at NaN.
    EXPECT_FALSE(gradientImage(5, Size(50, 50),
                               {Color::redColor(), Color::greenColor(), Color::blueColor()}, {0.001f, 0.999f}, 0)
                     .isNull());
}

TEST(PreviewGradients, HugeObjectsAreBuiltWithinTheRasterBudget)
{
    ensureGuiApp();
    const QImage image = gradientImage(1, Size(20000, 10), redToBlue, {1.0f}, 45);
    EXPECT_EQ(image.size(), QSize(20000, 10));
}
