// Rendering in tiles on a pool of worker threads.
#include "canvas/tiled_renderer.h"

#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/pixel_budget.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>

namespace {

QThreadPool &tilePool()
{
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;   // lives as long as the process, like Qt's global pool
        p->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        return p;
    }();
    return *pool;
}

struct Tile {
    QRect pixels;   // device pixels
};

std::vector<Tile> tilesOf(const QRect &area, int side)
{
    std::vector<Tile> tiles;
    for (int y = area.top(); y <= area.bottom(); y += side)
        for (int x = area.left(); x <= area.right(); x += side)
            tiles.push_back({QRect(x, y, side, side) & area});
    return tiles;
}

// Draws one tile into its part of the result.
void drawTile(VekDocument &document, CanvasServices &view, RenderRequest request, double scale, QImage &result,
              const QRect &resultPixels, const QRect &tile)
{
    const QPoint at = tile.topLeft() - resultPixels.topLeft();
    uchar *first = result.bits() + qsizetype(at.y()) * result.bytesPerLine() + qsizetype(at.x()) * 4;
    QImage pixels(first, tile.width(), tile.height(), result.bytesPerLine(), result.format());
    GraphicsContext context(pixels);
    GraphicsContext::Scope scope(context);
    context.concat(AffineTransform(scale, 0, 0, scale, -tile.left(), -tile.top()));
    // The tile's rectangle on the canvas, a pixel larger all round: objects are clipped to it,
    // and at a fractional scale its edges would otherwise fall a rounding error inside the
    // tile's outer pixels. The image itself ends at the tile.
    // Never beyond the area asked for: its edges may lie inside a pixel.
    const QRectF canvas = QRectF(tile).adjusted(-1, -1, 1, 1);
    request.dirty = intersectionRect(request.dirty, Rect(float(canvas.x() / scale), float(canvas.y() / scale),
                                                         float(canvas.width() / scale), float(canvas.height() / scale)));
    drawDocumentPages(document, view, request);
}

} // namespace

RenderedArea renderTiled(VekDocument &document, CanvasServices &view, const RenderRequest &request, double scale,
                         const TileOptions &options)
{
    const Rect &dirty = request.dirty;
    const QRect area = QRectF(dirty.minX() * scale, dirty.minY() * scale, dirty.width() * scale,
                              dirty.height() * scale)
                           .toAlignedRect();
    RenderedArea rendered{PixelBudget::allocate(area.width(), area.height(), QImage::Format_ARGB32_Premultiplied), area};
    if (rendered.image.isNull() || !(scale > 0))
        return {};
    rendered.image.fill(Qt::transparent);

    const std::vector<Tile> tiles = tilesOf(area, std::max(16, options.tileSide));
    QThreadPool &pool = tilePool();
    const int workers = std::clamp(options.threads > 0 ? options.threads : pool.maxThreadCount(), 1,
                                   int(tiles.size()));
    std::atomic<size_t> next{0};
    // Qt's pool and semaphore order the hand-over through futexes that ThreadSanitizer cannot
    // see; these two atomics state the same ordering where it can.
    std::atomic<bool> handedOver{false};
    std::atomic<int> workersDone{0};
    handedOver.store(true, std::memory_order_release);
    QSemaphore finished;
    for (int w = 0; w < workers; ++w)
        pool.start([&] {
            (void)handedOver.load(std::memory_order_acquire);
            for (size_t i = next++; i < tiles.size(); i = next++)
                drawTile(document, view, request, scale, rendered.image, area, tiles[i].pixels);
            workersDone.fetch_add(1, std::memory_order_release);
            finished.release();
        });
    finished.acquire(workers);
    (void)workersDone.load(std::memory_order_acquire);
    return rendered;
}

QImage renderPageImage(VekDocument &document, int page, double scale, bool opaque, const TileOptions &options)
{
    OffscreenCanvas canvas(document);
    canvas.setDrawingToSave(true);
    SpatialIndex index(document);
    RenderRequest request;
    request.dirty = canvas.rectForPage(page);
    request.drawingOpaque = opaque;
    request.index = &index;
    return renderTiled(document, canvas, request, scale, options).image;
}
