// The canvas's drawing: the desk, the pages through the page loop, the object being
// created, the rubber band and the page frames; knobs; redraw requests.
#include "canvas/ui/vek_view.h"

#include "canvas/document_renderer.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/cmyk_color.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {

// The grey desk around the pages.
const QColor DeskColor(0x80, 0x80, 0x80);

} // namespace

Color VekView::backgroundColor() const
{
    const Color color = m_document.backgroundColor();
    return m_document.useCMYK() ? cmykColor(color) : color;
}

void VekView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), DeskColor);
    const QPointF origin = canvasOrigin();
    const Rect b = bounds();
    const QRectF pages(origin, QSizeF(b.width() * scale(), b.height() * scale()));
    painter.fillRect(pages, Qt::white);
    painter.translate(origin);
    painter.scale(scale(), scale());

    const QRectF dirty = painter.worldTransform().inverted().mapRect(QRectF(event->rect()));
    GraphicsContext context(&painter, GraphicsContext::Output::Window);
    GraphicsContext::Scope scope(context);
    RenderRequest request;
    request.dirty = intersectionRect(Rect(float(dirty.x()), float(dirty.y()), float(dirty.width()), float(dirty.height())), b);
    request.showSelection = !m_knobsHidden;
    request.selected = [this](const VekObject &object) { return objectIsSelected(object); };
    drawDocumentPages(m_document, *this, [this](int page) { m_drawingPage = page; }, request);

    // The object a creation tool is dragging out is not in the document yet.
    if (const auto creating = m_creating.lock()) {
        m_drawingPage = pageIncludingPoint(creating->bounds().origin);
        creating->drawInViewIsSelected(this, true);
        m_drawingPage = 0;
    }
    if (m_rubberbandRect != Rect()) {
        painter.setPen(QPen(Qt::darkGray, 0));
        painter.setBrush(QColor(128, 128, 128, 40));
        painter.drawRect(QRectF(m_rubberbandRect.origin.x, m_rubberbandRect.origin.y, m_rubberbandRect.width(),
                                m_rubberbandRect.height()));
    }

    // Page frames, one line of the screen wide.
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(Qt::NoBrush);
    for (int page = 1; page <= numberOfPages(); ++page) {
        const Rect r = rectForPage(page);
        painter.drawRect(QRectF(r.origin.x, r.origin.y, r.width() - 0.5, r.height()));
    }
}

void VekView::drawKnobAtPoint(Point p, const Color &color)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    const float side = VekObject::knobSize(this);
    const Rect knob(std::floor(p.x - side / 2) + 0.5f, std::floor(p.y - side / 2) + 0.5f, side, side);
    GraphicsStateSaver saver(*context);
    context->setFillColor(color);
    context->fillRect(knob);
    context->setStrokeColor(color.shadowWithLevel(0.5f).value_or(color));
    BezierPath frame = BezierPath::bezierPathWithRect(knob);
    frame.setLineWidth(0);
    context->strokePath(frame);
}

void VekView::setNeedsDisplayInRect(const Rect &r)
{
    const QPointF origin = canvasOrigin();
    viewport()->update(QRectF(origin.x() + r.origin.x * scale(), origin.y() + r.origin.y * scale(),
                              r.width() * scale(), r.height() * scale())
                           .toAlignedRect()
                           .adjusted(-2, -2, 2, 2));
}

void VekView::displayRect(const Rect &r)
{
    setNeedsDisplayInRect(r);
}

void VekView::display()
{
    updateScrollBars();
    viewport()->update();
}
