// Making the stored previews of a document.
#include "export/preview_data.h"

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/offscreen_images.h"
#include "document/document_previews.h"
#include "document/vek_document.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/image_file.h"
#include "platform/pdf/pdf_output.h"

#include <algorithm>

QByteArray createPngDataForQuickLookThumbnail(VekDocument &document)
{
    OffscreenCanvas canvas(document);
    CanvasImageRequest request;
    request.rect = canvas.rectForPage(1);
    request.opaque = true;
    request.keepRGB = true;
    const Image image = imageWithinRect(document, request);
    return image.isValid() ? encodeBitmap(image.bitmap(), "png") : QByteArray();
}

QByteArray VekPDFRepresentation(VekDocument &document)
{
    OffscreenCanvas canvas(document);
    canvas.setDrawingToPDF(true);
    OffscreenCanvasScope scope(document, canvas);
    const Size size = document.drawAreaSizePerPage();
    // A clear background becomes white, a translucent one its colour at full alpha (drawn
    // under the renderer's own fill, which then changes nothing).
    Color background = canvas.backgroundColor();
    background = background.alphaComponent() <= 0.09f ? Color::whiteColor() : background.colorWithAlphaComponent(1);

    PdfOutput output(size, false);
    {
        GraphicsContext::Scope current(output.context());
        GraphicsContext &context = output.context();
        for (int page = 1; page <= document.numberOfPages(); ++page) {
            if (page > 1)
                output.newPage();
            const Rect pageRect = canvas.rectForPage(page);
            GraphicsStateSaver saver(context);
            AffineTransform toPage;
            toPage.translateXBy(-pageRect.origin.x, -pageRect.origin.y);
            context.concat(toPage);
            context.clipRect(pageRect);
            context.setFillColor(background);
            context.fillRect(pageRect);
            RenderRequest request;
            request.dirty = pageRect;
            request.drawingOpaque = true;
            drawDocumentPages(document, canvas, request);
        }
    }
    return output.finish();
}

QByteArray createMultiPagesDataForQuickLookInMaxSize(VekDocument &document, float maxSide)
{
    CanvasImageRequest request;
    request.opaque = true;
    request.keepRGB = true;
    const Image image = imageWithinRect(document, request);
    if (!image.isValid())
        return {};
    const QImage pixels = image.bitmap().toQImage();
    const Size page = document.drawAreaSizePerPage();
    Size out = page;
    if (std::max(page.width, page.height) > maxSide)
        out = page.width < page.height ? Size(page.width * maxSide / page.height, maxSide)
                                       : Size(maxSide, page.height * maxSide / page.width);
    PdfOutput output(out, false);
    {
        GraphicsContext &context = output.context();
        context.setImageInterpolation(ImageInterpolation::High);
        for (int i = 1; i <= document.numberOfPages(); ++i) {
            if (i > 1)
                output.newPage();
            context.drawImage(pixels, Rect(0, 0, out.width, out.height),
                              Rect(0, float(i - 1) * page.height, page.width, page.height),
                              CompositingOperation::SourceOver, 1.0f);
        }
    }
    return output.finish();
}

QByteArray previewPdfData(VekDocument &document)
{
    return document.numberOfPages() <= 3 ? VekPDFRepresentation(document)
                                         : createMultiPagesDataForQuickLookInMaxSize(document, 800);
}

void installDocumentPreviewMakers()
{
    setDocumentPreviewMakers({createPngDataForQuickLookThumbnail, previewPdfData});
}
