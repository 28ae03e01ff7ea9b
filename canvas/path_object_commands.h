// Commands that make new path objects: from a path (traced out of an image), from text
// (its glyph outlines), and the shapes of the chosen object set in place of a shape drawn
// with the shape tool.
#pragma once

#include "canvas/canvas_command_context.h"
#include "platform/geometry/bezier_path.h"
#include "platform/text/attributed_string.h"

// A new path object with the path and its bounds, in front of everything without a group,
// the only selected object.
std::shared_ptr<VekObject> insertNewPathObject(CanvasCommandContext &context, const BezierPath &path);

// Replaces the shape just drawn with the shape tool by copies of the objects of the object
// set chosen in the tool palette (ShellServices::selectedObjectSetObjects), scaled from the
// set's united bounds to the drawn bounds (origin on a pixel centre) and put in front of
// everything, the set's last object front-most; path copies remember the set object's size
// as their natural size. Without a chosen set the drawn shape stays. The caller names the
// step (the creation's "Create Object").
void createObjPathFromObjObj(CanvasCommandContext &context, const std::shared_ptr<VekObject> &drawn);

// A new path object of the path, moved by the image object's origin when the image object
// is given and in the document, else by the visible rectangle's; in front of everything and
// the only selected object. Null for an empty path. The caller names the step.
std::shared_ptr<VekObject> createObjPathWith(CanvasCommandContext &context, BezierPath path,
                                             const std::shared_ptr<VekObject> &imageObject);

// A new path object of the glyph outlines of as much of the text as fits into the
// rectangle (see bezierPathWithText), placed at the rectangle's origin, in front of
// everything and the only selected object. Null when nothing fits or has an outline. The
// caller names the step.
std::shared_ptr<VekObject> makeGlyphObjectsFrom(CanvasCommandContext &context, const AttributedString &text,
                                                const Rect &rect);
