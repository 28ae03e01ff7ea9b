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
    t.scaleBy(scale);
    t.translateXBy(contentOrigin.x, contentOrigin.y - float(page - 1) * this->page.height);
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
    layout.paper = info.paperSize;
    layout.page = document.drawAreaSizePerPage();
    layout.scale = info.scalingFactor >= 0.01f ? info.scalingFactor : 1.0f;
    const float inside = info.leftMargin + info.rightMargin, tall = info.topMargin + info.bottomMargin;
    if (shrinkToFit && (layout.page.width > layout.paper.width - inside || layout.page.height > layout.paper.height - tall)) {
        const float fit = std::min(layout.paper.width / (layout.page.width + inside),
                                   layout.paper.height / (layout.page.height + tall));
        layout.scale = std::max(0.01f, float(std::floor(100.0 * fit * layout.scale) * 0.01));
    }
    // The paper as the unscaled drawing sees it is larger by 1 / scale.
    const float logicalWidth = layout.paper.width / layout.scale, logicalHeight = layout.paper.height / layout.scale;
    const float left = info.horizontallyCentered ? (logicalWidth - layout.page.width) / 2 : info.leftMargin;
    const float bottom = info.verticallyCentered ? (logicalHeight - layout.page.height) / 2 : info.bottomMargin;
    layout.contentOrigin = Point(left, logicalHeight - bottom - layout.page.height);
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
    GraphicsStateSaver saver(*context);
    AffineTransform scale;
    scale.scaleBy(layout.scale);
    context->concat(scale);
    const Point origin = layout.contentOrigin;
    if (auto header = pageHeader(document, variables, layout.page.width)) {
        const float height = attributedStringSize(*header).height;
        drawAttributedStringAtPoint(*header, {origin.x, origin.y - pad - height});
    }
    if (auto footer = pageFooter(document, variables, layout.page.width))
        drawAttributedStringAtPoint(*footer, {origin.x, origin.y + layout.page.height + pad});
}
