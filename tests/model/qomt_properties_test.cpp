// Tests of the predecessor's style dictionary applied to a fresh drawing object.
#include "model/qomt_properties.h"

#include "model/vek_object.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/archiving.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

PropertyList colourData(const Color &c)
{
    return PropertyList::fromData(*archivedDataWithRootObject(c).value);
}

PropertyList dict(std::initializer_list<std::pair<const char *, PropertyList>> entries)
{
    PropertyList d = PropertyList::dictionary();
    for (const auto &[key, value] : entries)
        d.insert(QString::fromLatin1(key), value);
    return d;
}

std::shared_ptr<VekObject> applied(const PropertyList &p)
{
    auto o = VekObject::create();
    setQomtProperties(*o, p);
    return o;
}

TEST(QomtPropertiesTest, LineKeysAndDashScale)
{
    const auto o = applied(dict({{"lineWidth", PropertyList::fromFloat(3)}, {"dashPattern", PropertyList::fromInt(2)}}));
    EXPECT_EQ(o->lineWidth(), 3);
    EXPECT_EQ(o->objDashPattern(), 2);
    EXPECT_EQ(o->dashScale(), 1.0f);
    EXPECT_EQ(o->fillAlpha(), 0);
    EXPECT_EQ(o->fillRule(), 0);
    EXPECT_FALSE(o->drawsFill());

    // A negative dash number from a damaged file is solid.
    EXPECT_EQ(applied(dict({{"dashPattern", PropertyList::fromInt(-4)}}))->objDashPattern(), 0);
}

TEST(QomtPropertiesTest, StrokeColourSetsTheStrokeByItsAlpha)
{
    const auto seen = applied(dict({{"lineColor", colourData(Color::colorWithCalibratedRed(1, 0, 0, 1))}}));
    EXPECT_TRUE(seen->drawsStroke());
    EXPECT_EQ(*seen->storedStrokeColor(), Color::colorWithCalibratedRed(1, 0, 0, 1));
    const auto clear = applied(dict({{"lineColor", colourData(Color::colorWithCalibratedRed(1, 0, 0, 0.05f))}}));
    EXPECT_FALSE(clear->drawsStroke());
    const auto damaged = applied(dict({{"lineColor", PropertyList::fromData("junk")}}));
    EXPECT_FALSE(damaged->storedStrokeColor());
    EXPECT_TRUE(damaged->drawsStroke());
}

TEST(QomtPropertiesTest, FillAlphaFollowsTheColour)
{
    struct Case {
        PropertyList content;
        float fillAlpha;
        float colourAlpha;
        bool fills;
        float alpha;
    };
    const Case cases[] = {
        {PropertyList::fromInt(0), 0.8f, 0.5f, true, 0.5f},
        {PropertyList::fromInt(0), 1.0f, 0.5f, true, 1.0f},
        {PropertyList::fromInt(0), 0.5f, 1.0f, true, 1.0f},
        {PropertyList(), 1.0f, 1.0f, false, 1.0f},
        {PropertyList::fromInt(0), 0.05f, 1.0f, false, 1.0f},
    };
    for (const Case &c : cases) {
        PropertyList p = dict({{"fillAlpha", PropertyList::fromFloat(c.fillAlpha)},
                               {"fillColor", colourData(Color::colorWithCalibratedRed(0, 0, 1, c.colourAlpha))},
                               {"fillType", PropertyList::fromInt(1)}});
        if (!c.content.isAbsent())
            p.insert("fillCntns", c.content);
        const auto o = applied(p);
        EXPECT_EQ(o->drawsFill(), c.fills) << c.fillAlpha << " " << c.colourAlpha;
        EXPECT_FLOAT_EQ(o->fillAlpha(), c.alpha) << c.fillAlpha << " " << c.colourAlpha;
        EXPECT_EQ(o->fillRule(), 1);
        EXPECT_FLOAT_EQ(o->storedFillColor()->alphaComponent(), c.colourAlpha);
    }
}

