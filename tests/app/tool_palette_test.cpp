// The tool palette: selection, satellite panels, marker state, cursors and notifications.
#include "tests/app/shell_fixture.h"

#include "app/main_menu.h"
#include "app/preferences_window.h"
#include "app/tool_controller.h"
#include "canvas/ui/vek_view.h"
#include "model/vek_obj_grid.h"
#include "panels/colour_well.h"
#include "panels/format_options_panel.h"
#include "panels/table_options_panel.h"
#include "platform/foundation/notification_center.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QPixmap>

namespace {

struct NotificationCounter {
    explicit NotificationCounter(const QString &name)
    {
        NotificationCenter::defaultCenter().addObserver(this, name, nullptr, [this](const Notification &) { ++count; });
    }
    ~NotificationCounter() { NotificationCenter::defaultCenter().removeObserver(this); }
    int count = 0;
};

} // namespace

TEST_F(ShellTest, SelectingToolsPostsAndIgnoresNumbersOutOfRange)
{
    VekToolController &tools = controller->toolController();
    NotificationCounter changes(VekSelectedToolDidChangeNotification);
    EXPECT_EQ(tools.selectedTool(), 0);
    for (int n : {9, -1, 0, 1 << 30}) {
        tools.selectTool(n);
        EXPECT_EQ(tools.selectedTool(), 0);
    }
    EXPECT_EQ(changes.count, 0);

    controller->startUp({});
    controller->performAction(QStringLiteral("selectTool"), ActionSender{5, 0, {}, nullptr});
    EXPECT_EQ(tools.selectedTool(), 5);
    EXPECT_EQ(shellServices().selectedTool(), 5);
    EXPECT_EQ(changes.count, 1);
    tools.selectArrowTool();
    EXPECT_EQ(changes.count, 2);
}

TEST_F(ShellTest, TheFieldAndTableToolsShowTheirOptionPanelsForNewObjects)
{
    VekToolController &tools = controller->toolController();
    FormatOptionsPanel &fields = tools.formatOptPanel();
    TableOptionsPanel &tables = tools.gridOptPanel();
    tools.selectTool(7);
    EXPECT_TRUE(fields.isVisible());
    EXPECT_TRUE(fields.formatTypes->isVisible() && fields.formatTypes->isEnabled());
    EXPECT_TRUE(fields.formatsPage->isEnabled() && fields.formatsDate->isEnabled());
    EXPECT_EQ(fields.editedField(), nullptr);
    // The table tool leaves the field panel open; its panel takes counts, not cell settings.
    tools.selectTool(8);
    EXPECT_TRUE(fields.isVisible());
    EXPECT_TRUE(tables.isVisible());
    EXPECT_TRUE(tables.gridColNr->isEnabled() && tables.gridRowNr->isEnabled() && tables.gridColor->isEnabled());
    EXPECT_FALSE(tables.gridAddCol->isEnabled());
    EXPECT_FALSE(tables.gridCellFont->isEnabled());
    EXPECT_EQ(tools.visibleToolOption(), 7);
    tools.selectTool(1);
    EXPECT_EQ(tools.visibleToolOption(), 1);
    // The arrow selected directly leaves the panels to the caller.
    tools.selectArrowTool();
    EXPECT_TRUE(tools.shapePanel().isVisible());
    tools.selectTool(6);
    EXPECT_EQ(tools.visibleToolOption(), -1);
    // Closing a panel by its close box goes back to the arrow.
    tools.selectTool(8);
    tables.close();
    EXPECT_EQ(tools.selectedTool(), 0);
}

TEST_F(ShellTest, TheFieldToolsCursorShowsTheExampleOfTheChosenFormat)
{
    VekToolController &tools = controller->toolController();
    FormatOptionsPanel &fields = tools.formatOptPanel();
    NotificationCounter cursorChanges(VekSelectedToolCursorDidChangeNotification);
    tools.selectTool(7);
    const int plainWidth = tools.cursorForSelectedTool().pixmap().width();
    fields.formatsPage->setCurrentIndex(fields.formatsPage->findText(QStringLiteral("< %d >")));
    fields.updateFormatsPage(fields.formatsPage);
    EXPECT_GE(cursorChanges.count, 1);
    EXPECT_EQ(fields.selectedFormatExample().string(), QStringLiteral("< 1 >"));
    EXPECT_GT(tools.cursorForSelectedTool().pixmap().width(), plainWidth);
}

