// The text-information rows: runs of one font name and size become one row with its range.
#include "model/vek_object.h"
#include "platform/text/attributed_string.h"

#include <gtest/gtest.h>

namespace {

TextAttributes fontAttributes(const QString &name, float size)
{
    TextAttributes a;
    a.font = Font{name, size};
    return a;
}

AttributedString styled(std::initializer_list<std::pair<QString, TextAttributes>> runs)
{
    AttributedString text;
    for (const auto &[string, attributes] : runs)
        text.append(AttributedString(string, attributes));
    return text;
}

} // namespace

TEST(TextInfoRows, RunsOfOneFontAndSizeMergeIntoOneRow)
{
    TextAttributes red = fontAttributes("DejaVuSans", 12);
    red.foregroundColor = Color::redColor();
    const AttributedString text = styled({{"Hello ", fontAttributes("DejaVuSans", 12)},
                                          {"red", red},
                                          {" big", fontAttributes("DejaVuSans", 12.04f)},
                                          {" serif", fontAttributes("DejaVuSerif", 12.04f)}});
    const PropertyList rows = VekObject::getTextInfoArrayFor(text, PropertyList("extra"));
    ASSERT_EQ(rows.count(), 2);
    // 12 and 12.04 both read "12.0": one row for the first three runs.
    EXPECT_EQ(rows.at(0).stringListValue(), QStringList({"DejaVuSans", "12.0", "Hello red big", "0", "extra"}));
    EXPECT_EQ(rows.at(1).stringListValue(), QStringList({"DejaVuSerif", "12.0", " serif", "13", "extra"}));
}

TEST(TextInfoRows, RowsKeepTheirRangeAfterRunsWithoutAFont)
{
    const AttributedString text = styled({{"plain ", TextAttributes()}, {"sized", fontAttributes("DejaVuSans", 9)}});
    const PropertyList rows = VekObject::getTextInfoArrayFor(text);
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows.at(0).count(), 4);
    EXPECT_EQ(rows.at(0).at(2).stringValue(), "sized");
    EXPECT_EQ(rows.at(0).at(3).intValue(), 6);
}

TEST(TextInfoRows, NothingForEmptyOrUnstyledText)
{
    EXPECT_TRUE(VekObject::getTextInfoArrayFor(AttributedString()).isAbsent());
    EXPECT_TRUE(VekObject::getTextInfoArrayFor(AttributedString("no font")).isAbsent());
}
