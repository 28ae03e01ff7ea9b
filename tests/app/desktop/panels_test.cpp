// The panels as a new user meets them: plain labels in the preferences and the inspector,
// the inspector following undo, a round shadow dial, palette buttons drawn from images with
// tooltips, the header and footer panel keeping one line and inserting at the caret, the
// document info panel above the documents and the floating ruler clear of the toolbar.
#include "tests/app/desktop/desktop_driver.h"

#include "app/preferences.h"
#include "app/preferences_window.h"
#include "canvas/ui/floating_ruler.h"
#include "panels/header_footer/border_controller.h"
#include "panels/obj_info/vek_obj_info_controller.h"
#include "panels/shadow/vek_shadow_controller.h"
#include "panels/shadow/vek_shadow_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>

namespace {

QStringList labelTexts(const QWidget &widget)
{
    QStringList texts;
    for (const QLabel *label : widget.findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

QWidget *visibleTopLevelNamed(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == name)
            return w;
    return nullptr;
}

} // namespace

TEST_F(WindowTest, ThePreferencesNameEveryColourInPlainWords)
{
    VekDocumentWindow &window = start();
    menuItem(window, QStringLiteral("File"), QStringLiteral("Preferences..."))->trigger();
    QTRY_VERIFY(controller->preferencesWindow().isVisible());
    const QStringList labels = labelTexts(controller->preferencesWindow());
    for (const char *expected : {"Grid", "Major grid lines", "Floating ruler background", "Resize knobs",
                                 "Control lines", "Marker 1", "Marker 5"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(expected))) << expected;
    for (const QString &label : labels)
        EXPECT_FALSE(label.startsWith(QStringLiteral("cw"))) << label.toStdString();
    for (const QString &key : VekPreferences::colorKeys())
        EXPECT_TRUE(labels.contains(VekPreferences::colorLabel(key))) << key.toStdString();
}

TEST_F(WindowTest, TheInspectorReadsPlainlyAndItsShadowBoxFollowsUndo)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    drawRectangle(canvas, {40, 40}, {200, 120});
    canvas.click(120, 80);
    menuItem(window, QStringLiteral("Window"), QStringLiteral("Open Object Info Panel"))->trigger();
    VekObjInfoController &inspector = VekObjInfoController::sharedObjInfoController();
    QTRY_VERIFY(inspector.isVisible());
    auto *tabs = inspector.findChild<QTabWidget *>(QStringLiteral("tabs"));
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Stroke && Fill"));   // shows as "Stroke & Fill"
    const QStringList labels = labelTexts(inspector);
    EXPECT_TRUE(labels.contains(QStringLiteral("Start arrow:")));
    EXPECT_TRUE(labels.contains(QStringLiteral("End arrow:")));

    const auto box = window.document().objects().front();
    QTRY_VERIFY(inspector.optIndvShadow->isEnabled());
    ASSERT_FALSE(inspector.optIndvShadow->isChecked());
    QTest::mouseClick(inspector.optIndvShadow, Qt::LeftButton);
    ASSERT_TRUE(box->indvShadow());
    activate(window);
    undoAllThenRedoAll(
        canvas,
        [&] {
            EXPECT_TRUE(window.document().objects().empty());
        },
        [&] {
            EXPECT_TRUE(box->indvShadow());
            canvas.click(120, 80);
            EXPECT_TRUE(inspector.optIndvShadow->isChecked());
        });
    // Undo of the box alone, the object staying selected: the box follows at once.
    canvas.key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_FALSE(box->indvShadow());
    EXPECT_FALSE(inspector.optIndvShadow->isChecked());
    canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(inspector.optIndvShadow->isChecked());

    // The shadow panel's dial is a circle.
    QTest::mouseClick(inspector.btnIndvShdwVals, Qt::LeftButton);
    VekShadowController &shadow = VekShadowController::sharedShadowController();
    QTRY_VERIFY(shadow.isVisible());
    EXPECT_EQ(shadow.shadowView->width(), shadow.shadowView->height());
}

