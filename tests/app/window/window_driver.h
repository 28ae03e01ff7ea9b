// What the window tests share: the application started as main() starts it, and a user's
// hands on its windows (the palette's buttons, menu items, clicks, drags and keys on the
// canvas at page coordinates).
#pragma once

#include "tests/app/shell_fixture.h"

#include "app/object_sets/object_set_palette.h"
#include "app/tool_controller.h"
#include "canvas/ui/vek_view.h"
#include "tests/support/golden_image.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

// The whole test program keeps its defaults in a folder of its own.
inline const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

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

// The item of a menu of the window's menu bar (searched in its submenus too).
inline QAction *menuItem(QMainWindow &window, const QString &menu, const QString &item)
{
    const std::function<QAction *(QMenu &)> find = [&](QMenu &in) -> QAction * {
        for (QAction *action : in.actions()) {
            if (action->text() == item && !action->menu())
                return action;
            if (action->menu())
                if (QAction *found = find(*action->menu()))
                    return found;
        }
        return nullptr;
    };
    for (QAction *top : window.menuBar()->actions())
        if (top->text() == menu && top->menu())
            return find(*top->menu());
    return nullptr;
}

// A press at `from`, moves through `through` and the release at its last point. The canvas
// follows a drag in a loop of its own, so the moves and the release come from a timer that
// fires inside that loop.
inline void drag(QWidget *target, QPoint from, const std::vector<QPoint> &through,
                 Qt::KeyboardModifiers modifiers = {})
{
    bool released = false;
    QTimer::singleShot(0, target, [&] {
        for (QPoint p : through)
            QTest::mouseMove(target, p);
        QTest::mouseRelease(target, Qt::LeftButton, modifiers, through.back());
        released = true;
    });
    QTest::mousePress(target, Qt::LeftButton, modifiers, from);
    QTRY_VERIFY(released);
}

// Runs `action`, which opens a modal window of type T; `answer` reads and closes it.
template <typename T>
inline void answerModal(const std::function<void()> &action, const std::function<void(T &)> &answer)
{
    bool answered = false;
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(*modal);
        answered = true;
    });
    poll->start(20);
    action();
    QTRY_VERIFY(answered);
}

// The canvas of a document window and where the user finds page points on it.
struct CanvasDriver {
    explicit CanvasDriver(VekDocumentWindow &window) : window(window), view(window.vekView()) {}
    QWidget *canvas() const { return view.viewport(); }
    // A page point (canvas coordinates) in the viewport, at the present zoom and scroll.
    QPoint at(float x, float y) const
    {
        const QPoint inWindow = canvas()->mapTo(&window, QPoint(0, 0));
        const Point origin = view.convertPointFromWindow(Point{float(inWindow.x()), float(inWindow.y())});
        const Point one = view.convertPointFromWindow(Point{float(inWindow.x() + 100), float(inWindow.y())});
        const float pointsPerPixel = (one.x - origin.x) / 100;
        return QPoint(qRound((x - origin.x) / pointsPerPixel), qRound((y - origin.y) / pointsPerPixel));
    }
    // A press may start the canvas's own tracking loop: the release comes from inside it.
    void click(float x, float y, Qt::KeyboardModifiers modifiers = {})
    {
        ::drag(canvas(), at(x, y), {at(x, y)}, modifiers);
    }
    void doubleClick(float x, float y)
    {
        click(x, y);
        bool released = false;
        QTimer::singleShot(0, canvas(), [&] {
            QTest::mouseRelease(canvas(), Qt::LeftButton, {}, at(x, y));
            released = true;
        });
        QTest::mouseDClick(canvas(), Qt::LeftButton, {}, at(x, y));
        QTRY_VERIFY(released);
    }
    void drag(Point from, Point to)
    {
        ::drag(canvas(), at(from.x, from.y), {at((from.x + to.x) / 2, (from.y + to.y) / 2), at(to.x, to.y)});
    }
    // A key as the user presses it: to the focused widget of the active window, so that the
    // menus' shortcuts see it first; the event loop runs between keys (each is an undo step).
    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *focused = QApplication::focusWidget() ? QApplication::focusWidget() : canvas();
        QTest::keyClick(focused, Qt::Key(key), modifiers);
        QCoreApplication::processEvents();
    }
    void type(const QString &text)
    {
        QWidget *focused = QApplication::focusWidget() ? QApplication::focusWidget() : canvas();
        QTest::keyClicks(focused, text);
        QCoreApplication::processEvents();
    }

    VekDocumentWindow &window;
    VekView &view;
};

// The application controller started as main() starts it, with its first document window
// active and shown.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        // As main() names the application.
        QApplication::setApplicationName(QStringLiteral("Vekanto"));
        QApplication::setOrganizationDomain(QStringLiteral("kestrum"));
        QApplication::setDesktopFileName(QStringLiteral("kestrum.Vekanto"));
    }
    void TearDown() override
    {
        if (controller) {
            for (VekDocumentWindow *w : controller->docController().documentWindows()) {
                w->document().documentWasSaved();
                w->close();
            }
            flushDeletes();
            controller.reset();
        }
        QCoreApplication::processEvents();
    }
    // Starts the application and answers its first document window, active.
    VekDocumentWindow &start()
    {
        controller = std::make_unique<VekMainController>(UserDefaults::standardUserDefaults());
        controller->startUp({});
        palette = visibleTopLevelTitled(QStringLiteral("Tools"));
        EXPECT_TRUE(palette);
        VekDocumentWindow *window = nullptr;
        [&] { QTRY_VERIFY((window = controller->docController().currentVekDocument()) && window->isVisible()); }();
        activate(*window);
        return *window;
    }
    static void activate(VekDocumentWindow &window)
    {
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        waitForExposure(window);
        window.vekView().setFocus();
    }
    // The object tool draws the picked item of the object-set palette: these tests pick the
    // square, so that it draws a box.
    void chooseTool(const QString &name)
    {
        QTest::mouseClick(paletteButton(*palette, name), Qt::LeftButton);
        if (name != QLatin1String("Object"))
            return;
        VekObjMatrix &matrix = controller->toolController().objectMatrix();
        QTest::mouseClick(matrix.viewport(), Qt::LeftButton, {}, matrix.cellRect(12).center());
    }
    // A box drawn with the Object tool from `from` to `to`, then the Arrow again.
    void drawRectangle(CanvasDriver &canvas, Point from, Point to)
    {
        chooseTool(QStringLiteral("Object"));
        canvas.drag(from, to);
        chooseTool(QStringLiteral("Arrow"));
    }
    QString path(const QString &name) const { return folder.filePath(name); }

    std::unique_ptr<VekMainController> controller;
    QWidget *palette = nullptr;
    QTemporaryDir folder;
};
