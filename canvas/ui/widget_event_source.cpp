// The tracking loops' event source over a widget: a local event loop per wait.
#include "canvas/ui/widget_event_source.h"

#include "platform/ui/caps_lock.h"

#include <QEventLoop>
#include <QMouseEvent>

WidgetEventSource::WidgetEventSource(QWidget *widget) : m_widget(widget)
{
    widget->installEventFilter(this);
}

WidgetEventSource::~WidgetEventSource()
{
    if (m_loop)
        m_loop->quit();
}

MouseEvent WidgetEventSource::toMouseEvent(const QWidget *widget, const QMouseEvent &event)
{
    MouseEvent out;
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        out.type = event.button() == Qt::RightButton ? EventType::RightMouseDown : EventType::LeftMouseDown;
        break;
    case QEvent::MouseButtonRelease:
        out.type = event.button() == Qt::RightButton ? EventType::RightMouseUp : EventType::LeftMouseUp;
        break;
    default:
        out.type = event.buttons() & Qt::LeftButton ? EventType::LeftMouseDragged : EventType::MouseMoved;
        break;
    }
    const QPointF inWindow = widget->mapTo(widget->window(), event.position());
    out.locationInWindow = {float(inWindow.x()), float(inWindow.y())};
    out.modifierFlags = modifierFlagsWithCapsLock(event.modifiers());
    out.clickCount = event.type() == QEvent::MouseButtonDblClick ? 2 : 1;
    out.timestamp = double(event.timestamp()) / 1000.0;
    return out;
}

bool WidgetEventSource::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget)
        return false;
    if (!m_tracking) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_releasedBeforeTracking = false;
        else if (event->type() == QEvent::MouseButtonRelease &&
                 static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_releasedBeforeTracking = true;
            m_lastLocation = toMouseEvent(m_widget, *static_cast<QMouseEvent *>(event)).locationInWindow;
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const MouseEvent mouse = toMouseEvent(m_widget, *static_cast<QMouseEvent *>(event));
        m_lastLocation = mouse.locationInWindow;
        if (m_mask & eventMaskFor(mouse.type)) {
            m_pending.push_back(mouse);
            if (m_loop)
                m_loop->quit();
        }
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;   // no other input while a drag is tracked
    default:
        return false;
    }
}

MouseEvent WidgetEventSource::nextEvent(unsigned mask)
{
    m_mask = mask;
    if (m_pending.empty() && m_releasedBeforeTracking && (mask & LeftMouseUpMask)) {
        m_releasedBeforeTracking = false;
        return {EventType::LeftMouseUp, m_lastLocation};
    }
    m_tracking = true;
    while (m_pending.empty() && m_widget && (m_widget->isVisible())) {
        QEventLoop loop;
        m_loop = &loop;
        // Once the application has been told to quit no event loop runs again (exec returns
        // at once): the drag ends here instead of spinning.
        const bool quitting = loop.exec() == -1;
        m_loop = nullptr;
        if (quitting)
            break;
    }
    m_tracking = false;
    if (m_pending.empty())
        return {EventType::LeftMouseUp, m_lastLocation};
    const MouseEvent next = m_pending.front();
    m_pending.pop_front();
    return next;
}
