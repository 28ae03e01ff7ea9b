// Tests of the recording paint device: what reaches it is kept with the painter's state, and
// replays the same at any resolution.
#include "platform/graphics/recording_paint_device.h"

#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace {

TEST(RecordingPaintDevice, RecordsPathsImagesTextAndTheirState)
{
    ensureGuiApp();
    RecordingPaintDevice device(QSize(300, 200));
    EXPECT_EQ(device.width(), 300);
    EXPECT_EQ(device.logicalDpiX(), 72);
    QImage image(4, 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    {
        QPainter p(&device);
        p.translate(10, 20);
        p.setClipRect(QRectF(0, 0, 50, 50));
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.setOpacity(0.5);
        p.fillRect(QRectF(1, 2, 3, 4), Qt::red);
        p.drawImage(QRectF(0, 0, 8, 4), image);
        p.setPen(Qt::blue);
        p.drawText(QPointF(5, 30), "Hello");
        p.setClipping(false);
        p.drawLine(QPointF(0, 0), QPointF(5, 5));
    }
    const auto &draws = device.draws();
    ASSERT_EQ(draws.size(), 4u);

    const RecordedDraw &fill = draws[0];
    EXPECT_TRUE(fill.isFill());
    EXPECT_EQ(fill.brush.color(), QColor(Qt::red));
    EXPECT_EQ(fill.devicePath.boundingRect(), QRectF(11, 22, 3, 4));
    EXPECT_TRUE(fill.clipped);
    EXPECT_EQ(fill.clip.boundingRect(), QRectF(10, 20, 50, 50));
    EXPECT_EQ(fill.composition, QPainter::CompositionMode_Multiply);
    EXPECT_EQ(fill.opacity, 0.5);

    const RecordedDraw &img = draws[1];
    EXPECT_EQ(img.kind, RecordedDraw::Kind::Image);
    EXPECT_EQ(img.image.size(), QSize(4, 2));
    EXPECT_EQ(img.target, QRectF(0, 0, 8, 4));
    EXPECT_EQ(img.devicePath.boundingRect(), QRectF(10, 20, 8, 4));

    const RecordedDraw &text = draws[2];
    EXPECT_EQ(text.kind, RecordedDraw::Kind::Text);
    EXPECT_EQ(text.text, "Hello");
    EXPECT_EQ(text.pen.color(), QColor(Qt::blue));

    const RecordedDraw &line = draws[3];
    EXPECT_TRUE(line.isStroke());
    EXPECT_FALSE(line.isFill());
    EXPECT_FALSE(line.clipped);

    device.clear();
    EXPECT_TRUE(device.draws().empty());
}

TEST(RecordingPaintDevice, ContextOnAnActivePainterLeavesItsStateAsItWas)
{
    RecordingPaintDevice device(QSize(100, 100));
    QPainter painter(&device);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    {
        GraphicsContext context(&painter, GraphicsContext::Output::Window);
        EXPECT_TRUE(context.isDrawingToScreen());
        context.saveGraphicsState();  // left open: the context unwinds it
        context.clipRect(Rect(0, 0, 10, 10));
        AffineTransform t;
        t.scaleBy(3);
        context.concat(t);
        context.setCompositingOperation(CompositingOperation::XOR);
        context.fillRect(Rect(1, 1, 1, 1));
    }
    EXPECT_FALSE(painter.hasClipping());
    EXPECT_EQ(painter.worldTransform(), QTransform());
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    ASSERT_EQ(device.draws().size(), 1u);
    EXPECT_EQ(device.draws()[0].composition, QPainter::CompositionMode_Xor);
    EXPECT_EQ(device.draws()[0].devicePath.boundingRect(), QRectF(3, 3, 3, 3));
}

} // namespace

TEST(RecordingPaintDevice, ReplaysPathsAndTextUnchangedAtAnyResolution)
{
    ensureGuiApp();
    RecordingPaintDevice recording(QSize(200, 100));
    {
        QPainter p(&recording);
        p.fillRect(QRectF(10, 10, 40, 20), Qt::red);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        p.setPen(Qt::black);
        p.drawText(QPointF(60, 50), QStringLiteral("Replayed"));
    }

    // Into an image at three pixels a point: the square lands three times as large.
    QImage pixels(600, 300, QImage::Format_ARGB32);
    pixels.fill(Qt::white);
    {
        QPainter p(&pixels);
        p.scale(3, 3);
        recording.replay(p);
    }
    EXPECT_EQ(pixels.pixelColor(31, 31), QColor(Qt::red));
    EXPECT_EQ(pixels.pixelColor(148, 88), QColor(Qt::red));
    EXPECT_EQ(pixels.pixelColor(152, 92), QColor(Qt::white));

    // Into a PDF at 300 dpi: the text is still text.
    QTemporaryDir dir;
    const QString file = dir.filePath("replay.pdf");
    {
        QPdfWriter writer(file);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QSizeF(200, 100), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&writer);
        p.scale(300.0 / 72, 300.0 / 72);
        recording.replay(p);
    }
    auto pdf = PdfDocument::open(file);
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(pdf->pageText(0).contains(QStringLiteral("Replayed"))) << pdf->pageText(0).toStdString();
    const QImage page = pdf->renderPage(0, 72);
    EXPECT_EQ(page.pixelColor(30, 20).red(), 255);
    EXPECT_EQ(page.pixelColor(30, 20).green(), 0);
}