TEST_F(ShellTest, MarkerStateIsClampedAndRedrawsItsCursor)
{
    VekToolController &tools = controller->toolController();
    EXPECT_EQ(tools.currentMarkerColorNr(), 1);
    EXPECT_EQ(tools.currentMarkerThickness(), 6.0f);
    tools.setMarkerColorNr(0);
    EXPECT_EQ(tools.currentMarkerColorNr(), 1);
    tools.setMarkerColorNr(7);
    EXPECT_EQ(tools.currentMarkerColorNr(), 5);
    tools.setMarkerThickness(0.2f);
    EXPECT_EQ(tools.currentMarkerThickness(), 0.5f);

    EXPECT_EQ(ToolCursors::markerLabel(6.5f), QStringLiteral("6"));
    EXPECT_EQ(ToolCursors::markerLabel(12.0f), QStringLiteral("12"));

    NotificationCounter cursorChanges(VekSelectedToolCursorDidChangeNotification);
    // Building the cursor while another tool is selected posts nothing.
    tools.cursors().markCursor(controller->markerColor(5), 6);
    tools.setMarkerThickness(8);
    EXPECT_EQ(cursorChanges.count, 0);
    tools.selectTool(5);
    tools.setMarkerColorNr(2);
    EXPECT_EQ(cursorChanges.count, 1);
    // The picture takes the (green, half-transparent) marker colour where it is opaque.
    const QImage picture = tools.cursorForSelectedTool().pixmap().toImage();
    const QColor tip = picture.pixelColor(8, 8);
    EXPECT_EQ(tip.alpha(), 255);
    EXPECT_GT(tip.green(), tip.red() + 60);
    EXPECT_EQ(tip.red(), tip.blue());
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
}

TEST_F(ShellTest, TheCanvasShowsThePalettesCursorOfTheSelectedTool)
{
    controller->startUp({});
    VekView &view = windows().front()->vekView();
    const auto cursorAfterMove = [&view] {
        view.resetCursorRects();
        // The middle of the viewport lies on the page.
        const QPointF middle = QRectF(view.viewport()->rect()).center();
        QMouseEvent move(QEvent::MouseMove, middle, view.viewport()->mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &move);
        return view.viewport()->cursor();
    };
    VekToolController &tools = controller->toolController();
    for (const int tool : {2, 5}) {
        tools.selectTool(tool);
        const QCursor shown = cursorAfterMove();
        EXPECT_EQ(shown.shape(), Qt::BitmapCursor) << tool;
        EXPECT_EQ(shown.pixmap().toImage(), tools.cursorForSelectedTool().pixmap().toImage()) << tool;
    }
    tools.selectTool(1);
    EXPECT_EQ(cursorAfterMove().shape(), Qt::CrossCursor);
}

TEST_F(ShellTest, PreferencesPersistInTheDefaultsFile)
{
    VekPreferences &prefs = controller->preferences();
    EXPECT_EQ(prefs.userPrefsValueFor(QStringLiteral("rulerUnit")), 2);
    prefs.updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("startUp"), PropertyList::fromInt(2));
    prefs.updateLastStates(PropertyList(QStringLiteral("x")), QStringLiteral("userFontName"));
    prefs.setColorForKey(Color::colorWithCalibratedRed(0, 0, 1, 0.5f), QStringLiteral("cwMarker3"));

    UserDefaults reread(defaults->filePath());
    VekPreferences again(reread);
    EXPECT_EQ(again.startUp(), 2);
    EXPECT_EQ(again.lastStatesForKey(QStringLiteral("userFontName")).stringValue(), QStringLiteral("x"));
    EXPECT_EQ(again.markerColor(3), Color::colorWithCalibratedRed(0, 0, 1, 0.5f));
    // Numbers out of range give marker colour 1.
    for (int n : {0, 6, -1})
        EXPECT_EQ(again.markerColor(n), again.markerColor(1));

    // Margins missing from "prefs": 57 beside a page side of exactly 480 or 728, else 0.
    for (int width : {480, 481}) {
        prefs.updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("marginL"), PropertyList());
        prefs.updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("viewSzW"), PropertyList::fromInt(width));
        EXPECT_EQ(prefs.marginFor(QStringLiteral("marginL")), width == 480 ? 57 : 0);
    }

    prefs.updateLastStates(PropertyList(), QStringLiteral("userFontName"));
    EXPECT_TRUE(prefs.lastStatesForKey(QStringLiteral("userFontName")).isAbsent());
    // Old top-level keys move into "lastStates".
    defaults->setObject(PropertyList(QStringLiteral("set")), QStringLiteral("selectedSet"));
    EXPECT_EQ(prefs.lastStatesForKey(QStringLiteral("selectedSet")).stringValue(), QStringLiteral("set"));
    EXPECT_TRUE(defaults->objectForKey(QStringLiteral("selectedSet")).isAbsent());
}

