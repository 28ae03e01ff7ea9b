// What the window tests do as a user does: find the windows, the palette's buttons and the
// menu items, and drag on a canvas, whose drag runs its own tracking loop.
#pragma once

#include "app/document/vek_document_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <vector>

inline QWidget *visibleTopLevelTitled(const QString &title)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title)
            return w;
    return nullptr;
}

inline VekDocumentWindow *visibleDocumentWindowTitled(const QString &title)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<VekDocumentWindow *>(w); window && window->isVisible() &&
            window->windowTitle().remove(QStringLiteral("[*]")) == title)
            return window;
    return nullptr;
}

inline QToolButton *paletteButton(QWidget &palette, const QString &toolTip)
{
    for (QToolButton *button : palette.findChildren<QToolButton *>())
        if (button->toolTip() == toolTip)
            return button;
    return nullptr;
}

inline QAction *menuItem(QMainWindow &window, const QString &menu, const QString &item)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->text() == menu && top->menu())
            for (QAction *action : top->menu()->actions())
                if (action->text() == item)
                    return action;
    return nullptr;
}

// A press at `from`, moves through `through` and the release at its last point. The canvas
// follows a drag in a loop of its own, so the moves and the release come from a timer that
// fires inside that loop.
inline void drag(QWidget *target, QPoint from, const std::vector<QPoint> &through)
{
    bool released = false;
    QTimer::singleShot(0, target, [&] {
        for (QPoint p : through)
            QTest::mouseMove(target, p);
        QTest::mouseRelease(target, Qt::LeftButton, {}, through.back());
        released = true;
    });
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    QTRY_VERIFY(released);
}

