// Where the pages lie on the canvas, how large the canvas is at a zoom, the zoom steps of
// the zoom buttons and the grid spacing of a unit.
//
// Pages lie one below the other without gaps, each of the document's drawAreaSizePerPage
// (document pixels, at the document's resolution); the canvas's coordinates are those
// pixels, and the zoom scale turns them into screen points.
#pragma once

#include "platform/geometry/geometry.h"

class VekDocument;

// The rectangle of page n (from 1; not checked) in canvas coordinates.
Rect pageRect(VekDocument &document, int page);
// The page whose band holds y, kept within the document's pages; a y on the boundary of
// two pages belongs to the lower page (the one that starts there).
int pageHoldingY(VekDocument &document, float y);
// ceil(y / page height): y in (0, H] is page 1, y = 0 gives 0 (1 without a page height).
int pageOfLocation(VekDocument &document, float y);
// The point relative to the top left of the page holding it.
Point pointRelativeToPage(VekDocument &document, Point p);
// The whole canvas: all pages one below the other.
Rect canvasBounds(VekDocument &document);

// The zoom limits of the zoom field and buttons, in percent.
constexpr int MinimumZoom = 10;
constexpr int MaximumZoom = 900;
int clampedZoom(int percent);
// The next value of the zoom-in and zoom-out buttons (the same value at the limit).
int zoomInStep(int percent);
int zoomOutStep(int percent);

// Screen points per canvas unit: zoom x 0.01 x 72 / resolution x the real-world factor
// (the screen's resolution / 72 when real-world sizes are shown, else 1).
double zoomScale(int percent, int resolution, double realWorldFactor = 1.0);
// The size of the whole canvas (all pages) in screen points at that scale.
Size canvasFrameSize(VekDocument &document, int percent, double realWorldFactor = 1.0);

// The grid spacing in points for a unit number (0 cm, 1 in, 2 px, 3 pc) and the grid scale
// preference (0 or less counts as 1).
float gridSpacingForUnit(int unit, float gridScale);
