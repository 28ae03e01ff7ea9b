// Tests that number text is the C locale's, also while the process runs under a decimal-comma locale.
#include "platform/foundation/c_locale.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/property_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

TEST(CLocaleParse, DoubleValueOfReadsAsStrtodDoes)
{
    // Every shape of number text, the extremes of the range and beyond it: the value must be
    // strtod's to the bit, also where the text overflows (infinity) or underflows (zero or
    // the nearest denormal).
    const char *const texts[] = {"0", "-0", "1.5", ".5", "-.5", "5.", "+2.5", "00012", "0.1", "1e5", "1.e5",
                                 "-12.5e-3", "123456789012345678901234567890", "1.7976931348623157e308",
                                 "1.7976931348623159e308", "1e400", "-1e400", "2.2250738585072011e-308",
                                 "4.9e-324", "2.4703282292062327e-324", "2.4703282292062328e-324", "1e-400",
                                 "0.000000000000000000000000000001e-300", "3.4028235e38", "1.17549435e-38"};
    for (const char *text : texts) {
        const double expected = std::strtod(text, nullptr);
        const double read = doubleValueOf(QString::fromLatin1(text));
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text << " read as " << read;
    }
    // What follows the number is not read; texts that are no number read as 0.
    EXPECT_EQ(doubleValueOf(u"  -1.5e3xyz"), -1500.0);
    EXPECT_EQ(doubleValueOf(u"5e"), 5.0);
    EXPECT_EQ(doubleValueOf(u"2e+"), 2.0);
    for (const char16_t *none : {u"", u"inf", u"nan", u"-", u".", u"e5", u"0x10"})
        EXPECT_EQ(doubleValueOf(none), 0.0) << QString::fromUtf16(none).toStdString();

    // Random values in both of the forms files hold come back exactly.
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i) {
        double v;
        const quint64 bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v))
            continue;
        EXPECT_EQ(doubleValueOf(formatDouble(v)), v);
        const std::string fixed = cPrintf("%f", v);
        EXPECT_EQ(doubleValueOf(QString::fromStdString(fixed)), std::strtod(fixed.c_str(), nullptr)) << fixed;
    }
    // A precision past the stack buffer still formats as printf does.
    EXPECT_EQ(formatFixed(1.0 / 3.0, 300).toStdString(), cPrintf("%.300f", 1.0 / 3.0));
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
