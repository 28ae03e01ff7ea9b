// TiledRenderer: draws an area of the canvas into an image, in tiles on worker threads.
//
// The area is cut into square tiles of device pixels; each tile draws with its own graphics
// context into its own QImage, which shares the memory of its part of the result, so that
// the tiles compose without copying. Each tile runs the page loop (document_renderer.h) for
// its own rectangle and, with an index, looks only at the objects it finds there. Tiles run
// on a pool of their own rather than the thread that asks: painting large images on the
// main thread makes Qt's raster engine hand each fill to its thread pool and wait for it.
//
// While a rendering runs, the calling thread waits, so nothing changes the document; the
// drawing objects guard the caches they fill while drawing.
#pragma once

#include "canvas/document_renderer.h"

#include <QImage>
#include <QRect>

class CanvasServices;
class VekDocument;

struct TileOptions {
    int tileSide = 512;   // device pixels
    int threads = 0;      // 0: one per core; 1 draws the tiles one after the other
};

struct RenderedArea {
    QImage image;   // premultiplied ARGB, transparent where nothing was drawn
    QRect pixels;   // where the image lies in device pixels (canvas coordinates x scale)
};

// Draws `request.dirty` at `scale` device pixels per canvas unit. The result covers the
// device pixels the dirty rectangle touches. An index in the request must be refreshed.
RenderedArea renderTiled(VekDocument &document, CanvasServices &view, const RenderRequest &request, double scale,
                         const TileOptions &options = {});

// Image export: page `page` (from 1) of a document without a window, at `scale` pixels per
// canvas unit, drawn as for saving (no selection, no grid), over a transparent background
// unless `opaque` (a nearly transparent background colour then becomes white).
QImage renderPageImage(VekDocument &document, int page, double scale, bool opaque = false,
                       const TileOptions &options = {});