TEST_F(WindowTest, PaletteButtonsShowPicturesAndTellWhatTheyAre)
{
    start();
    const QList<QToolButton *> buttons = palette->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(buttons.size(), 10);   // nine tools and the menu
    for (const QToolButton *button : buttons) {
        EXPECT_FALSE(button->toolTip().isEmpty());
        EXPECT_TRUE(button->text().isEmpty()) << button->toolTip().toStdString();
        // The picture has ink: the SVG resource was found and drawn.
        const QImage picture = button->icon().pixmap(button->iconSize()).toImage();
        ASSERT_FALSE(picture.isNull()) << button->toolTip().toStdString();
        bool inked = false;
        for (int y = 0; y < picture.height() && !inked; ++y)
            for (int x = 0; x < picture.width() && !inked; ++x)
                inked = qAlpha(picture.pixel(x, y)) > 128;
        EXPECT_TRUE(inked) << button->toolTip().toStdString();
    }
}

TEST_F(WindowTest, HeaderCellsKeepOneLineAndTakeAVariableAtTheCaret)
{
    VekDocumentWindow &window = start();
    menuItem(window, QStringLiteral("Window"), QStringLiteral("Open Border Panel"))->trigger();
    QWidget *panelWidget = nullptr;
    QTRY_VERIFY((panelWidget = visibleTopLevelNamed(QStringLiteral("BorderPanel"))));
    auto *panel = static_cast<VekBorderController *>(panelWidget);
    EXPECT_TRUE(labelTexts(*panel).contains(QStringLiteral("Each cell holds one line of text.")));
    auto *cell = panel->findChild<QTextEdit *>(QStringLiteral("hdLt"));
    ASSERT_TRUE(cell);
    panel->activateWindow();
    QTRY_VERIFY(panel->isActiveWindow());
    QTest::mouseClick(cell->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    cell->selectAll();   // the document's default header: its title
    QTest::keyClick(cell, Qt::Key_Delete);
    QTest::keyClicks(cell, QStringLiteral("Page "));
    QTest::keyClick(cell, Qt::Key_Return);   // no second line
    QTest::keyClicks(cell, QStringLiteral("of "));
    // The caret at the start: the variable goes there.
    QTest::keyClick(cell, Qt::Key_Home);
    panel->pbVars->setCurrentIndex(1);   // the page number
    QTest::mouseClick(panel->btnInsert, Qt::LeftButton);
    EXPECT_EQ(cell->toPlainText(), QStringLiteral("#VPAGEPage of "));
    // At the end, after a change elsewhere in the document has reloaded the panel.
    QTest::keyClick(cell, Qt::Key_End);
    window.document().updateBorderInfoForKey(PropertyList::fromFloat(8), QStringLiteral("pad"));
    activate(window);
    panel->activateWindow();
    QTRY_VERIFY(panel->isActiveWindow());
    panel->pbVars->setCurrentIndex(2);   // the number of pages
    QTest::mouseClick(panel->btnInsert, Qt::LeftButton);
    EXPECT_EQ(cell->toPlainText(), QStringLiteral("#VPAGEPage of #VPAGETOTAL"));
}

TEST_F(WindowTest, TheDocumentInfoPanelStaysAboveTheDocuments)
{
    VekDocumentWindow &window = start();
    menuItem(window, QStringLiteral("Window"), QStringLiteral("Open Document Info Panel"))->trigger();
    QWidget *info = nullptr;
    QTRY_VERIFY((info = visibleTopLevelNamed(QStringLiteral("DocInfoPanel"))));
    activate(window);
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(WindowTest, TheFloatingHorizontalRulerOpensClearOfTheToolbar)
{
    VekDocumentWindow &window = start();
    menuItem(window, QStringLiteral("Window"), QStringLiteral("Show Horizontal Ruler"))->trigger();
    QWidget *ruler = nullptr;
    QTRY_VERIFY(([&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (dynamic_cast<FloatingRulerView *>(w) && w->isVisible() && w->width() > w->height())
                ruler = w;
        return ruler != nullptr;
    }()));
    auto *toolbar = window.findChild<QToolBar *>();
    ASSERT_TRUE(toolbar);
    const QRect toolbarOnScreen(toolbar->mapToGlobal(QPoint(0, 0)), toolbar->size());
    EXPECT_FALSE(ruler->frameGeometry().intersects(toolbarOnScreen))
        << ruler->frameGeometry().y() << " " << toolbarOnScreen.y() << " " << toolbarOnScreen.height();
}
