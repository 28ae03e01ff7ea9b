// VekGradientStrip: the strip in which the user edits a drawing object's gradient stops.
//
// It shows the gradient model's cached rendering and its row of stop squares (the model's
// y-up geometry, drawn upside down into Qt's y-down widget: the squares above the
// gradient). A click selects a stop and connects the shared colour panel to it; a double
// click between the end stops inserts a stop; dragging moves an interior stop between its
// neighbours (one undo step a drag, a beep when it would pass one); Delete or Backspace
// removes the selected interior stop; a colour from the panel or dropped on a stop recolours
// it. The edits themselves are the model's (VekGradientView), which records them on the
// object's undo manager.
//
// Drags follow plain mouse events; with an event source set (setEventSource) the press runs
// its own tracking loop over that source instead, as the canvas's objects do.
#pragma once

#include "model/gradient/vek_gradient_view.h"
#include "panels/colour_panel.h"
#include "platform/foundation/notification_center.h"

#include <QWidget>

#include <memory>

class EventSource;
class QMimeData;

class VekGradientStrip : public QWidget, public ColourPanelTarget {
    Q_OBJECT
public:
    explicit VekGradientStrip(QWidget *parent = nullptr);
    ~VekGradientStrip() override;

    // The model shown and edited (null: none); the strip redisplays on its changes.
    void setGradientModel(const std::shared_ptr<VekGradientView> &model);
    const std::shared_ptr<VekGradientView> &gradientModel() const { return m_model; }
    // Where a press takes its drag events from (not owned; null: plain mouse events).
    void setEventSource(EventSource *source) { m_eventSource = source; }

    // The colour panel's action: recolours the selected stop.
    void changeColor(const ColourPanel &sender) override;
    // The y-up strip point of a widget position.
    Point stripPoint(QPointF position) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void mouseDown(QPointF position, int clickCount);
    // Follows a drag of the selected stop through the event source until the mouse-up;
    // answers whether the mouse moved.
    bool trackStop();
    void dragStopTo(float x);
    // Connects the colour panel to the selected stop (the end of a click).
    void connectColourPanel(int previousSelection);
    void windowWillClose(const Notification &notification);
    // The stop a colour may be dropped on at the position, or -1.
    int dropTarget(const QMimeData *data, QPointF position) const;
    Rect widgetRect(const Rect &stripRect) const;

    std::shared_ptr<VekGradientView> m_model;
    EventSource *m_eventSource = nullptr;
    int m_selectionAtPress = -1;
    bool m_tracking = false;
    bool m_dragged = false;
};
