// The page loop of the canvas: backgrounds, then objects back to front with clip paths,
// repetition on pages and shadows.
#include "canvas/document_renderer.h"

#include "canvas/drawing_page.h"
#include "canvas/spatial_index.h"

#include "document/vek_document.h"
#include "toolkit/cmyk_color.h"
#include "model/services/canvas_services.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"
#include "platform/pdf/pdf_document.h"
#include "platform/text/attributed_string.h"

#include <algorithm>


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
Rect wholeRedrawArea(const VekObject &object, int page, const Rect &pageRect)
{
    return object.repeatType() == 0 ? object.boundsToRedraw()
                                    : insetRect(object.boundsOnPage(page, pageRect), -3.0f, -3.0f);
}
Rect redrawArea(const VekObject &object, int page, const Rect &pageRect, const Rect &dirty)
{
    const Rect area = wholeRedrawArea(object, page, pageRect);
    if (dirty.width() < pageRect.width() || dirty.height() < pageRect.height())
        return intersectionRect(area, dirty);
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

// Where an object's drawing can show. Pixels take the redraw area; vector output only what
// the object paints, since a clipped drawing still lies in the page's content, where text
// extraction and search would find a box of the next page.
Rect reachOf(const VekObject &object, bool onScreen)
{
    return onScreen ? unionRect(object.drawingBounds(), object.boundsToRedraw()) : object.paintedBounds();
}

// The first page an ordinary object's drawing bounds meet, 0 for none: it is drawn there once.
int firstPageMeeting(const CanvasServices &view, int pageCount, const Rect &bounds)
{
    for (int page = view.pageIncludingPoint({bounds.minX(), bounds.minY()}); page <= pageCount; ++page) {
        const Rect pageRect = view.rectForPage(page);
        if (intersectsRect(bounds, pageRect))
            return page;
        if (pageRect.minY() > bounds.maxY())
            break;
    }
    return 0;
}

// Draws an object, clipped by the clip path behind it when there is one, on a page.
void drawObjectOnPage(GraphicsContext &context, VekDocument &document, CanvasServices &view,
                      const RenderRequest &request, bool toSave, const std::shared_ptr<VekObject> &object,
                      const std::shared_ptr<VekObject> &clipObject, int page, const Rect &pageRect)
{
    GraphicsStateSaver saver(context);
    Rect area = redrawArea(clipObject ? *clipObject : *object, page, pageRect, request.dirty);
    if (clipObject) {
        const Rect clipArea = redrawArea(*object, page, pageRect, request.dirty);
        BezierPath clip = clipObject->bezierPathOnPage(page, pageRect);
        clip.setWindingRule(clipObject->fillRule() == 1 ? EvenOddWindingRule : NonZeroWindingRule);
        if (clipObject->repeatType() == 0)
            clipObject->drawInViewIsSelected(&view, false);
        else
            clipObject->drawInViewIsSelectedOnPagePageRect(&view, false, page, pageRect);
        if (clipObject->clipType() == 2) {
            // Outside the path: a rectangle around both with the path cut out of it. The
            // rectangle is not cut to the dirty one: a part of the object outside it may cast
            // a shadow into it.
            const Rect around = unionRect(wholeRedrawArea(*object, page, pageRect), clip.bounds());
            BezierPath outside = BezierPath::bezierPathWithRect(around);
            outside.appendBezierPath(clip);
            outside.setWindingRule(EvenOddWindingRule);
            context.addClip(outside);
        } else {
            context.addClip(clip);
        }
        area = clipArea;
    }

    setObjectShadow(context, document, *object);
    // On screen the redraw area limits the work; vector output draws each object whole
    // anyway, and a clip per object would only make the file larger.
    if (context.isDrawingToScreen() && !context.shadow() && !clipObject && !object->attStringForPath()
        && !object->hasArrow() && object->lineDrawPattern() == 0)
        context.clipRect(area);
    const bool selected = request.showSelection && !toSave && request.selected && request.selected(*object);
    if (object->repeatType() == 0 && object->className() != QLatin1String("VekObjFormat"))
        object->drawInViewIsSelected(&view, selected);
    else
        object->drawInViewIsSelectedOnPagePageRect(&view, selected, page, pageRect);
}

} // namespace

