// Stroking on raster devices through outlines kept across drawings.
//
// Qt strokes a path by building its outline (offset curves on both sides, joins and caps)
// and filling that; for curves the outline is about a third of the cost. The canvas strokes
// the same paths again and again: the tiles of one drawing each stroke the objects that
// cross their edges, and every redraw (scrolling, each frame of a drag) strokes them anew.
// The outline depends only on the path, the pen's width, cap, join and miter limit and the
// device scale, so it is kept under exactly those and filled as Qt would fill it: the
// pixels are those of QPainter::strokePath.
//
// Only solid pens on raster devices (images, the screen) under a transform that scales
// uniformly take this way; thin lines (one device pixel or less, which Qt draws with its
// own line stroker), dashes and vector output (PDF, print, recordings) are stroked by Qt.
// The kept outlines take a bounded amount of memory; the least recently used go first.
// Safe to use from several threads at once (the tiles of a drawing).
#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QPen>

// Strokes `path` with `pen` on the painter, in the painter's current state.
void strokePathKeepingOutline(QPainter &painter, const QPainterPath &path, const QPen &pen);
