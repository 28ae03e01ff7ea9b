// The shadow dial's geometry and the limits of typed shadow values.
#include "panels/shadow/shadow_values.h"

#include "model/services/panel_services.h"

#include <gtest/gtest.h>

namespace {

TEST(ShadowValues, TheDialReadsAngleAndDistanceFromAPoint)
{
    const Size dial(80, 60);
    const struct {
        Point p;   // y up
        float angle, offset;
    } cases[] = {
        {{80, 30}, 90, 30},    // the right edge
        {{40, 0}, 180, 30},    // the bottom edge
        {{40, 60}, 0, 30},     // the top edge
        {{0, 30}, 270, 30},    // the left edge: a negative angle wraps
        {{40, 30}, 0, 0},      // the centre
        {{60, 45}, 45, 21.2132f},
    };
    for (const auto &c : cases) {
        const DialReading r = dialReadingAt(c.p, dial);
        EXPECT_NEAR(r.angle, c.angle, 1e-3) << c.p.x << "," << c.p.y;
        EXPECT_NEAR(r.offset, c.offset, 1e-3) << c.p.x << "," << c.p.y;
    }
}

TEST(ShadowValues, TypedValuesAreKeptInRange)
{
    const std::pair<float, float> angles[] = {{400, 0}, {-10, 0}, {359.9f, 359.9f}, {360, 0}, {12.5f, 12.5f}};
    for (const auto &[typed, kept] : angles)
        EXPECT_FLOAT_EQ(clampedShadowAngle(typed), kept) << typed;
    const std::pair<float, float> offsets[] = {{0.1f, 0.5f}, {-3, 0.5f}, {0.5f, 0.5f}, {7, 7}};
    for (const auto &[typed, kept] : offsets)
        EXPECT_FLOAT_EQ(clampedShadowOffset(typed), kept) << typed;
}

TEST(ShadowValues, AColourThatCannotBeReadFallsBackToTheControlShadowGrey)
{
    PropertyList values = PropertyList::dictionary();
    values.insert(QStringLiteral("color"), PropertyList::fromData("not an archive"));
    const Color fallback = shadowColorOf(values);
    EXPECT_FLOAT_EQ(fallback.alphaComponent(), 1);
    EXPECT_EQ(fallback, defaultShadowColor().colorWithAlphaComponent(1));
    values.insert(QStringLiteral("color"), archivedShadowColor(Color::redColor()));
    EXPECT_EQ(shadowColorOf(values), Color::redColor());
}

} // namespace
