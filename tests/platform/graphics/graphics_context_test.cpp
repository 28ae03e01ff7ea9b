// Tests of the graphics context: state stack, clipping, transforms, colours, shadows, layers, output.
#include "platform/graphics/graphics_context.h"

#include "platform/graphics/cmyk_stand_ins.h"
#include "platform/graphics/pattern_tile.h"
#include "platform/graphics/recording_paint_device.h"
#include "tests/support/gui_app.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage clearImage(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

TEST(GraphicsContext, FillsAndStrokesWithTheCurrentColoursAndThePathsAttributes)
{
    RecordingPaintDevice device(QSize(100, 100));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        context.setFillColor(Color::colorWithDeviceRed(1, 0, 0));
        context.setStrokeColor(Color::colorWithCalibratedWhite(0, 0.5f));
        BezierPath path = BezierPath::bezierPathWithRect(Rect(10, 10, 20, 20));
        path.setLineWidth(4);
        const float dash[] = {8, 4};
        path.setLineDash(dash, 2, 0);
        context.fillPath(path);
        context.strokePath(path);
    }
    const auto &draws = device.draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(draws[0].isFill());
    EXPECT_FALSE(draws[0].isStroke());
    EXPECT_EQ(draws[0].brush.color(), QColor(255, 0, 0));
    EXPECT_EQ(draws[0].devicePath.boundingRect(), QRectF(10, 10, 20, 20));
    EXPECT_TRUE(draws[1].isStroke());
    EXPECT_EQ(draws[1].pen.widthF(), 4.0);
    EXPECT_EQ(draws[1].pen.dashPattern(), (QList<qreal>{2, 1}));
    EXPECT_EQ(draws[1].pen.capStyle(), Qt::FlatCap);
    EXPECT_EQ(draws[1].pen.color().alpha(), 128);
}

TEST(GraphicsContext, ColourSetAppliesToTheCurrentContextOnly)
{
    QImage image = clearImage(4, 4);
    GraphicsContext outer(image);
    QImage other = clearImage(4, 4);
    GraphicsContext inner(other);
    EXPECT_EQ(GraphicsContext::current(), nullptr);
    {
        GraphicsContext::Scope a(outer);
        Color::redColor().set();
        {
            GraphicsContext::Scope b(inner);
            EXPECT_EQ(GraphicsContext::current(), &inner);
            Color::blueColor().setFill();
        }
        EXPECT_EQ(GraphicsContext::current(), &outer);
        Color::greenColor().setStroke();
    }
    EXPECT_EQ(GraphicsContext::current(), nullptr);
    EXPECT_EQ(outer.fillColor(), Color::redColor());
    EXPECT_EQ(outer.strokeColor(), Color::greenColor());
    EXPECT_EQ(inner.fillColor(), Color::blueColor());
    EXPECT_EQ(inner.strokeColor(), Color::blackColor());
}

TEST(GraphicsContext, SaveAndRestoreCoverColoursClipTransformAndFlags)
{
    RecordingPaintDevice device(QSize(100, 100));
    GraphicsContext context(&device, GraphicsContext::Output::Window);
    context.setFillColor(Color::redColor());
    context.saveGraphicsState();
    context.setFillColor(Color::blueColor());
    context.clipRect(Rect(0, 0, 50, 50));
    AffineTransform t;
    t.translateXBy(5, 7);
    context.concat(t);
    context.setShouldAntialias(false);
    context.setShadow(Shadow{});
    context.fillRect(Rect(0, 0, 10, 10));
    context.restoreGraphicsState();
    context.restoreGraphicsState();  // unbalanced: ignored
    context.fillRect(Rect(0, 0, 10, 10));

    EXPECT_EQ(context.fillColor(), Color::redColor());
    EXPECT_TRUE(context.shouldAntialias());
    EXPECT_FALSE(context.shadow());
    EXPECT_EQ(context.currentTransform(), AffineTransform());
    const auto &draws = device.draws();
    ASSERT_GE(draws.size(), 2u);
    const RecordedDraw &inside = draws[draws.size() - 2], &after = draws.back();
    EXPECT_TRUE(inside.clipped);
    EXPECT_EQ(inside.devicePath.boundingRect(), QRectF(5, 7, 10, 10));
    EXPECT_FALSE(inside.hints.testFlag(QPainter::Antialiasing));
    EXPECT_FALSE(after.clipped);
    EXPECT_EQ(after.devicePath.boundingRect(), QRectF(0, 0, 10, 10));
    EXPECT_EQ(after.brush.color(), QColor(255, 0, 0));
    EXPECT_TRUE(after.hints.testFlag(QPainter::Antialiasing));
}

