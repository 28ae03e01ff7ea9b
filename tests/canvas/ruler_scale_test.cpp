// The rulers' scale: subdivisions and labels by unit and zoom, the base, and ticks that
// follow the canvas's origin.
#include "canvas/ruler_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// The ticks of the first major step [0, base) as {position: length}, and the labels of the
// labelled ticks over `steps` steps.
std::map<double, int> firstStep(int unit, double z)
{
    std::map<double, int> out;
    const double base = rulerBase(z, unit);
    for (const RulerTick &t : rulerTicks(unit, z, base, 0, 0, base))
        out[t.position] = t.length;
    return out;
}

std::vector<int> labels(int unit, double z, int steps)
{
    std::vector<int> out;
    const double base = rulerBase(z, unit);
    for (const RulerTick &t : rulerTicks(unit, z, base, 0, 0, base * steps))
        if (t.labelled)
            out.push_back(t.label);
    return out;
}

std::vector<int> lengths(const std::map<double, int> &ticks)
{
    std::vector<int> out;
    for (const auto &[position, length] : ticks)
        out.push_back(length);
    return out;
}

} // namespace

TEST(RulerScale, SubdivisionsAndLabelsFollowUnitAndZoom)
{
    struct Case {
        int unit;
        double z;
        std::vector<int> firstStepLengths;   // the major tick first
        std::vector<int> labels;             // over eight major steps
    };
    const Case cases[] = {
        // Inches at 0.6: quarters and the half, labels on even inches only.
        {1, 0.6, {10, 3, 5, 3}, {0, 2, 4, 6}},
        // At 0.8 the eighths appear and every inch is labelled.
        {1, 0.8, {10, 2, 3, 2, 5, 2, 3, 2}, {0, 1, 2, 3, 4, 5, 6, 7}},
        // Below 0.5 every fourth inch.
        {1, 0.4, {10, 5}, {0, 4}},
        // Centimetres at 0.3: a labelled tick every 10 cm, a half tick at each odd centimetre.
        {0, 0.3, {10, 5}, {0, 10}},
        {0, 0.6, {10, 3, 5, 3}, {0, 10}},
        {0, 1.0, {10, 3, 5, 3}, {0, 2, 4, 6, 8, 10, 12, 14}},
        // Picas at 100 %: 2 at the half picas, 3 at the odd picas, 5 at the even ones.
        {3, 1.0, {10, 2, 3, 2, 5, 2, 3, 2, 5, 2, 3, 2, 5, 2, 3, 2, 5, 2, 3, 2}, {0, 10, 20, 30, 40, 50, 60, 70}},
        {3, 0.3, {10}, {0}},
        {2, 0.5, {10, 5, 5, 5, 5, 5, 5, 5, 5, 5}, {0, 100, 200, 300, 400, 500, 600, 700}},
        {2, 0.2, {10}, {0}},
        // A unit number outside the table draws like pixels, labelled only from 100 % on.
        {7, 0.5, {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, {}},
    };
    for (const Case &c : cases) {
        const std::string what = "unit " + std::to_string(c.unit) + " at " + std::to_string(c.z);
        EXPECT_EQ(lengths(firstStep(c.unit, c.z)), c.firstStepLengths) << what;
        EXPECT_EQ(labels(c.unit, c.z, 8), c.labels) << what;
    }
}

TEST(RulerScale, PicaAndPixelTicksSitOnTheFlooredSummedFractions)
{
    // The fractions are summed 0.05 (0.1) at a time; the drift puts some marks one pixel
    // before the exact multiple (47 instead of 48, 89 instead of 90).
    const std::vector<double> picas{0.5, 6.5, 12.5, 18.5, 24.5, 30.5, 36.5, 42.5, 47.5, 53.5,
                                    59.5, 65.5, 72.5, 78.5, 84.5, 90.5, 96.5, 102.5, 108.5, 114.5};
    const std::vector<double> pixels{0.5, 10.5, 20.5, 30.5, 40.5, 50.5, 60.5, 70.5, 80.5, 89.5};
    for (const auto &[unit, expected] : {std::pair{3, picas}, std::pair{2, pixels}}) {
        std::vector<double> positions;
        for (const auto &[position, length] : firstStep(unit, 1.0))
            positions.push_back(position);
        EXPECT_EQ(positions, expected) << unit;
    }
}

TEST(RulerScale, TheBaseFollowsZoomUnitAndTheRealWorldFactors)
{
    EXPECT_EQ(rulerBase(1.0, 1), 72);
    EXPECT_DOUBLE_EQ(rulerBase(1.0, 0), 56.7);
    EXPECT_EQ(rulerBase(2.5, 3), 300);
    EXPECT_EQ(rulerBase(0.001, 2), 1.0);   // never below one pixel

    // A 144 dpi document at 100 %: the canvas's zoom factor is 0.5. On the real-world base of
    // a 96 dpi screen an inch of paper is 96 pixels; without it, 72 canvas points.
    const double canvasZoom = 100 * 0.01 * 72 / 144.0;
    EXPECT_DOUBLE_EQ(rulerBase(rulerZoomFactor(canvasZoom, true, 96, 144), 1), 96);
    EXPECT_DOUBLE_EQ(rulerBase(rulerZoomFactor(canvasZoom, false, 96, 144), 1), 36);
    EXPECT_DOUBLE_EQ(rulerZoomFactor(1.0, true, 96, 72), 96 / 72.0);
}

TEST(RulerScale, TicksFollowTheCanvasOriginAndCoverOnlyTheAskedSpan)
{
    // Scrolled by 3.5 inches at 100 %: the canvas's zero lies at -252.
    const std::vector<RulerTick> ticks = rulerTicks(1, 1.0, 72, -252, 0, 300);
    std::vector<std::pair<double, int>> labelled;
    for (const RulerTick &t : ticks) {
        EXPECT_GE(t.position, 0);
        EXPECT_LT(t.position, 300);
        if (t.labelled)
            labelled.push_back({t.position, t.label});
    }
    const std::vector<std::pair<double, int>> expected{{36.5, 4}, {108.5, 5}, {180.5, 6}, {252.5, 7}};
    EXPECT_EQ(labelled, expected);
    // The half inch before the first label is subdivided as any other.
    EXPECT_EQ(ticks.front().position, 0.5);   // 3.5 in

    // A partial repaint draws the same ticks in its span.
    const std::vector<RulerTick> part = rulerTicks(1, 1.0, 72, -252, 100, 200);
    for (const RulerTick &t : part)
        EXPECT_NE(std::find(ticks.begin(), ticks.end(), t), ticks.end()) << t.position;

    // Left of the canvas the labels count down.
    const std::vector<RulerTick> before = rulerTicks(0, 1.0, 56.7, 100, 0, 100);
    EXPECT_TRUE(std::any_of(before.begin(), before.end(), [](const RulerTick &t) { return t.labelled && t.label == -2; }));
}

TEST(RulerScale, NothingIsDrawnWithoutAUsableBase)
{
    EXPECT_TRUE(rulerTicks(1, 0, 72, 0, 0, 100).empty());
    EXPECT_TRUE(rulerTicks(1, 1, 0.5, 0, 0, 100).empty());
    EXPECT_TRUE(rulerTicks(1, 1, NAN, 0, 0, 100).empty());
    EXPECT_TRUE(rulerTicks(1, 1, INFINITY, 0, 0, 100).empty());
}

TEST(RulerScale, TheRulerLineSitsOnAPixelCentre)
{
    EXPECT_EQ(rulerLineLocation(10.7), 10.5);
    EXPECT_EQ(rulerLineLocation(10.0), 10.5);
}
