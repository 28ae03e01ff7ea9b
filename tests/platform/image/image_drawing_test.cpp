// Images drawn through a graphics context, and as the tiles of pattern colours.
#include "platform/graphics/graphics_context.h"
#include "platform/image/image.h"
#include "platform/image/image_file.h"
#include "platform/image/image_pattern.h"
#include "tests/platform/pdf/pdf_fixtures.h"

#include <gtest/gtest.h>

namespace {

// 4 x 2 pixels: red on the left column pair of the top row, blue elsewhere.
Image markedImage()
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    image.setPixelColor(0, 0, Qt::red);
    image.setPixelColor(1, 0, Qt::red);
    return Image(image);
}

} // namespace

TEST(ImageDrawing, ThroughAContextUprightUnderItsTransform)
{
    QImage canvas(16, 8, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        GraphicsContext context(canvas);
        AffineTransform scale;
        scale.scaleBy(2);
        context.concat(scale);
        markedImage().drawInRect(context, Rect(0, 0, 8, 4));
    }
    EXPECT_EQ(canvas.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(5, 1), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(1, 6), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(14, 1), QColor(Qt::blue));
}

TEST(ImageDrawing, APartWithAnOperationAndFraction)
{
    QImage canvas(4, 4, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        GraphicsContext context(canvas);
        // The bottom-right point of the image, blue, at half strength.
        markedImage().drawInRect(context, Rect(0, 0, 4, 4), Rect(3, 1, 1, 1), CompositingOperation::SourceOver, 0.5f);
    }
    EXPECT_NEAR(canvas.pixelColor(2, 2).red(), 128, 2);
    EXPECT_EQ(canvas.pixelColor(2, 2).blue(), 255);
}

TEST(ImageDrawing, PdfPagesAreRasterisedForTheTarget)
{
    const Image page = readImageData(handMadeTextPdf());
    QImage canvas(400, 400, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        GraphicsContext context(canvas);
        page.drawInRect(context, Rect(0, 0, 400, 400));
    }
    // The red square (10..60 up from the bottom) at twice the size.
    EXPECT_EQ(canvas.pixelColor(70, 330), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(300, 200), QColor(Qt::white));
}

TEST(ImageDrawing, ImagesTileAsPatternColours)
{
    auto tile = std::make_shared<ImagePatternTile>(markedImage());
    const QImage pixels = tile->tileImage();
    ASSERT_EQ(pixels.size(), QSize(4, 2));
    EXPECT_EQ(pixels.pixelColor(0, 0), QColor(Qt::red));

    QImage canvas(8, 4, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        GraphicsContext context(canvas);
        context.setFillColor(Color::colorWithPatternImage(tile));
        context.fillRect(Rect(0, 0, 8, 4));
    }
    EXPECT_EQ(canvas.pixelColor(4, 2), QColor(Qt::red)) << "the tile repeats from the origin";
    EXPECT_EQ(canvas.pixelColor(6, 3), QColor(Qt::blue));
}
