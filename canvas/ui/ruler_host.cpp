// The canvas's rulers: layout in the scroll area's margins, the selection's markers and the
// mouse lines.
#include "canvas/ui/ruler_host.h"

#include "canvas/ruler_markers.h"
#include "canvas/ui/text_ruler_accessory.h"
#include "document/vek_document.h"
#include "model/services/canvas_services.h"
#include "platform/foundation/undo_manager.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QScrollBar>

#include <cmath>

RulerHost::RulerHost(RulerCanvas &canvas) : m_canvas(canvas)
{
    QAbstractScrollArea &area = canvas.rulerScrollArea();
    m_horizontal = new VekRulerView(Qt::Horizontal, &area);
    m_vertical = new VekRulerView(Qt::Vertical, &area);
    m_corner = new QWidget(&area);
    m_corner->setAutoFillBackground(true);
    for (QWidget *widget : {static_cast<QWidget *>(m_horizontal), static_cast<QWidget *>(m_vertical), m_corner.data()})
        widget->hide();
    m_horizontal->setClientView(this);
    m_vertical->setClientView(this);
    area.viewport()->installEventFilter(this);
    connect(area.horizontalScrollBar(), &QScrollBar::valueChanged, m_horizontal, [this] { m_horizontal->update(); });
    connect(area.verticalScrollBar(), &QScrollBar::valueChanged, m_vertical, [this] { m_vertical->update(); });
}

RulerHost::~RulerHost()
{
    for (VekRulerView *ruler : {m_horizontal.data(), m_vertical.data()})
        if (ruler) {
            ruler->setClientView(nullptr);
            delete ruler;
        }
    delete m_corner.data();
}

void RulerHost::setRulersVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    layoutRulers();
}

void RulerHost::setAccessoryView(QWidget *view)
{
    m_horizontal->setAccessoryView(view);
    layoutRulers();
}

void RulerHost::toggleVekRulers()
{
    if (m_visible) {
        if (m_horizontal->reservedThicknessForAccessoryView() > 0)
            setAccessoryView(nullptr);
        setRulersVisible(false);
        return;
    }
    if (m_canvas.rulerTextEditor())
        setTextRulerAccessory(true);
    else if (m_horizontal->reservedThicknessForAccessoryView() > 0)
        setAccessoryView(nullptr);
    setRulersVisible(true);
    updateRulers();
}

void RulerHost::showTextRulerAccessory()
{
    if (m_visible && m_canvas.rulerTextEditor())
        setTextRulerAccessory(true);
}

void RulerHost::disableTextRulerAccessory()
{
    if (m_visible && m_horizontal->accessoryView())
        setTextRulerAccessory(false);
}

void RulerHost::setTextRulerAccessory(bool enabled)
{
    if (TextRulerAccessory *strip = textRulerAccessory(); strip && strip->isActive() == enabled) {
        strip->refresh();
        return;
    }
    auto editor = [this]() -> VekTextView * { return m_canvas.rulerTextEditor(); };
    setAccessoryView(new TextRulerAccessory(enabled ? editor : std::function<VekTextView *()>(), enabled));
}

TextRulerAccessory *RulerHost::textRulerAccessory() const
{
    return dynamic_cast<TextRulerAccessory *>(m_horizontal->accessoryView());
}

void RulerHost::updateTextRulerAccessory()
{
    if (TextRulerAccessory *strip = textRulerAccessory(); strip && strip->isActive())
        strip->refresh();
}

bool RulerHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        layoutRulers();
    return QObject::eventFilter(watched, event);
}

void RulerHost::layoutRulers()
{
    const int top = m_visible ? m_horizontal->requiredThickness() : 0;
    const int left = m_visible ? m_vertical->requiredThickness() : 0;
    m_canvas.setRulerMargins(QMargins(left, top, 0, 0));
    for (QWidget *widget : {static_cast<QWidget *>(m_horizontal), static_cast<QWidget *>(m_vertical), m_corner.data()})
        widget->setVisible(m_visible);
    if (!m_visible)
        return;
    const QRect viewport = m_canvas.rulerScrollArea().viewport()->geometry();
    m_horizontal->setGeometry(viewport.x(), viewport.y() - top, viewport.width(), top);
    m_vertical->setGeometry(viewport.x() - left, viewport.y(), left, viewport.height());
    m_corner->setGeometry(viewport.x() - left, viewport.y() - top, left, top);
}

