// The export panel offscreen: the proposed name, the extension following the format, and
// the choices it hands to the dispatch.
#include "app/document/export_panel.h"

#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

TEST(ExportPanel, NameFollowsSelectionAndFormat)
{
    ensureWidgetApp();
    EXPECT_EQ(proposedExportName("plan.vek", true, false, "jpg"), "plan_selected.jpg");
    EXPECT_EQ(proposedExportName("plan.vek", true, true, "eps-simple"), "plan_selectedArea.eps");
    EXPECT_EQ(proposedExportName("plan.vek", false, false, "tiff"), "plan.tiff");

    ExportPanel panel(nullptr, "plan.vek", true, false);
    auto *format = panel.findChild<QComboBox *>("exportFormat");
    auto *name = panel.findChild<QLineEdit *>("fileNameEdit");
    ASSERT_TRUE(format && name);
    format->setCurrentText("pdf");
    EXPECT_EQ(name->text(), "plan_selected.pdf");
    format->setCurrentText("eps-simple");
    EXPECT_EQ(name->text(), "plan_selected.eps");
    EXPECT_TRUE(panel.selectedOnly());
    EXPECT_EQ(panel.flattenResolution(), 0);

    // Text as outlines counts for SVG only.
    auto *outlines = panel.findChild<QCheckBox *>("textAsOutlines");
    ASSERT_TRUE(outlines);
    outlines->setChecked(true);
    EXPECT_FALSE(panel.textAsOutlines());
    format->setCurrentText("svg");
    EXPECT_EQ(name->text(), "plan_selected.svg");
    EXPECT_TRUE(panel.textAsOutlines());

    ExportPanel whole(nullptr, "plan.vek", false, false);
    EXPECT_FALSE(whole.selectedOnly());
}
