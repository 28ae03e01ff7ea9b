// Images with several representations: choosing, rasterising and drawing them.
#include "platform/image/image.h"

#include "platform/image/pixel_budget.h"

#include <cmath>
#include <cstring>

Image::Image(const BitmapRep &bitmap)
{
    if (bitmap.isNull())
        return;
    m_size = bitmap.size();
    m_reps.emplace_back(bitmap);
}

Image Image::imageByDrawing(Size size, const std::function<void(QPainter &)> &draw)
{
    const int w = int(std::ceil(size.width));
    const int h = int(std::ceil(size.height));
    if (w <= 0 || h <= 0)
        return Image(size);
    QImage pixels = PixelBudget::allocate(w, h, QImage::Format_RGBA8888_Premultiplied);
    if (pixels.isNull())
        return Image(size);
    pixels.fill(Qt::transparent);
    {
        QPainter painter(&pixels);
        painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
        draw(painter);
    }
    BitmapRep rep(pixels);
    rep.setSize(size);
    Image image(rep);
    image.setSize(size);
    return image;
}

void Image::setSize(Size size)
{
    if (size != m_size)
        m_fileData.clear();
    m_size = size;
}

void Image::addRepresentation(ImageRep rep)
{
    m_reps.push_back(std::move(rep));
    m_fileData.clear();
}

void Image::removeRepresentationAt(int index)
{
    if (index >= 0 && index < int(m_reps.size())) {
        m_reps.erase(m_reps.begin() + index);
        m_fileData.clear();
    }
}

bool Image::isSameImage(const Image &other) const
{
    if (m_size != other.m_size || m_reps.size() != other.m_reps.size())
        return false;
    if (!m_fileData.isEmpty() && m_fileData == other.m_fileData)
        return true;
    for (size_t i = 0; i < m_reps.size(); ++i) {
        const ImageRep &a = m_reps[i], &b = other.m_reps[i];
        if (a.pdfDocument() || b.pdfDocument()) {
            if (a.pdfDocument() != b.pdfDocument() || a.pdfPage() != b.pdfPage())
                return false;
            continue;
        }
        const BitmapRep &x = *a.bitmap(), &y = *b.bitmap();
        if (x.isCMYK() != y.isCMYK() || x.size() != y.size())
            return false;
        if (x.isCMYK()) {
            const qsizetype bytes = qsizetype(x.bytesPerRow()) * x.pixelsHigh();
            if (x.pixelsWide() != y.pixelsWide() || x.pixelsHigh() != y.pixelsHigh() || x.hasAlpha() != y.hasAlpha()
                || std::memcmp(x.bitmapData(), y.bitmapData(), size_t(bytes)) != 0)
                return false;
        } else if (x.image().cacheKey() != y.image().cacheKey() && x.image() != y.image()) {
            return false;
        }
    }
    return true;
}

const ImageRep *Image::bestRepresentation() const
{
    const ImageRep *best = nullptr;
    qint64 bestPixels = -1;
    for (const ImageRep &rep : m_reps) {
        if (rep.pdfDocument())
            return &rep;
        const qint64 pixels = qint64(rep.pixelsWide()) * rep.pixelsHigh();
        if (pixels > bestPixels) {
            best = &rep;
            bestPixels = pixels;
        }
    }
    return best;
}

BitmapRep Image::bitmap() const
{
    for (const ImageRep &rep : m_reps)
        if (rep.bitmap())
            return *rep.bitmap();
    const ImageRep *best = bestRepresentation();
    if (!best)
        return {};
    // The size in points may be anything a file said (1e10 points): fit it to the budget
    // in floating point before it becomes pixels.
    const QSize pixels = PixelBudget::fitted(std::ceil(double(m_size.width)), std::ceil(double(m_size.height)));
    BitmapRep rep(best->toQImage(pixels));
    rep.setSize(m_size);
    return rep;
}

QImage Image::toQImage(QSize pixels) const
{
    const ImageRep *best = bestRepresentation();
    if (!best)
        return {};
    if (pixels.isEmpty())
        return bitmap().toQImage();
    return best->toQImage(pixels);
}

void Image::drawInRect(QPainter &painter, const QRectF &target, const QRectF &source,
                       QPainter::CompositionMode operation, float fraction) const
{
    const ImageRep *rep = bestRepresentation();
    if (!rep || target.isEmpty() || m_size.width <= 0 || m_size.height <= 0)
        return;
    painter.save();
    painter.setCompositionMode(operation);
    painter.setOpacity(painter.opacity() * fraction);
    const QRectF whole(0, 0, m_size.width, m_size.height);
    const QRectF part = source.isEmpty() ? whole : source.intersected(whole);
    if (part == whole) {
        rep->drawInRect(painter, target);
    } else if (!part.isEmpty()) {
        // Map the whole image so that the chosen part lands on target, and clip to target.
        const double sx = target.width() / part.width();
        const double sy = target.height() / part.height();
        painter.setClipRect(target, Qt::IntersectClip);
        rep->drawInRect(painter, QRectF(target.x() - part.x() * sx, target.y() - part.y() * sy, whole.width() * sx,
                                        whole.height() * sy));
    }
    painter.restore();
}
