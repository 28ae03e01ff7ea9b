// The contour tool: clicked points collected into a contour, which becomes one smooth path
// object when the capture ends.
//
// The canvas widget owns one ContourCapture and feeds it: a click of the contour tool
// without a capture running starts one (startContourAt), further clicks add points
// (continueContourAt), an option-click or the end of editing finishes it (finish). Each
// feeding call answers the canvas area to redraw; drawPoints shows the points.
#pragma once

#include "canvas/canvas_command_context.h"
#include "model/points_array.h"

#include <functional>
#include <optional>

class CanvasServices;

// Asks "Do you want to connect the last point to the starting point?" (Yes / No); true
// closes the contour.
using ContourCloseQuestion = std::function<bool()>;

class ContourCapture {
public:
    bool isCapturing() const { return m_contour.has_value(); }
    // The points so far; null while no capture runs.
    const VekContourPoints *contour() const { return m_contour ? &*m_contour : nullptr; }

    // Drops a capture under way and starts a new one at the point.
    Rect startContourAt(Point p);
    // Adds the point; nothing (the zero rectangle) while no capture runs.
    Rect continueContourAt(Point p);
    // Ends the capture: a contour of two or more points becomes a path object (see
    // createPathObjectWithContourPoints). Null when nothing was made.
    std::shared_ptr<VekObject> finish(CanvasCommandContext &context, const ContourCloseQuestion &askToClose);
    // Drops the capture without making anything.
    void cancel() { m_contour.reset(); }

    // A red knob at each point, through the canvas's knob drawing, in the current
    // graphics context.
    void drawPoints(CanvasServices &view) const;

private:
    std::optional<VekContourPoints> m_contour;
};

// The path object of a contour: nothing for a contour of one point or none. An open contour
// of more than two points whose ends lie more than 2 apart in x and in y (whole units,
// cut towards zero) is closed when the question answers yes. The points are refined by
// three passes of four-point subdivision, the path through them is smoothed, and the new
// path object goes in front of everything, without a group, as the only selected object.
// Undo step "Create Object".
std::shared_ptr<VekObject> createPathObjectWithContourPoints(CanvasCommandContext &context,
                                                             VekContourPoints contour,
                                                             const ContourCloseQuestion &askToClose);
