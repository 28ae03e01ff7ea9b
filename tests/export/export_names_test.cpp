// The export panel's rules for file names, formats and page lists.
#include "export/export_dispatch.h"

#include <gtest/gtest.h>

TEST(ExportNames, ExtensionsFitTheFormat)
{
    struct Case {
        const char *name, *format, *result;
    };
    for (const Case &c : {Case{"plan", "jpg", "plan.jpg"}, Case{"plan.jpeg", "jpg", "plan.jpeg"},
                          Case{"plan.PDF", "pdf", "plan.PDF"}, Case{"plan.tif", "tiff", "plan.tif"},
                          Case{"plan.png", "jpg", "plan.png.jpg"}, Case{"plan", "eps-simple", "plan.eps"},
                          Case{"plan.eps", "eps-simple", "plan.eps"}, Case{"plan", "", "plan.tiff"}})
        EXPECT_EQ(controlFileExtension(c.name, c.format), QString(c.result)) << c.name << " " << c.format;

    EXPECT_EQ(formatForPath("a/plan.JPEG"), "jpg");
    EXPECT_EQ(formatForPath("plan.tif"), "tiff");
    EXPECT_EQ(formatForPath("plan"), "tiff");
    EXPECT_EQ(formatForPath("plan.Pdf"), "pdf");
    EXPECT_EQ(exportFormatNames().size(), 9);
    EXPECT_EQ(extensionForFormat("eps-simple"), "eps");
}

TEST(ExportNames, PageListsTakeTheTypedOrderAndRefuseAnImproperLead)
{
    EXPECT_EQ(pagesFromList("2,9,1", 5), std::vector<int>({2, 1}));
    EXPECT_EQ(pagesFromList("3,abc", 5), std::vector<int>({3}));
    EXPECT_EQ(pagesFromList("2,2", 5), std::vector<int>({2, 2}));
    EXPECT_FALSE(pagesFromList("0,2", 5));
    EXPECT_FALSE(pagesFromList("9", 5));
    EXPECT_FALSE(pagesFromList("", 5));
}
