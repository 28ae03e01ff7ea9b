// Image: representations, the best one, bitmaps of PDF pages, upright drawing.
#include "platform/image/image.h"

#include "platform/image/image_file.h"
#include "tests/platform/pdf/pdf_fixtures.h"

#include <gtest/gtest.h>

namespace {

// 3 x 2 pixels, red in the top-left corner, blue elsewhere: any mirroring moves the red.
QImage markedImage()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.setPixelColor(0, 0, Qt::red);
    return image;
}

} // namespace

TEST(Image, TakesTheSizeOfItsFirstBitmapAndPicksTheLargestRepresentation)
{
    Image image(QImage(16, 16, QImage::Format_RGB32));
    EXPECT_TRUE(image.isValid());
    EXPECT_EQ(image.size(), (Size{16, 16}));
    image.addRepresentation(ImageRep(BitmapRep(QImage(64, 32, QImage::Format_RGB32))));
    image.addRepresentation(ImageRep(BitmapRep(QImage(32, 64, QImage::Format_RGB32))));
    ASSERT_TRUE(image.bestRepresentation());
    EXPECT_EQ(image.bestRepresentation()->pixelsWide(), 64) << "the first of equal pixel counts wins";
    EXPECT_EQ(image.bitmap().pixelsWide(), 16) << "bitmap() is the first bitmap";
    image.removeRepresentationAt(0);
    EXPECT_EQ(image.bitmap().pixelsWide(), 64);

    EXPECT_FALSE(Image().isValid());
    EXPECT_EQ(Image().bestRepresentation(), nullptr);
    EXPECT_TRUE(Image().bitmap().isNull());
}

TEST(Image, APdfPageIsRasterisedAtTheImageSizeForItsBitmap)
{
    const Image image = readImageData(handMadeTextPdf());
    ASSERT_TRUE(image.isValid());
    EXPECT_EQ(image.size(), (Size{200, 200}));
    ASSERT_TRUE(image.bestRepresentation()->pdfDocument());
    const BitmapRep bitmap = image.bitmap();
    ASSERT_EQ(bitmap.pixelsWide(), 200);
    // The red square is at the bottom left of the page (PDF y up).
    EXPECT_EQ(bitmap.toQImage().pixelColor(35, 165).red(), 255);
    EXPECT_EQ(bitmap.toQImage().pixelColor(150, 100).alpha(), 0);
}

TEST(Image, DrawsUprightAndScaledIntoTheTarget)
{
    const Image image(markedImage());
    QImage canvas(6, 4, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    image.drawInRect(painter, QRectF(0, 0, 6, 4));
    painter.end();
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::red)) << "the top row stays at the top";
    EXPECT_EQ(canvas.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(5, 3), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(0, 3), QColor(Qt::blue));
}

TEST(Image, DrawsAPartWithAFractionAndAnOperation)
{
    const Image image(markedImage());
    QImage canvas(2, 2, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    // The top-left pixel alone fills the whole target.
    image.drawInRect(painter, QRectF(0, 0, 2, 2), QRectF(0, 0, 1, 1));
    painter.end();
    EXPECT_EQ(canvas.pixelColor(1, 1), QColor(Qt::red));

    canvas.fill(Qt::white);
    painter.begin(&canvas);
    image.drawInRect(painter, QRectF(0, 0, 2, 2), QRectF(2, 1, 1, 1), QPainter::CompositionMode_SourceOver, 0.5f);
    painter.end();
    const QColor half = canvas.pixelColor(0, 0);
    EXPECT_NEAR(half.red(), 128, 2);
    EXPECT_NEAR(half.blue(), 255, 2);

    canvas.fill(Qt::white);
    painter.begin(&canvas);
    image.drawInRect(painter, QRectF(0, 0, 2, 2), {}, QPainter::CompositionMode_Clear);
    painter.end();
    EXPECT_EQ(canvas.pixelColor(0, 0).alpha(), 0);
}

TEST(Image, ImageByDrawingWorksYDownFromTheTopLeft)
{
    const Image image = Image::imageByDrawing(Size{4.5f, 3}, [](QPainter &p) { p.fillRect(QRectF(0, 0, 1, 1), Qt::green); });
    EXPECT_EQ(image.size(), (Size{4.5f, 3}));
    const QImage pixels = image.bitmap().toQImage();
    ASSERT_EQ(pixels.size(), QSize(5, 3));
    EXPECT_EQ(pixels.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(pixels.pixelColor(0, 2).alpha(), 0);
}
