// Page rectangles, zoom steps, the canvas's size at a zoom and the grid spacing.
#include "canvas/page_geometry.h"
#include "canvas/zoom_commands.h"

#include "tests/canvas/command_fixture.h"

TEST(PageGeometry, PagesLieOneBelowTheOther)
{
    CommandFixture f(3);
    EXPECT_EQ(pageRect(f.doc, 1), Rect(0, 0, 200, 100));
    EXPECT_EQ(pageRect(f.doc, 3), Rect(0, 200, 200, 100));
    EXPECT_EQ(pageHoldingY(f.doc, 99.9f), 1);
    EXPECT_EQ(pageHoldingY(f.doc, 100), 2);
    EXPECT_EQ(pageHoldingY(f.doc, -5), 1);
    EXPECT_EQ(pageHoldingY(f.doc, 5000), 3);
}

TEST(PageGeometry, ZoomSteps)
{
    const struct {
        int from, in, out;
    } cases[] = {
        {10, 35, 10},   {11, 36, 10},   {30, 55, 10},   {74, 99, 49},    {75, 100, 50},
        {100, 150, 75}, {120, 150, 100}, {150, 200, 100}, {175, 200, 150}, {200, 300, 150},
        {250, 350, 200}, {301, 401, 201}, {850, 900, 750}, {900, 900, 800},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(zoomInStep(c.from), c.in) << c.from;
        EXPECT_EQ(zoomOutStep(c.from), c.out) << c.from;
    }
    EXPECT_EQ(clampedZoom(5), 10);
    EXPECT_EQ(clampedZoom(2000), 900);
}

TEST(PageGeometry, FrameFollowsZoomResolutionAndPages)
{
    CommandFixture f(3);
    EXPECT_EQ(canvasFrameSize(f.doc, 100), Size(200, 300));
    EXPECT_EQ(canvasFrameSize(f.doc, 50), Size(100, 150));
    f.doc.setResolution(144);
    EXPECT_EQ(canvasFrameSize(f.doc, 100), Size(100, 150));
    EXPECT_DOUBLE_EQ(zoomScale(200, 144, 1.5), 1.5);
}

TEST(PageGeometry, GridSpacingPerUnitAndScale)
{
    const struct {
        int unit;
        float scale, points;
    } cases[] = {
        {0, 1, 0.5f * 28.35f}, {1, 1, 18}, {3, 1, 24}, {2, 1, 20},
        {0, 2, 28.35f},        {1, 0, 18}, {1, -3, 18},
        // Pixels follow the grid scale like every other unit.
        {2, 2, 40},            {4, 0.5f, 10},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(gridSpacingForUnit(c.unit, c.scale), c.points, 1e-3) << c.unit << " x " << c.scale;
}

TEST(ZoomCommands, StepsAndTypedValuesReachTheCanvas)
{
    CommandFixture f;
    auto context = f.context();
    zoomIn(context);
    EXPECT_EQ(f.host.zoom, 150);
    EXPECT_EQ(context.zoom, 150);
    zoomTo(context, 5000);
    EXPECT_EQ(f.host.zoom, 900);
    f.host.zoom = 0;
    zoomIn(context);
    zoomTo(context, 900);
    EXPECT_EQ(f.host.zoom, 0) << "nothing changes at the limit";
    zoomTo(context, 3);
    zoomOut(context);
    EXPECT_EQ(f.host.zoom, 10);
}
