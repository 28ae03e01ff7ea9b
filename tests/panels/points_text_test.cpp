// The inspector's points as text: keywords, brackets and commas in every combination over
// one path of each kind of element.
#include "panels/obj_info/points_text.h"

#include <gtest/gtest.h>

namespace {

// A move, a line, a curve (three rows) and a close, as the object's point rows give them.
const QStringList rows = {"10.00,20.00,M,0,0", "30.00,40.00,L,1,0", "50.00,60.00,C,2,0",
                          "70.00,80.00, ,2,1", "90.00,99.50, ,2,2", " , ,Z,3,-1"};

TEST(PointsText, EveryStyleWritesThePathAsTheUserShapedIt)
{
    const struct {
        bool keywords, brackets, commas, round;
        const char *expected;
    } cases[] = {
        {false, false, false, false, "10.00 20.00 30.00 40.00 50.00 60.00 70.00 80.00 90.00 99.50 "},
        {true, false, false, false, "M 10.00 20.00 L 30.00 40.00 C 50.00 60.00 70.00 80.00 90.00 99.50 Z "},
        {false, false, true, false, "10.00,20.00, 30.00,40.00, 50.00,60.00, 70.00,80.00, 90.00,99.50, "},
        {true, true, true, false,
         "{\nM {10.00,20.00}, L {30.00,40.00}, C {{50.00,60.00}, {70.00,80.00}, {90.00,99.50}}, Z {}\n}"},
        {true, true, true, true,
         "(\nM (10.00,20.00), L (30.00,40.00), C ((50.00,60.00), (70.00,80.00), (90.00,99.50)), Z ()\n)"},
        {false, true, false, false,
         "{\n{10.00 20.00} {30.00 40.00} {{50.00 60.00} {70.00 80.00} {90.00 99.50}} {}\n}"},
    };
    for (const auto &c : cases) {
        PointsTextStyle style;
        style.keywords = c.keywords;
        style.brackets = c.brackets;
        style.commas = c.commas;
        style.round = c.round;
        EXPECT_EQ(pointsAsString(rows, style), QString::fromLatin1(c.expected))
            << c.keywords << c.brackets << c.commas << c.round;
    }
}

TEST(PointsText, TheCasesOfOneMoveAndOneLine)
{
    const QStringList moveAndLine = {"10.00,20.00,M,0,0", "30.00,40.00,L,1,0"};
    PointsTextStyle style;
    style.keywords = true;
    EXPECT_EQ(pointsAsString(moveAndLine, style), "M 10.00 20.00 L 30.00 40.00");
    style.brackets = style.commas = true;
    EXPECT_EQ(pointsAsString(moveAndLine, style), "{\nM {10.00,20.00}, L {30.00,40.00}\n}");
    style.round = true;
    EXPECT_EQ(pointsAsString(moveAndLine, style), "(\nM (10.00,20.00), L (30.00,40.00)\n)");
    // A keyword of the user's replaces the letter.
    style = {};
    style.keywords = true;
    style.move = "moveto";
    EXPECT_EQ(pointsAsString(moveAndLine, style), "moveto 10.00 20.00 L 30.00 40.00");
    // Nothing to copy without rows.
    EXPECT_TRUE(pointsAsString({}, style).isEmpty());
}

TEST(PointsText, ARowKeepsItsFieldsWhenItsPointChanges)
{
    EXPECT_EQ(rowWithPoint("50.00,60.00, ,2,1", Point(1.5f, -2.25f)), "1.50,-2.25, ,2,1");
    const PointRow row = parsePointRow("50.00,60.00, ,2,1");
    EXPECT_EQ(row.element, 2);
    EXPECT_EQ(row.point, 1);
    EXPECT_FALSE(parsePointRow(" , ,Z,3,-1").hasCoordinates());
}

} // namespace
