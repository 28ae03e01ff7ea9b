// Aligning, sizing and spacing the selected objects, and moving or scaling the selection
// with one of its objects.
#pragma once

#include "canvas/canvas_command_context.h"

// The edge or centre the objects are aligned on; the toolbar's align matrix numbers them
// by its cell tags.
enum class AlignEdge {
    Left = 0,
    HorizontalCentre = 1,   // centres on one vertical line (x changes)
    Right = 2,
    Top = 3,
    VerticalCentre = 4,     // centres on one horizontal line (y changes)
    Bottom = 5,
};

// Moves every object but the first so that its edge or centre matches the reference's;
// only objects not yet there get new bounds. Undo step "Align Edges", or for the centres
// "Align Horizontal Centers" (x) and "Align Vertical Centers" (y).
void alignObjects(CanvasCommandContext &context, const std::vector<std::shared_ptr<VekObject>> &objects,
                  const Rect &reference, AlignEdge edge);
// The toolbar's align command: the selection against the first selected object's bounds,
// with more than one object selected.
void alignSelection(CanvasCommandContext &context, AlignEdge edge);

// Gives every further selected object the first selected object's height or width, its
// top-left corner staying. Undo steps "Make Same Height", "Make Same Width".
void makeSameHeight(CanvasCommandContext &context);
void makeSameWidth(CanvasCommandContext &context);

// With three or more objects selected: sorted by their top (left) edges, the first two stay
// and each further object follows the previous one at the gap between the first two. Undo
// steps "Offset Vertically Equal", "Offset Horizontally Equal".
void makeVerticallyEqualOffset(CanvasCommandContext &context);
void makeHorizontallyEqualOffset(CanvasCommandContext &context);

// The base object (a selected object whose ruler marker is dragged) takes `rect`, and the
// rest of the selection follows it: moved by the same offset, or scaled about the
// selection's bounds so that the base object lands exactly on `rect`.
void setSelectedObjectsBoundRelativeTo(CanvasCommandContext &context, const Rect &rect,
                                       const std::shared_ptr<VekObject> &base);
