// The floating rulers: two small frameless windows, a horizontal and a vertical strip, that
// float above the document windows and measure whatever lies below them in the selected
// unit at the current document's zoom.
//
// FloatingRulerController owns the two windows (made on first use, then only shown and
// hidden) and keeps their frames in the preferences; FloatingRulerView is a ruler's window:
// it draws the scale from both long edges, moves when its background is dragged and
// resizes by its handle. The shell wires the controller to its menu (toggleRuler), its
// main-window tracking (mainWindowChanged, mainWindowResigned) and the application's
// activation (setApplicationActive); the canvas calls updateFloatingRulers after a zoom.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class FloatingRulerController;
class UserDefaults;
class VekDocument;

class FloatingRulerView : public QWidget {
public:
    FloatingRulerView(const QRect &frame, FloatingRulerController &controller);

    // Decided once, from the first frame.
    bool isHorizontal() const { return m_horizontal; }
    int unit() const { return m_unit; }
    double zoomFactor() const { return m_zoomFactor; }
    // Takes the unit and the zoom factor again and redraws.
    void updateRuler();

    QRect resizeArea() const;
    QRect closeButtonArea() const;
    bool isResizing() const { return m_resizing; }
    // At its minimum length the ruler can only grow (and shows a one-way cursor).
    bool isAtMinimum() const { return m_oneDirection; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setResizeCursor();

    FloatingRulerController &m_controller;
    bool m_horizontal;
    int m_unit = 0;
    double m_zoomFactor = 1.0;
    bool m_resizing = false;
    bool m_moving = false;
    bool m_oneDirection = false;
    QRect m_initialFrame;
    QPoint m_initialPoint;   // global
    QWidget *m_closeButton = nullptr;
};

class FloatingRulerController : public QObject {
public:
    // The shared instance, made on first use and kept for the whole run (its windows go
    // when the application quits).
    static FloatingRulerController &sharedFloatingRulerController();

    // The frames are kept in the defaults' "prefs".
    explicit FloatingRulerController(UserDefaults &defaults);
    ~FloatingRulerController() override;

    // The document whose zoom the rulers measure (the shell's current document); none
    // means zoom 100 %.
    void setCurrentDocumentProvider(std::function<VekDocument *()> provider);
    VekDocument *currentDocument() const;
    // The current document's zoom factor with the real-world factors when they are shown.
    double currentZoomFactor() const;

    void createRulers();
    // 0 the horizontal ruler, any other value the vertical one: shows it or hides it.
    void toggleRuler(int which);
    bool horizontalRulerIsVisible() const;
    bool verticalRulerIsVisible() const;
    FloatingRulerView *horizontalRuler() const { return m_horizontal; }
    FloatingRulerView *verticalRuler() const { return m_vertical; }

    // A window became main (none: both rulers hide).
    void mainWindowChanged(bool hasMainWindow);
    // A window stopped being main: without a current document both rulers hide; they come
    // back only through the menu.
    void mainWindowResigned();
    // Rulers shown when the application deactivates hide until it is active again.
    void setApplicationActive(bool active);

    // After a zoom or unit change: both rulers take the zoom factor and redraw.
    void updateFloatingRulers();
    // After a change of the ruler colours.
    void setRulersNeedsDisplay();

    // Writes the ruler's frame into the preferences.
    void storeFrame(const FloatingRulerView &ruler);

private:
    void orderOutBoth();

    UserDefaults &m_defaults;
    std::function<VekDocument *()> m_currentDocument;
    QPointer<FloatingRulerView> m_horizontal;
    QPointer<FloatingRulerView> m_vertical;
    bool m_hiddenByDeactivation[2] = {false, false};
};
