// Tests of the path object's drawing on the recording device: every line pattern, arrows,
// line width 0, the stroke image cache and the area to redraw.
#include "model/vek_obj_path.h"

#include "fakes.h"

#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"

#include "tests/support/path_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

BezierPath wave()
{
    BezierPath path;
    path.moveToPoint({50, 100});
    path.curveToPoint({150, 100}, {80, 40}, {120, 160});
    path.lineToPoint({200, 140});
    return path;
}

class Recording {
public:
    explicit Recording(GraphicsContext::Output output = GraphicsContext::Output::Bitmap)
        : device(QSize(600, 800)), context(&device, output), scope(context)
    {
    }
    std::vector<RecordedDraw> of(bool (RecordedDraw::*is)() const) const
    {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw &d : device.draws())
            if ((d.*is)())
                out.push_back(d);
        return out;
    }
    std::vector<RecordedDraw> images() const
    {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw &d : device.draws())
            if (d.kind == RecordedDraw::Kind::Image)
                out.push_back(d);
        return out;
    }

    RecordingPaintDevice device;
    GraphicsContext context;
    GraphicsContext::Scope scope;
};

class PathDrawingTest : public ::testing::Test {
protected:
    std::shared_ptr<VekObjPath> adopted(const BezierPath &path, float width = 1, int pattern = 0,
                                        float intensity = 0.5f)
    {
        auto object = VekObjPath::create();
        object->setBezierPath(path);
        object->setObjLineWidth(width);
        object->setLineDrawPattern(pattern, false);
        object->setLineDrawIntensity(intensity, false);
        doc.adopt(object);
        doc.undo.closeEventGroup();
        return object;
    }

    FakeDocument doc;
};

QRectF toQRectF(const Rect &r)
{
    return {r.origin.x, r.origin.y, r.width(), r.height()};
}

// An image's painted pixels' bounding box, in the image's pixels.
QRect paintedArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

TEST_F(PathDrawingTest, EveryLinePatternDraws)
{
    struct Case {
        int pattern;
        int strokes;    // plain or parallel strokes recorded
        bool image;     // rendered into the stroke image and composed
    };
    const Case cases[] = {
        {0, 1, false}, {1, 0, true}, {2, 0, true}, {3, 5, false}, {4, 0, true}, {5, 0, true}, {9, 1, false},
    };
    for (const Case &c : cases) {
        srandom(1);
        auto object = adopted(wave(), 20, c.pattern);
        Recording rec;
        object->drawInViewIsSelected(&doc.canvas, false);
        EXPECT_EQ(int(rec.of(&RecordedDraw::isStroke).size()), c.strokes) << c.pattern;
        EXPECT_EQ(rec.images().size(), c.image ? 1u : 0u) << c.pattern;
        EXPECT_EQ(!object->pathStrokeImage().isNull(), c.image) << c.pattern;
        if (c.image) {
            // The composed stroke lies over the path, not beside it.
            const QRectF target = rec.images()[0].target;
            const QRect painted = paintedArea(rec.images()[0].image);
            const QRectF onCanvas = painted.toRectF().translated(target.topLeft());
            const QRectF path = toQRectF(object->bezierPath().bounds());
            EXPECT_LT(std::fabs(onCanvas.center().x() - path.center().x()), 6) << c.pattern;
            EXPECT_LT(std::fabs(onCanvas.center().y() - path.center().y()), 6) << c.pattern;
            EXPECT_TRUE(onCanvas.intersects(path)) << c.pattern;
        }
    }
}

TEST_F(PathDrawingTest, ParallelLinesByWidthAndIntensity)
{
    struct Case {
        float width;
        float intensity;
        int strokes;
        qreal strokeWidth;
    };
    const Case cases[] = {
        {4, 0.1f, 1, 4},       // n = 2: plain
        {4, 0.5f, 1, 4},       // n = 10, w / n < 1: plain
        {20, 0.5f, 5, 2},      // five of ten copies, each w / 10 wide
        {0, 0.5f, 1, 0},       // no 0 / 0: plain, the thinnest line
    };
    for (const Case &c : cases) {
        auto object = adopted(polyline({{100, 100}, {300, 100}}), c.width, 3, c.intensity);
        Recording rec;
        object->drawInViewIsSelected(&doc.canvas, false);
        const auto strokes = rec.of(&RecordedDraw::isStroke);
        ASSERT_EQ(int(strokes.size()), c.strokes) << c.width << "/" << c.intensity;
        EXPECT_FLOAT_EQ(float(strokes[0].pen.widthF()), float(c.strokeWidth));
        if (c.strokes == 5) {
            // Offsets -8, -4, 0, 4, 8 across the line.
            for (int i = 0; i < 5; ++i)
                EXPECT_NEAR(strokes[size_t(i)].devicePath.boundingRect().center().y(), 100 - 8 + 4 * i, 1e-3);
        }
    }
}

TEST_F(PathDrawingTest, BrushStampsTheSoftSpotAlongThePath)
{
    auto object = adopted(polyline({{100, 100}, {300, 100}}), 10, 5, 1.0f);
    Recording rec;
    object->drawInViewIsSelected(&doc.canvas, false);
    ASSERT_FALSE(object->pathStrokeImage().isNull());
    EXPECT_TRUE(rec.of(&RecordedDraw::isStroke).empty());
    // Stamps every 2 points cover the whole line with a soft edge.
    const QImage &image = object->pathStrokeImage();
    const float d = std::sqrt(50.0f);
    const int midY = int(2 * d + 0.5f);
    for (int x : {int(2 * d) + 10, int(2 * d) + 100, int(2 * d) + 190})
        EXPECT_GT(qAlpha(image.pixel(x, midY)), 100) << x;
    EXPECT_EQ(qAlpha(image.pixel(int(2 * d) + 100, 0)), 0);
}

