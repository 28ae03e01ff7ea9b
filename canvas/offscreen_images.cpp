// Rendering images of a document without a window.
#include "canvas/offscreen_images.h"

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "canvas/paper_pages.h"
#include "canvas/spatial_index.h"
#include "canvas/tiled_renderer.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"
#include "platform/image/pixel_budget.h"
#include "toolkit/image_functions.h"

#include <QPainter>

#include <cmath>
#include <unordered_set>

namespace {

bool hasBackgroundToDraw(VekDocument &document, const OffscreenCanvas &canvas)
{
    return canvas.backgroundColor().alphaComponent() > 0.09f
        || (!canvas.backgroundHidden() && (document.backgroundImage().isValid() || document.backgroundPDF()));
}

// The selected objects' outlines from back to front; a clip path adds its own outline and
// passes over the object it clips.
std::optional<BezierPath> selectionClip(VekDocument &document, const std::vector<std::shared_ptr<VekObject>> &selected)
{
    std::unordered_set<const VekObject *> chosen;
    for (const auto &object : selected)
        chosen.insert(object.get());
    BezierPath clip;
    const auto &objects = document.objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        if (!chosen.count(it->get()))
            continue;
        clip.appendBezierPath((*it)->bezierPath());
        if ((*it)->clipType() == 1 && std::next(it) != objects.rend())
            ++it;
    }
    if (clip.elementCount() == 0 || clip.bounds().isEmpty())
        return std::nullopt;
    clip.setWindingRule(NonZeroWindingRule);
    return clip;
}

double pixelsPerPoint(const CanvasImageRequest &request)
{
    return request.scale > 0 ? request.scale : 1.0;
}

// What imageWithinRect draws: the canvas of the request, the rectangle, and the objects and
// background to draw, with an index for the tiles.
struct CanvasDrawing {
    CanvasDrawing(VekDocument &document, const CanvasImageRequest &request)
        : canvas(document), scope(document, canvas), index(document)
    {
        Rect rect = request.rect.isEmpty() ? canvas.bounds() : request.rect;
        if (!(rect == canvas.bounds()))
            rect = Rect(std::floor(rect.minX()), std::floor(rect.minY()), std::ceil(rect.maxX()) - std::floor(rect.minX()),
                        std::ceil(rect.maxY()) - std::floor(rect.minY()));
        render.dirty = rect;
        render.drawingToCopy = request.drawingToCopy;
        render.drawingOpaque = request.opaque && !request.pathClip;
        if (request.pathClip) {
            for (const auto &object : request.selected)
                chosen.insert(object.get());
            render.drawSelectedOnly = true;
            render.selected = [this](const VekObject &object) { return chosen.count(&object) != 0; };
            if (!request.selected.empty() && hasBackgroundToDraw(document, canvas))
                render.backgroundClip = selectionClip(document, request.selected);
        }
        // Each tile looks only at the objects the index finds for it.
        render.index = &index;
    }
    CanvasDrawing(const CanvasDrawing &) = delete;
    CanvasDrawing &operator=(const CanvasDrawing &) = delete;

    OffscreenCanvas canvas;
    OffscreenCanvasScope scope;
    SpatialIndex index;
    std::unordered_set<const VekObject *> chosen;
    RenderRequest render;
};

} // namespace

Image imageWithinRect(VekDocument &document, const CanvasImageRequest &request)
{
    CanvasDrawing drawing(document, request);
    const QImage image = renderTiled(document, drawing.canvas, drawing.render, pixelsPerPoint(request)).image;
    if (image.isNull())
        return {};
    Image result(image);
    if (request.pathClip) {
        const BitmapRep trimmed = trimToSize(result.bitmap(), Size());
        if (!trimmed.isNull())
            result = Image(trimmed);
    }
    if (document.useCMYK() && !request.keepRGB) {
        const Image cmyk = imageInCMYKcolorspace(result, true);
        if (cmyk.isValid())
            return cmyk;
    }
    return result;
}

bool imageWithinRectInBands(VekDocument &document, const CanvasImageRequest &request,
                            const std::function<int(QSize)> &start,
                            const std::function<void(int, const QImage &)> &take)
{
    if (request.pathClip)
        return false;
    CanvasDrawing drawing(document, request);
    const QRect area = pixelArea(drawing.render.dirty, pixelsPerPoint(request));
    if (area.isEmpty() || !PixelBudget::allows(area.width(), area.height()))
        return false;
    return renderInBands(document, drawing.canvas, drawing.render, pixelsPerPoint(request), start(area.size()), take);
}

QImage previewOfPage(VekDocument &document, int page, bool showMargin, float scale, const QString &displayName)
{
    OffscreenCanvas canvas(document);
    canvas.setDrawingToPDF(true);
    OffscreenCanvasScope scope(document, canvas);
    if (page < 1 || page > document.numberOfPages())
        page = 1;
    const PaperLayout layout = paperLayoutFor(document, false);
    scale = scale > 0 ? scale : 1;
    const QSize pixels = PixelBudget::fitted(layout.paper.width * scale, layout.paper.height * scale);
    QImage image = PixelBudget::allocate(pixels.width(), pixels.height(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    GraphicsContext context(image);
    GraphicsContext::Scope current(context);
    AffineTransform toPixels;
    toPixels.scaleXBy(image.width() / layout.paper.width, image.height() / layout.paper.height);
    context.concat(toPixels);
    drawPageOnPaper(document, canvas, layout, page, displayName);
    if (showMargin) {
        const AffineTransform t = layout.canvasToPaper(page);
        const Rect pageRect = canvas.rectForPage(page);
        const Point a = t.transformPoint(pageRect.origin);
        const Point b = t.transformPoint(Point(pageRect.maxX(), pageRect.maxY()));
        BezierPath outline = BezierPath::bezierPathWithRect(Rect(a.x, a.y, b.x - a.x, b.y - a.y));
        outline.setLineWidth(0);
        context.setStrokeColor(Color::grayColor());
        context.strokePath(outline);
    }
    return image;
}
