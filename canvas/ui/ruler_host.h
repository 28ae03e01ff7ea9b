// RulerHost: the canvas's two rulers, laid out in the margins of its scroll area, with the
// canvas's side of their markers (canvas/ruler_markers.h) and the mouse lines.
//
// The canvas implements RulerCanvas (a few lines) and forwards to the host: selection and
// geometry changes (updateRulers), zoom changes (updateBaseWithZoom), mouse moves
// (drawTemporaryLinesAt), the show/hide command (toggleVekRulers) and the start and end of
// in-place text editing, which put the text ruler (canvas/ui/text_ruler_accessory.h) above
// the horizontal ruler's scale. Dragging a marker moves or resizes the selection; the whole
// drag is one undo step.
#pragma once

#include "canvas/canvas_command_context.h"
#include "canvas/ui/ruler_view.h"

#include <QObject>
#include <QPointer>

#include <memory>

class CanvasServices;
class QAbstractScrollArea;
class TextRulerAccessory;
class VekTextView;

// What the rulers need of the canvas.
class RulerCanvas {
public:
    virtual ~RulerCanvas() = default;

    // The scroll area whose viewport margins hold the rulers.
    virtual QAbstractScrollArea &rulerScrollArea() = 0;
    // Sets the scroll area's viewport margins (a protected member of QAbstractScrollArea).
    virtual void setRulerMargins(const QMargins &margins) = 0;
    // Where the canvas's point (0, 0) lies in the viewport, and viewport pixels per canvas
    // unit.
    virtual QPointF rulerCanvasOrigin() const = 0;
    virtual double rulerCanvasScale() const = 0;
    // The selection, document and host for the command the markers run.
    virtual CanvasCommandContext rulerCommandContext() = 0;
    virtual std::shared_ptr<VekObject> rulerCurrentObject() = 0;
    // The canvas as the drawing objects see it (current page, visible rectangle).
    virtual const CanvasServices &rulerCanvasServices() const = 0;
    // The editor of the text box edited in place, null when none is.
    virtual VekTextView *rulerTextEditor() const { return nullptr; }
};

class RulerHost : public QObject, public RulerClient {
public:
    explicit RulerHost(RulerCanvas &canvas);
    ~RulerHost() override;

    VekRulerView &horizontalRuler() const { return *m_horizontal; }
    VekRulerView &verticalRuler() const { return *m_vertical; }

    bool rulersVisible() const { return m_visible; }
    void setRulersVisible(bool visible);
    // The canvas's "Show Rulers"/"Hide Rulers" command: hiding drops the accessory strip;
    // showing gives a text box being edited its text ruler, drops a strip left from earlier
    // editing otherwise, and places the selection's markers.
    void toggleVekRulers();

    // In-place editing of a text box began (with the rulers shown): its text ruler, enabled.
    void showTextRulerAccessory();
    // The editing ends: a text ruler still shown stays, disabled, until the rulers are
    // hidden or shown again.
    void disableTextRulerAccessory();
    // The text ruler above the horizontal ruler's scale, else null.
    TextRulerAccessory *textRulerAccessory() const;
    // The edited text or its selection changed: the text ruler shows the paragraph.
    void updateTextRulerAccessory();

    // Puts a strip (e.g. a text ruler) above the horizontal ruler's scale, or removes it
    // (null), and makes room for it.
    void setAccessoryView(QWidget *view);

    // Places the selection's markers at the first selected object's edges, or removes them
    // when nothing is selected.
    void updateRulers();
    // The zoom or the preferences changed: the rulers redraw and the scroll area's vertical
    // line step becomes one major step.
    void updateBaseWithZoom();
    // Moves the mouse lines to the new window point; NoPoint hides them.
    void drawTemporaryLinesAt(Point newInWindow);
    // While set (the object inspector changes the bounds itself), markers move alone.
    void setSimplyMoveRulerMarkers(bool flag) { m_simplyMoveMarkers = flag; }

    // ---- RulerClient ----
    double rulerOrigin(Qt::Orientation orientation) const override;
    double rulerPixelsPerUnit() const override;
    int rulerDocumentResolution() const override;
    bool rulerViewShouldMoveMarker(VekRulerView &ruler, RulerMarker &marker) override;
    float rulerViewWillMoveMarkerToLocation(VekRulerView &ruler, RulerMarker &marker, float location,
                                            Qt::KeyboardModifiers modifiers) override;
    void rulerViewDidMoveMarker(VekRulerView &ruler, RulerMarker &marker) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutRulers();
    // Puts a text ruler, enabled or not, above the scale unless one like it is there.
    void setTextRulerAccessory(bool enabled);
    // Sets the two markers of a ruler when it has them both (after a drag).
    void placeMarkersAtCurrentObject();

    RulerCanvas &m_canvas;
    QPointer<VekRulerView> m_horizontal;
    QPointer<VekRulerView> m_vertical;
    QPointer<QWidget> m_corner;
    bool m_visible = false;
    bool m_simplyMoveMarkers = false;
    bool m_dragGroupOpen = false;
};