TEST(GraphicsContext, ClipsFollowTheWindingRuleAndIntersectOrReplace)
{
    BezierPath rings = BezierPath::bezierPathWithRect(Rect(0, 0, 30, 30));
    rings.appendBezierPathWithRect(Rect(10, 10, 10, 10));
    for (WindingRule rule : {NonZeroWindingRule, EvenOddWindingRule}) {
        rings.setWindingRule(rule);
        QImage image = clearImage(40, 40);
        {
            GraphicsContext context(image);
            context.addClip(rings);
            context.fillRect(Rect(0, 0, 40, 40));
        }
        EXPECT_EQ(qAlpha(image.pixel(15, 15)), rule == NonZeroWindingRule ? 255 : 0);
        EXPECT_EQ(qAlpha(image.pixel(5, 5)), 255);
        EXPECT_EQ(qAlpha(image.pixel(35, 35)), 0);
    }

    QImage image = clearImage(40, 40);
    {
        GraphicsContext context(image);
        context.addClip(BezierPath::bezierPathWithRect(Rect(0, 0, 20, 40)));
        context.addClip(BezierPath::bezierPathWithRect(Rect(10, 0, 30, 40)));
        context.fillRect(Rect(0, 0, 40, 20));  // only x 10..20 survives both clips
        context.setClip(BezierPath::bezierPathWithRect(Rect(30, 20, 10, 20)));
        context.fillRect(Rect(0, 20, 40, 20));  // the replaced clip lets x 30..40 through
    }
    EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(image.pixel(15, 5)), 255);
    EXPECT_EQ(qAlpha(image.pixel(25, 5)), 0);
    EXPECT_EQ(qAlpha(image.pixel(15, 30)), 0);
    EXPECT_EQ(qAlpha(image.pixel(35, 30)), 255);
}

TEST(GraphicsContext, ConcatAppliesBeforeTheCurrentTransform)
{
    QImage image = clearImage(40, 40);
    GraphicsContext context(image);
    AffineTransform move;
    move.translateXBy(10, 0);
    AffineTransform scale;
    scale.scaleBy(2);
    context.concat(move);
    context.concat(scale);
    const Point p = context.currentTransform().transformPoint({1, 1});
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 2);
}

TEST(GraphicsContext, ShadowIsDrawnBelowTheShapeOffsetAndBlurred)
{
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        GraphicsContext context(image);
        context.setShadow(Shadow{10, -10, 4, Color::blackColor()});
        context.setFillColor(Color::redColor());
        context.fillRect(Rect(10, 10, 20, 20));
    }
    // The shape itself is unchanged on top.
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 0, 0));
    // Offset height -10 moves the shadow down (and width 10 to the right).
    EXPECT_LT(qGray(image.pixel(35, 35)), 40);
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
    // Blurred: the shadow's edge at x = 40 fades instead of stopping.
    const int inside = qGray(image.pixel(38, 30)), edge = qGray(image.pixel(40, 30)), outside = qGray(image.pixel(42, 30));
    EXPECT_LT(inside, edge);
    EXPECT_LT(edge, outside);
    EXPECT_GT(edge, 60);
    EXPECT_LT(edge, 200);
}

