// The grab area: a rectangle the user drags over the canvas to export that part of the
// drawing (the document's export-part command starts it).
//
// The canvas widget owns one GrabArea and feeds it. begin() when the command asks (then
// focus the canvas and show the crosshair over it); while isActive(), every mouse movement
// goes to mouseMovedTo and redraws the canvas, and every mouse-down goes to mouseDown, the
// drag's events to mouseDragged (redraw after each) and the mouse-up to mouseUp, which asks
// what to do and hands a saved area to the save handler. drawOverlay shows the area over
// the drawing on screen. end() when the document has saved or dismissed the area; a true
// answer means the mode was on and the canvas must rebuild its cursors and redraw.
#pragma once

#include "platform/geometry/geometry.h"

#include <QString>

#include <functional>

class CanvasServices;
class GraphicsContext;

enum class GrabChoice { Save, Cancel, Adjust };

// What a mouse-up did.
enum class GrabOutcome {
    Ended,      // the area was cancelled or too small: the mode is off
    Saved,      // the save handler had the area; the mode stays on until the document ends it
    Adjusting,  // the area stays; the next click adjusts it (focus the canvas again)
};

class GrabArea {
public:
    // Asks "Grab the selected area." / "Do you want to save now or adjust the area?" with
    // the buttons "Save" (default), "Cancel" and "Adjust".
    using Question = std::function<GrabChoice()>;
    // Saves the part of the drawing in the area (canvas coordinates).
    using SaveHandler = std::function<void(const Rect &area)>;

    bool isActive() const { return m_active; }
    // The area in canvas coordinates.
    Rect bounds() const { return m_bounds; }
    // The last pointer position taken; NoPoint before the first, the zero point once ended.
    Point grabPoint() const { return m_grabPoint; }
    // 0 the pointer moves the bottom-right corner, 1 the top-right, 2 the top-left, 3 the
    // bottom-left (the opposite corner stays).
    int corner() const { return m_corner; }

    // Ends a mode already on and starts anew: no area, no point.
    void begin();
    // Leaves the mode; false when it was off.
    bool end();

    // The first position seen while no point has been taken puts a zero-size area there.
    void mouseMovedTo(Point p);
    // Starts a new area at the point, or (on a corner square of the area, else anywhere)
    // picks the corner the drag moves.
    void mouseDown(Point p);
    void mouseDragged(Point p);
    // The last drag position, then: an area of at least 2 x 2 asks what to do; a smaller
    // one ends the mode at once.
    GrabOutcome mouseUp(Point p, const Question &ask, const SaveHandler &save);

    // The size label: " x y " while the area is thinner than 0.9 on both sides, else
    // " x y width height " with the whole parts of the grab point and the size.
    QString label() const;
    // The label's font size for the document's resolution in pixels per inch.
    static float labelFontSize(int resolution);
    // The label's top-left corner: the area's origin, except on an axis where the origin
    // lies before the grab point; there the label ends at the grab point.
    Point labelOrigin(Size labelSize) const;

    // In red, into the current graphics context: the area's frame and corner knobs (when
    // it is not thin) and the label.
    void drawOverlay(GraphicsContext &context, CanvasServices &view, int resolution) const;

private:
    bool m_active = false;
    Rect m_bounds;
    Point m_grabPoint;
    Point m_anchor;
    int m_corner = 0;
};
