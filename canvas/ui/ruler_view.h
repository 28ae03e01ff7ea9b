// VekRulerView: one ruler (horizontal or vertical) along the canvas, drawn in the margin the
// scroll area leaves beside its viewport.
//
// From the outside in, a horizontal ruler holds an optional accessory strip (a widget, e.g.
// a text ruler), the scale band (hash marks and labels of the selected unit, and the blue
// line that follows the mouse) and the marker band next to the canvas; a vertical ruler
// the scale band and the marker band. Along its axis the ruler spans exactly the viewport,
// so a ruler coordinate is a viewport coordinate. Locations (markers) are in the client's
// canvas coordinates; the client says where canvas 0 lies and how many pixels a canvas
// unit takes, so the scale follows zoom and scrolling.
#pragma once

#include "canvas/ui/ruler_marker.h"

#include <QWidget>

#include <optional>
#include <vector>

class VekRulerView;

// The view a ruler measures, and the delegate of its markers.
class RulerClient {
public:
    virtual ~RulerClient() = default;

    // The viewport pixel where the canvas's coordinate 0 lies along the orientation.
    virtual double rulerOrigin(Qt::Orientation orientation) const = 0;
    // Viewport pixels per canvas unit.
    virtual double rulerPixelsPerUnit() const = 0;
    // The document's pixels per inch (for the real-world base).
    virtual int rulerDocumentResolution() const = 0;

    // A drag of the marker is about to start; false refuses it.
    virtual bool rulerViewShouldMoveMarker(VekRulerView &ruler, RulerMarker &marker) = 0;
    // The marker is dragged to the location; the answer is where it may go.
    virtual float rulerViewWillMoveMarkerToLocation(VekRulerView &ruler, RulerMarker &marker, float location,
                                                    Qt::KeyboardModifiers modifiers) = 0;
    // The drag ended (also when the ruler went away during it).
    virtual void rulerViewDidMoveMarker(VekRulerView &ruler, RulerMarker &marker) = 0;
};

class VekRulerView : public QWidget {
public:
    static constexpr int ScaleThickness = 17;
    static constexpr int MarkerThickness = 12;

    VekRulerView(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~VekRulerView() override;

    Qt::Orientation orientation() const { return m_orientation; }
    RulerClient *clientView() const { return m_client; }
    void setClientView(RulerClient *client);

    // Scale band, marker band and (horizontal only) the accessory strip.
    int requiredThickness() const;

    const std::vector<RulerMarker> &markers() const { return m_markers; }
    void setMarkers(std::vector<RulerMarker> markers);
    RulerMarker *markerRepresenting(const QString &representedObject);
    // Where the marker's picture lies in the ruler.
    QRectF imageRectOfMarker(const RulerMarker &marker) const;

    // The strip above a horizontal ruler's scale (owned by the ruler from then on; null
    // removes it).
    void setAccessoryView(QWidget *view);
    QWidget *accessoryView() const { return m_accessory; }
    int reservedThicknessForAccessoryView() const;
    void resetAccessoryView() { setAccessoryView(nullptr); }

    // The unit and the real-world display come from the shell's preferences; the ruler
    // follows their notifications.
    int unit() const { return m_unit; }
    void updateToCurrentUnit();
    // The ruler's zoom factor and the length of one major step, from the client.
    double zoomFactor() const;
    double base() const;

    // Moves the line that follows the mouse to the ruler coordinate (on a pixel centre);
    // no location hides it.
    void moveRulerline(std::optional<double> location);
    std::optional<double> rulerlineLocation() const { return m_rulerLine; }

    // The ruler coordinate of a canvas location and back.
    double rulerPosition(float location) const;
    float locationAt(double position) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The scale band: where its base line lies across the ruler and how far it reaches.
    QRectF scaleBand() const;
    QRectF markerBand() const;
    void drawScale(QPainter &painter, const QRectF &dirty);
    void drawMarkers(QPainter &painter);
    void endMarkerDrag();

    Qt::Orientation m_orientation;
    RulerClient *m_client = nullptr;
    std::vector<RulerMarker> m_markers;
    QWidget *m_accessory = nullptr;
    int m_unit = 0;
    std::optional<double> m_rulerLine;
    std::optional<QString> m_dragged;   // the represented object of the marker being dragged
    double m_grabOffset = 0;
};
