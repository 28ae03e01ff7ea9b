// The table options panel as real widgets: settings for new tables, which controls a table
// and its selection enable, and the commands its controls send to the current table.
#include "panels/table_options_panel.h"

#include "model/vek_obj_grid.h"
#include "panels/colour_panel.h"
#include "panels/colour_panel.h"
#include "panels/colour_well.h"
#include "tests/model/fakes.h"
#include "tests/support/widget_app.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

class TableOptionsPanelTest : public ::testing::Test {
protected:
    TableOptionsPanelTest()
    {
        table = VekObjGrid::create();
        table->setBounds(Rect(0, 0, 300, 60));
        table->setupOnCurrentCondition();   // the built-in shell: 2 x 2
        doc.adopt(table);
        doc.canvas.selected = {table.get()};
        table->startEditingWithEvent(MouseEvent{}, &doc.canvas);
        panel.setCurrentObject(table);
    }

    // A click in the strip above the first row selects the column there.
    void selectColumn(int column)
    {
        const Point p{table->rectOfGridColumn(column).midX(), 1.5f};
        table->editWithEvent(MouseEvent{EventType::LeftMouseDown, p}, &doc.canvas);
    }

    // The application comes before any widget.
    struct WidgetApp {
        WidgetApp() { ensureWidgetApp(); }
    } app;
    FakeDocument doc;
    std::shared_ptr<VekObjGrid> table;
    TableOptionsPanel panel;
};

TEST_F(TableOptionsPanelTest, CountsForNewTablesAreAtLeastOne)
{
    for (const char *typed : {"0", "abc", "-3", ""}) {
        panel.gridColNr->setText(QString::fromLatin1(typed));
        EXPECT_EQ(panel.gridCurrentColumnNr(), 2) << typed;
        EXPECT_EQ(panel.gridColNr->text(), QStringLiteral("2"));
    }
    panel.gridRowNr->setText("7");
    EXPECT_EQ(panel.gridCurrentRowNr(), 7);
    panel.gridDrawLineV->setChecked(false);
    EXPECT_EQ(panel.gridCurrentDrawLineV(), 0);
    panel.gridColor->setColor(Color::colorWithDeviceRed(1, 0, 0));
    EXPECT_EQ(panel.gridCurrentColor().colorSpaceName(), CalibratedRGBColorSpace);
}

TEST_F(TableOptionsPanelTest, ControlsFollowTheToolTheTableAndItsSelection)
{
    const auto cellControls = [&] { return panel.gridCellFont->isEnabled() && panel.gridBGcolor->isEnabled(); };
    panel.setSelectedTool(8);
    panel.setGridOutlets(nullptr, -1, -1);
    EXPECT_TRUE(panel.gridColNr->isEnabled());
    EXPECT_FALSE(panel.gridAddCol->isEnabled());
    EXPECT_FALSE(cellControls());

    panel.setSelectedTool(0);
    panel.gridColNr->setText("9");
    panel.setGridOutlets(table.get(), -1, -1);
    EXPECT_EQ(panel.gridColNr->text(), QStringLiteral("2"));
    EXPECT_TRUE(panel.gridAddCol->isEnabled());
    EXPECT_FALSE(cellControls());
    EXPECT_FALSE(panel.gridBtnLnL->isEnabled());

    selectColumn(1);
    table->setLineType(1, 1);
    panel.setGridOutlets(table.get(), table->selectedColumnNr(), -1);
    EXPECT_TRUE(cellControls());
    EXPECT_TRUE(panel.gridBtnLnR->isEnabled());
    EXPECT_TRUE(panel.gridBtnLnR->isChecked());
    EXPECT_FALSE(panel.gridBtnLnL->isChecked());
    EXPECT_FALSE(panel.gridBtnLnT->isEnabled());
}

TEST_F(TableOptionsPanelTest, ControlsSendTheirCommandsToTheCurrentTable)
{
    panel.setSelectedTool(0);
    panel.setGridOutlets(table.get(), -1, -1);
    panel.gridAddCol->click();
    EXPECT_EQ(table->numberOfGridColumns(), 3);
    EXPECT_EQ(panel.gridColNr->text(), QStringLiteral("3"));
    panel.gridDrawLineH->click();
    EXPECT_EQ(table->drawLineH(), 0);

    selectColumn(0);
    panel.setGridOutlets(table.get(), 0, -1);
    panel.gridBtnLnL->click();
    EXPECT_EQ(table->lineTypeFor(0), 1);
    ColourPanel::sharedColorPanel().setTarget(panel.gridBGcolor);
    ColourPanel::sharedColorPanel().pickColor(Color::colorWithCalibratedRed(0, 0, 1));
    EXPECT_EQ(table->cells().count(), 2);
    panel.gridAlignment->button(2)->click();
    EXPECT_EQ(table->currentAlignment(), 0);   // alignment changes only cells with text

    // With another tool the table is left alone.
    panel.setSelectedTool(8);
    panel.gridAddRow->setEnabled(true);
    panel.gridAddRow->click();
    EXPECT_EQ(table->numberOfGridRows(), 2);
}
