// The application's life as a user sees it: closing the last document window leaves the
// program running with its palette and menus (Quit ends it), the menus of a document stay
// enabled while the palette is the active window, and a closing window is never handed on
// as the current document.
#include "tests/app/window/window_driver.h"

#include "app/main_menu.h"
#include "app/tool_controller.h"
#include "document/vek_document.h"

TEST_F(WindowTest, ClosingTheLastWindowKeepsTheProgramRunningUntilQuit)
{
    VekDocumentWindow &window = start();
    bool closedLast = false, stillRunningAfterClose = false;
    QTimer::singleShot(0, &window, [&] {
        window.close();
        closedLast = true;
    });
    // Asked a moment later, from the palette's menu, as the user would.
    QTimer::singleShot(300, controller.get(), [&] {
        stillRunningAfterClose = true;
        EXPECT_TRUE(controller->docController().documentWindows().empty());
        EXPECT_TRUE(controller->toolController().isVisible());
        controller->responderChain().performAction(QStringLiteral("terminate"), ActionSender());
    });
    // A safety net: the loop ends in any case. The timer goes with the test: fired later, outside
    // the loop, it would leave every later event loop of the process unable to run.
    QObject safetyNet;
    QTimer::singleShot(5000, &safetyNet, [] { QCoreApplication::exit(1); });
    const int code = QApplication::exec();
    EXPECT_TRUE(closedLast);
    EXPECT_TRUE(stillRunningAfterClose) << "the program quit when its last document window closed";
    EXPECT_EQ(code, 0) << "Quit did not end the program";
}

TEST_F(WindowTest, QuitStopsWhenADocumentRefusesToClose)
{
    VekDocumentWindow &window = start();
    window.document().undoManager()->registerUndoWithTarget(this, [] {});   // an unsaved change
    ScriptedDialogs dialogs;   // answers "Cancel" to the question about the changes
    setDocumentDialogs(&dialogs);
    QObject loopEnd;   // the ending timer goes with the test
    QTimer::singleShot(0, &window, [&] {
        controller->responderChain().performAction(QStringLiteral("terminate"), ActionSender());
        QTimer::singleShot(300, &loopEnd, [] { QCoreApplication::exit(2); });
    });
    EXPECT_EQ(QApplication::exec(), 2) << "the program quit although a document stayed open";
    EXPECT_EQ(controller->docController().documentWindows().size(), 1u);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(controller->toolController().isVisible());
    setDocumentDialogs(nullptr);
}

TEST_F(WindowTest, MenusStayEnabledWhileThePaletteIsActive)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Object"));
    canvas.drag({20, 20}, {120, 90});
    // The window manager makes the clicked palette the active window.
    palette->activateWindow();
    QTRY_VERIFY(palette->isActiveWindow());
    chooseTool(QStringLiteral("Arrow"));
    canvas.view.selectAll();
    QAction *selectAll = menuItem(window, QStringLiteral("Edit"), QStringLiteral("Select All"));
    QAction *copy = menuItem(window, QStringLiteral("Edit"), QStringLiteral("Copy"));
    QAction *addPage = menuItem(window, QStringLiteral("Page"), QStringLiteral("Add Page"));
    QAction *group = menuItem(window, QStringLiteral("Arrange"), QStringLiteral("Bring to Front"));
    ASSERT_TRUE(selectAll && copy && addPage && group);
    for (QAction *top : window.menuBar()->actions())
        if (top->menu())
            emit top->menu()->aboutToShow();
    for (QAction *item : {selectAll, copy, addPage, group})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(WindowTest, AClosingWindowIsNeverAnnouncedAsTheCurrentDocument)
{
    VekDocumentWindow &first = start();
    VekDocumentWindow *second = controller->docController().createVekUntitledDocument();
    activate(*second);
    std::vector<QObject *> announced;
    QObject::connect(&controller->docController(), &VekDocController::currentDocumentChanged, qApp,
                     [&](VekDocumentWindow *w) { announced.push_back(w); });
    QObject *dying = second;
    second->close();
    flushDeletes();
    ASSERT_FALSE(announced.empty());
    EXPECT_EQ(announced.back(), &first);
    for (QObject *w : announced)
        EXPECT_NE(w, dying);
    announced.clear();
    dying = &first;
    first.close();
    flushDeletes();
    ASSERT_FALSE(announced.empty());
    for (QObject *w : announced)
        EXPECT_EQ(w, nullptr);
}