TEST_F(ShellTest, StartUpPreferenceChoosesWhatOpens)
{
    auto setStartUp = [this](int choice) {
        controller->preferences().updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("startUp"),
                                                        PropertyList::fromInt(choice));
    };
    // The last document, when it no longer exists: a new one.
    setStartUp(1);
    controller->docController().noteNewRecentDocument(path(QStringLiteral("gone.vek")));
    controller->startUp({});
    EXPECT_EQ(windows().size(), 1u);
    // Files named on the command line open instead.
    controller->docController().windowBecameMain(windows().front());
    windows().front()->saveToPath(path(QStringLiteral("named.vek")), true);
    windows().front()->close();
    flushDeletes();
    VekMainController again(*defaults);
    again.startUp({path(QStringLiteral("named.vek"))});
    ASSERT_EQ(again.docController().documentWindows().size(), 1u);
    EXPECT_EQ(again.docController().documentWindows().front()->filePath(), path(QStringLiteral("named.vek")));
    again.docController().documentWindows().front()->close();
    flushDeletes();
    setShellServices(controller.get());
    setDocumentShellServices(controller.get());
    controller->docController().createVekUntitledDocument();

    // The open panel, cancelled: nothing opens.
    setStartUp(2);
    dialogs.openPanelFiles.clear();
    controller->openAtStartUp();
    EXPECT_EQ(windows().size(), 1u);
}

TEST_F(ShellTest, MenuItemsValidateThroughTheChain)
{
    controller->startUp({});
    ResponderChain chain = controller->responderChain();
    ActionSender sender;
    controller->toolController().hide();
    EXPECT_TRUE(chain.validateAction(QStringLiteral("toggleToolPanel"), sender));
    EXPECT_EQ(sender.title, QStringLiteral("Open Tool Panel"));
    // Nothing to undo yet, an untitled document cannot revert, nobody takes an unknown action.
    EXPECT_FALSE(chain.validateAction(QStringLiteral("undo"), sender));
    EXPECT_FALSE(chain.validateAction(QStringLiteral("revertDocumentToSaved"), sender));
    EXPECT_FALSE(chain.validateAction(QStringLiteral("noSuchAction"), sender));
    EXPECT_TRUE(chain.validateAction(QStringLiteral("saveDocument"), sender));
    EXPECT_FALSE(windows().front()->menuBar()->actions().isEmpty());
}

TEST_F(ShellTest, ThePreferencesWindowStoresEachChangeAtOnce)
{
    VekPreferencesWindow &window = controller->preferencesWindow();
    window.findChild<QDoubleSpinBox *>(QStringLiteral("gridScale"))->setValue(1.26);
    window.findChild<QComboBox *>(QStringLiteral("rulerUnit"))->setCurrentIndex(1);
    window.findChild<QCheckBox *>(QStringLiteral("saveXML"))->setChecked(true);
    window.findChild<QSpinBox *>(QStringLiteral("viewSzW"))->setValue(500);

    UserDefaults reread(defaults->filePath());
    const PropertyList prefs = reread.dictionaryForKey(QStringLiteral("prefs"));
    EXPECT_FLOAT_EQ(prefs.value(QStringLiteral("gridScale")).floatValue(), 1.3f);
    EXPECT_EQ(prefs.value(QStringLiteral("rulerUnit")).intValue(), 1);
    EXPECT_EQ(prefs.value(QStringLiteral("saveXML")).intValue(), 1);
    EXPECT_EQ(prefs.value(QStringLiteral("viewSzW")).intValue(), 500);
    EXPECT_TRUE(controller->saveFormatted());
    EXPECT_EQ(controller->userPrefViewSize().width, 500);
}

// A responder of the kind the canvas becomes: takes "group" while something is selected,
// and shows the grid state as the item's check mark.
struct FakeCanvas : QWidget, Responder {
    bool selection = false;
    bool grid = true;
    int groups = 0;
    bool respondsToAction(const QString &action) const override
    {
        return action == QLatin1String("group") || action == QLatin1String("snapsToGrid");
    }
    bool validateAction(const QString &action, ActionSender &sender) override
    {
        if (action == QLatin1String("snapsToGrid")) {
            sender.state = grid ? 1 : 0;
            return true;
        }
        return selection;
    }
    bool performAction(const QString &, const ActionSender &) override { return ++groups; }
};

