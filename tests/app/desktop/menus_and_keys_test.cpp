// The menus and keys as a new user meets them: Undo and Redo name their step, the Page menu
// works before the canvas was ever clicked, Ctrl makes the gestures the control key makes,
// Quit works from the memo panel, and alerts and window titles read as plain text.
#include "tests/app/desktop/desktop_driver.h"

#include "app/memo_panel.h"
#include "platform/foundation/localized_strings.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTextEdit>

TEST_F(WindowTest, UndoAndRedoNameTheStepTheyTakeBack)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    QMenu *edit = menuTitled(window, QStringLiteral("Edit"));
    ASSERT_TRUE(edit);
    const auto titles = [&] {
        QStringList both;
        whileMenuShows(*edit, [&](QMenu &menu) { both << menu.actions()[0]->text() << menu.actions()[1]->text(); });
        return both;
    };
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Undo"), QStringLiteral("Redo")}));
    drawRectangle(canvas, {40, 40}, {200, 120});
    EXPECT_EQ(titles(), QStringList({QStringLiteral("Undo Create Object"), QStringLiteral("Redo")}));
    // The item, titled by its step, still undoes it.
    whileMenuShows(*edit, [](QMenu &menu) { menu.actions()[0]->trigger(); });
    EXPECT_TRUE(window.document().objects().empty());
    EXPECT_TRUE(titles().at(1) == QStringLiteral("Redo Create Object")) << titles().join(',').toStdString();
    whileMenuShows(*edit, [](QMenu &menu) { menu.actions()[1]->trigger(); });
    EXPECT_EQ(window.document().objects().size(), 1u);
    EXPECT_EQ(titles().at(0), QStringLiteral("Undo Create Object"));
}

TEST_F(WindowTest, ThePageMenuWorksBeforeTheCanvasWasEverClicked)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    // As on a first start, where the splash panel had the focus: nothing in the window has it.
    window.vekView().clearFocus();
    ASSERT_FALSE(window.focusWidget());
    QMenu *page = menuTitled(window, QStringLiteral("Page"));
    ASSERT_TRUE(page);
    const auto enabledItems = [&] {
        QStringList enabled;
        whileMenuShows(*page, [&](QMenu &menu) {
            for (QAction *item : menu.actions())
                if (!item->isSeparator() && item->isEnabled())
                    enabled << item->text();
        });
        return enabled;
    };
    const QStringList unfocused = enabledItems();
    EXPECT_TRUE(unfocused.contains(QStringLiteral("Zoom In")));
    EXPECT_TRUE(unfocused.contains(QStringLiteral("Add Page")));
    EXPECT_TRUE(unfocused.contains(QStringLiteral("Background Color...")));
    // The same items as once the canvas has the focus.
    window.vekView().setFocus();
    EXPECT_EQ(enabledItems(), unfocused);
    window.vekView().clearFocus();
    whileMenuShows(*page, [](QMenu &menu) {
        for (QAction *item : menu.actions())
            if (item->text() == QLatin1String("Add Page"))
                item->trigger();
    });
    EXPECT_EQ(window.document().numberOfPages(), 2);
    undoAllThenRedoAll(
        canvas, [&] { EXPECT_EQ(window.document().numberOfPages(), 1); },
        [&] { EXPECT_EQ(window.document().numberOfPages(), 2); });
}

TEST_F(WindowTest, CtrlMakesTheControlKeysGesturesWithoutSuper)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    drawRectangle(canvas, {40, 40}, {200, 120});
    const auto box = window.document().objects().front();
    canvas.click(120, 80);
    const Rect before = box->bounds();
    // The fine nudge: half a point with Ctrl, as with the control key.
    canvas.key(Qt::Key_Right, Qt::ControlModifier);
    canvas.key(Qt::Key_Down, Qt::MetaModifier);
    EXPECT_FLOAT_EQ(box->bounds().origin.x, before.origin.x + 0.5f);
    EXPECT_FLOAT_EQ(box->bounds().origin.y, before.origin.y + 0.5f);
    const Rect nudged = box->bounds();
    // The palette's tooltip tells the Linux gesture.
    EXPECT_TRUE(localizedString(QStringLiteral("ToolTipObjectMatrix")).startsWith(QStringLiteral("Ctrl-drag")));
    undoAllThenRedoAll(
        canvas, [&] { EXPECT_TRUE(window.document().objects().empty()); },
        [&] {
            ASSERT_EQ(window.document().objects().size(), 1u);
            EXPECT_EQ(window.document().objects().front()->bounds(), nudged);
        });
}

TEST_F(WindowTest, CtrlQQuitsWhileTheMemoPanelHasTheFocus)
{
    VekDocumentWindow &window = start();
    menuItem(window, QStringLiteral("Window"), QStringLiteral("Open Memo Panel"))->trigger();
    QWidget *memo = nullptr;
    QTRY_VERIFY((memo = visibleTopLevelTitled(QStringLiteral("Memo"))));
    memo->activateWindow();
    QTRY_VERIFY(memo->isActiveWindow());
    auto *text = memo->findChild<QTextEdit *>();
    ASSERT_TRUE(text);
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("note"));
    QTest::keyClick(text, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(text->toPlainText().contains(QLatin1Char('q'), Qt::CaseInsensitive));
    QTRY_VERIFY(controller->docController().documentWindows().empty());
}

TEST_F(WindowTest, WindowTitlesShowAMetadataTitleOnOneLine)
{
    VekDocumentWindow &window = start();
    window.document().setTitle(QStringLiteral("Plan\nfor\tthe  spring\n"));
    ASSERT_TRUE(window.saveToPath(path(QStringLiteral("plan.vek")), false));
    ASSERT_TRUE(controller->applicationOpenFile(path(QStringLiteral("plan.vek"))));
    VekDocumentWindow *opened = nullptr;
    QTRY_VERIFY((opened = visibleDocumentWindowTitled(QStringLiteral("plan.vek [Plan for the spring]"))));
}

TEST_F(WindowTest, NewWindowsOpenOneBesideTheOtherWithinTheScreen)
{
    VekDocumentWindow &window = start();
    for (int n = 0; n < 3; ++n)
        menuItem(window, QStringLiteral("File"), QStringLiteral("New"))->trigger();
    QTRY_COMPARE(controller->docController().documentWindows().size(), size_t(4));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QList<QPoint> corners;
    for (VekDocumentWindow *w : controller->docController().documentWindows()) {
        QTRY_VERIFY(w->isVisible());
        EXPECT_TRUE(screen.contains(w->geometry())) << w->windowTitle().toStdString();
        EXPECT_FALSE(corners.contains(w->geometry().topLeft())) << w->windowTitle().toStdString();
        corners << w->geometry().topLeft();
    }
}

TEST_F(WindowTest, AddDefaultObjectSetSaysSoInTheAlertsText)
{
    VekDocumentWindow &window = start();
    QString title, text;
    answerModal<QMessageBox>(
        [&] { menuItem(window, QStringLiteral("Window"), QStringLiteral("Add Default Object Set"))->trigger(); },
        [&](QMessageBox &box) {
            title = box.windowTitle();
            text = box.text();
            box.accept();
        });
    EXPECT_TRUE(text.startsWith(QStringLiteral("Default object set ("))) << text.toStdString();
    EXPECT_EQ(title, QStringLiteral("Object Sets"));
}
