// Tests of the property-list value: number rules, absent values, containers and copy on write.
#include "platform/foundation/property_list.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct NumberCase {
    const char *text;
    int intValue;
    double doubleValue;
    bool boolValue;
};

// The text form stores every scalar as a string, so these rules decide what a file means.
const NumberCase numberCases[] = {
    {" -12abc", -12, -12.0, true},
    {"", 0, 0.0, false},
    {"x", 0, 0.0, false},
    {"YES", 0, 0.0, true},
    {"no", 0, 0.0, false},
    {"T", 0, 0.0, true},
    {"true", 0, 0.0, true},
    {"0", 0, 0.0, false},
    {"7", 7, 7.0, true},
    {"007", 7, 7.0, true},
    {"-0", 0, 0.0, false},
    {"+5", 5, 5.0, true},
    {"\t 42 ", 42, 42.0, true},
    {"3.75", 3, 3.75, true},
    {"-1.5e3xyz", -1, -1500.0, true},
    {".5", 0, 0.5, false},
    {"1e", 1, 1.0, true},
    {"99999999999", INT_MAX, 99999999999.0, true},
    {"-99999999999", INT_MIN, -99999999999.0, true},
    {"inf", 0, 0.0, false},
    {"nan", 0, 0.0, false},
};

TEST(PropertyListNumbers, StringsReadWithThePlatformRules)
{
    for (const NumberCase &c : numberCases) {
        const PropertyList v(c.text);
        EXPECT_EQ(v.intValue(), c.intValue) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(v.doubleValue(), c.doubleValue) << '"' << c.text << '"';
        EXPECT_FLOAT_EQ(v.floatValue(), float(c.doubleValue)) << '"' << c.text << '"';
        EXPECT_EQ(v.boolValue(), c.boolValue) << '"' << c.text << '"';
    }
}

TEST(PropertyListNumbers, NumbersReadAsEveryKind)
{
    EXPECT_EQ(PropertyList::fromDouble(-3.9).intValue(), -3);
    EXPECT_EQ(PropertyList::fromDouble(1e300).intValue(), INT_MAX);
    EXPECT_EQ(PropertyList::fromDouble(1e300).longLongValue(), LLONG_MAX);
    EXPECT_EQ(PropertyList::fromInt(5000000000LL).intValue(), INT_MAX);
    EXPECT_EQ(PropertyList::fromInt(5000000000LL).longLongValue(), 5000000000LL);
    EXPECT_TRUE(PropertyList::fromBool(true).boolValue());
    EXPECT_EQ(PropertyList::fromBool(true).intValue(), 1);
    EXPECT_TRUE(PropertyList::fromDouble(0.25).boolValue());
    EXPECT_FALSE(PropertyList::fromInt(0).boolValue());

    EXPECT_EQ(PropertyList::fromInt(-7).stringValue(), "-7");
    EXPECT_EQ(PropertyList::fromDouble(0.1).stringValue(), "0.1");
    EXPECT_EQ(PropertyList::fromFloat(0.1f).stringValue(), "0.1");
    EXPECT_EQ(PropertyList::fromBool(false).stringValue(), "0");
    EXPECT_EQ(PropertyList::fromPoint({10, 20.5f}).stringValue(), "{10, 20.5}");
    EXPECT_EQ(PropertyList::fromRect({1, 2, 3, 4}).stringValue(), "{{1, 2}, {3, 4}}");
}

TEST(PropertyListNumbers, FloatAndDoubleStayApartButCompareEqual)
{
    const PropertyList f = PropertyList::fromFloat(0.5f);
    const PropertyList d = PropertyList::fromDouble(0.5);
    EXPECT_TRUE(f.isSinglePrecision());
    EXPECT_FALSE(d.isSinglePrecision());
    EXPECT_EQ(f, d);
    EXPECT_NE(PropertyList::fromInt(1), PropertyList::fromDouble(1.0));
    EXPECT_NE(PropertyList::fromInt(1), PropertyList("1"));
}

TEST(PropertyListValues, GeometryAndDatesReadBackFromTheirText)
{
    EXPECT_EQ(PropertyList("{10, -2.5}").pointValue(), (Point{10, -2.5f}));
    EXPECT_EQ(PropertyList("{{1, 2}, {3, 4}}").rectValue(), Rect(1, 2, 3, 4));
    EXPECT_EQ(PropertyList("{595, 842}").sizeValue(), (Size{595, 842}));

    const QDateTime when(QDate(2009, 3, 14), QTime(15, 9, 26), Qt::UTC);
    const PropertyList date = PropertyList::fromDate(when);
    EXPECT_EQ(date.stringValue(), "2009-03-14 15:09:26 +0000");
    EXPECT_EQ(PropertyList(date.stringValue()).dateValue(), when);
    EXPECT_EQ(PropertyList("2009-03-14 16:09:26 +0100").dateValue(), when);
    EXPECT_EQ(PropertyList("2009-03-14T15:09:26Z").dateValue(), when);
    EXPECT_FALSE(PropertyList("yesterday").dateValue().isValid());
}