TEST_F(ShellTest, MenusReachTheMainDocumentsFocusedResponderFirst)
{
    controller->startUp({});
    VekDocumentWindow *window = windows().front();
    auto *canvas = new FakeCanvas;
    canvas->setParent(window->centralWidget());
    canvas->setFocusPolicy(Qt::StrongFocus);
    canvas->show();
    canvas->setFocus();

    QMenu *arrange = nullptr, *page = nullptr;
    for (QAction *m : window->menuBar()->actions()) {
        if (m->text() == QLatin1String("Arrange"))
            arrange = m->menu();
        if (m->text() == QLatin1String("Page"))
            page = m->menu();
    }
    ASSERT_TRUE(arrange && page);
    auto item = [](QMenu *menu, const char *title) {
        for (QAction *a : menu->actions())
            if (a->text() == QLatin1String(title))
                return a;
        return static_cast<QAction *>(nullptr);
    };
    validateMenu(*arrange, controller->responderChain());
    EXPECT_FALSE(item(arrange, "Group")->isEnabled());
    EXPECT_FALSE(item(arrange, "Make Straight")->isEnabled());   // nobody takes it yet
    canvas->selection = true;
    validateMenu(*arrange, controller->responderChain());
    EXPECT_TRUE(item(arrange, "Group")->isEnabled());
    item(arrange, "Group")->trigger();
    EXPECT_EQ(canvas->groups, 1);
    validateMenu(*page, controller->responderChain());
    EXPECT_TRUE(item(page, "Snap to Grid")->isChecked());
}

TEST_F(ShellTest, OpenRecentListsTheRecentFilesAndOpensThem)
{
    controller->startUp({});
    ASSERT_TRUE(windows().front()->saveToPath(path(QStringLiteral("recent.vek")), false));
    QMenu *file = windows().front()->menuBar()->actions().first()->menu();
    QMenu *recent = nullptr;
    for (QAction *a : file->actions())
        if (a->menu() && a->text() == QLatin1String("Open Recent"))
            recent = a->menu();
    ASSERT_TRUE(recent);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_EQ(recent->actions().first()->text(), QStringLiteral("recent.vek"));
    windows().front()->close();
    flushDeletes();
    recent = nullptr;
    controller->docController().createVekUntitledDocument();
    file = windows().front()->menuBar()->actions().first()->menu();
    for (QAction *a : file->actions())
        if (a->menu() && a->text() == QLatin1String("Open Recent"))
            recent = a->menu();
    ASSERT_TRUE(recent);
    emit recent->aboutToShow();
    recent->actions().first()->trigger();
    EXPECT_EQ(windows().back()->filePath(), path(QStringLiteral("recent.vek")));
}

TEST_F(ShellTest, ThePaletteCarriesTheMenusForWhenNoDocumentIsOpen)
{
    auto *button = controller->toolController().findChild<QToolButton *>(QStringLiteral("menuButton"));
    ASSERT_TRUE(button && button->menu());
    QMenu *file = button->menu()->actions().first()->menu();
    ASSERT_TRUE(file);
    for (QAction *a : file->actions())
        if (a->text() == QLatin1String("New"))
            a->trigger();
    EXPECT_EQ(windows().size(), 1u);
}

TEST_F(ShellTest, TheFieldAndTableToolsReadTheirOptionPanels)
{
    EXPECT_GE(controller->gridCurrentColumnNr(), 1);
    EXPECT_GE(controller->gridCurrentRowNr(), 1);
    EXPECT_FALSE(controller->selectedFormat().isEmpty());

    // Editing a table shows its panel; ending the editing hides it.
    const auto table = VekObjGrid::create();
    table->setBounds(Rect(0, 0, 100, 50));
    table->setupOnCurrentCondition();
    controller->showToolOptionPanelFor(*table, true);
    const auto panels = controller->toolController().findChildren<TableOptionsPanel *>();
    ASSERT_EQ(panels.size(), 1);
    EXPECT_TRUE(panels.front()->isVisible());
    controller->orderOutToolOptionPanelFor(*table);
    EXPECT_FALSE(panels.front()->isVisible());
}