TEST_F(PathDrawingTest, StrokeImageIsReusedUntilTheObjectChanges)
{
    for (int pattern : {1, 4, 5}) {
        auto object = adopted(wave(), 6, pattern);
        {
            Recording rec;
            object->drawInViewIsSelected(&doc.canvas, false);
        }
        const qint64 first = object->pathStrokeImage().cacheKey();
        {
            Recording rec;
            object->drawInViewIsSelected(&doc.canvas, false);
            EXPECT_EQ(rec.images().size(), 1u);
        }
        EXPECT_EQ(object->pathStrokeImage().cacheKey(), first) << pattern;
        object->setObjLineWidth(8);
        EXPECT_TRUE(object->pathStrokeImage().isNull()) << pattern;
        {
            Recording rec;
            object->drawInViewIsSelected(&doc.canvas, false);
        }
        // Resizing in a drag changes nothing else until the drag ends.
        object->startBoundsManipulation();
        object->setBounds(insetRect(object->bounds(), -10, -10));
        EXPECT_TRUE(object->pathStrokeImage().isNull()) << pattern;
        object->stopBoundsManipulation();
        Recording rec;
        object->drawInViewIsSelected(&doc.canvas, false);
        EXPECT_FALSE(object->pathStrokeImage().isNull()) << pattern;
    }
}

TEST_F(PathDrawingTest, LineWidthZeroIsThinnestOnScreenAndPointOneInPDF)
{
    auto object = adopted(polyline({{10, 10}, {100, 10}}), 0);
    {
        Recording rec;
        object->drawInViewIsSelected(&doc.canvas, false);
        ASSERT_EQ(rec.of(&RecordedDraw::isStroke).size(), 1u);
        EXPECT_TRUE(rec.of(&RecordedDraw::isStroke)[0].pen.isCosmetic());
    }
    doc.canvas.toPDF = true;
    Recording rec;
    object->drawInViewIsSelected(&doc.canvas, false);
    ASSERT_EQ(rec.of(&RecordedDraw::isStroke).size(), 1u);
    EXPECT_FLOAT_EQ(float(rec.of(&RecordedDraw::isStroke)[0].pen.widthF()), 0.1f);
}

TEST_F(PathDrawingTest, ArrowHeadsAndTheirClip)
{
    struct Case {
        int type;
        int fills;
        bool clipped;
    };
    const Case cases[] = {{1, 1, true}, {2, 0, true}, {3, 0, false}, {4, 0, false}};
    for (const Case &c : cases) {
        auto object = adopted(polyline({{100, 100}, {300, 100}}), 2);
        object->setEndArrow(c.type);
        Recording rec;
        object->drawInViewIsSelected(&doc.canvas, false);
        const auto strokes = rec.of(&RecordedDraw::isStroke);
        ASSERT_EQ(strokes.size(), 2u) << c.type;   // the head, then the line
        EXPECT_EQ(int(rec.of(&RecordedDraw::isFill).size()), c.fills) << c.type;
        // The head sits at the end of the line.
        EXPECT_NEAR(strokes[0].devicePath.boundingRect().right(), 300, 2) << c.type;
        EXPECT_EQ(strokes[1].clipped, c.clipped) << c.type;
        if (c.clipped) {
            EXPECT_FALSE(strokes[1].clip.contains(QPointF(298, 100))) << c.type;
            EXPECT_TRUE(strokes[1].clip.contains(QPointF(200, 100))) << c.type;
        }
    }
}

TEST_F(PathDrawingTest, RedrawAreaCoversArrowsAndTheStrokeImage)
{
    auto object = adopted(polyline({{100, 100}, {300, 100}}), 1);
    const Rect plain = object->boundsToRedraw();
    object->setEndArrow(1);
    const Rect withArrow = object->boundsToRedraw();
    const float grow = 5.0f / std::sin(22.5f * float(M_PI) / 180);
    EXPECT_NEAR(grow, 13.07f, 0.01f);
    EXPECT_NEAR(plain.origin.x - withArrow.origin.x, grow, 1e-3);
    EXPECT_NEAR(withArrow.height() - plain.height(), 2 * grow, 1e-3);

    auto blurred = adopted(wave(), 12, 4, 1.0f);
    Recording rec;
    blurred->drawInViewIsSelected(&doc.canvas, false);
    ASSERT_EQ(rec.images().size(), 1u);
    const QRectF drawn = rec.images()[0].target;
    const Rect area = blurred->boundsToRedraw();
    EXPECT_TRUE(toQRectF(area).contains(drawn));
}

TEST_F(PathDrawingTest, RepeatedPageCopyAndTransformsDrawTheMovedPath)
{
    auto object = adopted(polyline({{100, 100}, {300, 100}}), 2);
    {
        Recording rec;
        object->drawInViewInRect(&doc.canvas, Rect(100, 900, 200, 0));
        ASSERT_EQ(rec.of(&RecordedDraw::isStroke).size(), 1u);
        EXPECT_NEAR(rec.of(&RecordedDraw::isStroke)[0].devicePath.boundingRect().center().y(), 900, 1e-3);
    }
    object->setRotation(90, {200, 100}, true);
    Recording rec;
    object->drawInViewIsSelected(&doc.canvas, false);
    const QRectF drawn = rec.of(&RecordedDraw::isStroke)[0].devicePath.boundingRect();
    EXPECT_NEAR(drawn.height(), 200, 1e-2);
    EXPECT_NEAR(drawn.center().x(), 200, 1e-2);
}