TEST(GraphicsContext, ShadowIsOneImageDrawnBeforeTheShapeWhereItLands)
{
    RecordingPaintDevice device(QSize(100, 100));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Window);
        context.setShadow(Shadow{5, 5, 0, Color::blackColor()});
        context.fillRect(Rect(10, 10, 20, 20));
        context.setShadow(Shadow{5, 5, 2, Color::clearColor()});
        context.fillRect(Rect(40, 40, 10, 10));
        context.setShadow(Shadow{0, 500, 2, Color::blackColor()});
        context.fillRect(Rect(60, 60, 10, 10));  // the shadow lands off the device
    }
    const auto &draws = device.draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].kind, RecordedDraw::Kind::Image);
    EXPECT_EQ(draws[0].target, QRectF(15, 5, 20, 20));
    EXPECT_TRUE(draws[1].isFill());
    EXPECT_TRUE(draws[2].isFill());  // clear shadow colour: no shadow drawn
    EXPECT_TRUE(draws[3].isFill());
}

TEST(GraphicsContext, TransparencyLayerCastsOneShadowForItsWholeContent)
{
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        GraphicsContext context(image);
        context.setShadow(Shadow{0, -20, 0, Color::blackColor().colorWithAlphaComponent(0.5f)});
        context.beginTransparencyLayer();
        EXPECT_FALSE(context.shadow());
        context.setFillColor(Color::blueColor());
        context.fillRect(Rect(10, 0, 20, 10));
        context.fillRect(Rect(20, 0, 20, 10));  // overlaps the first
        context.endTransparencyLayer();
        EXPECT_TRUE(context.shadow());
    }
    // Where the shapes overlap the shadow is no darker than where they do not.
    EXPECT_EQ(image.pixel(25, 25), image.pixel(15, 25));
    EXPECT_NEAR(qGray(image.pixel(25, 25)), 128, 3);
    EXPECT_EQ(image.pixel(25, 5), qRgb(0, 0, 255));
}

TEST(GraphicsContext, CompositingInsideALayerActsOnTheLayerOnly)
{
    QImage image(30, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    {
        GraphicsContext context(image);
        context.beginTransparencyLayer();
        context.setFillColor(Color::blueColor());
        context.fillRect(Rect(0, 0, 20, 10));
        // Clears the layer's blue from 10 on; the red below is not touched.
        context.setFillColor(Color::blackColor());
        context.fillRectUsingOperation(Rect(10, 0, 20, 10), CompositingOperation::DestinationOut);
        context.endTransparencyLayer();
    }
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(15, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(25, 5), qRgb(255, 0, 0));
}

TEST(GraphicsContext, LayerComposesOnlyTheAreaItsDrawingCovers)
{
    RecordingPaintDevice device(QSize(1000, 1000));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        context.beginTransparencyLayer();
        context.fillRect(Rect(100, 200, 10, 20));
        context.beginTransparencyLayer();
        context.fillRect(Rect(300, 300, 5, 5));
        context.endTransparencyLayer();
        context.endTransparencyLayer();
        context.beginTransparencyLayer();  // empty: draws nothing
        context.endTransparencyLayer();
        context.endTransparencyLayer();    // unbalanced: ignored
    }
    const auto &draws = device.draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].kind, RecordedDraw::Kind::Image);
    EXPECT_EQ(draws[0].target, QRectF(100, 200, 205, 105));
}

TEST(GraphicsContext, CompositingOperationsAndImageFraction)
{
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    QImage blue(10, 10, QImage::Format_ARGB32_Premultiplied);
    blue.fill(Qt::blue);
    {
        GraphicsContext context(image);
        context.setFillColor(Color::clearColor());
        context.fillRectUsingOperation(Rect(0, 0, 5, 10), CompositingOperation::Copy);
        EXPECT_EQ(context.compositingOperation(), CompositingOperation::SourceOver);
        context.drawImage(blue, Rect(5, 0, 5, 10), Rect(), CompositingOperation::SourceOver, 0.5f);
        context.drawImage(blue, Rect(0, 5, 5, 5), Rect(), CompositingOperation::DestinationOver, 1.0f);
    }
    EXPECT_EQ(qAlpha(image.pixel(2, 2)), 0);
    const QRgb mixed = image.pixel(7, 2);
    EXPECT_NEAR(qRed(mixed), 128, 2);
    EXPECT_NEAR(qBlue(mixed), 128, 2);
    EXPECT_EQ(image.pixel(2, 7), qRgb(0, 0, 255));  // behind nothing: the image shows
    EXPECT_EQ(compositingOperationFromNumber(13), CompositingOperation::PlusLighter);
    EXPECT_EQ(compositingOperationFromNumber(99), CompositingOperation::SourceOver);
}

