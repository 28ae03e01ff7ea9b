// WidgetEventSource: the event source of a widget's tracking loops.
//
// nextEvent runs a local event loop (QEventLoop::exec, so that the undo manager keeps a
// whole drag one step) until the widget receives a mouse event of the asked types, and
// answers it in window coordinates. While the loop runs, the widget's other input is
// dropped. A widget that goes away ends the loop with a mouse-up at the last location, and
// so does a left button released before the loop began (the press's own handling may run
// the event loop before it starts tracking), so that a drag never waits for a release that
// has already come.
#pragma once

#include "model/services/event_source.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <deque>

class WidgetEventSource : public QObject, public EventSource {
public:
    explicit WidgetEventSource(QWidget *widget);
    ~WidgetEventSource() override;

    MouseEvent nextEvent(unsigned mask) override;
    // The mouse event as the objects see it (window coordinates, platform modifier flags).
    static MouseEvent toMouseEvent(const QWidget *widget, const QMouseEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_widget;
    std::deque<MouseEvent> m_pending;
    unsigned m_mask = 0;
    bool m_tracking = false;
    bool m_releasedBeforeTracking = false;   // since the last press, outside a tracking loop
    Point m_lastLocation = NoPoint;
    class QEventLoop *m_loop = nullptr;
};
