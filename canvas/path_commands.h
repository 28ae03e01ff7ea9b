// The commands on the paths of the selected objects: smooth, close, make positive,
// straighten, reverse, merge, and the conversion of point-pen paths and markers into plain
// path objects.
//
// Each command walks the selection as it was when the command began (removing objects from
// the document also removes them from the canvas's selection) and does nothing, silently,
// when the selection does not suit it; objects without an editable path are left alone.
#pragma once

#include "canvas/canvas_command_context.h"

// Each selected object smooths its path. Undo step "Smooth".
void makeSmoother(CanvasCommandContext &context);
// Each selected path object closes its path. Undo step "Close Path".
void closeBezierPaths(CanvasCommandContext &context);
// Each selected object moves its path's points into positive coordinates (no step name).
void makePositive(CanvasCommandContext &context);
// Each selected object replaces its curves by straight segments (no step name).
void makeStraight(CanvasCommandContext &context);
// Each selected object reverses its path's direction. Undo step "Reverse".
void pathReverse(CanvasCommandContext &context);

// With two or more objects selected: the paths of the selected objects with an editable
// path are joined, in selection order, to the first one's (ends within the join tolerance
// meet), the others leave the document, and the first object takes the joined path and its
// bounds. Undo step "Merge Paths".
void mergeBezierPaths(CanvasCommandContext &context);

// Each selected point-pen path or marker is replaced, at its place in the stacking order
// and in its group, by a plain path object with the same dictionary; a marker's colour
// number becomes its stroke colour. Undo step "Class Conversion".
void convertToNormal(CanvasCommandContext &context);
