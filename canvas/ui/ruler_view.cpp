// The ruler widget: scale, markers, accessory strip and the mouse line.
#include "canvas/ui/ruler_view.h"

#include "canvas/ruler_scale.h"
#include "model/services/shell_services.h"
#include "platform/foundation/notification_center.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor RulerBackground(232, 232, 232);
const QColor RulerMarks(85, 85, 85);

QFont labelFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
    return font;
}

} // namespace

VekRulerView::VekRulerView(Qt::Orientation orientation, QWidget *parent) : QWidget(parent), m_orientation(orientation)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateToCurrentUnit();
    auto &center = NotificationCenter::defaultCenter();
    center.addObserver(this, VekRulerUnitDidChangeNotification, nullptr, [this](const Notification &) {
        updateToCurrentUnit();
        update();
    });
    center.addObserver(this, VekScaleBaseDidChangeNotification, nullptr, [this](const Notification &) { update(); });
}

VekRulerView::~VekRulerView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    endMarkerDrag();
}

void VekRulerView::setClientView(RulerClient *client)
{
    endMarkerDrag();
    m_client = client;
    update();
}

int VekRulerView::requiredThickness() const
{
    return ScaleThickness + MarkerThickness + reservedThicknessForAccessoryView();
}

void VekRulerView::setMarkers(std::vector<RulerMarker> markers)
{
    m_markers = std::move(markers);
    update();
}

RulerMarker *VekRulerView::markerRepresenting(const QString &representedObject)
{
    for (RulerMarker &marker : m_markers)
        if (marker.representedObject() == representedObject)
            return &marker;
    return nullptr;
}

void VekRulerView::setAccessoryView(QWidget *view)
{
    if (view == m_accessory)
        return;
    // The old strip may be handling the event that replaces it.
    if (m_accessory) {
        m_accessory->hide();
        m_accessory->deleteLater();
    }
    m_accessory = m_orientation == Qt::Horizontal ? view : nullptr;
    if (m_accessory) {
        m_accessory->setParent(this);
        m_accessory->setGeometry(0, 0, width(), reservedThicknessForAccessoryView());
        m_accessory->show();
    } else {
        delete view;
    }
    update();
}

int VekRulerView::reservedThicknessForAccessoryView() const
{
    return m_accessory ? std::max({m_accessory->sizeHint().height(), m_accessory->minimumHeight(), 0}) : 0;
}

void VekRulerView::updateToCurrentUnit()
{
    m_unit = shellServices().selectedUnit();
}

double VekRulerView::zoomFactor() const
{
    if (!m_client)
        return -1;
    const double step = rulerStepInCanvasUnits(m_unit, shellServices().displayOnRealWorldBase(),
                                               m_client->rulerDocumentResolution());
    return step * m_client->rulerPixelsPerUnit() / rulerBaseFactor(m_unit);
}

double VekRulerView::base() const
{
    const double z = zoomFactor();
    return z > 0 ? rulerBase(z, m_unit) : -1;
}

void VekRulerView::moveRulerline(std::optional<double> location)
{
    m_rulerLine = location ? std::optional<double>(rulerLineLocation(*location)) : std::nullopt;
    update();
}

double VekRulerView::rulerPosition(float location) const
{
    if (!m_client)
        return location;
    return m_client->rulerOrigin(m_orientation) + location * m_client->rulerPixelsPerUnit();
}

float VekRulerView::locationAt(double position) const
{
    if (!m_client || !(m_client->rulerPixelsPerUnit() > 0))
        return float(position);
    return float((position - m_client->rulerOrigin(m_orientation)) / m_client->rulerPixelsPerUnit());
}

QRectF VekRulerView::scaleBand() const
{
    if (m_orientation == Qt::Horizontal)
        return QRectF(0, reservedThicknessForAccessoryView(), width(), ScaleThickness);
    return QRectF(0, 0, ScaleThickness, height());
}

QRectF VekRulerView::markerBand() const
{
    const QRectF scale = scaleBand();
    if (m_orientation == Qt::Horizontal)
        return QRectF(0, scale.bottom(), width(), MarkerThickness);
    return QRectF(scale.right(), 0, MarkerThickness, height());
}

QRectF VekRulerView::imageRectOfMarker(const RulerMarker &marker) const
{
    // The picture's origin stands on the location, on the band's base line: the band's top
    // edge in a horizontal ruler, a line 9 pixels into the band in a vertical one.
    const double along = rulerPosition(marker.location());
    const QRectF band = markerBand();
    const QPointF origin = marker.imageOrigin();
    const QSizeF size = marker.image().size();
    if (m_orientation == Qt::Horizontal)
        return QRectF(QPointF(std::floor(along) - origin.x(), band.top() + 1 - origin.y()), size);
    return QRectF(QPointF(band.left() + 9 - origin.x(), std::floor(along) - origin.y()), size);
}

