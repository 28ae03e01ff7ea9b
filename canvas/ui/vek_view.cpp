// The canvas widget: page geometry, zoom, painting through the page loop, selection state.
#include "canvas/ui/vek_view.h"

#include "canvas/document_renderer.h"
#include "document/vek_document.h"
#include "model/object_editing.h"
#include "model/vek_object.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/cmyk_color.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MinZoom = 10;
constexpr int MaxZoom = 6400;
// The grey desk around the pages.
const QColor DeskColor(0x80, 0x80, 0x80);

// Tracking loops of the objects end at once until the canvas tracks the mouse itself.
class NoTracking : public EventSource {
public:
    MouseEvent nextEvent(unsigned) override { return {EventType::LeftMouseUp, NoPoint}; }
};

} // namespace

VekView::VekView(VekDocument &document, QWidget *parent) : QAbstractScrollArea(parent), m_document(document)
{
    m_document.setVekView(this);
    m_document.setHasWindow(true);
    m_currentPage = std::clamp(m_document.lastCurrentPage(), 1, numberOfPages());
    viewport()->setAutoFillBackground(false);
    updateScrollBars();
}

VekView::~VekView()
{
    m_document.setHasWindow(false);
    m_document.setVekView(nullptr);
}

void VekView::setCurrentZoom(int percent)
{
    m_zoom = std::clamp(percent, MinZoom, MaxZoom);
    updateScrollBars();
    viewport()->update();
}

// ---- Geometry ----

int VekView::numberOfPages() const
{
    return m_document.numberOfPages();
}

Rect VekView::rectForPage(int page) const
{
    const Size size = m_document.drawAreaSizePerPage();
    return Rect(0, float(page - 1) * size.height, size.width, size.height);
}

int VekView::pageOfLocation(Point p) const
{
    const float height = m_document.drawAreaSizePerPage().height;
    return height > 0 ? int(std::ceil(p.y / height)) : 1;
}

int VekView::pageIncludingPoint(Point p) const
{
    const float height = m_document.drawAreaSizePerPage().height;
    const int page = height > 0 ? int(std::floor(p.y / height)) + 1 : 1;
    return std::clamp(page, 1, numberOfPages());
}

Point VekView::convertRelativeToPage(Point p) const
{
    const Rect page = rectForPage(pageIncludingPoint(p));
    return {p.x - page.origin.x, p.y - page.origin.y};
}

Rect VekView::bounds() const
{
    const Size size = m_document.drawAreaSizePerPage();
    return Rect(0, 0, size.width, size.height * float(numberOfPages()));
}

QPointF VekView::canvasOrigin() const
{
    const Rect b = bounds();
    const double width = b.width() * scale(), height = b.height() * scale();
    const double x = width < viewport()->width() ? (viewport()->width() - width) / 2 : -horizontalScrollBar()->value();
    const double y = height < viewport()->height() ? (viewport()->height() - height) / 2 : -verticalScrollBar()->value();
    return {x, y};
}

Point VekView::convertPointFromWindow(Point p) const
{
    const QPointF local = viewport()->mapFrom(window(), QPointF(p.x, p.y)) - canvasOrigin();
    return {float(local.x() / scale()), float(local.y() / scale())};
}

Rect VekView::visibleRect() const
{
    const QPointF origin = canvasOrigin();
    const Rect visible(float(-origin.x() / scale()), float(-origin.y() / scale()),
                       float(viewport()->width() / scale()), float(viewport()->height() / scale()));
    return intersectionRect(visible, bounds());
}

void VekView::updateScrollBars()
{
    const Rect b = bounds();
    const int width = int(std::ceil(b.width() * scale())), height = int(std::ceil(b.height() * scale()));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
}

void VekView::scrollRectToVisible(const Rect &r)
{
    horizontalScrollBar()->setValue(int(r.origin.x * scale()));
    verticalScrollBar()->setValue(int(r.origin.y * scale()));
}

// ---- Drawing ----

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
    request.showSelection = true;
    request.selected = [this](const VekObject &object) { return objectIsSelected(object); };
    drawDocumentPages(m_document, *this, [this](int page) { m_drawingPage = page; }, request);

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

void VekView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void VekView::scrollContentsBy(int, int)
{
    viewport()->update();
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

void VekView::invalidateObject(const VekObject &object)
{
    setNeedsDisplayInRect(object.boundsToRedraw());
}

// ---- Selection and editing ----

bool VekView::objectIsSelected(const VekObject &object) const
{
    return std::any_of(m_selection.begin(), m_selection.end(),
                       [&object](const std::weak_ptr<VekObject> &s) { return s.lock().get() == &object; });
}

void VekView::selectObjectExclusively(const std::shared_ptr<VekObject> &object)
{
    for (const auto &old : m_selection)
        if (auto o = old.lock())
            invalidateObject(*o);
    m_selection.clear();
    if (object) {
        m_selection.push_back(object);
        invalidateObject(*object);
    }
}

std::vector<std::shared_ptr<VekObject>> VekView::sortObjectsInOrder(
    const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    std::vector<std::shared_ptr<VekObject>> sorted = objects;
    std::stable_sort(sorted.begin(), sorted.end(), [this](const auto &a, const auto &b) {
        return m_document.indexOfObject(a.get()) < m_document.indexOfObject(b.get());
    });
    return sorted;
}

void VekView::setEditingObject(const std::shared_ptr<VekObject> &object, TextView *editor)
{
    m_editing = object;
    m_editor = editor;
}

void VekView::endEditing()
{
    if (auto object = m_editing.lock())
        if (ObjectEditing *editing = object->editing())
            editing->endEditingInView(this);
}

EventSource &VekView::eventSource()
{
    static NoTracking none;
    return none;
}
