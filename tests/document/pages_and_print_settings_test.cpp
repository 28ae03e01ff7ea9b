// Pages from the print settings, the print settings value and its archive, and the header
// and footer settings.
#include "document/vek_document.h"

#include "platform/foundation/archiving.h"
#include "platform/text/rtf.h"

#include <gtest/gtest.h>

TEST(PrintSettings, PageSizeFollowsPaperMarginsAndResolution)
{
    const struct {
        Size paper;
        float margin;
        int resolution;
        Size page;
    } cases[] = {
        {{595.92f, 842}, 0, 72, {596, 842}},      // within 0.09 below a whole number: rounded up
        {{595.5f, 842}, 0, 72, {595.5f, 842}},
        {{600, 800}, 0, 144, {1200, 1600}},
        {{600, 800}, 50, 72, {500, 700}},
    };
    for (const auto &c : cases) {
        VekDocument doc;
        PrintInfo info = doc.printInfo();
        info.paperSize = c.paper;
        info.leftMargin = info.rightMargin = info.topMargin = info.bottomMargin = c.margin;
        doc.setPrintInfo(info);
        doc.setResolution(c.resolution);
        const Size page = doc.drawAreaSizePerPage();
        EXPECT_FLOAT_EQ(page.width, c.page.width) << c.paper.width;
        EXPECT_FLOAT_EQ(page.height, c.page.height) << c.paper.width;
        EXPECT_EQ(VekDocument::convertDefaultSizeToResolution(page, c.resolution),
                  (Size{page.width * 72 / c.resolution, page.height * 72 / c.resolution}));
        EXPECT_FLOAT_EQ(doc.printInfo().scalingFactor, 72.0f / float(c.resolution));
    }
    VekDocument doc;
    doc.setResolution(50);
    EXPECT_EQ(doc.resolution(), 72);
    doc.setDrawAreaSizePerPage({5, 500});
    EXPECT_NE(doc.drawAreaSizePerPage().width, 5);
}

TEST(PrintSettings, EachDocumentHasItsOwnAndUnequalMarginsEndCentring)
{
    VekDocument a, b;
    PrintInfo info = a.printInfo();
    info.horizontallyCentered = info.verticallyCentered = true;
    info.topMargin = 36;
    info.bottomMargin = 72;
    a.setPrintInfo(info);
    EXPECT_FALSE(a.printInfo().verticallyCentered);
    EXPECT_TRUE(a.printInfo().horizontallyCentered);
    EXPECT_EQ(b.printInfo().topMargin, PrintInfo::defaults().topMargin);   // untouched by a's change
}

TEST(PrintSettings, ArchiveAndDictionaryRoundTripAndRefuseDamage)
{
    PrintInfo info = PrintInfo::defaults();
    info.paperName = QStringLiteral("Letter");
    info.paperSize = {612, 792};
    info.orientation = PrintInfo::Orientation::Landscape;
    info.leftMargin = 10;
    info.scalingFactor = 0.5f;
    info.verticallyCentered = true;
    const QByteArray data = archivedPrintInfo(info);
    EXPECT_TRUE(data.contains("NSPrintInfo"));
    const auto back = unarchivePrintInfo(data);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, info);
    EXPECT_FALSE(unarchivePrintInfo("not an archive"));

    PropertyList damaged = info.dictionary();
    damaged.insert(QStringLiteral("NSPaperSize"), PropertyList::fromSize({NAN, 1e30f}));
    damaged.insert(QStringLiteral("NSLeftMargin"), PropertyList(QStringLiteral("-5")));
    damaged.insert(QStringLiteral("NSPrintScalingFactor"), PropertyList::fromFloat(0));
    const PrintInfo read = PrintInfo::fromDictionary(damaged);
    EXPECT_EQ(read.paperSize, PrintInfo::defaults().paperSize);
    EXPECT_EQ(read.leftMargin, PrintInfo::defaults().leftMargin);
    EXPECT_EQ(read.scalingFactor, 1.0f);
}

