// An image: a size in points and one or more representations (bitmaps, PDF pages).
//
// Images are upright: the top row of every representation is the top of the image as
// the y-down view shows it, and drawing into an image (imageByDrawing) works in y-down
// coordinates with the origin at the image's top-left corner (docs/architecture.md,
// "Images"). Copies are cheap (QImage shares its pixels until one is written).
#pragma once

#include "platform/graphics/compositing.h"
#include "platform/image/image_rep.h"

#include <functional>
#include <vector>

class GraphicsContext;

class Image {
public:
    // No representation and the zero size: isValid() is false.
    Image() = default;
    // A size with no representation yet.
    explicit Image(Size size) : m_size(size) {}
    // One bitmap; the image takes the bitmap's size in points.
    explicit Image(const BitmapRep &bitmap);
    explicit Image(const QImage &image) : Image(BitmapRep(image)) {}

    // A transparent bitmap of size (points, one pixel per point, rounded up) drawn by
    // draw with smooth image scaling and antialiasing, y down from the top-left corner.
    static Image imageByDrawing(Size size, const std::function<void(QPainter &)> &draw);

    bool isValid() const { return !m_reps.empty(); }
    Size size() const { return m_size; }
    // A new size makes the image differ from the file it was read from.
    void setSize(Size size);

    const std::vector<ImageRep> &representations() const { return m_reps; }
    // The bytes of the image file the image was read from (PDF, PNG, TIFF, ...) while the
    // image is still exactly that file's; empty for images made or changed in memory.
    // Documents store these bytes rather than encoding the pixels again, so a PDF stays
    // vectors and a photo keeps its own compression.
    const QByteArray &fileData() const { return m_fileData; }
    void setFileData(const QByteArray &data) { m_fileData = data; }
    // True when both show the same thing: the same file, or the same size with the same
    // representations (shared pixels or equal pixels, the same PDF page).
    bool isSameImage(const Image &other) const;
    void addRepresentation(ImageRep rep);
    void removeRepresentationAt(int index);

    // The representation to draw with: a PDF page before any bitmap (it scales without
    // loss), else the bitmap with the most pixels (the first of equals). Null when there
    // is none.
    const ImageRep *bestRepresentation() const;
    // A bitmap of the image: its first bitmap representation, or else its best
    // representation drawn at the image's size (one pixel per point). Null without one.
    BitmapRep bitmap() const;
    // The image drawn into pixels of the given size (the bitmap() size when empty).
    QImage toQImage(QSize pixels = {}) const;

    // Draws the best representation upright into target (painter coordinates, y down),
    // the part source of the image (in points from its top-left; the whole image when
    // empty), with the operation and the opacity fraction.
    void drawInRect(QPainter &painter, const QRectF &target, const QRectF &source = {},
                    QPainter::CompositionMode operation = QPainter::CompositionMode_SourceOver,
                    float fraction = 1.0f) const;
    // The same through a graphics context (its transform, clip, shadow and layers apply).
    // A PDF page goes as a raster made at the output's resolution: device pixels on
    // screen and in images, 300 dpi in PDF and print.
    void drawInRect(GraphicsContext &context, const Rect &target, const Rect &source = {},
                    CompositingOperation operation = CompositingOperation::SourceOver, float fraction = 1.0f) const;

private:
    Size m_size;
    std::vector<ImageRep> m_reps;
    QByteArray m_fileData;
};