void RulerHost::updateRulers()
{
    if (!m_visible)
        return;
    const CanvasCommandContext context = m_canvas.rulerCommandContext();
    if (context.selection.empty()) {
        m_horizontal->setMarkers({});
        m_vertical->setMarkers({});
        return;
    }
    const RulerMarkerLocations at = markerLocationsFor(*context.selection.front(), m_canvas.rulerCanvasServices());
    m_horizontal->setMarkers({edgeMarker(RulerEdge::Left, at.left), edgeMarker(RulerEdge::Right, at.right)});
    m_vertical->setMarkers({edgeMarker(RulerEdge::Top, at.top), edgeMarker(RulerEdge::Bottom, at.bottom)});
}

void RulerHost::updateBaseWithZoom()
{
    const double base = m_vertical->base();
    if (base >= 1.0)
        m_canvas.rulerScrollArea().verticalScrollBar()->setSingleStep(int(std::lround(base)));
    m_horizontal->update();
    m_vertical->update();
}

void RulerHost::drawTemporaryLinesAt(Point newInWindow)
{
    if (newInWindow == NoPoint) {
        m_horizontal->moveRulerline(std::nullopt);
        m_vertical->moveRulerline(std::nullopt);
        return;
    }
    QWidget *window = m_canvas.rulerScrollArea().window();
    const QPointF p(newInWindow.x, newInWindow.y);
    m_horizontal->moveRulerline(m_horizontal->mapFrom(window, p).x());
    m_vertical->moveRulerline(m_vertical->mapFrom(window, p).y());
}

double RulerHost::rulerOrigin(Qt::Orientation orientation) const
{
    const QPointF origin = m_canvas.rulerCanvasOrigin();
    return orientation == Qt::Horizontal ? origin.x() : origin.y();
}

double RulerHost::rulerPixelsPerUnit() const
{
    return m_canvas.rulerCanvasScale();
}

int RulerHost::rulerDocumentResolution() const
{
    return m_canvas.rulerCommandContext().document.resolution();
}

bool RulerHost::rulerViewShouldMoveMarker(VekRulerView &, RulerMarker &)
{
    const CanvasCommandContext context = m_canvas.rulerCommandContext();
    if (context.selection.empty())
        return false;
    // Everything the drag changes becomes one undo step.
    context.document.undoManager()->beginUndoGrouping();
    m_dragGroupOpen = true;
    return true;
}

float RulerHost::rulerViewWillMoveMarkerToLocation(VekRulerView &ruler, RulerMarker &marker, float location,
                                                   Qt::KeyboardModifiers modifiers)
{
    const std::optional<RulerEdge> edge = rulerEdgeNamed(marker.representedObject());
    if (!edge)
        return location;
    CanvasCommandContext context = m_canvas.rulerCommandContext();
    const RulerMarkerMove move =
        moveSelectionWithRulerMarker(context, m_canvas.rulerCurrentObject(), m_canvas.rulerCanvasServices(), *edge,
                                     location, modifiers.testFlag(Qt::ShiftModifier), m_simplyMoveMarkers);
    if (move.pairedLocation) {
        if (RulerMarker *paired = ruler.markerRepresenting(rulerEdgeName(pairedEdge(*edge)))) {
            const QRectF before = ruler.imageRectOfMarker(*paired);
            paired->setLocation(*move.pairedLocation);
            ruler.update(before.united(ruler.imageRectOfMarker(*paired)).toAlignedRect());
        }
    }
    return move.location;
}

void RulerHost::rulerViewDidMoveMarker(VekRulerView &, RulerMarker &)
{
    const CanvasCommandContext context = m_canvas.rulerCommandContext();
    if (m_dragGroupOpen) {
        m_dragGroupOpen = false;
        context.document.undoManager()->endUndoGrouping();
    }
    if (!context.selection.empty())
        placeMarkersAtCurrentObject();
}

void RulerHost::placeMarkersAtCurrentObject()
{
    const std::shared_ptr<VekObject> current = m_canvas.rulerCurrentObject();
    if (!current)
        return;
    const RulerMarkerLocations at = markerLocationsFor(*current, m_canvas.rulerCanvasServices());
    const auto place = [&at](VekRulerView &ruler, RulerEdge first, RulerEdge second) {
        if (ruler.markers().size() != 2)
            return;
        for (RulerEdge edge : {first, second})
            if (RulerMarker *marker = ruler.markerRepresenting(rulerEdgeName(edge)))
                marker->setLocation(at.location(edge));
        ruler.update();
    };
    place(*m_horizontal, RulerEdge::Left, RulerEdge::Right);
    place(*m_vertical, RulerEdge::Top, RulerEdge::Bottom);
}
