// Caps lock with the arrow tool: a click on the current path adds a point to it instead of
// selecting and moving, and the cursor over the path shows the kind of point; through the
// real widget, with a stand-in for the keyboard's caps lock state.
#include "tests/canvas/ui/canvas_session.h"

#include "platform/ui/caps_lock.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

bool capsLockDown = false;

class CapsLockSession : public CanvasSession {
protected:
    void SetUp() override
    {
        CanvasSession::SetUp();
        capsLockDown = false;
        setCapsLockReader([] { return capsLockDown; });
        view->setEventSource(nullptr);   // the widget's own mouse events
    }
    void TearDown() override
    {
        setCapsLockReader(nullptr);
        CanvasSession::TearDown();
    }
    void clickWidget(QPoint p)
    {
        QWidget *viewport = view->viewport();
        QCoreApplication::postEvent(viewport, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(p),
                                                              viewport->mapToGlobal(QPointF(p)), Qt::LeftButton,
                                                              Qt::NoButton, Qt::NoModifier));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), viewport->mapToGlobal(QPointF(p)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &press);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(CapsLockSession, AClickOnTheCurrentPathAddsAPointOnlyWithCapsLock)
{
    const auto path = add(Rect(10, 10, 100, 50));
    view->selectObjects({path});
    const int elements = path->bezierPath().elementCount();
    for (const bool caps : {false, true}) {
        SCOPED_TRACE(caps ? "caps lock" : "no caps lock");
        capsLockDown = caps;
        clickWidget({60, 10});   // on the top edge
        EXPECT_EQ(path->bezierPath().elementCount(), elements + (caps ? 1 : 0));
        EXPECT_EQ(path->bounds(), Rect(10, 10, 100, 50));
    }
}

TEST_F(CapsLockSession, TheCursorOverTheCurrentPathFollowsCapsLock)
{
    const auto path = add(Rect(10, 10, 100, 50));
    view->setDrawControlPoints(false);
    view->selectObjects({path});
    for (const bool caps : {true, false}) {
        capsLockDown = caps;
        QKeyEvent key(caps ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_CapsLock, Qt::NoModifier);
        QCoreApplication::sendEvent(view.get(), &key);
        // Within 10 points of the path's bounds the line cursor; the inner part otherwise moves.
        EXPECT_EQ(view->cursorKindAtPoint({60, 35}), caps ? CursorKind::Line : CursorKind::OpenHand);
        EXPECT_EQ(view->cursorKindAtPoint({5, 65}), caps ? CursorKind::Line : CursorKind::Arrow);
    }
}
