// Drawing images through a graphics context.
#include "platform/image/image.h"

#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"

#include <algorithm>
#include <cmath>

void Image::drawInRect(GraphicsContext &context, const Rect &target, const Rect &source,
                       CompositingOperation operation, float fraction) const
{
    const ImageRep *rep = bestRepresentation();
    if (!rep || target.isEmpty() || !(m_size.width > 0 && m_size.height > 0))
        return;
    // A whole PDF page stays vectors where the output can keep it so.
    if (rep->pdfDocument() && source.isEmpty() && operation == CompositingOperation::SourceOver
        && context.placePdfPage(rep->pdfDocument(), rep->pdfPage(), target, fraction))
        return;
    // On screen and into images, the page renders just the part the device shows, at the
    // device's resolution: a tile of a huge page costs a tile's pixels.
    if (rep->pdfDocument() && source.isEmpty() && operation == CompositingOperation::SourceOver && fraction >= 1
        && context.isDrawingToScreen() && !context.shadow()) {
        rep->pdfDocument()->drawPage(rep->pdfPage(), *context.painter(),
                                     QRectF(target.origin.x, target.origin.y, target.size.width, target.size.height));
        return;
    }
    QImage pixels;
    if (rep->pdfDocument()) {
        // Pixels per point of the target on the device, at least the output's resolution.
        const QRectF onDevice = context.painter()->worldTransform().mapRect(
            QRectF(target.origin.x, target.origin.y, target.size.width, target.size.height));
        double scale = std::max(onDevice.width() / m_size.width, onDevice.height() / m_size.height);
        if (!context.isDrawingToScreen())
            scale = std::max(scale, 300.0 / 72.0);
        constexpr double maxPixels = 10000;
        scale = std::min(scale, maxPixels / std::max(m_size.width, m_size.height));
        pixels = rep->toQImage(QSize(std::max(1, int(std::ceil(m_size.width * scale))),
                                     std::max(1, int(std::ceil(m_size.height * scale)))));
    } else {
        pixels = rep->toQImage();
    }
    if (pixels.isNull())
        return;
    Rect from;
    if (!source.isEmpty()) {
        const float sx = pixels.width() / m_size.width;
        const float sy = pixels.height() / m_size.height;
        from = Rect(source.origin.x * sx, source.origin.y * sy, source.size.width * sx, source.size.height * sy);
    }
    context.drawImage(pixels, target, from, operation, fraction);
}
