// Drawing an area of a document for area and selection exports.
#include "export/export_selection.h"

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"

#include <unordered_set>

std::optional<BezierPath> ExportSelection::backgroundClip() const
{
    if (!selectedOnly || objects.empty())
        return std::nullopt;
    BezierPath clip;
    for (const auto &object : objects)
        clip.appendBezierPath(object->bezierPath());
    clip.setWindingRule(NonZeroWindingRule);
    return clip;
}

void drawDocumentArea(VekDocument &document, const ExportSelection &selection, bool opaque, bool clipToArea)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    OffscreenCanvas canvas(document);
    canvas.setDrawingToPDF(!context->isDrawingToScreen());
    OffscreenCanvasScope scope(document, canvas);

    const Rect area = selection.isWholeDocument() ? canvas.bounds() : selection.area;
    GraphicsStateSaver saver(*context);
    AffineTransform toArea;
    toArea.translateXBy(-area.origin.x, -area.origin.y);
    context->concat(toArea);
    // An image or a page of the area's size ends at the area; only larger outputs need a clip.
    if (clipToArea)
        context->clipRect(area);

    RenderRequest request;
    request.dirty = area;
    request.drawingOpaque = opaque;
    request.backgroundClip = selection.backgroundClip();
    std::unordered_set<const VekObject *> chosen;
    for (const auto &object : selection.objects)
        chosen.insert(object.get());
    if (!chosen.empty()) {
        request.drawSelectedOnly = true;
        request.selected = [&chosen](const VekObject &object) { return chosen.count(&object) != 0; };
    }
    drawDocumentPages(document, canvas, request);
}
