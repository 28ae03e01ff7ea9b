// Drawing a document's pages as the canvas shows them, for the screen and for every output.
//
// For each page from the first to the last: the page's background (the document's colour,
// its background image, or the background PDF page the page list names), then the drawing
// objects from back to front, each with its clip path and shadow. An ordinary object is
// drawn once, on the first page it meets; a repeating object on every page of its range.
// Drawing goes into the current graphics context, in canvas coordinates.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

#include <functional>
#include <optional>

class CanvasServices;
class SpatialIndex;
class VekDocument;
class VekObject;

struct RenderRequest {
    Rect dirty;                           // what to draw, in canvas coordinates
    bool drawingToCopy = false;           // for the clipboard: no background
    bool drawingOpaque = false;           // a (nearly) transparent background becomes white
    bool backgroundHidden = false;        // leave the background image and PDF out (also when the view hides it)
    bool drawSelectedOnly = false;        // only the objects `selected` answers true for
    bool showSelection = false;           // knobs on selected objects (screen only)
    // When set, the background (colour, image, PDF pages) shows only inside this path, in
    // canvas coordinates: the outlines of the selected objects for their image or export.
    std::optional<BezierPath> backgroundClip;
    // Which objects are selected; none when empty.
    std::function<bool(const VekObject &)> selected;
    // When set (and refreshed), only the objects it finds for the dirty rectangle are looked
    // at; the pixels are those of drawing every object.
    const SpatialIndex *index = nullptr;
    // Screen only: drawn over each page's background, under its objects (grid, page frame).
    // Tiles call it on worker threads, into their own graphics context.
    std::function<void(int page, const Rect &pageRect)> drawOverBackground;
};

// The colour behind the pages: the document's, in CMYK form when the document uses CMYK.
Color canvasBackgroundColor(const VekDocument &document);

// The page being drawn (0 when drawing ends), which the objects ask the canvas while they
// draw, is kept for the calling thread (drawing_page.h).
void drawDocumentPages(VekDocument &document, CanvasServices &view, const RenderRequest &request);