TEST(QomtPropertiesTest, GradientTypesStopsAndAngle)
{
    const PropertyList three = PropertyList::fromStringList({"1,0,0,1", "0,1,0,1", "0,0,1,1", "0.5,0.5"});
    const auto withType = [&](int type, const PropertyList &colors, int angle) {
        return applied(dict({{"fillCntns", PropertyList::fromInt(2)},
                             {"fillAlpha", PropertyList::fromFloat(1)},
                             {"gradient", dict({{"type", PropertyList::fromInt(type)}, {"colors", colors}})},
                             {"fillAngle", PropertyList::fromInt(angle)}}));
    };
    const auto o = withType(1, three, 90);
    EXPECT_EQ(o->objGradientType(), 2);
    EXPECT_TRUE(o->drawsFill());
    ASSERT_EQ(o->heldGradientColors().count(), 3);
    EXPECT_EQ(*unarchiveColorWithData(o->heldGradientColors().at(1).dataValue()).value,
              Color::colorWithCalibratedRed(0, 1, 0, 1));
    EXPECT_EQ(o->heldGradientProportions().count(), 2);
    EXPECT_FLOAT_EQ(o->heldGradientProportions().at(0).floatValue(), 0.5f);
    EXPECT_FLOAT_EQ(o->heldGradientProportions().at(1).floatValue(), 0.5f);
    EXPECT_EQ(o->gradientRotate(), -90);

    EXPECT_EQ(withType(7, three, 360)->objGradientType(), 1);
    EXPECT_EQ(withType(7, three, 360)->gradientRotate(), 0);
    EXPECT_EQ(withType(1, PropertyList::fromStringList({"1,0,0,1", "1,2"}), 0)->objGradientType(), 0);
    EXPECT_EQ(withType(-5, three, 0)->objGradientType(), 0);
    EXPECT_EQ(withType(-1, three, 0)->objGradientType(), 0);
}

TEST(QomtPropertiesTest, RotationFlipAndSkew)
{
    EXPECT_EQ(applied(dict({{"rotation", PropertyList::fromFloat(30)}}))->objRotation(), 330);
    EXPECT_EQ(applied(dict({{"rotation", PropertyList::fromFloat(0)}}))->objRotation(), 0);
    EXPECT_EQ(applied(dict({{"rotation", PropertyList::fromFloat(-30)}}))->objRotation(), 30);
    const auto flipped = applied(dict({{"flip", PropertyList::fromInt(3)}}));
    EXPECT_TRUE(flipped->flippedHorizontally());
    EXPECT_TRUE(flipped->flippedVertically());

    const float floats[3] = {9, 0.25f, -0.5f};
    ArchivedValue value{"{?=fff}", QByteArray(reinterpret_cast<const char *>(floats), sizeof floats)};
    const auto data = archivedDataWithRootObject(std::any(value));
    ASSERT_TRUE(data) << data.error.toStdString();
    const auto skewed = applied(dict({{"skew", PropertyList::fromData(*data.value)}}));
    EXPECT_EQ(skewed->skewX(), 0.25f);
    EXPECT_EQ(skewed->skewY(), -0.5f);

    // A value too short for two skews is ignored.
    ArchivedValue shortValue{"{?=ff}", QByteArray(reinterpret_cast<const char *>(floats), 8)};
    const auto shortData = archivedDataWithRootObject(std::any(shortValue));
    ASSERT_TRUE(shortData);
    EXPECT_EQ(applied(dict({{"skew", PropertyList::fromData(*shortData.value)}}))->skewX(), 0);
}

TEST(QomtPropertiesTest, NonDictionaryChangesNothing)
{
    const auto o = applied(PropertyList::fromInt(3));
    EXPECT_EQ(o->lineWidth(), 1);
    EXPECT_EQ(o->fillAlpha(), 1);
}

} // namespace
