#include "toolkit/spray.h"

#include "platform/color/color.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

namespace {

// Runs `draw` with a recording context current and answers the dots' rectangles.
std::vector<QRectF> dotsOf(const std::function<void()> &draw)
{
    srandom(7);
    RecordingPaintDevice device(QSize(400, 400));
    {
        GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
        GraphicsContext::Scope scope(context);
        draw();
    }
    std::vector<QRectF> dots;
    for (const RecordedDraw &d : device.draws())
        if (d.isFill())
            dots.push_back(d.devicePath.boundingRect());
    return dots;
}

const Color red = Color::colorWithCalibratedRed(1, 0, 0, 1);

} // namespace

TEST(Spray, RandomWithin)
{
    srandom(3);
    std::set<float> seen;
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(RandomWithin(0.4f), 0.0f);
        seen.insert(RandomWithin(2.5f));
    }
    EXPECT_EQ(seen, (std::set<float>{0, 1, 2}));
}

TEST(Spray, SegmentWalkDotCounts)
{
    struct Case { float x0, y0, x1, y1; int passes; size_t dots; };
    const Case cases[] = {
        {0, 0, 5, 0, 1, 5},       // x = 0 .. 4, none at the end
        {0, 0, 5, 0, 3, 15},
        {0, 1.1f, 0, 0.9f, 1, 1}, // one step down to 0.1 reaches the end's whole part
        {0, 0, 5, 0, 0, 0},
        {0, 0, 3, 7, 1, 7},       // y leads
        {0, 0, NAN, 5, 1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        EXPECT_EQ(dotsOf([&] { spray(2, red, c.passes, 1, c.x0, c.y0, c.x1, c.y1); }).size(), c.dots);
    }
}

TEST(Spray, DotsStayNearTheWalk)
{
    // The walk draws around (x + t/2, y + t/2); kind 1 scatters up to t around that point,
    // other kinds over the square of side t from the walked point.
    const float t = 4, reach = 1.5f * t + 1;
    for (int kind : {1, 2}) {
        for (const QRectF &dot : dotsOf([&] { spray(kind, red, 2, t, 0, 0, 50, 20); })) {
            EXPECT_NEAR(dot.width(), 1.25, 1e-6);
            EXPECT_GE(dot.left(), -reach);
            EXPECT_LE(dot.left(), 50 + reach);
            EXPECT_GE(dot.top(), -reach);
            EXPECT_LE(dot.top(), 20 + reach);
        }
    }
}

TEST(Spray, SameSeedSameDots)
{
    const auto draw = [] { spray(1, red, 1, 3, 0, 0, 30, 10); };
    EXPECT_EQ(dotsOf(draw), dotsOf(draw));
}

TEST(Spray, HugeCoordinatesEnd)
{
    // A float this large does not change by one unit: the walk must still end.
    const size_t dots = dotsOf([] { spray(2, red, 1, 1, 3e7f, 0, 3e7f + 1e6f, 0); }).size();
    EXPECT_GT(dots, 0u);
    EXPECT_LE(dots, 100000u);
}

TEST(Spray, CurvePieces)
{
    // A straight curve of length 10: thick lines make one piece (nothing between points),
    // thin ones two points and so one walked piece of 10 units.
    const BezierCurve curve(0, 0, 3, 0, 7, 0, 10, 0);
    EXPECT_TRUE(dotsOf([&] { sprayCurve(2, red, 1, 10, curve); }).empty());
    EXPECT_EQ(dotsOf([&] { sprayCurve(2, red, 1, 2, curve); }).size(), 10u);
    // Length 2 with thickness 2 sprays the three control legs instead: 1 + 1 + 0 steps.
    const BezierCurve shortCurve(0, 0, 1, 0, 1, 0, 2, 0);
    EXPECT_EQ(dotsOf([&] { sprayCurve(2, red, 1, 2, shortCurve); }).size(), 2u);
    // A zero-length thick curve sprays nothing.
    EXPECT_TRUE(dotsOf([&] { sprayCurve(2, red, 1, 10, BezierCurve()); }).empty());
}
