// The page loop of the canvas: backgrounds, then objects back to front with clip paths,
// repetition on pages and shadows.
#include "canvas/document_renderer.h"

#include "document/vek_document.h"
#include "model/services/canvas_services.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"
#include "platform/text/attributed_string.h"

#include <unordered_set>

namespace {

constexpr float AlphaThreshold = 0.09f;

void drawPageBackground(VekDocument &document, GraphicsContext &context, int page, const Rect &pageRect)
{
    // The image covers the whole canvas, all pages, one point a pixel.
    if (document.backgroundImage().isValid()) {
        document.backgroundImage().drawInRect(context, pageRect, pageRect);
        return;
    }
    const auto &pdf = document.backgroundPDF();
    const auto &pages = document.bgPDFpages();
    if (!pdf || page > int(pages.size()))
        return;
    const int shown = pages[size_t(page - 1)];
    if (shown < 1 || shown > pdf->pageCount())
        return;
    Image pdfPage(pdf->pageSize(shown - 1));
    pdfPage.addRepresentation(ImageRep(pdf, shown - 1));
    GraphicsStateSaver saver(context);
    context.setImageInterpolation(ImageInterpolation::High);
    pdfPage.drawInRect(context, pageRect);
}

// The area an object is clipped to on a page: its redraw area, or its place on this page
// for a repeating object, cut to the dirty rectangle when that is smaller than the page.
Rect redrawArea(const VekObject &object, int page, const Rect &pageRect, const Rect &dirty)
{
    Rect area = object.repeatType() == 0 ? object.boundsToRedraw()
                                         : insetRect(object.boundsOnPage(page, pageRect), -3.0f, -3.0f);
    if (dirty.width() < pageRect.width() || dirty.height() < pageRect.height())
        area = intersectionRect(area, dirty);
    return area;
}

void setObjectShadow(GraphicsContext &context, VekDocument &document, const VekObject &object)
{
    if (object.indvShadow()) {
        const Size offset = object.indvShadowSize();
        context.setShadow(Shadow{offset.width, offset.height, object.indvShadowBlur(), object.indvShadowColor()});
    } else if (document.shadowState() && !object.noShadow()) {
        const Size offset = document.shadowOffsetSize();
        context.setShadow(Shadow{offset.width, offset.height, document.shadowBlur(), document.shadowColor()});
    }
}

} // namespace

void drawDocumentPages(VekDocument &document, CanvasServices &view, const std::function<void(int)> &setDrawingPage,
                       const RenderRequest &request)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;

    Color background = view.backgroundColor();
    if (background.alphaComponent() <= AlphaThreshold && request.drawingOpaque)
        background = Color::whiteColor();
    if (background.alphaComponent() > AlphaThreshold && !request.drawingToCopy) {
        GraphicsStateSaver saver(*context);
        if (request.backgroundClip)
            context->addClip(*request.backgroundClip);
        context->setFillColor(background);
        context->fillRect(request.dirty);
    }

    std::vector<std::shared_ptr<VekObject>> list;
    for (const auto &object : document.objects())
        if (!request.drawSelectedOnly || (request.selected && request.selected(*object)))
            list.push_back(object);
    if (request.drawSelectedOnly && list.empty())
        return;

    std::unordered_set<const VekObject *> drawn;   // ordinary objects are drawn on one page
    const bool toSave = view.drawingToSave();
    for (int page = 1; page <= document.numberOfPages(); ++page) {
        const Rect pageRect = view.rectForPage(page);
        if (!intersectsRect(pageRect, request.dirty))
            continue;
        setDrawingPage(page);
        if (!request.backgroundHidden && !request.drawingToCopy) {
            GraphicsStateSaver saver(*context);
            if (request.backgroundClip)
                context->addClip(*request.backgroundClip);
            drawPageBackground(document, *context, page, pageRect);
        }
        if (request.drawOverBackground && !toSave)
            request.drawOverBackground(page, pageRect);

        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            std::shared_ptr<VekObject> object = *it;
            if (drawn.count(object.get()))
                continue;
            const bool repeats = object->repeatType() != 0;
            if (!repeats && !intersectsRect(object->drawingBounds(), pageRect))
                continue;
            GraphicsStateSaver saver(*context);
            Rect area = redrawArea(*object, page, pageRect, request.dirty);

            // A clip path clips the object just in front of it, which then takes its place.
            bool clipped = false;
            if (object->clipType() > 0 && object->hasEditablePath() && std::next(it) != list.rend()) {
                const auto clipObject = object;
                object = *std::next(it);
                ++it;
                const Rect clipArea = redrawArea(*object, page, pageRect, request.dirty);
                BezierPath clip = clipObject->bezierPathOnPage(page, pageRect);
                clip.setWindingRule(clipObject->fillRule() == 1 ? EvenOddWindingRule : NonZeroWindingRule);
                if (clipObject->repeatType() == 0) {
                    clipObject->drawInViewIsSelected(&view, false);
                    drawn.insert(clipObject.get());
                } else {
                    clipObject->drawInViewIsSelectedOnPagePageRect(&view, false, page, pageRect);
                }
                if (clipObject->clipType() == 2) {
                    // Outside the path: a rectangle around both with the path cut out of it.
                    BezierPath outside = BezierPath::bezierPathWithRect(unionRect(clipArea, clip.bounds()));
                    outside.appendBezierPath(clip);
                    outside.setWindingRule(EvenOddWindingRule);
                    context->addClip(outside);
                } else {
                    context->addClip(clip);
                }
                clipped = true;
                area = clipArea;
            }

            setObjectShadow(*context, document, *object);
            // On screen the redraw area limits the work; vector output draws each object whole
            // anyway, and a clip per object would only make the file larger.
            if (context->isDrawingToScreen() && !context->shadow() && !clipped && !object->attStringForPath()
                && !object->hasArrow() && object->lineDrawPattern() == 0)
                context->clipRect(area);
            const bool selected = request.showSelection && !toSave && request.selected && request.selected(*object);
            if (object->repeatType() == 0 && object->className() != QLatin1String("VekObjFormat")) {
                object->drawInViewIsSelected(&view, selected);
                drawn.insert(object.get());
            } else {
                object->drawInViewIsSelectedOnPagePageRect(&view, selected, page, pageRect);
            }
        }
    }
    setDrawingPage(0);
}
