// The tracking loops' event source: a drag never waits for a release that came before its
// loop began, and a release inside the loop ends it where the pointer was let go.
#include "canvas/ui/widget_event_source.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

namespace {

void send(QWidget &widget, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST(WidgetEventSource, AReleaseBeforeTheLoopEndsTheDragAtOnceAndALaterPressForgetsIt)
{
    ensureWidgetApp();
    QWidget widget;
    widget.resize(200, 200);
    widget.show();
    WidgetEventSource source(&widget);

    // Press and release handled before the loop starts (as when the press's own handling
    // runs the event loop): the loop answers the release instead of waiting.
    send(widget, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, {30, 40}, Qt::NoButton);
    const MouseEvent up = source.nextEvent(DragOrUpMask);
    EXPECT_EQ(up.type, EventType::LeftMouseUp);
    EXPECT_EQ(up.locationInWindow, (Point{30, 40}));

    // A new press: the old release no longer counts; the moves and the release inside the
    // loop are what it answers.
    send(widget, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton);
    QTimer::singleShot(0, &widget, [&] {
        send(widget, QEvent::MouseMove, {60, 70}, Qt::LeftButton);
        send(widget, QEvent::MouseButtonRelease, {80, 90}, Qt::NoButton);
    });
    EXPECT_EQ(source.nextEvent(DragOrUpMask).type, EventType::LeftMouseDragged);
    const MouseEvent last = source.nextEvent(DragOrUpMask);
    EXPECT_EQ(last.type, EventType::LeftMouseUp);
    EXPECT_EQ(last.locationInWindow, (Point{80, 90}));
}
