// Page headers and footers: cells, even and odd pages, variables and the first/last page rules.
#include "canvas/page_headers.h"

#include "document/vek_document.h"
#include "platform/text/rtf.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

PropertyList cellData(const QString &text)
{
    const AttributedString cell(text);
    return PropertyList::fromData(RTFDFromRange(cell, {0, cell.length()}));
}

PageVariables variables(int page, int count, const QString &title = "Plan")
{
    PageVariables v;
    v.page = page;
    v.pageCount = count;
    v.title = title;
    v.author = "Ann";
    v.dateFormat = "%Y";
    v.now = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    return v;
}

} // namespace

TEST(PageHeaders, VariablesAreReplacedEverywhereAndInsertedTextIsNotSearchedAgain)
{
    ensureGuiApp();
    struct Case {
        const char *cell, *title, *shown;
    };
    for (const Case &c : {Case{"Page #VPAGE of #VPAGETOTAL", "Plan", "Page 2 of 5"},
                          Case{"#VPAGE/#VPAGE", "Plan", "2/2"}, Case{"#VTITLE by #VAUTHOR, #VDATE", "Plan", "Plan by Ann, 2024"},
                          // A title holding a variable's name is shown as it is (and ends).
                          Case{"#VTITLE", "#VTITLE #VPAGE", "#VTITLE #VPAGE"}, Case{"#VPAGES", "x", "2S"}})
        EXPECT_EQ(changeVarToConst(AttributedString(c.cell), variables(2, 5, c.title)).string(), QString(c.shown))
            << c.cell;
}

TEST(PageHeaders, EvenAndOddCellsStandInForEmptyCellsAndTabsAlignTheParts)
{
    ensureGuiApp();
    VekDocument doc;
    doc.borderinfo();   // the defaults: title left, date right, "- #VPAGE -" in the footer's middle
    doc.updateBorderInfoForKey(cellData("even"), "hdLtE");
    auto header = pageHeader(doc, variables(2, 5), 400);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->string(), "Plan\t2024");   // the every-page cell wins
    doc.updateBorderInfoForKey(PropertyList(), "hdLt");
    header = pageHeader(doc, variables(2, 5), 400);
    EXPECT_EQ(header->string(), "even\t2024");
    header = pageHeader(doc, variables(3, 5), 400);
    EXPECT_EQ(header->string(), "\t2024");
    ASSERT_TRUE(header->attributesAt(0).paragraphStyle);
    const auto &tabs = header->attributesAt(0).paragraphStyle->tabStops;
    ASSERT_EQ(tabs.size(), 1);
    EXPECT_EQ(tabs[0].type, TextTabType::Right);
    EXPECT_EQ(tabs[0].location, 400);
    EXPECT_EQ(pageFooter(doc, variables(3, 5), 400)->string(), "\t- 3 -");
}

TEST(PageHeaders, FirstAndLastPageExceptions)
{
    ensureGuiApp();
    VekDocument doc;
    EXPECT_FALSE(pageShowsHeaderAndFooter(doc, 1, 3));   // the document adds none
    doc.setAddBorder(1);
    EXPECT_TRUE(pageShowsHeaderAndFooter(doc, 1, 3));
    doc.updateBorderInfoForKey(PropertyList::fromInt(1), "exFirst");
    EXPECT_FALSE(pageShowsHeaderAndFooter(doc, 1, 3));
    EXPECT_TRUE(pageShowsHeaderAndFooter(doc, 3, 3));
    doc.updateBorderInfoForKey(PropertyList::fromInt(1), "exLast");
    EXPECT_FALSE(pageShowsHeaderAndFooter(doc, 3, 3));
    EXPECT_TRUE(pageShowsHeaderAndFooter(doc, 2, 3));
}
