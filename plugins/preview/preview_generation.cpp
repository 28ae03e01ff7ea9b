#include "plugins/preview/preview_generation.h"

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "document/print_info.h"
#include "export/preview_data.h"
#include "model/gradient/vek_gradient_view.h"
#include "model/services/shell_services.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/native_path_files.h"
#include "platform/foundation/user_defaults.h"
#include "platform/graphics/color_conversion.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/bitmap_rep.h"
#include "platform/image/image_file.h"
#include "platform/pdf/pdf_output.h"
#include "platform/text/text_archiving.h"
#include "plugins/preview/drawing_process.h"
#include "plugins/preview/gradient_rasterisers.h"
#include "plugins/preview/vek_draw_document.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// The document being drawn on this thread, whose marker colours the markers ask for.
thread_local VekDrawDocument *documentDrawing = nullptr;

// The plug-in's answers to what drawing objects ask of the application: the marker colours
// of the document being drawn; the built-in defaults for everything else.
class PreviewShellServices : public ShellServices {
public:
    Color markerColor(int number) const override
    {
        return documentDrawing ? documentDrawing->markerColor(number, UserDefaults::standardFilePath())
                               : ShellServices::markerColor(number);
    }
};

// Coders for the archived classes of documents, the marker colours and the plug-in's
// gradients, installed once for the process that loaded the plug-in.
void preparePlugIn()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ArchiveCoderRegistry &registry = ArchiveCoderRegistry::shared();
        registerTextCoders(registry);
        registerPrintInfoCoders(registry);
        static PreviewShellServices services;
        setShellServices(&services);
        VekGradientView::setRasteriser(previewgradients::gradientImage);
    });
}

class DrawingScope {
public:
    explicit DrawingScope(VekDrawDocument &document) { documentDrawing = &document; }
    ~DrawingScope() { documentDrawing = nullptr; }
};

void answer(VekPreviewRequest &request, const QByteArray &data, const char *contentType)
{
    if (!data.isEmpty() && request.setDataRepresentation)
        request.setDataRepresentation(&request, data.constData(), size_t(data.size()), contentType);
}

// The page colour: the document's when it is more than faintly visible, else white; always
// opaque.
Color pageBackground(const OffscreenCanvas &canvas)
{
    const Color color = canvas.backgroundColor();
    return color.alphaComponent() > 0.09f ? color.colorWithAlphaComponent(1) : Color::whiteColor();
}

// Page n at `scale` pixels per point on its background, with its background image or PDF
// page and its objects as the canvas draws them.
QImage pageImage(VekDrawDocument &document, OffscreenCanvas &canvas, int page, float scale)
{
    const Rect pageRect = document.rectForPage(page);
    QImage image(std::max(1, int(std::ceil(pageRect.size.width * scale))),
                 std::max(1, int(std::ceil(pageRect.size.height * scale))), QImage::Format_ARGB32_Premultiplied);
    image.fill(toQColor(pageBackground(canvas)));
    GraphicsContext context(image);
    GraphicsContext::Scope current(context);
    context.setImageInterpolation(ImageInterpolation::High);
    AffineTransform toPage;
    toPage.scaleXBy(scale, scale);
    toPage.translateXBy(-pageRect.origin.x, -pageRect.origin.y);
    context.concat(toPage);
    context.clipRect(pageRect);
    RenderRequest request;
    request.dirty = pageRect;
    request.drawingOpaque = true;
    drawDocumentPages(document, canvas, request);
    return image;
}

// The scale that fits a page within `side` pixels, never enlarging.
float scaleWithin(Size page, float side)
{
    const float longest = std::max(page.width, page.height);
    return longest > side ? side / longest : 1.0f;
}

// Each page as an image on a PDF page of the page size.
QByteArray pagesAsImagePdf(VekDrawDocument &document, OffscreenCanvas &canvas)
{
    const Size size = document.drawAreaSizePerPage();
    const float scale = scaleWithin(size, maximumPreviewPageSide);
    PdfOutput output(size, false);
    GraphicsContext &context = output.context();
    const int pages = std::min(document.numberOfPages(), maximumPreviewPages);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            output.newPage();
        const QImage image = pageImage(document, canvas, page, scale);
        context.setImageInterpolation(ImageInterpolation::High);
        context.drawImage(image, Rect(0, 0, size.width, size.height),
                          Rect(0, 0, float(image.width()), float(image.height())),
                          CompositingOperation::SourceOver, 1.0f);
    }
    return output.finish();
}

} // namespace

int32_t generatePreview(VekPreviewRequest &request, const char *path, GuiContext context)
{
    preparePlugIn();
    const QByteArray data = readWholeFileAtNativePath(path).value_or(QByteArray());
    if (data.isEmpty())
        return 0;
    VekDrawDocument document;
    if (document.quickCheckQL(data) == 0)
        return 0;
    if (const QByteArray stored = document.previewDataFromData(data); !stored.isEmpty()) {
        answer(request, stored, "com.adobe.pdf");
        return 0;
    }
    if (!document.holdsDocument(data))
        return -1;
    if (context == GuiContext::CoreOnly) {
        answer(request, drawnByThumbnailer(path, true, {}), "com.adobe.pdf");
        return 0;
    }
    document.readDocumentFromData(data);
    DrawingScope drawing(document);
    if (document.numberOfPages() < 5)
        if (const QByteArray pdf = VekPDFRepresentation(document); !pdf.isEmpty()) {
            answer(request, pdf, "com.adobe.pdf");
            return 0;
        }
    OffscreenCanvas canvas(document);
    OffscreenCanvasScope scope(document, canvas);
    answer(request, pagesAsImagePdf(document, canvas), "com.adobe.pdf");
    return 0;
}

int32_t generateThumbnail(VekPreviewRequest &request, const char *path, VekPreviewSize maxSize, GuiContext context)
{
    preparePlugIn();
    const QByteArray data = readWholeFileAtNativePath(path).value_or(QByteArray());
    if (data.isEmpty())
        return 0;
    VekDrawDocument document;
    if (document.quickCheckQL(data) == 0)
        return 0;
    if (const QByteArray stored = document.thumbnailDataFromData(data); !stored.isEmpty()) {
        answer(request, stored, "public.png");
        return 0;
    }
    if (!document.holdsDocument(data))
        return 0;
    if (context == GuiContext::CoreOnly) {
        answer(request, drawnByThumbnailer(path, false, maxSize), "public.png");
        return 0;
    }
    document.readDocumentFromData(data);
    DrawingScope drawing(document);
    OffscreenCanvas canvas(document);
    OffscreenCanvasScope scope(document, canvas);
    const Size page = document.drawAreaSizePerPage();
    float scale = scaleWithin(page, maximumPreviewPageSide);
    if (maxSize.width > 0 && maxSize.height > 0)
        scale = std::min({1.0f, float(maxSize.width) / page.width, float(maxSize.height) / page.height});
    const QImage image = pageImage(document, canvas, 1, scale);
    answer(request, encodeBitmap(BitmapRep(image), "png"), "public.png");
    return 0;
}
