// The print tab's edits of print settings: fitting the paper to the page and centring the
// page on the paper.
#include "panels/docinfo/print_edits.h"

#include <gtest/gtest.h>

namespace {

PrintSettings settingsWith(Size paper, PrintInfo::Orientation orientation, Size page, int resolution = 72)
{
    PrintSettings s;
    s.info = PrintInfo::defaults();
    s.info.paperSize = paper;
    s.info.orientation = orientation;
    s.info.leftMargin = 10;
    s.info.rightMargin = 20;
    s.info.topMargin = 30;
    s.info.bottomMargin = 40;
    setResolution(s, resolution);
    s.drawAreaSize = page;
    return s;
}

} // namespace

TEST(PrintEdits, FittingThePaperHoldsThePageAndItsMarginsAsThePageLies)
{
    using O = PrintInfo::Orientation;
    struct Case {
        const char *what;
        O orientation;
        Size page;          // document pixels
        int resolution;
        Size paper;         // as it lies under the print
        O orientationAfter;
    } cases[] = {
        {"upright", O::Portrait, {400.5f, 600}, 72, {431, 670}, O::Portrait},
        {"wide page, upright paper", O::Portrait, {700, 300}, 72, {730, 370}, O::Portrait},
        {"wide page, landscape", O::Landscape, {700, 300}, 72, {730, 370}, O::Landscape},
        // Landscape would turn a tall fitted paper on its side.
        {"tall page, landscape", O::Landscape, {300, 700}, 72, {330, 770}, O::Portrait},
        {"144 dpi halves the page", O::Portrait, {800, 1200}, 144, {430, 670}, O::Portrait},
    };
    for (const Case &c : cases) {
        PrintSettings s = settingsWith({595.28f, 841.89f}, c.orientation, c.page, c.resolution);
        setPaperSizeToMatchPage(s);
        EXPECT_EQ(s.info.paperName, QString()) << c.what;
        EXPECT_EQ(s.info.orientedPaperSize(), c.paper) << c.what;
        EXPECT_EQ(s.info.orientation, c.orientationAfter) << c.what;
    }
}

TEST(PrintEdits, CentringSplitsWhatThePaperLeavesBesideThePage)
{
    PrintSettings s = settingsWith({600, 800}, PrintInfo::Orientation::Portrait, {400, 500});
    setPrintCentered(s, true, false);
    EXPECT_EQ(s.info.leftMargin, 100.0f);
    EXPECT_EQ(s.info.rightMargin, 100.0f);
    EXPECT_EQ(s.info.topMargin, 30.0f);   // vertical centring off: unchanged
    setPrintCentered(s, true, true);
    EXPECT_EQ(s.info.topMargin, 150.0f);
    EXPECT_EQ(s.info.bottomMargin, 150.0f);
    // A page larger than the paper gets no negative margins.
    PrintSettings large = settingsWith({300, 300}, PrintInfo::Orientation::Landscape, {400, 500});
    setPrintCentered(large, true, true);
    EXPECT_EQ(large.info.leftMargin, 0.0f);
    EXPECT_EQ(large.info.topMargin, 0.0f);
    // Unequal margins typed afterwards switch that direction's centring off.
    setMargins(s, 100, 100, 140, 160);
    EXPECT_TRUE(s.info.horizontallyCentered);
    EXPECT_FALSE(s.info.verticallyCentered);
}
