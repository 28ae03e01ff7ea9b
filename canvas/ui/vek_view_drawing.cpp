// The canvas's drawing: the desk, the pages through the page loop, the object being
// created, the rubber band and the page frames; knobs; redraw requests.
#include "canvas/ui/vek_view.h"

#include "canvas/document_renderer.h"
#include "canvas/grid_drawing.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/text/text_view.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/cmyk_color.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
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
    request.backgroundHidden = m_backgroundHidden;
    request.selected = [this](const VekObject &object) { return showsAsSelected(object); };
    float gridY = 0;
    request.drawOverBackground = [this, &context, &gridY](int, const Rect &pageRect) {
        const ShellServices &shell = shellServices();
        if (m_gridDraw)
            gridY = drawGridWithSettingsInRect(context, gridSpacing(), pageRect,
                                               {pageRect.origin.x, gridY + gridSpacing()}, shell.selectedUnit(),
                                               shell.gridColor(), shell.gridmColor());
        GraphicsStateSaver saver(context);
        BezierPath frame = BezierPath::bezierPathWithRect(
            Rect(pageRect.origin.x, pageRect.origin.y, pageRect.width() - 0.5f, pageRect.height()));
        frame.setLineWidth(0);
        context.setStrokeColor(shell.gridColor());
        context.strokePath(frame);
    };
    drawDocumentPages(m_document, *this, request);

    // The object a creation tool is dragging out is not in the document yet.
    if (const auto creating = m_creating.lock(); creating && intersectsRect(creating->drawingBounds(), request.dirty)) {
        GraphicsStateSaver saver(context);
        context.clipRect(creating->drawingBounds());
        context.setStrokeColor(systemKnobColor());
        creating->drawInViewIsSelected(this, false);
    }
    if (m_editor)
        m_editor->drawInContext(context, float(scale()));
    m_contour.drawPoints(*this);
    if (m_rubberbandRect != Rect()) {
        GraphicsStateSaver saver(context);
        BezierPath band = BezierPath::bezierPathWithRect(m_rubberbandRect);
        band.setLineWidth(0);
        context.setStrokeColor(systemKnobColor());
        context.strokePath(band);
    }
}

// The selected look: never for the edited object; while a rubber band is dragged, the
// objects in it show what releasing it will do.
bool VekView::showsAsSelected(const VekObject &object) const
{
    if (m_editing.lock().get() == &object)
        return false;
    bool selected = objectIsSelected(object);
    if (m_rubberbandRect != Rect() && selected == m_rubberbandIsDeselecting
        && std::any_of(m_rubberbandObjects.begin(), m_rubberbandObjects.end(),
                       [&object](const auto &weak) { return weak.lock().get() == &object; }))
        selected = !selected;
    return selected;
}

void VekView::hideKnobsMomentarily()
{
    m_knobsHidden = true;
    invalidateObjects(selectedObjects());
    m_unhideKnobsTimer.start(500);
}

void VekView::unhideKnobs()
{
    m_knobsHidden = false;
    invalidateObjects(selectedObjects());
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
