// RulerMarker: a small picture on a ruler that stands at a location of the measured view
// and can be dragged along the ruler.
#pragma once

#include "canvas/ruler_markers.h"

#include <QImage>
#include <QPointF>
#include <QString>

class RulerMarker {
public:
    // The image origin is the point of the picture that stands on the location, on the
    // marker band's base line.
    RulerMarker(const QImage &image, QPointF imageOrigin, const QString &representedObject, float location = 0);

    float location() const { return m_location; }
    void setLocation(float location) { m_location = location; }
    const QImage &image() const { return m_image; }
    QPointF imageOrigin() const { return m_imageOrigin; }
    // What the marker stands for; the client tells markers apart by it.
    QString representedObject() const { return m_representedObject; }
    bool isRemovable() const { return m_removable; }
    void setRemovable(bool flag) { m_removable = flag; }

private:
    QImage m_image;
    QPointF m_imageOrigin;
    QString m_representedObject;
    float m_location = 0;
    bool m_removable = false;
};

// The marker of one edge of the selection: its picture points at the edge, and it is not
// removable.
RulerMarker edgeMarker(RulerEdge edge, float location = 0);
