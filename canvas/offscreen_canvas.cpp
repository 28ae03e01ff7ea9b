// The canvas services of a document drawn without a window.
#include "canvas/offscreen_canvas.h"

#include "canvas/document_renderer.h"

#include "canvas/drawing_page.h"

#include "canvas/page_geometry.h"
#include "canvas/stacking_order.h"
#include "document/vek_document.h"
#include "model/vek_object.h"

#include <algorithm>
#include <cmath>

namespace {

// Tracking loops end at once: there is no mouse.
class NoEvents : public EventSource {
public:
    MouseEvent nextEvent(unsigned) override { return {EventType::LeftMouseUp, NoPoint}; }
};

} // namespace

OffscreenCanvas::OffscreenCanvas(VekDocument &document)
    : m_document(document), m_backgroundHidden(document.vekView() && document.vekView()->backgroundHidden())
{
}

int OffscreenCanvas::drawingPage() const
{
    return drawingPageOnThisThread();
}

int OffscreenCanvas::numberOfPages() const
{
    return m_document.numberOfPages();
}

Rect OffscreenCanvas::rectForPage(int page) const
{
    return pageRect(m_document, page);
}

int OffscreenCanvas::pageOfLocation(Point p) const
{
    return ::pageOfLocation(m_document, p.y);
}

int OffscreenCanvas::pageIncludingPoint(Point p) const
{
    return pageHoldingY(m_document, p.y);
}

Point OffscreenCanvas::convertRelativeToPage(Point p) const
{
    return pointRelativeToPage(m_document, p);
}

Color OffscreenCanvas::backgroundColor() const
{
    return canvasBackgroundColor(m_document);
}

std::vector<std::shared_ptr<VekObject>> OffscreenCanvas::sortObjectsInOrder(
    const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    return ::sortObjectsInOrder(m_document, objects);
}

Rect OffscreenCanvas::bounds() const
{
    return canvasBounds(m_document);
}

EventSource &OffscreenCanvas::eventSource()
{
    static NoEvents none;
    return none;
}

OffscreenCanvasScope::OffscreenCanvasScope(VekDocument &document, OffscreenCanvas &canvas)
    : m_document(document), m_previous(document.vekView())
{
    document.setVekView(&canvas);
}

OffscreenCanvasScope::~OffscreenCanvasScope()
{
    m_document.setVekView(m_previous);
}
