// TiledRenderer: draws an area of the canvas into an image, in tiles on worker threads.
//
// The area is cut into square tiles of device pixels; each tile draws with its own graphics
// context into its own QImage, which shares the memory of its part of the result, so that
// the tiles compose without copying. Each tile runs the page loop (document_renderer.h) for
// its own rectangle and, with an index, looks only at the objects it finds there. Tiles run
// on Qt's global thread pool, never on the thread that asks or on a pool of our own: Qt's
// raster engine hands each large blended fill painted outside that pool to the pool in
// parts and waits for them, which would make every tile wait on the others.
//
// While a rendering runs, the calling thread waits, so nothing changes the document; the
// drawing objects guard the caches they fill while drawing.
#pragma once

#include "canvas/document_renderer.h"

#include <QImage>

#include <functional>
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

// The same drawing as renderTiled, cut into bands of `bandRows` device pixels of the area's
// whole width, top to bottom numbered from 0, each drawn into an image of its own that is
// handed to `take` on the thread that drew it, bands in any order, while others are still
// being drawn. No image of the whole area is made. False when a band could not be drawn.
bool renderInBands(VekDocument &document, CanvasServices &view, const RenderRequest &request, double scale,
                   int bandRows, const std::function<void(int band, const QImage &pixels)> &take, int threads = 0);

// The device pixels a dirty rectangle touches at `scale`: the area renderTiled and
// renderInBands draw.
QRect pixelArea(const Rect &dirty, double scale);

// Image export: page `page` (from 1) of a document without a window, at `scale` pixels per
// canvas unit, drawn as for saving (no selection, no grid), over a transparent background
// unless `opaque` (a nearly transparent background colour then becomes white).
QImage renderPageImage(VekDocument &document, int page, double scale, bool opaque = false,
                       const TileOptions &options = {});
