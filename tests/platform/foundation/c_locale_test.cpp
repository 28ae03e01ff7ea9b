// Tests that number text is the C locale's, also while the process runs under a decimal-comma locale.
#include "platform/foundation/c_locale.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/property_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

// printf itself, in the C locale, as the reference.
std::string cPrintf(const char *format, double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

TEST(CLocaleFormat, FixedEqualsPrintf)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> spread(-1e7, 1e7);
    std::vector<double> values{0.0, -0.0, 0.5, 1.5, 2.5, 0.125, 0.005, 1e-7, -1e-7, 1e20, 123456.789, 0.3f};
    for (int i = 0; i < 500; ++i)
        values.push_back(spread(random) / double(1 << (i % 20)));
    for (double v : values) {
        EXPECT_EQ(formatFixed(v).toStdString(), cPrintf("%f", v)) << v;
        EXPECT_EQ(formatFixed(v, 2).toStdString(), cPrintf("%.2f", v)) << v;
        EXPECT_EQ(formatFixed(v, 0).toStdString(), cPrintf("%.0f", v)) << v;
    }
    EXPECT_EQ(formatFixed(INFINITY).toStdString(), "inf");
    EXPECT_EQ(formatFixed(-INFINITY, 2).toStdString(), "-inf");
}

TEST(CLocaleFormat, ShortestFormsReadBackExactly)
{
    EXPECT_EQ(formatDouble(0.1), "0.1");
    EXPECT_EQ(formatDouble(-3), "-3");
    EXPECT_EQ(formatDouble(1e20), "1e+20");
    EXPECT_EQ(formatFloat(0.1f), "0.1");
    EXPECT_EQ(formatFloat(16777216.0f), "16777216");
    EXPECT_EQ(formatDouble(double(0.1f)), "0.10000000149011612");
    for (double v : {1.0 / 3.0, 2.0 / 3.0 * 1e-300, 6.02214076e23, -0.0})
        EXPECT_EQ(parseReal(formatDouble(v)), v);
}

TEST(CLocaleParse, StrictParsersTakeOnlyWholeNumbers)
{
    EXPECT_EQ(parseInteger(u" -12 "), -12);
    EXPECT_EQ(parseInteger(u"+0x1f"), 31);
    EXPECT_EQ(parseInteger(u"-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(parseInteger(u"9223372036854775808"), std::nullopt);
    for (const char16_t *bad : {u"", u"-", u"0x", u"12a", u"1 2", u"1.0", u"--1"})
        EXPECT_EQ(parseInteger(bad), std::nullopt) << QString::fromUtf16(bad).toStdString();

    EXPECT_EQ(parseReal(u" 1.5e3 "), 1500.0);
    EXPECT_EQ(parseReal(u".5"), 0.5);
    EXPECT_EQ(parseReal(u"-Infinity"), -INFINITY);
    EXPECT_TRUE(std::isnan(*parseReal(u"nan")));
    for (const char16_t *bad : {u"", u"1,5", u"1.5x", u"e5", u".", u"0x10", u"1e"})
        EXPECT_EQ(parseReal(bad), std::nullopt) << QString::fromUtf16(bad).toStdString();
}

// Switches the C library to a locale with a decimal comma for the test's duration.
class DecimalCommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (std::setlocale(LC_ALL, name) && std::string(std::localeconv()->decimal_point) == ",")
                return;
        }
        std::setlocale(LC_ALL, m_previous.c_str());
        GTEST_SKIP() << "no decimal-comma locale is installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }

private:
    std::string m_previous;
};

TEST_F(DecimalCommaLocale, NumbersStayInTheCLocale)
{
    ASSERT_EQ(cPrintf("%.1f", 1.5), "1,5");   // the locale is really in force

    EXPECT_EQ(formatFixed(1.5), "1.500000");
    EXPECT_EQ(formatFixed(0.125, 2), "0.12");
    EXPECT_EQ(formatC("%f,%f,%f,%f,%f", 0.0, 1.0, 1.0, 0.0, 1.0), "0.000000,1.000000,1.000000,0.000000,1.000000");
    EXPECT_EQ(formatC("g%d %.2f %g", 12, 2.5, 1e-5), "g12 2.50 1e-05");
    EXPECT_EQ(formatDouble(2.5), "2.5");

    EXPECT_EQ(doubleValueOf(u"2.5"), 2.5);
    EXPECT_EQ(doubleValueOf(u"2,5"), 2.0);
    EXPECT_EQ(parseReal(u"2.5"), 2.5);
    EXPECT_EQ(PropertyList::fromFloat(0.75f).stringValue(), "0.75");
    EXPECT_EQ(PropertyList("0.75").floatValue(), 0.75f);

    PropertyList doc;
    doc.insert("scale", PropertyList::fromDouble(1.25));
    EXPECT_EQ(textPropertyListData(doc), "{\n\tscale = 1.25;\n}");
}

} // namespace
