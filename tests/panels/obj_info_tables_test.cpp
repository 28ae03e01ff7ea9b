// The inspector's dash table, its gradient presets in the user defaults, and the display
// names of the object classes.
#include "panels/obj_info/dash_table.h"
#include "panels/obj_info/gradient_presets.h"
#include "panels/obj_info/vek_obj_info_controller.h"
#include "platform/color/color.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

PropertyList dash(std::initializer_list<float> lengths, float phase = 0)
{
    PropertyList pattern = PropertyList::array();
    for (float length : lengths)
        pattern.append(PropertyList::fromFloat(length));
    PropertyList info = PropertyList::dictionary();
    info.insert(QStringLiteral("pattern"), pattern);
    info.insert(QStringLiteral("phase"), PropertyList::fromFloat(phase));
    return info;
}

TEST(DashTable, NumbersFollowTheAvailableListAndForeignDashesJoinAtTheEnd)
{
    PropertyList available = PropertyList::array();
    available.append(dash({4, 2}));
    available.append(dash({}));   // an empty pattern is left out but keeps its number
    available.append(dash({1, 1}));
    DashTable table;
    table.build(available);
    EXPECT_EQ(table.infoFor(1), dash({4, 2}));
    EXPECT_TRUE(table.infoFor(2).isAbsent());
    EXPECT_EQ(table.infoFor(3), dash({1, 1}));
    bool added = false;
    EXPECT_EQ(table.numberFor(dash({1, 1}), &added), 3);
    EXPECT_FALSE(added);
    // A dash of another document: the first free number from count + 1 (3) up.
    EXPECT_EQ(table.numberFor(dash({9, 3}, 1), &added), 4);
    EXPECT_TRUE(added);
    EXPECT_EQ(table.numberFor(dash({9, 3}, 1), &added), 4);
    EXPECT_FALSE(added);
}

class GradientPresetsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    UserDefaults defaults{folder.filePath(QStringLiteral("defaults.plist"))};
    PropertyList entry(int colours, int shares)
    {
        PropertyList colors = PropertyList::array(), proportions = PropertyList::array();
        for (int i = 0; i < colours; ++i)
            colors.append(PropertyList::fromData(*archivedDataWithRootObject(Color::colorWithCalibratedWhite(i / 4.0f)).value));
        for (int i = 0; i < shares; ++i)
            proportions.append(PropertyList::fromFloat(1.0f / shares));
        PropertyList e = PropertyList::dictionary();
        e.insert(QStringLiteral("gradColors"), colors);
        e.insert(QStringLiteral("gradColorProportion"), proportions);
        return e;
    }
};

TEST_F(GradientPresetsTest, WithoutStoredPresetsTheFourBuiltInOnesAreStoredAndOffered)
{
    GradientPresets presets;
    presets.load(defaults);
    ASSERT_EQ(presets.count(), 4);
    EXPECT_EQ(defaults.arrayForKey(QStringLiteral("gradViews")).count(), 4);
    EXPECT_EQ(presets.at(3).colors.count(), 7);
    EXPECT_FLOAT_EQ(presets.at(3).proportions.at(5).floatValue(), 0.17f);
    EXPECT_FALSE(presets.sampleImage(0).isNull());
}

TEST_F(GradientPresetsTest, AddingAndDeletingChangeTheRightStoredEntryPastAnUnusableOne)
{
    PropertyList stored = PropertyList::array();
    stored.append(entry(3, 1));   // unusable: not one share fewer than colours
    stored.append(entry(2, 1));
    stored.append(entry(3, 2));
    defaults.setObject(stored, QStringLiteral("gradViews"));
    GradientPresets presets;
    presets.load(defaults);
    ASSERT_EQ(presets.count(), 2);
    // Deleting the first offered preset removes stored entry 1, not the unusable entry 0.
    presets.remove(0);
    PropertyList now = defaults.arrayForKey(QStringLiteral("gradViews"));
    ASSERT_EQ(now.count(), 2);
    EXPECT_EQ(now.at(0), entry(3, 1));
    EXPECT_EQ(now.at(1), entry(3, 2));
    // A new preset before the offered one goes just before its stored entry.
    EXPECT_EQ(presets.insert(0, entry(4, 3).value("gradColors"), entry(4, 3).value("gradColorProportion")), 0);
    now = defaults.arrayForKey(QStringLiteral("gradViews"));
    ASSERT_EQ(now.count(), 3);
    EXPECT_EQ(now.at(1), entry(4, 3));
    EXPECT_EQ(presets.insert(5, entry(2, 2).value("gradColors"), entry(2, 2).value("gradColorProportion")), -1);
}

TEST_F(GradientPresetsTest, DeletingTheLastPresetRemovesTheKeySoTheBuiltInOnesReturn)
{
    PropertyList stored = PropertyList::array();
    stored.append(entry(2, 1));
    defaults.setObject(stored, QStringLiteral("gradViews"));
    GradientPresets presets;
    presets.load(defaults);
    presets.remove(0);
    EXPECT_EQ(presets.count(), 0);
    EXPECT_TRUE(defaults.objectForKey(QStringLiteral("gradViews")).isAbsent());
    GradientPresets next;
    next.load(defaults);
    EXPECT_EQ(next.count(), 4);
}

TEST(ObjectClassNames, EachDrawingClassHasItsDisplayName)
{
    const std::pair<const char *, const char *> names[] = {{"VekObjFormat", "Format"}, {"VekObjText", "Text"},
                                                           {"VekObjImage", "Image"},   {"VekObjMarker", "Marker"},
                                                           {"VekObjGrid", "Table"},    {"VekObjPath", "Path"},
                                                           {"VekObjObj", "Path"},      {"", "Path"}};
    for (const auto &[className, display] : names)
        EXPECT_EQ(VekObjInfoController::displayNameOfObjClass(QString::fromLatin1(className)), display) << className;
}

} // namespace
