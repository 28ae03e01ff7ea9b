#include "toolkit/units.h"

#include <gtest/gtest.h>

TEST(Units, FactorsAndNames)
{
    struct Case { int unit; float factor; const char *name; };
    const Case cases[] = {
        {0, 28.35f, "Centimeters"}, {1, 72.0f, "Inches"}, {3, 12.0f, "Picas"},
        {2, 1.0f, "Pixels"}, {-1, 1.0f, "Pixels"}, {7, 1.0f, "Pixels"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.unit);
        EXPECT_EQ(ConvertBaseToPoints(c.unit), c.factor);
        EXPECT_EQ(UnitIndexToName(c.unit), QString::fromLatin1(c.name));
        EXPECT_EQ(ConvertToPoints(c.unit, 2.0f), 2.0f * c.factor);
    }
}

TEST(Units, Conversions)
{
    EXPECT_EQ(ConvertToPoints(0, 1.0f), 28.35f);
    EXPECT_FLOAT_EQ(ConvertPointsTo(0, 28.35f), 1.0f);
    EXPECT_EQ(ConvertPointsTo(1, 36.0f), 0.5f);
    EXPECT_EQ(ConvertPointsTo(3, 1.0f), 1.0f / 12.0f);
}
