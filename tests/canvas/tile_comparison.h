// Drawing a document whole or in tiles, and comparing the pixels, for the tile tests.
#pragma once

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/spatial_index.h"
#include "canvas/tiled_renderer.h"
#include "document/vek_document.h"
#include "platform/graphics/graphics_context.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>

// Every object into one image on this thread, at `scale`; a dirty rectangle limits it.
inline QImage drawnWhole(VekDocument &doc, double scale, const SpatialIndex *index = nullptr, Rect dirty = Rect())
{
    OffscreenCanvas canvas(doc);
    const Size size = canvas.bounds().size;
    QImage pixels(int(size.width * scale), int(size.height * scale), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    GraphicsContext context(pixels);
    GraphicsContext::Scope scope(context);
    context.concat(AffineTransform(scale, 0, 0, scale, 0, 0));
    RenderRequest request;
    request.dirty = dirty == Rect() ? canvas.bounds() : dirty;
    request.index = index;
    drawDocumentPages(doc, canvas, request);
    return pixels;
}

// The whole canvas in square tiles on worker threads.
inline QImage drawnInTiles(VekDocument &doc, double scale, int tileSide, int threads)
{
    OffscreenCanvas canvas(doc);
    SpatialIndex index(doc);
    RenderRequest request;
    request.dirty = canvas.bounds();
    request.index = &index;
    return renderTiled(doc, canvas, request, scale, {tileSide, threads}).image;
}

// The largest difference of any channel of any pixel; -1 when the sizes differ.
inline int largestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const uchar *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const uchar *>(y.constScanLine(row));
        for (int i = 0; i < x.width() * 4; ++i)
            largest = std::max(largest, std::abs(int(p[i]) - int(q[i])));
    }
    return largest;
}

// The share of pixels of which some channel differs by more than a few levels.
inline double shareOfDifferingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const uchar *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const uchar *>(y.constScanLine(row));
        for (int i = 0; i < x.width(); ++i) {
            int largest = 0;
            for (int c = 0; c < 4; ++c)
                largest = std::max(largest, std::abs(int(p[4 * i + c]) - int(q[4 * i + c])));
            differing += largest > 8;
        }
    }
    return double(differing) / (double(x.width()) * x.height());
}
