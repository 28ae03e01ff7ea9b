// Ruler markers and the pictures of the selection's edge markers.
#include "canvas/ui/ruler_marker.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// A filled right triangle whose straight side stands on the edge it marks.
QImage trianglePicture(QSize size, const QPolygonF &corners)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(QColor(90, 90, 90));
    painter.drawPolygon(corners);
    return image;
}

} // namespace

RulerMarker::RulerMarker(const QImage &image, QPointF imageOrigin, const QString &representedObject, float location)
    : m_image(image), m_imageOrigin(imageOrigin), m_representedObject(representedObject), m_location(location)
{
}

RulerMarker edgeMarker(RulerEdge edge, float location)
{
    switch (edge) {
    case RulerEdge::Left:
        return {trianglePicture({8, 9}, {{0, 0}, {7, 0}, {0, 8}}), {0, 0}, rulerEdgeName(edge), location};
    case RulerEdge::Right:
        return {trianglePicture({8, 9}, {{7, 0}, {0, 0}, {7, 8}}), {7, 0}, rulerEdgeName(edge), location};
    case RulerEdge::Top:
        return {trianglePicture({9, 9}, {{8, 8}, {8, 0}, {0, 8}}), {8, 8}, rulerEdgeName(edge), location};
    case RulerEdge::Bottom:
        break;
    }
    return {trianglePicture({9, 10}, {{8, 1}, {8, 9}, {0, 1}}), {8, 1}, rulerEdgeName(RulerEdge::Bottom), location};
}
