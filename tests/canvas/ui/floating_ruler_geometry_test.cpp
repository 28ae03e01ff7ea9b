// The floating rulers' frames, resize rule and ticks.
#include "canvas/ui/floating_ruler_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const QList<QRect> OneScreen{QRect(0, 0, 1280, 1024)};

PropertyList prefsWith(const char *key, const char *frame)
{
    PropertyList prefs = PropertyList::dictionary();
    prefs.insert(QString::fromLatin1(key), frame);
    return prefs;
}

} // namespace

TEST(FloatingRulerGeometry, StoredFramesAreCorrectedToTheAllowedSizes)
{
    struct Case {
        PropertyList prefs;
        bool horizontal;
        QList<QRect> screens;
        QRect expected;
    };
    const Case cases[] = {
        // The horizontal one opens in the lower part of the screen, clear of the toolbars.
        {PropertyList(), true, OneScreen, QRect(50, 864, 600, 40)},
        {PropertyList(), false, OneScreen, QRect(50, 100, 40, 600)},
        {prefsWith("fRulerFrameH", "{{-20, 300}, {60, 25}}"), true, OneScreen, QRect(0, 300, 100, 40)},
        {prefsWith("fRulerFrameV", "{{200, 300}, {12, 50}}"), false, OneScreen, QRect(200, 300, 40, 100)},
        {prefsWith("fRulerFrameH", "no frame"), true, OneScreen, QRect(0, 0, 100, 40)},
        {prefsWith("fRulerFrameV", "no frame"), false, OneScreen, QRect(0, 0, 40, 100)},
        // A screen left of the first one keeps its rulers; one that is gone gives them back.
        {prefsWith("fRulerFrameH", "{{-900, 40}, {300, 40}}"), true, {QRect(0, 0, 1280, 1024), QRect(-1024, 0, 1024, 768)},
         QRect(-900, 40, 300, 40)},
        {prefsWith("fRulerFrameH", "{{3000, 2000}, {300, 40}}"), true, OneScreen, QRect(980, 984, 300, 40)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(floatingRulerFrame(c.prefs, c.horizontal, c.screens), c.expected) << c.expected.x();
}

TEST(FloatingRulerGeometry, TheHandleResizesDownToTheMinimumKeepingTheTopEdge)
{
    bool atMinimum = true;
    EXPECT_EQ(resizedFloatingRulerFrame(QRect(50, 50, 600, 40), {-100, 7}, true, &atMinimum), QRect(50, 50, 500, 40));
    EXPECT_FALSE(atMinimum);
    EXPECT_EQ(resizedFloatingRulerFrame(QRect(50, 50, 600, 40), {-700, 0}, true, &atMinimum), QRect(50, 50, 100, 40));
    EXPECT_TRUE(atMinimum);
    // The vertical ruler dragged upwards past the minimum stays 100 long from its top edge.
    EXPECT_EQ(resizedFloatingRulerFrame(QRect(50, 100, 40, 600), {3, -650}, false, &atMinimum), QRect(50, 100, 40, 100));
    EXPECT_TRUE(atMinimum);
    EXPECT_EQ(resizedFloatingRulerFrame(QRect(50, 100, 40, 100), {0, 30}, false, &atMinimum), QRect(50, 100, 40, 130));
    EXPECT_FALSE(atMinimum);
}

TEST(FloatingRulerGeometry, TicksInInchesAtFullSizeAndOutsideTheUnitTable)
{
    const std::vector<RulerTick> inches = floatingRulerTicks(1, 1.0, 200);
    std::vector<std::pair<double, int>> labels;
    int eighths = 0;
    for (const RulerTick &t : inches) {
        if (t.labelled)
            labels.push_back({t.position, t.label});
        eighths += t.length == 2;
    }
    const std::vector<std::pair<double, int>> expected{{0.5, 0}, {72.5, 1}, {144.5, 2}};
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(eighths, 11);   // at 9, 27, 45, ... 189

    const std::vector<RulerTick> other = floatingRulerTicks(9, 1.0, 350);
    ASSERT_EQ(other.size(), 4u);
    for (const RulerTick &t : other)
        EXPECT_TRUE(t.major && !t.labelled);

    // A zoom factor that is no number draws nothing (it would never reach the end).
    EXPECT_TRUE(floatingRulerTicks(1, std::nan(""), 200).empty());
    const std::vector<RulerTick> tiny = floatingRulerTicks(1, 1e-9, 50);   // one pixel a step at most
    EXPECT_EQ(std::count_if(tiny.begin(), tiny.end(), [](const RulerTick &t) { return t.major; }), 50);
}
