#include "toolkit/dash_styles.h"

#include "platform/foundation/user_defaults.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>

namespace {

PropertyList entry(std::initializer_list<float> lengths, float phase)
{
    PropertyList pattern = PropertyList::array();
    for (float l : lengths)
        pattern.append(PropertyList::fromFloat(l));
    PropertyList e = PropertyList::dictionary();
    e.insert(QStringLiteral("phase"), PropertyList::fromFloat(phase));
    e.insert(QStringLiteral("pattern"), pattern);
    return e;
}

class DashStyles : public testing::Test {
protected:
    QTemporaryDir folder;
    UserDefaults defaults{folder.filePath(QStringLiteral("defaults.plist"))};

    std::vector<float> dashFor(int number, float thickness)
    {
        BezierPath path;
        setDashPatternForThickness(path, number, thickness, defaults);
        return path.lineDash();
    }
};

} // namespace

TEST_F(DashStyles, BuiltInPatternsScaleWithThickness)
{
    EXPECT_EQ(dashFor(2, 2), (std::vector<float>{6, 6}));
    // Thinner than 0.1 counts as 0.1.
    const std::vector<float> thin = dashFor(2, 0.05f);
    ASSERT_EQ(thin.size(), 2u);
    EXPECT_FLOAT_EQ(thin[0], 0.3f);
    EXPECT_EQ(dashFor(10, 1).size(), 16u);
    EXPECT_EQ(availableDashPatterns(defaults).count(), 10);
}

TEST_F(DashStyles, NumbersWithoutAnEntryStaySolid)
{
    for (int number : {0, 11, -1, -100}) {
        BezierPath path;
        EXPECT_FALSE(setDashPatternForThickness(path, number, 1, defaults).has_value()) << number;
        EXPECT_TRUE(path.lineDash().empty()) << number;
    }
}

TEST_F(DashStyles, UserPatternsFollowTheBuiltInOnes)
{
    PropertyList user = PropertyList::array();
    user.append(entry({1, 2}, 0));
    user.append(entry({4, 1}, 3));
    defaults.setObject(user, QStringLiteral("dashPatterns"));

    BezierPath path;
    const std::optional<PropertyList> chosen = setDashPatternForThickness(path, 12, 2, defaults);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, user.at(1));
    EXPECT_EQ(path.lineDash(), (std::vector<float>{8, 2}));
    EXPECT_EQ(path.lineDashPhase(), 3.0f); // the phase is not scaled
    EXPECT_TRUE(dashFor(13, 1).empty());
}

TEST_F(DashStyles, UnusableUserPatternsSetNothing)
{
    PropertyList user = PropertyList::array();
    PropertyList noPattern = PropertyList::dictionary();
    noPattern.insert(QStringLiteral("phase"), PropertyList::fromFloat(1));
    user.append(noPattern);
    user.append(entry({0, 0}, 0));
    user.append(entry({2, -1}, 0));
    user.append(entry({INFINITY, 1}, 0));
    defaults.setObject(user, QStringLiteral("dashPatterns"));
    for (int number = 11; number <= 14; ++number)
        EXPECT_TRUE(dashFor(number, 1).empty()) << number;
}

TEST(ArrowBarbs, StraightLine)
{
    BezierPath line;
    line.moveToPoint({0, 0});
    line.lineToPoint({100, 0});
    const BezierPath arrow = addArrowOfLength(line, 10, 30);
    ASSERT_EQ(arrow.elementCount(), 3);
    const float c = 10 * std::cos(float(M_PI / 6)), s = 10 * std::sin(float(M_PI / 6));
    const Point expected[] = {{c, -s}, {0, 0}, {c, s}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(arrow.element(i).endPoint().x, expected[i].x, 1e-4f) << i;
        EXPECT_NEAR(arrow.element(i).endPoint().y, expected[i].y, 1e-4f) << i;
    }
}

TEST(ArrowBarbs, LongerThanThePathUsesItWhole)
{
    BezierPath line;
    line.moveToPoint({0, 0});
    line.lineToPoint({5, 0});
    const BezierPath arrow = addArrowOfLength(line, 50, 90);
    ASSERT_EQ(arrow.elementCount(), 3);
    EXPECT_NEAR(arrow.element(0).endPoint().y, -5, 1e-4f);
    EXPECT_NEAR(arrow.element(2).endPoint().y, 5, 1e-4f);
}

TEST(ArrowBarbs, CurvedStartGivesCurvedBarbs)
{
    BezierPath curve;
    curve.moveToPoint({0, 0});
    curve.curveToPoint({100, 0}, {30, 40}, {70, 40});
    const BezierPath arrow = addArrowOfLength(curve, 10, 30);
    EXPECT_EQ(arrow.element(1).kind, CurveToBezierPathElement);
    EXPECT_EQ(arrow.element(2).kind, CurveToBezierPathElement);
    EXPECT_EQ(arrow.element(1).endPoint(), (Point{0, 0}));
}