void VekRulerView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), RulerBackground);
    drawScale(painter, event->rect());
    drawMarkers(painter);
}

void VekRulerView::drawScale(QPainter &painter, const QRectF &dirty)
{
    const bool horizontal = m_orientation == Qt::Horizontal;
    const QRectF band = scaleBand();
    // The base line runs along the band's inner edge; ticks grow outwards from it.
    const double baseline = horizontal ? band.bottom() - 0.5 : band.right() - 0.5;
    const auto line = [&](double along, double from, double to) {
        if (horizontal)
            painter.drawLine(QPointF(along, from), QPointF(along, to));
        else
            painter.drawLine(QPointF(from, along), QPointF(to, along));
    };
    painter.setPen(QPen(RulerMarks, 0));
    if (horizontal)
        painter.drawLine(QPointF(dirty.left(), baseline), QPointF(dirty.right() + 1, baseline));
    else
        painter.drawLine(QPointF(baseline, dirty.top()), QPointF(baseline, dirty.bottom() + 1));

    const double z = zoomFactor();
    if (z > 0 && m_client) {
        // Labels reach to the right of (below) their tick, so start one label early.
        const double from = horizontal ? dirty.left() : dirty.top();
        const double to = horizontal ? dirty.right() + 1 : dirty.bottom() + 1;
        const double b = base();
        const QFont font = labelFont();
        const QFontMetricsF metrics(font);
        painter.setFont(font);
        for (const RulerTick &tick : rulerTicks(m_unit, z, b, m_client->rulerOrigin(m_orientation), from - b, to)) {
            line(tick.position, baseline, baseline - tick.length);
            if (!tick.labelled)
                continue;
            const QString text = QString::number(tick.label);
            if (horizontal)
                painter.drawText(QPointF(tick.position + 1.5, band.top() + metrics.ascent()), text);
            else
                painter.drawText(QPointF(band.left() + 1, tick.position + 1 + metrics.ascent()), text);
        }
    }
    if (m_rulerLine) {
        painter.setPen(QPen(Qt::blue, 0));
        line(*m_rulerLine, baseline, baseline - 15.5);
    }
}

void VekRulerView::drawMarkers(QPainter &painter)
{
    for (const RulerMarker &marker : m_markers)
        painter.drawImage(imageRectOfMarker(marker).topLeft(), marker.image());
}

void VekRulerView::mousePressEvent(QMouseEvent *event)
{
    if (!m_client || event->button() != Qt::LeftButton)
        return;
    const QPointF p = event->position();
    for (auto it = m_markers.rbegin(); it != m_markers.rend(); ++it) {
        if (!imageRectOfMarker(*it).contains(p))
            continue;
        if (!m_client->rulerViewShouldMoveMarker(*this, *it))
            return;
        const double along = m_orientation == Qt::Horizontal ? p.x() : p.y();
        m_grabOffset = along - rulerPosition(it->location());
        m_dragged = it->representedObject();
        return;
    }
}

void VekRulerView::mouseMoveEvent(QMouseEvent *event)
{
    RulerMarker *marker = m_dragged ? markerRepresenting(*m_dragged) : nullptr;
    if (!marker || !m_client)
        return;
    const double along = m_orientation == Qt::Horizontal ? event->position().x() : event->position().y();
    const float wanted = locationAt(along - m_grabOffset);
    marker->setLocation(m_client->rulerViewWillMoveMarkerToLocation(*this, *marker, wanted, event->modifiers()));
    update();
}

void VekRulerView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        endMarkerDrag();
}

void VekRulerView::hideEvent(QHideEvent *event)
{
    endMarkerDrag();
    QWidget::hideEvent(event);
}

void VekRulerView::resizeEvent(QResizeEvent *event)
{
    if (m_accessory)
        m_accessory->setGeometry(0, 0, width(), reservedThicknessForAccessoryView());
    QWidget::resizeEvent(event);
}

void VekRulerView::endMarkerDrag()
{
    if (!m_dragged)
        return;
    RulerMarker *marker = markerRepresenting(*m_dragged);
    m_dragged.reset();
    if (marker && m_client)
        m_client->rulerViewDidMoveMarker(*this, *marker);
    update();
}
