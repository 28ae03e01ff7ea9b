// The canvas services of a document drawn without a window.
#include "canvas/offscreen_canvas.h"

#include "canvas/drawing_page.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "toolkit/cmyk_color.h"

#include <algorithm>
#include <cmath>

namespace {

// Tracking loops end at once: there is no mouse.
class NoEvents : public EventSource {
public:
    MouseEvent nextEvent(unsigned) override { return {EventType::LeftMouseUp, NoPoint}; }
};

} // namespace

OffscreenCanvas::OffscreenCanvas(VekDocument &document) : m_document(document) {}

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
    const Size size = m_document.drawAreaSizePerPage();
    return Rect(0, float(page - 1) * size.height, size.width, size.height);
}

int OffscreenCanvas::pageOfLocation(Point p) const
{
    const float height = m_document.drawAreaSizePerPage().height;
    return height > 0 ? int(std::ceil(p.y / height)) : 1;
}

int OffscreenCanvas::pageIncludingPoint(Point p) const
{
    const float height = m_document.drawAreaSizePerPage().height;
    const int page = height > 0 ? int(std::floor(p.y / height)) + 1 : 1;
    return std::clamp(page, 1, numberOfPages());
}

Point OffscreenCanvas::convertRelativeToPage(Point p) const
{
    const Rect page = rectForPage(pageIncludingPoint(p));
    return {p.x - page.origin.x, p.y - page.origin.y};
}

Color OffscreenCanvas::backgroundColor() const
{
    const Color color = m_document.backgroundColor();
    return m_document.useCMYK() ? cmykColor(color) : color;
}

std::vector<std::shared_ptr<VekObject>> OffscreenCanvas::sortObjectsInOrder(
    const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    std::vector<std::shared_ptr<VekObject>> sorted = objects;
    std::stable_sort(sorted.begin(), sorted.end(), [this](const auto &a, const auto &b) {
        return m_document.indexOfObject(a.get()) < m_document.indexOfObject(b.get());
    });
    return sorted;
}

Rect OffscreenCanvas::bounds() const
{
    const Size size = m_document.drawAreaSizePerPage();
    return Rect(0, 0, size.width, size.height * float(numberOfPages()));
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
