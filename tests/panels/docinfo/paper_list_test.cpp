// The paper list: merging the printers' papers, the name questions and the best paper for a
// page size.
#include "panels/docinfo/paper_list.h"

#include "document/print_info.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "tests/support/gui_app.h"

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

TEST(PaperList, WithoutAPaperListTheBuiltInTableNamesThePapers)
{
    PaperList list;
    list.build({});
    EXPECT_TRUE(list.papers().empty());
    EXPECT_EQ(list.currentPrinter(), QString());
    struct Case {
        const char *name, *shown;
    } cases[] = {{"Executive", "USExecutiveEnvelope"}, {"na-letter", "USLetter"}, {"na-legal", "USLegal"},
                 {"iso-a0", "A0"}, {"iso-a8", "A8"}, {"iso-b0", "B0"}, {"iso-b8", "B8"},
                 {"jis-b0", "JISB0"}, {"jis-b5", "JISB5"}, {"jis-b7", "JISB7"}, {"jis-b10", "JISB10"},
                 // No shown name, and never another paper's.
                 {"jis-b6", ""}, {"A4", ""}};
    for (const Case &c : cases)
        EXPECT_EQ(list.paperLocalNameForName(QLatin1String(c.name)), QLatin1String(c.shown)) << c.name;
    // A listed paper without a display name ends the search there.
    const PaperList listed = listOf({{QStringLiteral("p"), {{"iso-a4", {595.28f, 841.89f}, ""}}, {}}});
    EXPECT_EQ(listed.paperLocalNameForName(QStringLiteral("iso-a4")), QString());
}

TEST(PaperList, TheBuiltInTableHoldsThe31PapersAtTheirStandardSizes)
{
    const std::vector<Paper> &papers = builtInPapers();
    ASSERT_EQ(papers.size(), 31u);
    struct Case {
        const char *name;
        Size size;
    } cases[] = {{"Executive", {522, 756}},          {"na-letter", {612, 792}},
                 {"na-legal", {612, 1008}},          {"iso-a4", {595.28f, 841.89f}},
                 {"iso-a0", {2383.94f, 3370.39f}},   {"iso-b5", {498.9f, 708.66f}},
                 {"jis-b5", {515.91f, 728.5f}},      {"jis-b10", {90.71f, 127.56f}}};
    for (const Case &c : cases) {
        const Paper *paper = builtInPaper(QLatin1String(c.name));
        ASSERT_TRUE(paper) << c.name;
        EXPECT_NEAR(paper->size.width, c.size.width, 0.005) << c.name;
        EXPECT_NEAR(paper->size.height, c.size.height, 0.005) << c.name;
    }
    EXPECT_FALSE(builtInPaper(QStringLiteral("jis-b6")));
    EXPECT_EQ(PrintInfo::defaults().paperName, QStringLiteral("iso-a4"));
}

TEST(PaperList, WithoutPrintersTheBuiltInPapersPrintToPdfWithQtsMinimumMargins)
{
    ensureGuiApp();
    const std::vector<PrinterPapers> printers = PaperList::installedPrinters();
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    ASSERT_EQ(printers.size(), 1u);
    PaperList list;
    list.build(printers);
    EXPECT_EQ(list.papers().size(), builtInPapers().size());
    EXPECT_EQ(PaperList::titleOf(list.papers().front()), QStringLiteral("USExecutiveEnvelope"));   // "Executive" sorts first
    EXPECT_EQ(list.currentPrinter(), QStringLiteral("Print to PDF"));
    ASSERT_TRUE(list.minimumMarginsOf(list.currentPrinter()));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    QPageLayout layout = pdf.pageLayout();
    layout.setUnits(QPageLayout::Point);
    EXPECT_EQ(list.minimumMarginsOf(list.currentPrinter())->left, float(layout.minimumMargins().left()));
}

TEST(PaperList, TheDefaultPrinterIsTheCurrentOneElseTheFirstNamedPrinter)
{
    const PrinterPapers a{QStringLiteral("a"), {}, PaperMargins{1, 1, 1, 1}, false};
    const PrinterPapers b{QStringLiteral("b"), {}, PaperMargins{2, 2, 2, 2}, true};
    const PrinterPapers unnamed{QString(), {}, PaperMargins{3, 3, 3, 3}, true};
    EXPECT_EQ(listOf({a, b}).currentPrinter(), QStringLiteral("b"));
    EXPECT_EQ(listOf({unnamed, a}).currentPrinter(), QStringLiteral("a"));
    EXPECT_FALSE(listOf({unnamed}).minimumMarginsOf(QString()));
}
