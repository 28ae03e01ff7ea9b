// The paper list: merging the printers' papers, the name questions and the best paper for a
// page size.
#include "panels/docinfo/paper_list.h"

#include <gtest/gtest.h>

namespace {

PaperList listOf(const std::vector<PrinterPapers> &printers)
{
    PaperList list;
    list.build(printers);
    return list;
}

} // namespace

TEST(PaperList, ALaterPrintersPaperReplacesAnEarlierOneAndTheListIsSortedWithoutCase)
{
    const PaperList list = listOf({{QStringLiteral("one"), {{"b5", {500, 700}, "B5 one"}, {"A4", {595, 842}, "A4"}}, {}},
                                   {QStringLiteral("two"), {{"b5", {498, 708}, ""}}, PaperMargins{1, 2, 3, 4}}});
    ASSERT_EQ(list.papers().size(), 2u);
    EXPECT_EQ(list.papers()[0].name, QStringLiteral("A4"));
    EXPECT_EQ(list.papers()[1].size, Size(498, 708));
    // Listed under its name, and never found by a display name.
    EXPECT_EQ(PaperList::titleOf(list.papers()[1]), QStringLiteral("b5"));
    EXPECT_EQ(list.paperNameForLocalName(QStringLiteral("B5 one")), QString());
    EXPECT_EQ(list.paperNameForLocalName(QStringLiteral("A4")), QStringLiteral("A4"));
    EXPECT_EQ(PaperList::toolTipOf(list.papers()[1]), QStringLiteral("498 x 708"));
    EXPECT_EQ(list.minimumMarginsOf(QStringLiteral("two"))->bottom, 4.0f);
    EXPECT_FALSE(list.minimumMarginsOf(QStringLiteral("one")));
    EXPECT_EQ(list.paperSizeForPaperName(QStringLiteral("none")), Size());
}

TEST(PaperList, TheBestPaperHoldsThePageWithTheLeastSpareArea)
{
    const PaperList list = listOf({{QString(),
                                    {{"a", {600, 800}, ""}, {"b", {510, 900}, ""}, {"c", {600, 800}, ""},
                                     {"d", {2000, 2000}, ""}},
                                    {}}});
    struct Case {
        Size page;
        QString best;
    } cases[] = {
        {{500, 700}, QStringLiteral("b")},    // either order of a and b gives b
        {{600, 800}, QStringLiteral("c")},    // equal papers: the later one
        {{1000, 1000}, QStringLiteral("d")},
        {{3000, 10}, QString()},              // larger than every paper
    };
    for (const Case &c : cases)
        EXPECT_EQ(list.bestPaperNameForPageSize(c.page), c.best) << c.page.width;
}

TEST(PaperList, WithoutPrintersQtsStandardSizesAreListed)
{
    PaperList list;
    list.build({{QString(), {}, {}}});
    EXPECT_TRUE(list.papers().empty());
    EXPECT_EQ(list.paperLocalNameForName(QStringLiteral("Letter")).isEmpty(), false);   // Qt knows it
    EXPECT_TRUE(PaperList::shared().isPaperNameAvailable(QStringLiteral("A4")));
}