TEST(GraphicsContext, CmykColoursPaintAsRecordedStandIns)
{
    RecordingPaintDevice device(QSize(10, 10));
    auto table = std::make_shared<CmykStandIns>();
    {
        GraphicsContext context(&device, GraphicsContext::Output::PDF);
        context.setCMYKStandIns(table);
        context.setFillColor(Color::colorWithDeviceCyan(0, 0, 0, 1, 0.5f));
        context.fillRect(Rect(0, 0, 1, 1));
        context.setFillColor(Color::colorWithDeviceCyan(1, 1, 1, 1));
        context.fillRect(Rect(0, 0, 1, 1));
        context.setFillColor(Color::colorWithGenericCyan(0.2f, 0.4f, 0, 0));
        context.fillRect(Rect(0, 0, 1, 1));
        context.setFillColor(Color::colorWithDeviceCyan(0, 0, 0, 1));
        context.fillRect(Rect(0, 0, 1, 1));
        EXPECT_EQ(context.fillColor(), Color::colorWithDeviceCyan(0, 0, 0, 1));
    }
    const auto &draws = device.draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(table->mapping().size(), 3u);
    const QColor kOnly = draws[0].brush.color(), rich = draws[1].brush.color();
    EXPECT_EQ(kOnly.alpha(), 128);
    EXPECT_NE(kOnly.rgb(), rich.rgb());
    EXPECT_EQ(draws[3].brush.color().rgb(), kOnly.rgb());
    EXPECT_EQ(table->cmykFor(kOnly.rgb()), (CmykValue{0, 0, 0, 1}));
    EXPECT_EQ(table->cmykFor(rich.rgb()), (CmykValue{1, 1, 1, 1}));
    EXPECT_EQ(table->cmykFor(draws[2].brush.color().rgb()), (CmykValue{0.2f, 0.4f, 0, 0}));
    EXPECT_FALSE(table->cmykFor(qRgb(1, 2, 3)));
}

TEST(GraphicsContext, PatternColoursFillWithTheirTile)
{
    QImage tile(2, 2, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::green);
    tile.setPixel(0, 0, qRgb(255, 0, 0));
    QImage image = clearImage(4, 4);
    {
        GraphicsContext context(image);
        context.setFillColor(Color::colorWithPatternImage(std::make_shared<QImagePatternTile>(tile)));
        context.fillRect(Rect(0, 0, 4, 4));
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
}

TEST(GraphicsContext, OutputKindAndPdfPages)
{
    ensureGuiApp();
    QTemporaryDir dir;
    const QString file = dir.filePath("out.pdf");
    {
        QPdfWriter writer(file);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(200, 100), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        GraphicsContext context(&writer, GraphicsContext::Output::PDF);
        EXPECT_FALSE(context.isDrawingToScreen());
        context.setShadow(Shadow{3, -3, 2, Color::blackColor()});
        context.fillRect(Rect(10, 10, 50, 50));
        context.beginTransparencyLayer();
        context.fillRect(Rect(100, 10, 50, 50));
        context.endTransparencyLayer();
        EXPECT_TRUE(context.newPage());
        context.fillRect(Rect(10, 10, 50, 50));
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Count 2"));
    EXPECT_EQ(bytes.count("/MediaBox [0 0 200.000000 100.000000]"), 2);

    QImage image = clearImage(2, 2);
    EXPECT_TRUE(GraphicsContext(image).isDrawingToScreen());
    EXPECT_FALSE(GraphicsContext(image).newPage());
}

TEST(GraphicsContext, DeviceThatCannotBePaintedOnDrawsNothing)
{
    QImage null;
    GraphicsContext context(null);
    context.setShadow(Shadow{1, 1, 1, Color::blackColor()});
    context.setCompositingOperation(CompositingOperation::Copy);
    context.beginTransparencyLayer();
    context.fillRect(Rect(0, 0, 5, 5));
    context.endTransparencyLayer();
    context.strokePath(BezierPath::bezierPathWithRect(Rect(0, 0, 5, 5)));
    EXPECT_TRUE(null.isNull());
}

} // namespace
