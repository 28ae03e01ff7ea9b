// What the document info panel's window tests share: the application controller started as
// main() starts it on a private defaults file, a new document window of a normal size, the
// menus driven through their items, and reading back the PDF files the program writes.
#pragma once

#include "tests/app/shell_fixture.h"

#include "canvas/ui/vek_view.h"
#include "panels/docinfo/doc_info_controller.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>

// Waits (up to five seconds) for the condition, failing the test when it never holds. QTest's
// QTRY_ macros only return from the function, which GoogleTest does not see as a failure.
#define VEK_WAIT_FOR(condition) ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condition); })) << #condition

class DocInfoWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        defaults = std::make_unique<UserDefaults>(folder.filePath(QStringLiteral("prefs.plist")));
        controller = std::make_unique<VekMainController>(*defaults);
        controller->startUp({});
        VEK_WAIT_FOR(!controller->docController().documentWindows().empty());
        window = controller->docController().documentWindows().front();
        window->resize(1000, 800);
        window->activateWindow();
        VEK_WAIT_FOR(QApplication::activeWindow() == window);
    }
    void TearDown() override
    {
        for (VekDocumentWindow *w : controller->docController().documentWindows()) {
            w->document().documentWasSaved();
            w->close();
        }
        flushDeletes();
        controller.reset();
    }

    VekDocument &document() const { return window->document(); }
    VekView &view() const { return window->vekView(); }
    VekDocInfoController &panel() const { return controller->docInfoController(); }

    QAction *menuItem(const QString &menu, const QString &item) const
    {
        for (QAction *top : window->menuBar()->actions())
            if (top->text() == menu && top->menu())
                for (QAction *action : top->menu()->actions())
                    // Undo and Redo carry the name of their step once the menu validated them.
                    if (action->text() == item || action->text().startsWith(item + QStringLiteral(" ")))
                        return action;
        return nullptr;
    }
    // Chooses a menu item as the user does: the menu validates it first.
    void choose(const QString &menu, const QString &item)
    {
        for (QAction *top : window->menuBar()->actions())
            if (top->text() == menu && top->menu())
                emit top->menu()->aboutToShow();
        QAction *action = menuItem(menu, item);
        ASSERT_TRUE(action) << item.toStdString();
        ASSERT_TRUE(action->isEnabled()) << item.toStdString();
        action->trigger();
    }
    void openPanel()
    {
        choose(QStringLiteral("Window"), QStringLiteral("Open Document Info Panel"));
        VEK_WAIT_FOR(panel().isVisible());
        VEK_WAIT_FOR(panel().currentDocument() == &document());
    }
    // Types the text into the field, replacing what it holds, and presses Return.
    static void typeInto(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Runs one undo or redo step from the Edit menu, as separate passes of the event loop.
    void undo() { choose(QStringLiteral("Edit"), QStringLiteral("Undo")); QCoreApplication::processEvents(); }
    void redo() { choose(QStringLiteral("Edit"), QStringLiteral("Redo")); QCoreApplication::processEvents(); }
    // Lets the pass end, so that what was registered in it becomes one undo step.
    static void endPass() { QCoreApplication::processEvents(); QCoreApplication::processEvents(); }

    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    QString path(const QString &name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<VekMainController> controller;
    VekDocumentWindow *window = nullptr;
};
