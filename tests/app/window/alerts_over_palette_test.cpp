// An alert comes up above the always-on-top tool palette, also where the palette lies over
// the alert's place: while the alert is up the palette no longer asks to stay on top (what a
// window manager goes by) and the alert stands above it in the X server's stacking order;
// once the alert is answered the palette asks again.
#include "tests/app/window/window_driver.h"

#include "panels/document_dialogs.h"

#include <QMessageBox>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

xcb_connection_t *xcbConnection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The X server's answer to a tree query of the window: its root, parent and children
// (bottom first); null when it failed.
using Tree = std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)>;
Tree queryTree(xcb_window_t window)
{
    xcb_connection_t *c = xcbConnection();
    return Tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr), &std::free);
}

// The place of the widget's top-level X window (its frame's, under a window manager) among
// the root window's children, bottom first; -1 when it is not there.
int stackingIndex(QWidget &widget)
{
    xcb_window_t top = xcb_window_t(widget.winId());
    Tree tree = queryTree(top);
    while (tree && tree->parent != tree->root) {
        top = tree->parent;
        tree = queryTree(top);
    }
    if (!tree)
        return -1;
    const Tree rootTree = queryTree(tree->root);
    if (!rootTree)
        return -1;
    const xcb_window_t *children = xcb_query_tree_children(rootTree.get());
    for (int i = 0; i < xcb_query_tree_children_length(rootTree.get()); ++i)
        if (children[i] == top)
            return i;
    return -1;
}

bool staysOnTop(QWidget &window)
{
    return window.windowHandle() && window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

TEST_F(WindowTest, AnAlertComesUpAboveTheToolPaletteThatLiesOverIt)
{
    VekDocumentWindow &window = start();
    ASSERT_TRUE(xcbConnection());
    ASSERT_TRUE(staysOnTop(*palette));
    // The palette over the middle of the document window, where the alert comes up.
    palette->move(window.frameGeometry().center() - QPoint(palette->width() / 2, palette->height() / 2));
    QTRY_VERIFY(palette->geometry().contains(window.frameGeometry().center()));

    bool answered = false;
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto *alert = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!alert || !alert->isVisible() || !alert->windowHandle() || !alert->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        EXPECT_TRUE(alert->frameGeometry().intersects(palette->frameGeometry()));
        EXPECT_TRUE(palette->isVisible());
        EXPECT_FALSE(staysOnTop(*palette));
        EXPECT_GT(stackingIndex(*alert), stackingIndex(*palette));
        alert->accept();
        answered = true;
    });
    poll->start(20);
    documentDialogs().showAlert(&window, QStringLiteral("The document could not be saved."),
                                QStringLiteral("The disk is full."));
    QTRY_VERIFY(answered);
    // The palette stays on top again, in front of the document window.
    EXPECT_TRUE(staysOnTop(*palette));
    QTRY_VERIFY(stackingIndex(*palette) > stackingIndex(window));
}
