// The canvas's drawing: the desk, the pages through the page loop, the object being
// created, the rubber band and the page frames; knobs; redraw requests.
#include "canvas/ui/vek_view.h"

#include "canvas/document_renderer.h"
#include "canvas/grid_drawing.h"
#include "canvas/tiled_renderer.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/text/text_view.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"

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
    return canvasBackgroundColor(m_document);
}

void VekView::paintEvent(QPaintEvent *event)
{
    m_areasSinceRedraw = 0;
    QPainter painter(viewport());
    painter.fillRect(event->rect(), DeskColor);
    const QPointF origin = canvasOrigin();
    const Rect b = bounds();
    const QRectF pages(origin, QSizeF(b.width() * scale(), b.height() * scale()));
    painter.fillRect(pages, Qt::white);

    // The pages and objects are drawn in tiles on worker threads, then composed here.
    const QRectF dirty = QRectF(event->rect()).translated(-origin);
    RenderRequest request;
    request.dirty = intersectionRect(Rect(float(dirty.x() / scale()), float(dirty.y() / scale()),
                                          float(dirty.width() / scale()), float(dirty.height() / scale())),
                                     b);
    request.showSelection = !m_knobsHidden;
    request.backgroundHidden = m_backgroundHidden;
    request.selected = [this](const VekObject &object) { return showsAsSelected(object); };
    // The grid's rows run on across pages: each page starts where the rows above it ended.
    // gridOrigins[n] is the last row of page n (0 before page 1).
    std::vector<float> gridOrigins(size_t(numberOfPages()) + 1, 0.0f);
    for (int page = 1; m_gridDraw && page < numberOfPages(); ++page)
        gridOrigins[size_t(page)] =
            lastGridLineY(gridSpacing(), rectForPage(page), gridOrigins[size_t(page - 1)] + gridSpacing());
    const Color minorGrid = shellServices().gridColor(), majorGrid = shellServices().gridmColor();
    const int unit = shellServices().selectedUnit();
    request.drawOverBackground = [this, gridOrigins, minorGrid, majorGrid, unit](int page, const Rect &pageRect) {
        GraphicsContext *context = GraphicsContext::current();
        if (!context)
            return;
        if (m_gridDraw)
            drawGridWithSettingsInRect(*context, gridSpacing(), pageRect,
                                       {pageRect.origin.x, gridOrigins[size_t(page - 1)] + gridSpacing()}, unit,
                                       minorGrid, majorGrid);
        GraphicsStateSaver saver(*context);
        BezierPath frame = BezierPath::bezierPathWithRect(
            Rect(pageRect.origin.x, pageRect.origin.y, pageRect.width() - 0.5f, pageRect.height()));
        frame.setLineWidth(0);
        context->setStrokeColor(minorGrid);
        context->strokePath(frame);
    };
    m_index.refresh();
    request.index = &m_index;
    const qreal ratio = viewport()->devicePixelRatioF();
    const RenderedArea area = renderTiled(m_document, *this, request, scale() * ratio);
    QImage tiles = area.image;
    tiles.setDevicePixelRatio(ratio);
    painter.drawImage(origin + QPointF(area.pixels.topLeft()) / ratio, tiles);

    // Over the objects, on this thread: what is being made, edited or selected by a band.
    painter.translate(origin);
    painter.scale(scale(), scale());
    GraphicsContext context(&painter, GraphicsContext::Output::Window);
    GraphicsContext::Scope scope(context);
    // The object a creation tool is dragging out is not in the document yet.
    const auto creating = m_creating.lock();
    if (creating && intersectsRect(creating->drawingBounds(), request.dirty)) {
        GraphicsStateSaver saver(context);
        context.clipRect(creating->drawingBounds());
        context.setStrokeColor(systemKnobColor());
        creating->drawInViewIsSelected(this, false);
    }
    if (m_editor) {
        m_editor->drawInContext(context, float(scale()));
        // Every change of the edited text or its selection redraws it: the text ruler
        // catches up with the paragraph here.
        if (m_rulers)
            m_rulers->updateTextRulerAccessory();
    }
    if (const auto shape = m_knobsShape.lock();
        shape && !m_knobsHidden && objectIsSelected(*shape) && shouldDrawControlPoints() && shape->hasEditablePath())
        shape->drawResizeKnobsOnBounds(shape->bounds(), this);
    m_contour.drawPoints(*this);
    if (m_rubberbandRect != Rect()) {
        GraphicsStateSaver saver(context);
        BezierPath band = BezierPath::bezierPathWithRect(m_rubberbandRect);
        band.setLineWidth(0);
        context.setStrokeColor(systemKnobColor());
        context.strokePath(band);
    }
    else if (m_showAnchors && !creating)
        drawAnchorMarks(painter, request.dirty);
    m_grab.drawOverlay(context, *this, m_document.resolution());
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

namespace {
// Work over many objects marks many areas. Qt keeps them as one region, and each area added
// costs as much as the region holds: past a few hundred since the last redraw the whole
// viewport is marked once and later areas cost nothing.
constexpr int ManyAreas = 256;
} // namespace

bool VekView::marksWholeViewport() const
{
    return m_areasSinceRedraw > ManyAreas;
}

void VekView::setNeedsDisplayInRect(const Rect &r)
{
    if (marksWholeViewport())
        return;
    if (++m_areasSinceRedraw > ManyAreas) {
        viewport()->update();
        return;
    }
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
