// The one limit on the pixels of any image the program decodes, renders or allocates.
//
// Image files state their size in a header, and a few bytes can claim 65,500 x 65,500
// pixels; a PDF page of 30,000 points rendered at 72 dpi asks for as much. Every decoder
// checks the header's numbers against this budget before it allocates, and every image
// buffer is allocated through it, so a hostile file gives a clear error instead of an
// abort or gigabytes of memory. Renderings that only need to look right (a PDF page drawn
// as a bitmap) are scaled down into the budget instead of being refused.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace PixelBudget {

// 64 megapixels: 256 MB at four bytes a pixel, room for a poster-size scan (8192 x 8192)
// or an A3 page at 600 dpi.
constexpr qint64 maxPixels = 64LL * 1024 * 1024;

// Whether a width and height are positive and together within the budget.
bool allows(qint64 width, qint64 height);
// The error text for an image the budget refuses.
QString refusal(qint64 width, qint64 height);
// A new image, or a null one when the size is outside the budget or memory runs out.
QImage allocate(int width, int height, QImage::Format format);
// The pixel size of a rendering of width x height (any finite or infinite numbers), scaled
// down with its aspect kept to fit the budget; empty when nothing can be rendered.
QSize fitted(double width, double height);

} // namespace PixelBudget
