// The canvas's side of the ruler markers: where the selection's four markers sit, and what
// dragging one of them does to the selected objects.
//
// The horizontal ruler shows the left and right edges of an object, the vertical ruler its
// top and bottom edges; a repeating object is measured where it shows on the current page.
// Dragging a marker resizes the selection (the dragged edge follows, the opposite one
// stays, at least 1.0 remains) or, with Shift held or for a table, moves it with the paired
// marker. The selection follows the current object through setSelectedObjectsBoundRelativeTo,
// whose object setters register the undo; the widget groups a whole drag into one step.
#pragma once

#include "canvas/canvas_command_context.h"

#include <QString>

#include <optional>

class CanvasServices;

enum class RulerEdge { Left, Right, Top, Bottom };

// The markers' represented objects: "Left Edge", "Right Edge", "Top Edge", "Bottom Edge".
QString rulerEdgeName(RulerEdge edge);
std::optional<RulerEdge> rulerEdgeNamed(const QString &name);
bool isHorizontalEdge(RulerEdge edge);
// The other marker on the same ruler.
RulerEdge pairedEdge(RulerEdge edge);

// The object's bounds as the rulers measure them: its own, or for a repeating object outside
// the visible rectangle its copy on the view's current page.
Rect boundsOnRulers(const VekObject &object, const CanvasServices &view);

// The four marker locations of an object.
struct RulerMarkerLocations {
    float left = 0, right = 0, top = 0, bottom = 0;
    float location(RulerEdge edge) const;
};
RulerMarkerLocations markerLocationsFor(const VekObject &object, const CanvasServices &view);

// The outcome of moving a marker: the location it may take, and in move mode the location
// the paired marker goes to.
struct RulerMarkerMove {
    float location = 0;
    std::optional<float> pairedLocation;
};

// A marker of the edge is dragged to `location` (ruler coordinates: the canvas's). With a
// selection and unless `simplyMoveMarkers`, the current object's edge follows and the
// selection with it. The context's selection must hold the current object.
RulerMarkerMove moveSelectionWithRulerMarker(CanvasCommandContext &context, const std::shared_ptr<VekObject> &current,
                                             const CanvasServices &view, RulerEdge edge, float location,
                                             bool shiftHeld, bool simplyMoveMarkers);
