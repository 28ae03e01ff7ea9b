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

// Tiles run on Qt's global pool. The raster engine splits a large fill that blends (any
// semi-transparent fill) into parts for that pool and waits for them, unless the painting
// thread belongs to the pool itself: on threads of another pool every tile's fills would fan
// out again, and the tiles would wait on each other's parts.
QThreadPool &tilePool() { return *QThreadPool::globalInstance(); }

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

// Runs work(0) .. work(count - 1), each once, on up to `threads` pool threads (0: the pool's
// size) and returns when all are done.
void runOnTileThreads(size_t count, int threads, const std::function<void(size_t)> &work)
{
    QThreadPool &pool = tilePool();
    const int workers = std::clamp(threads > 0 ? threads : pool.maxThreadCount(), 1, int(std::max<size_t>(count, 1)));
    std::atomic<size_t> next{0};
    const auto drawTiles = [&] {
        for (size_t i = next++; i < count; i = next++)
            work(i);
    };
    // A caller that is itself a pool thread draws tiles too, and asks only for threads that
    // are free: waiting for queued helpers could wait for itself. Any other caller waits.
    const bool callerInPool = pool.contains(QThread::currentThread());
    // Qt's pool and semaphore order the hand-over through futexes that ThreadSanitizer cannot
    // see; these two atomics state the same ordering where it can.
    std::atomic<bool> handedOver{false};
    std::atomic<int> workersDone{0};
    handedOver.store(true, std::memory_order_release);
    QSemaphore finished;
    int helpers = 0;
    for (int w = callerInPool ? 1 : 0; w < workers; ++w) {
        const auto help = [&] {
            (void)handedOver.load(std::memory_order_acquire);
            drawTiles();
            workersDone.fetch_add(1, std::memory_order_release);
            finished.release();
        };
        if (!callerInPool)
            pool.start(help);
        else if (!pool.tryStart(help))
            break;
        ++helpers;
    }
    if (callerInPool)
        drawTiles();
    finished.acquire(helpers);
    (void)workersDone.load(std::memory_order_acquire);
}

} // namespace

QRect pixelArea(const Rect &dirty, double scale)
{
    return QRectF(dirty.minX() * scale, dirty.minY() * scale, dirty.width() * scale, dirty.height() * scale)
        .toAlignedRect();
}

RenderedArea renderTiled(VekDocument &document, CanvasServices &view, const RenderRequest &request, double scale,
                         const TileOptions &options)
{
    const QRect area = pixelArea(request.dirty, scale);
    RenderedArea rendered{PixelBudget::allocate(area.width(), area.height(), QImage::Format_ARGB32_Premultiplied), area};
    if (rendered.image.isNull() || !(scale > 0))
        return {};
    rendered.image.fill(Qt::transparent);
    const std::vector<Tile> tiles = tilesOf(area, std::max(16, options.tileSide));
    runOnTileThreads(tiles.size(), options.threads, [&](size_t i) {
        drawTile(document, view, request, scale, rendered.image, area, tiles[i].pixels);
    });
    return rendered;
}

bool renderInBands(VekDocument &document, CanvasServices &view, const RenderRequest &request, double scale,
                   int bandRows, const std::function<void(int, const QImage &)> &take, int threads)
{
    const QRect area = pixelArea(request.dirty, scale);
    if (area.isEmpty() || !(scale > 0) || bandRows < 1)
        return false;
    const int bands = int((qint64(area.height()) + bandRows - 1) / bandRows);
    std::atomic<bool> allDrawn{true};
    runOnTileThreads(size_t(bands), threads, [&](size_t i) {
        const QRect band(area.left(), area.top() + int(i) * bandRows, area.width(),
                         std::min(bandRows, area.bottom() + 1 - (area.top() + int(i) * bandRows)));
        QImage pixels = PixelBudget::allocate(band.width(), band.height(), QImage::Format_ARGB32_Premultiplied);
        if (pixels.isNull()) {
            allDrawn = false;
            return;
        }
        pixels.fill(Qt::transparent);
        drawTile(document, view, request, scale, pixels, band, band);
        take(int(i), pixels);
    });
    return allDrawn;
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