TEST(PropertyListContainers, AbsentValuesChainWithoutChecks)
{
    const PropertyList nothing;
    EXPECT_TRUE(nothing.isAbsent());
    EXPECT_FALSE(nothing);
    EXPECT_TRUE(nothing.value("a").value("b").at(3).isAbsent());
    EXPECT_EQ(nothing.value("a").intValue(), 0);
    EXPECT_EQ(nothing.stringValue(), QString());
    EXPECT_EQ(PropertyList("text").count(), 0);
    EXPECT_TRUE(PropertyList("text").value("key").isAbsent());
    EXPECT_TRUE(PropertyList::array().at(-1).isAbsent());
}

TEST(PropertyListContainers, DictionaryKeepsInsertionOrderAndReplacesInPlace)
{
    PropertyList d;
    d.insert("b", "1");
    d.insert("a", "2");
    d.insert("c", "3");
    d.insert("a", "two");
    EXPECT_TRUE(d.isDictionary());
    EXPECT_EQ(d.keys(), (QStringList{"b", "a", "c"}));
    EXPECT_EQ(d.value("a").stringValue(), "two");

    d.insert("b", PropertyList());   // the absent value removes the key
    EXPECT_EQ(d.keys(), (QStringList{"a", "c"}));
    d.remove("missing");
    EXPECT_EQ(d.count(), 2);
}

TEST(PropertyListContainers, LargeDictionaryStaysConsistentThroughRemovals)
{
    PropertyList d = PropertyList::dictionary();
    for (int i = 0; i < 2000; ++i)
        d.insert(QStringLiteral("k%1").arg(i), PropertyList::fromInt(i));
    for (int i = 0; i < 2000; i += 2)
        d.remove(QStringLiteral("k%1").arg(i));
    ASSERT_EQ(d.count(), 1000);
    EXPECT_EQ(d.entries().front().first, "k1");
    for (int i = 0; i < 2000; ++i) {
        const PropertyList v = d.value(QStringLiteral("k%1").arg(i));
        if (i % 2)
            EXPECT_EQ(v.intValue(), i);
        else
            EXPECT_TRUE(v.isAbsent());
    }
    d.insert("k2", "back");
    EXPECT_EQ(d.entries().back().first, "k2");
    EXPECT_EQ(d.value("k2").stringValue(), "back");
}

// A dictionary reserved for many entries is looked up through its index from the first
// entry; a copy has only the room its entries take and must keep finding what is added.
TEST(PropertyListContainers, ReservedDictionariesAndTheirCopiesFindEveryKey)
{
    for (const int reserved : {0, 5, 16, 48, 300}) {
        for (const int filled : {3, 20, 60}) {
            PropertyList d = PropertyList::dictionary(reserved);
            for (int i = 0; i < filled; ++i)
                d.insert(QStringLiteral("k%1").arg(i), PropertyList::fromInt(i));
            PropertyList copy = d;
            for (int i = filled; i < filled + 40; ++i)
                copy.insert(QStringLiteral("k%1").arg(i), PropertyList::fromInt(i));
            copy.insert("k1", "replaced");
            SCOPED_TRACE(testing::Message() << reserved << " reserved, " << filled << " filled");
            ASSERT_EQ(d.count(), filled);
            ASSERT_EQ(copy.count(), filled + 40);
            EXPECT_FALSE(d.contains(QStringLiteral("k%1").arg(filled)));
            EXPECT_EQ(d.value("k1").intValue(), 1);
            EXPECT_EQ(copy.value("k1").stringValue(), "replaced");
            for (int i = 2; i < filled + 40; ++i)
                EXPECT_EQ(copy.value(QStringLiteral("k%1").arg(i)).intValue(), i) << i;
            copy.remove("k0");
            EXPECT_EQ(copy.value(QStringLiteral("k%1").arg(filled + 39)).intValue(), filled + 39);
        }
    }
}

TEST(PropertyListContainers, CopiesAreIndependent)
{
    PropertyList inner = PropertyList::array();
    inner.append("x");
    PropertyList outer;
    outer.insert("list", inner);

    PropertyList copy = outer;
    PropertyList list = copy.value("list");
    list.append("y");
    copy.insert("list", list);
    copy.insert("extra", "1");

    EXPECT_EQ(outer.value("list").count(), 1);
    EXPECT_FALSE(outer.contains("extra"));
    EXPECT_EQ(inner.count(), 1);
    EXPECT_EQ(copy.value("list").stringListValue(), (QStringList{"x", "y"}));
}

TEST(PropertyListContainers, EqualityIgnoresDictionaryOrderButNotArrayOrder)
{
    PropertyList a, b;
    a.insert("x", "1");
    a.insert("y", PropertyList::fromData(QByteArray("\x00\x01", 2)));
    b.insert("y", PropertyList::fromData(QByteArray("\x00\x01", 2)));
    b.insert("x", "1");
    EXPECT_EQ(a, b);
    b.insert("x", "2");
    EXPECT_NE(a, b);

    EXPECT_EQ(PropertyList::fromStringList({"a", "b"}), PropertyList::fromStringList({"a", "b"}));
    EXPECT_NE(PropertyList::fromStringList({"a", "b"}), PropertyList::fromStringList({"b", "a"}));
}

TEST(PropertyListContainers, ContainersOfTheWrongKindAreLeftAlone)
{
    PropertyList s("text");
    s.insert("k", "v");
    s.append("v");
    EXPECT_EQ(s, PropertyList("text"));

    PropertyList a = PropertyList::array();
    a.insert("k", "v");
    a.append(PropertyList());
    EXPECT_EQ(a.count(), 0);
    EXPECT_TRUE(a.isArray());
}

} // namespace