Color canvasBackgroundColor(const VekDocument &document)
{
    const Color color = document.backgroundColor();
    return document.useCMYK() ? cmykColor(color) : color;
}

void drawDocumentPages(VekDocument &document, CanvasServices &view, const RenderRequest &request)
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

    std::vector<std::shared_ptr<VekObject>> candidates;
    if (request.index)
        candidates = request.index->objectsToDraw(request.dirty);
    const auto &source = request.index ? candidates : document.objects();
    std::vector<std::shared_ptr<VekObject>> list;
    for (const auto &object : source)
        if (!request.drawSelectedOnly || (request.selected && request.selected(*object)))
            list.push_back(object);
    if (request.drawSelectedOnly && list.empty())
        return;

    const bool toSave = view.drawingToSave();
    const bool backgroundHidden = request.backgroundHidden || view.backgroundHidden();
    struct Page {
        int number;
        Rect rect;
    };
    std::vector<Page> pages;   // those meeting the dirty rectangle
    for (int page = 1; page <= document.numberOfPages(); ++page)
        if (const Rect pageRect = view.rectForPage(page); intersectsRect(pageRect, request.dirty))
            pages.push_back({page, pageRect});
    const auto setPage = [&](int page) {
        setDrawingPageOnThisThread(page);
    };
    // Each page's background, and on screen what lies over it (grid, page frame), under
    // every object.
    for (const Page &page : pages) {
        setPage(page.number);
        if (!backgroundHidden && !request.drawingToCopy) {
            GraphicsStateSaver saver(*context);
            if (request.backgroundClip)
                context->addClip(*request.backgroundClip);
            drawPageBackground(document, *context, page.number, page.rect);
        }
        if (request.drawOverBackground && !toSave)
            request.drawOverBackground(page.number, page.rect);
    }

    // Objects back to front across all pages, so that an object reaching over a page's edge
    // stays in front of the objects behind it on the next page. Whether an object is drawn
    // depends on its whole area (shadow included) meeting the dirty rectangle, never on
    // which pages the rectangle meets, so any part of the canvas comes out as in a drawing
    // of the whole (tiles, dirty rectangles).
    const int pageCount = document.numberOfPages();
    const bool onScreen = context->isDrawingToScreen();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        // A clip path clips the object just in front of it, which then takes its place; the
        // clip path's repetition decides the pages of both.
        std::shared_ptr<VekObject> clipObject;
        std::shared_ptr<VekObject> object = *it;
        if (object->clipType() > 0 && object->hasEditablePath() && std::next(it) != list.rend()) {
            clipObject = object;
            object = *++it;
        }
        const VekObject &placed = clipObject ? *clipObject : *object;
        const Rect drawing = placed.drawingBounds();
        Rect reach = reachOf(placed, onScreen);
        if (clipObject)
            reach = unionRect(reach, reachOf(*object, onScreen));
        if (placed.repeatType() == 0) {
            const int page = intersectsRect(reach, request.dirty) ? firstPageMeeting(view, pageCount, drawing) : 0;
            if (page == 0)
                continue;
            setPage(page);
            drawObjectOnPage(*context, document, view, request, toSave, object, clipObject, page, view.rectForPage(page));
            continue;
        }
        // A repeating object's area on each page grows by what its redraw area adds to it.
        const float grow = std::max(reach.width() - drawing.width(), reach.height() - drawing.height());
        for (int page = 1; page <= pageCount; ++page) {
            const Rect pageRect = view.rectForPage(page);
            if (!intersectsRect(insetRect(placed.boundsOnPage(page, pageRect), -grow, -grow), request.dirty))
                continue;
            setPage(page);
            drawObjectOnPage(*context, document, view, request, toSave, object, clipObject, page, pageRect);
        }
    }
    setDrawingPageOnThisThread(0);
}