TEST(HeaderFooterSettings, DefaultsAndUpdates)
{
    VekDocument doc;
    const PropertyList &info = doc.borderinfo();
    const auto cell = [&](const char *key) {
        const auto text = attributedStringWithRTFD(info.value(QLatin1String(key)).dataValue());
        return text ? text->string() : QString();
    };
    EXPECT_EQ(cell("hdLt"), QStringLiteral("#VTITLE"));
    EXPECT_EQ(cell("hdRt"), QStringLiteral("#VDATE"));
    EXPECT_EQ(cell("ftMd"), QStringLiteral("- #VPAGE -"));
    EXPECT_FALSE(info.contains(QStringLiteral("hdLtO")));
    EXPECT_EQ(info.value(QStringLiteral("pad")).floatValue(), 6.0f);

    doc.updateBorderInfoForKey(PropertyList(), QStringLiteral("hdLt"));
    EXPECT_FALSE(doc.borderInfo().contains(QStringLiteral("hdLt")));
    EXPECT_TRUE(doc.isDocumentEdited());

    VekDocument fresh;
    fresh.updateBorderInfoForKey(PropertyList(), QStringLiteral("hdLt"));
    EXPECT_TRUE(fresh.borderInfo().isAbsent());
    EXPECT_FALSE(fresh.isDocumentEdited());
    fresh.setAddBorder(0);
    EXPECT_FALSE(fresh.isDocumentEdited());
}

TEST(PrintSettings, AcceptingThePageLayoutSetsTheResolutionWithoutDrift)
{
    VekDocument doc;
    doc.setResolution(300);
    for (int i = 0; i < 5; ++i)
        doc.pageLayoutAccepted(doc.printInfo());
    EXPECT_EQ(doc.resolution(), 300);

    PrintInfo info = doc.printInfo();
    info.scalingFactor = 0.5f;   // 50 %: twice the resolution
    doc.pageLayoutAccepted(info);
    EXPECT_EQ(doc.resolution(), 144);
    info.scalingFactor = 2.0f;   // 200 % would be 36 dpi, which is ignored
    doc.pageLayoutAccepted(info);
    EXPECT_EQ(doc.resolution(), 144);
    info.scalingFactor = 0;
    doc.pageLayoutAccepted(info);
    EXPECT_EQ(doc.resolution(), 144);
}

// A custom paper carries no name; the paper can be fitted to the page, and centring gives
// equal margins of what the paper leaves beside the page.
TEST(PrintSettings, CustomPaperMatchingThePageAndCentring)
{
    VekDocument doc;
    doc.setPrintInfo(PrintInfo::defaults());
    doc.setResolution(144);
    doc.setDrawAreaSizePerPage({1000, 1200});   // 500 x 600 points
    doc.setPaperSizeTo({600, 700}, QStringLiteral("Poster"));
    EXPECT_EQ(doc.printInfo().paperName, QStringLiteral("Poster"));
    doc.setPaperSizeTo({610, 710});
    EXPECT_TRUE(doc.printInfo().paperName.isEmpty());
    EXPECT_EQ(doc.printInfo().paperSize, (Size{610, 710}));

    doc.setPrintCenteredHAndV(true, false);
    EXPECT_FLOAT_EQ(doc.printInfo().leftMargin, 55);
    EXPECT_FLOAT_EQ(doc.printInfo().rightMargin, 55);
    EXPECT_FLOAT_EQ(doc.printInfo().topMargin, 90);   // untouched
    EXPECT_TRUE(doc.printInfo().horizontallyCentered);
    EXPECT_FALSE(doc.printInfo().verticallyCentered);

    // 0.5 x 1000 + 55 + 55 and 0.5 x 1200 + 90 + 90, in whole points.
    doc.setPaperSizeToMatchCurrentPage();
    EXPECT_EQ(doc.printInfo().paperSize, (Size{610, 780}));
    doc.setPrintCenteredHAndV(true, true);
    EXPECT_FLOAT_EQ(doc.printInfo().topMargin, 90);
    EXPECT_FLOAT_EQ(doc.printInfo().bottomMargin, 90);
    doc.setPaperSizeTo({400, 400});   // smaller than the page: no negative margins
    doc.setPrintCenteredHAndV(true, true);
    EXPECT_FLOAT_EQ(doc.printInfo().leftMargin, 0);
    EXPECT_FLOAT_EQ(doc.printInfo().topMargin, 0);
}
