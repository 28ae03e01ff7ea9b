// Placing document pages on paper for printing and PDF export.
#include "canvas/paper_pages.h"

#include "canvas/document_renderer.h"
#include "canvas/page_headers.h"
#include "document/vek_document.h"
#include "model/services/canvas_services.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/text_drawing.h"

#include <algorithm>
#include <cmath>

AffineTransform PaperLayout::canvasToPaper(int page) const
{
    AffineTransform t;
    t.translateXBy(contentOrigin.x, contentOrigin.y);
    t.scaleBy(scale);
    t.translateXBy(0, -float(page - 1) * this->page.height);
    return t;
}

Rect PaperLayout::paperRectInPdf(int page, const Rect &canvasRect) const
{
    const AffineTransform t = canvasToPaper(page);
    const Point topLeft = t.transformPoint(canvasRect.origin);
    const Point bottomRight = t.transformPoint(Point(canvasRect.maxX(), canvasRect.maxY()));
    return Rect(topLeft.x, paper.height - bottomRight.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y);
}

PaperLayout paperLayoutFor(VekDocument &document, bool shrinkToFit)
{
    const PrintInfo &info = document.printInfo();
    PaperLayout layout;
    layout.paper = info.orientedPaperSize();
    layout.page = document.drawAreaSizePerPage();
    layout.scale = info.scalingFactor >= 0.01f ? info.scalingFactor : 1.0f;
    const float inside = info.leftMargin + info.rightMargin, tall = info.topMargin + info.bottomMargin;
    const Size room = document.drawAreaSizePerPaper();
    if (shrinkToFit && (layout.page.width > room.width || layout.page.height > room.height)) {
        const float fit = std::min((layout.paper.width - inside) / (layout.page.width * layout.scale),
                                   (layout.paper.height - tall) / (layout.page.height * layout.scale));
        layout.scale = std::max(0.01f, float(std::floor(100.0 * fit * layout.scale) * 0.01));
    }
    const Size onPaper{layout.page.width * layout.scale, layout.page.height * layout.scale};
    const float left = info.horizontallyCentered ? (layout.paper.width - onPaper.width) / 2 : info.leftMargin;
    const float bottom = info.verticallyCentered ? (layout.paper.height - onPaper.height) / 2 : info.bottomMargin;
    layout.contentOrigin = Point(left, layout.paper.height - bottom - onPaper.height);
    return layout;
}

void drawPageOnPaper(VekDocument &document, CanvasServices &view, const PaperLayout &layout, int page, const QString &displayName)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    const Rect pageRect = view.rectForPage(page);
    {
        GraphicsStateSaver saver(*context);
        context->concat(layout.canvasToPaper(page));
        context->clipRect(pageRect);
        RenderRequest request;
        request.dirty = pageRect;
        drawDocumentPages(document, view, request);
    }

    const int pageCount = view.numberOfPages();
    if (!pageShowsHeaderAndFooter(document, page, pageCount))
        return;
    const PageVariables variables = pageVariablesFor(document, page, pageCount, displayName);
    const float pad = document.borderinfo().value(QStringLiteral("pad")).floatValue();
    // Header and footer scale with the page, from its top left corner.
    GraphicsStateSaver saver(*context);
    AffineTransform toPage;
    toPage.translateXBy(layout.contentOrigin.x, layout.contentOrigin.y);
    toPage.scaleBy(layout.scale);
    context->concat(toPage);
    if (auto header = pageHeader(document, variables, layout.page.width)) {
        const float height = attributedStringSize(*header).height;
        drawAttributedStringAtPoint(*header, {0, -pad - height});
    }
    if (auto footer = pageFooter(document, variables, layout.page.width))
        drawAttributedStringAtPoint(*footer, {0, layout.page.height + pad});
}
