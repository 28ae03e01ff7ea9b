// What the desktop tests add to the window driver: menus opened as a user opens them (so
// their items validate and take their titles) and the undo history walked to both ends.
#pragma once

#include "tests/app/window/window_driver.h"

#include "document/vek_document.h"
#include "platform/foundation/undo_manager.h"

#include <QMenu>
#include <QMenuBar>

inline QMenu *menuTitled(QMainWindow &window, const QString &title)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->text() == title)
            return top->menu();
    return nullptr;
}

// Opens the menu on the screen, hands it to `look` while it shows, and closes it.
inline void whileMenuShows(QMenu &menu, const std::function<void(QMenu &)> &look)
{
    menu.popup(QPoint(200, 200));
    QTRY_VERIFY(menu.isVisible());
    look(menu);
    menu.hide();
}

// Every step undone by the key, then every step redone; `before` sees the state with nothing
// done, `after` the state with everything redone.
inline void undoAllThenRedoAll(CanvasDriver &canvas, const std::function<void()> &before,
                               const std::function<void()> &after)
{
    UndoManager &undo = *canvas.window.document().undoManager();
    undo.closeEventGroup();
    // The keys reach the menus of the active window.
    canvas.window.activateWindow();
    QTRY_VERIFY(canvas.window.isActiveWindow());
    canvas.view.setFocus();
    for (int step = 0; step < 100 && undo.canUndo(); ++step)
        canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(undo.canUndo());
    before();
    for (int step = 0; step < 100 && undo.canRedo(); ++step)
        canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(undo.canRedo());
    after();
}
