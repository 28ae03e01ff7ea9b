// A cursor area of the canvas: a rectangle in canvas coordinates and the cursor shown over it.
#pragma once

#include "platform/geometry/geometry.h"

// The platform's standard cursors and the tool controller's own, by the names the canvas
// and the objects use for them.
enum class CursorKind {
    Arrow,
    Crosshair,
    OpenHand,
    PointingHand,
    ResizeLeftRight,
    ResizeUpDown,
    ResizeCornerLR,
    ResizeCornerRL,
    Line,           // path editing: a click adds a line
    Curve,          // path editing with shift: a click adds a curve
    Move,           // path editing with option: a click moves a point
    SelectColumn,   // an edited table's strip above its first row
    SelectRow,      // an edited table's strip left of its first column
    Pen,            // the free-hand tool
    PointPen,       // the point pen
    Marker,         // the marker tool
    Field,          // the page-number and date field tool
};

struct CursorRect {
    Rect rect;
    CursorKind cursor;

    friend bool operator==(const CursorRect &a, const CursorRect &b) { return a.rect == b.rect && a.cursor == b.cursor; }
};
