// VekView: the canvas widget of a document window. It shows the document's pages one below
// the other on a grey desk, at a zoom, drawn by the page loop (canvas/document_renderer.h)
// through a graphics context on the viewport; it keeps the selection, turns mouse-downs into
// selections, moves, resizes, reshapes and new objects, and answers the drawing objects'
// questions of their canvas (CanvasServices).
//
// Its members are spread over files by job: geometry and scrolling (vek_view.cpp), drawing
// (vek_view_drawing.cpp), the selection and hit testing (vek_view_selection.cpp), mouse-down
// dispatch and creation (vek_view_mouse.cpp), move, resize and reshape tracking
// (vek_view_tracking.cpp), keys (vek_view_keys.cpp), in-place editing with the cursor
// areas (vek_view_editing.cpp), the grab area (vek_view_grab.cpp) and dragging the
// selection out of the canvas (vek_view_drag.cpp).
#pragma once

#include "canvas/canvas_command_context.h"
#include "canvas/contour_capture.h"
#include "canvas/drawing_page.h"
#include "canvas/grab_area.h"
#include "canvas/selection_list.h"
#include "canvas/spatial_index.h"
#include "canvas/ui/responder.h"
#include "canvas/ui/ruler_host.h"
#include "model/services/canvas_services.h"
#include "model/services/cursor_rect.h"
#include "panels/panel_canvas.h"
#include "platform/text/attributed_string.h"

#include <QAbstractScrollArea>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BackgroundColourTarget;
class Image;
class QMimeData;
class VekDocument;
class VekObjGrid;
class VekTextView;
class WidgetEventSource;

// The clipboard and drag type of the program's own objects.
inline const QString VekantoDocumentMimeType = QStringLiteral("application/x-vekanto-document");


// The mouse cursor shown over an area of that kind.
QCursor cursorForKind(CursorKind kind);

// The text a clipboard or drop offers: RTFD, else RTF, else plain text.
std::optional<AttributedString> textOfMimeData(const QMimeData &mime);

class VekView : public QAbstractScrollArea,
                public CanvasServices,
                public CanvasCommandHost,
                public Responder,
                public RulerCanvas,
                public PanelCanvas {
public:
    using ObjectList = std::vector<std::shared_ptr<VekObject>>;

    // The view attaches itself to the document as its canvas and detaches when it goes.
    explicit VekView(VekDocument &document, QWidget *parent = nullptr);
    ~VekView() override;

    VekDocument &document() const override { return m_document; }
    // What the canvas's commands (canvas/*_commands.h) work on: the document, the selection,
    // the page and the zoom, with this view as their host.
    CanvasCommandContext commandContext();

    // ---- Menu commands (vek_view_actions.cpp) ----
    bool respondsToAction(const QString &action) const override;
    bool validateAction(const QString &action, ActionSender &sender) override;
    bool performAction(const QString &action, const ActionSender &sender) override;

    // The colour panel's target that sets the page background (a child of the view).
    BackgroundColourTarget &backgroundColourTarget() const { return *m_backgroundTarget; }

    // ---- Rulers ----
    RulerHost &rulerHost() const { return *m_rulers; }
    QAbstractScrollArea &rulerScrollArea() override { return *this; }
    void setRulerMargins(const QMargins &margins) override { setViewportMargins(margins); }
    QPointF rulerCanvasOrigin() const override { return canvasOrigin(); }
    double rulerCanvasScale() const override { return scale(); }
    CanvasCommandContext rulerCommandContext() override { return commandContext(); }
    std::shared_ptr<VekObject> rulerCurrentObject() override { return currentObject(); }
    const CanvasServices &rulerCanvasServices() const override { return *this; }
    VekTextView *rulerTextEditor() const override;

    // ---- CanvasCommandHost ----
    // The zoom in percent, 10 to 900.
    void setCurrentZoom(int percent) override;
    void setCurrentPageTo(int page) override;
    void updateFrame() override;
    bool confirmPageRemoval(int page) override;
    void beep() override;
    void setGridSpacing(float spacing) { m_gridSpacing = spacing; }
    void setSnapsToGrid(bool flag) { m_snapsToGrid = flag; }
    void setDrawControlPoints(bool flag) { m_drawControlPoints = flag; }
    void setDrawControlLines(bool flag) { m_drawControlLines = flag; viewport()->update(); }
    bool gridDraw() const { return m_gridDraw; }
    void setGridDraw(bool flag) { m_gridDraw = flag; viewport()->update(); }
    bool backgroundHidden() const override { return m_backgroundHidden; }
    void setBackgroundHidden(bool flag) { m_backgroundHidden = flag; viewport()->update(); }
    // Hides the selection's knobs until half a second after the last call (keyboard nudges).
    void hideKnobsMomentarily();
    // Tracking loops take their events from the source (tests script them); null puts the
    // widget's own back.
    void setEventSource(EventSource *source) { m_scriptedEvents = source; }

    // ---- Selection (vek_view_selection.cpp) ----

    // In selection order.
    ObjectList selectedObjects() const override;
    ObjectList selectedObjectsInObjectsOrder() const { return sortObjectsInOrder(selectedObjects()); }
    // The current object: one of the selected ones, null with an empty selection.
    std::shared_ptr<VekObject> currentObject() override;
    void setCurrentObject(const std::shared_ptr<VekObject> &object) override;
    // Selects the object with its group (or top-level group) under the group rules.
    void selectObject(const std::shared_ptr<VekObject> &object);
    // Replaces the selection with the objects, without group rules.
    void selectObjects(const ObjectList &objects) override;
    void selectObjectsInGroup(const ObjectList &objects, const QString &groupID) override;
    void deselectObject(const std::shared_ptr<VekObject> &object);
    void deselectObjects(const ObjectList &objects);
    void clearSelection() override;
    void selectAll();
    bool selectedObjectsContainsMarker() const;
    // The union of the selected objects' bounds, thin sides counting as 0.1.
    Rect selectedObjectsBounds() override;
    // The first selected object, then every other from front to back, that contains the point.
    std::shared_ptr<VekObject> objectUnderPoint(Point p, bool extended) const;
    // Front to back, the objects whose bounds (thin sides counting as 1) meet the rectangle.
    ObjectList objectsIntersectingRect(const Rect &r) const;
    void invalidateObjects(const ObjectList &objects);
    void makeVisible(const VekObject &object) override;
    // The document replaced its list: redraws all and tells the observers.
    void objectsChanged();
    // The document removes an object: new objects no longer go next to it.
    void resetReferenceToObject() { m_lastDeselected.reset(); }
    void clearPasteConditions() { m_modelObject.reset(); }

    // ---- Mouse (vek_view_mouse.cpp, vek_view_tracking.cpp) ----

    // Every mouse-down of the canvas: what it means follows from the tool, the clicks, the
    // modifier keys and what lies under it.
    void mouseDownWithEvent(const MouseEvent &event);
    // Lets a new object of the class track its creation and inserts it as "Create Object".
    void createObjectOfClass(const QString &className, const MouseEvent &event);
    // The arrow tool: select, move, resize, reshape or drag a rubber band.
    void selectAndTrackMouseWithEvent(const MouseEvent &event);
    void rubberbandSelectWithEvent(const MouseEvent &event);
    void moveSelectedObjectsWithEvent(const MouseEvent &event);
    void resizeObjectDraggingKnobWithEvent(const std::shared_ptr<VekObject> &object, int knob, const MouseEvent &event);
    void trackPointNrInElementOfObjectWithEvent(int point, int element, const std::shared_ptr<VekObject> &object,
                                                const MouseEvent &event);
    // The keyboard nudge: one undo step "Nudge".
    void moveSelectedObjectsByPoint(Point offset);
    Rect rubberbandRect() const { return m_rubberbandRect; }

    // ---- Keys (vek_view_keys.cpp) ----

    // A key press in the platform's character codes (delete 0x7F, arrows 0xF700 to 0xF703):
    // the edited object first, then the canvas's own keys. False when nobody used it.
    bool keyDownWithCharacter(QChar character, unsigned modifierFlags);
    // The canvas's own keys: delete, nudging, page turning, the marker keys.
    bool doEventForChar(QChar character, unsigned modifierFlags) override;
    // The edited object's own delete, else the selected objects (or a selected path point)
    // leave the document as one undo step "Delete".
    void deleteSelection();

    // ---- Clipboard and drops (vek_view_clipboard.cpp, vek_view_drop.cpp) ----

    void copy();
    // Copy, then delete, as one undo step "Cut".
    void cut();
    // Inserts what the clipboard holds: objects of a document (placed by the offset rule),
    // a file, or a picture (with the option key, the picture beside copied objects).
    void paste(bool optionKey = false);
    // Copies of the selection in front of everything, offset as the last duplicate was.
    void duplicate();
    // Where a pasted object goes, or NoPoint: a series of pastes repeats the offset between
    // the last two copies.
    Point pasteOriginProposalFor(const VekObject &object, const std::shared_ptr<VekObject> &last);
    // What a drop at the point makes; false when it makes nothing.
    bool dropMimeData(const QMimeData &mime, Point at, bool optionKey);
    // An image object of the file's picture (or its icon) at the point.
    bool makeNewObjectFromFile(const QString &path, Point at, bool optionKey);
    bool makeNewImageObjectFromImage(const QImage &picture, Point at);
    // Places a picture (image or PDF file, as an image object) or the drawing of an SVG file
    // (as drawing objects) in the middle of the current page at its natural size, scaled
    // down to fit the page when larger; the placed objects are selected and the whole is one
    // undo step. False, with the reason in words for the user, when the file gives nothing.
    bool placeFileOnCurrentPage(const QString &path, QString *error);
    // A text box holding the text at the point (as wide as the canvas allows), the text laid
    // along a selected path under the point, or with the option key its glyph outlines.
    bool makeNewTextObjectWith(const AttributedString &text, Point at, bool optionKey);
    // A new image object, the only one selected; a zero size fits the image into the canvas.
    bool createObjImageWith(const Image &image, Point at, Size size) override;
    // The picture of the selected objects that the clipboard carries beside them.
    QImage imageOfSelectedObjects() const override;

    // ---- Grab area (vek_view_grab.cpp) ----

    // The export-part command: the next drag over the canvas chooses the area to export.
    void beginGrabEvent();
    // Leaves the mode; the document calls it once it has saved or dismissed the area.
    void endGrabEvent();
    const GrabArea &grabArea() const { return m_grab; }
    // Drags a new area, or the corner under the click of the area there is, then asks
    // whether to save it, cancel or adjust it.
    void selectForGrabWithEvent(const MouseEvent &event);
    // What "Save" does: the document's export of the area with the objects that meet it.
    using GrabbedAreaSaver = std::function<void(const Rect &area, const ObjectList &objects)>;
    void setGrabbedAreaSaver(GrabbedAreaSaver saver) { m_saveGrabbedArea = std::move(saver); }

    // ---- Dragging the selection out (vek_view_drag.cpp) ----

    // The clipboard's and a drag's contents for the selection: the objects as the
    // document's own data and their picture; null for an empty selection.
    QMimeData *mimeDataOfSelection() const;
    // A move drag that reaches this point (window coordinates) leaves the canvas for
    // another window: it becomes a drag of the selection.
    bool pointLeavesView(Point inWindow) const;
    // Drags copies of the selection to another window; the selection here stays.
    void dragSelectionOut();
    // A control-click on the selection: tells the object-set palette to get ready
    // (VekViewDidPrepareDraggingNotification), then drags copies of the selection to it.
    void prepareDragToObjMatrix();
    // Whether a drag's data is a canvas's selection (its source when the drag began here).
    static bool isCanvasSelectionData(const QMimeData &mime);

    // ---- Editing and cursors (vek_view_editing.cpp) ----

    // The cursor areas of the present state, front-most first.
    const std::vector<CursorRect> &cursorRects() const { return m_cursorRects; }
    // The cursor shape of the area under the point (canvas coordinates).
    CursorKind cursorKindAtPoint(Point p) const;

    // ---- CanvasServices ----
    Rect rectForPage(int page) const override;
    int pageIncludingPoint(Point p) const override;
    int pageOfLocation(Point p) const override;
    int drawingPage() const override { return drawingPageOnThisThread(); }
    int currentPage() const override { return m_currentPage; }
    int numberOfPages() const override;
    Point convertRelativeToPage(Point p) const override;
    int currentZoom() const override { return m_zoom; }
    float gridSpacing() const override { return m_gridSpacing; }
    bool snapsToGrid() const override { return m_snapsToGrid; }
    bool shouldDrawControlLines() const override { return m_drawControlLines; }
    bool shouldDrawControlPoints() const override { return m_drawControlPoints; }
    // Whether the arrow drags the object's path points rather than its resize knobs: the
    // shape drawn last keeps its knobs (drawn over its points) until it leaves the selection.
    bool shouldDrawControlPointsOf(const VekObject &object) const
    {
        return m_drawControlPoints && m_knobsShape.lock().get() != &object;
    }
    void drawKnobAtPoint(Point p, const Color &color) override;
    Color backgroundColor() const override;
    bool drawingToPDF() const override { return false; }
    bool drawingToSave() const override { return false; }
    void invalidateObject(const VekObject &object) override;
    bool objectIsSelected(const VekObject &object) const override;
    void selectObjectExclusively(const std::shared_ptr<VekObject> &object) override;
    ObjectList sortObjectsInOrder(const ObjectList &objects) const override;
    std::shared_ptr<VekObject> editingObject() const override { return m_editing.lock(); }
    TextView *editorView() const override { return m_editor; }
    void setEditingObject(const std::shared_ptr<VekObject> &object, TextView *editor) override;
    void resetCursorRects() override;
    void endEditing() override;
    std::shared_ptr<VekObject> creatingObject() const override { return m_creating.lock(); }
    std::shared_ptr<VekObject> currentPageLineSpaceHolder() const override { return nullptr; }
    Point currentGlobalMouseInView() const override;
    bool showInvisibleChars() const override { return m_showInvisibleChars; }
    // Shows or hides the marks of spaces, tabs and line ends in the edited text.
    void setShowInvisibleChars(bool flag);
    bool showAnchors() const { return m_showAnchors; }
    // Shows or hides the document's anchors as marks with their names as tool tips.
    void setShowAnchors(bool flag);
    // The name of the anchor whose shown mark lies under the canvas point; empty for none.
    QString anchorNameAt(Point p) const;
    void disableTextRulerAccessory() override;
    void updateRulers() override;
    // ---- PanelCanvas ----
    CanvasServices &canvasServices() override { return *this; }
    void updateRulerMarkers() override;
    Rect visibleRect() const override;
    void setNeedsDisplayInRect(const Rect &r) override;
    void displayRect(const Rect &r) override;
    void display() override;
    void autoscroll(const MouseEvent &event) override;
    bool rulersVisible() const override { return m_rulers && m_rulers->rulersVisible(); }
    void scrollRectToVisible(const Rect &r) override;
    bool hasWindow() const override { return true; }
    Rect bounds() const override;
    Point convertPointFromWindow(Point p) const override;
    EventSource &eventSource() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Where the canvas's top-left corner lies in the viewport (the pages are centred when
    // they are narrower than the viewport).
    QPointF canvasOrigin() const;
    // Canvas points to viewport pixels: the zoom, the document's resolution and, when sizes
    // show on the real-world base, the screen's resolution.
    double scale() const;
    void updateScrollBars();
    // Whether so many areas are marked that the whole viewport is: an object's area need
    // not be worked out to be marked.
    bool marksWholeViewport() const;
    bool showsAsSelected(const VekObject &object) const;
    // The anchor marks (name and place on the canvas) and their drawing, half transparent.
    std::vector<std::pair<QString, Rect>> anchorMarks() const;
    void drawAnchorMarks(QPainter &painter, const Rect &dirty) const;
    // Rebuilds the cursor areas and shows the cursor of the one under the mouse (a modifier
    // key changed what a click would do).
    void refreshCursor();
    void unhideKnobs();
    // Posts the selection notification and refreshes the rulers.
    void announceSelectionChange();
    void registerSelectionUndo(const std::shared_ptr<VekObject> &object, bool select);
    // Makes the list the selection and the object current, as one undo step.
    void replaceSelection(std::vector<std::weak_ptr<VekObject>> selection, const std::shared_ptr<VekObject> &current);
    int selectedTool() const;
    // Where a new object goes in the stacking order: next to the last deselected object.
    int insertionIndexFor(const VekObject &object) const;
    void replaceFreehandStrokeByPath(const std::shared_ptr<VekObject> &stroke, int index);
    void setCurrentPage(int page);
    bool pasteObjects(const QByteArray &data, Point mouse);
    ContourCloseQuestion askToCloseContour();
    GrabChoice askWhatToDoWithGrabbedArea();
    // The cursor of the area under the mouse at the point (window coordinates).
    void showCursorAt(Point inWindow);
    // The table that is the whole selection while nothing is edited, whose borders resize
    // its rows and columns; null otherwise.
    std::shared_ptr<VekObjGrid> selectedTableAlone() const;

    VekDocument &m_document;
    int m_zoom = 100;
    int m_wheelZoomDelta = 0;   // wheel turns with Control not yet a whole notch
    bool m_scrollingToPage = false;   // the current page is set, scrolling does not change it
    int m_currentPage = 1;
    std::weak_ptr<VekObject> m_knobsShape;
    float m_gridSpacing = 20;
    bool m_snapsToGrid = false;
    bool m_drawControlLines = true;
    bool m_drawControlPoints = true;
    bool m_knobsHidden = false;
    int m_areasSinceRedraw = 0;   // areas marked for redisplay since the last paint
    bool m_gridDraw = false;
    bool m_backgroundHidden = false;
    bool m_showInvisibleChars = false;
    bool m_showAnchors = false;
    QTimer m_unhideKnobsTimer;
    bool m_rubberbandIsDeselecting = false;
    bool m_movingObject = false;
    bool m_draggingPathPoint = false;
    int m_draggingKnob = 0;

    SelectionList m_selection;
    std::weak_ptr<VekObject> m_current;
    std::weak_ptr<VekObject> m_lastDeselected;
    std::weak_ptr<VekObject> m_creating;
    std::weak_ptr<VekObject> m_modelObject;
    std::weak_ptr<VekObject> m_editing;
    TextView *m_editor = nullptr;
    Rect m_selectedBoundsCache;
    Rect m_rubberbandRect;
    std::vector<std::weak_ptr<VekObject>> m_rubberbandObjects;
    std::vector<CursorRect> m_cursorRects;
    ContourCapture m_contour;
    GrabArea m_grab;
    GrabbedAreaSaver m_saveGrabbedArea;
    Point m_mouseInWindow = NoPoint;

    BackgroundColourTarget *m_backgroundTarget = nullptr;
    std::unique_ptr<WidgetEventSource> m_events;
    std::unique_ptr<RulerHost> m_rulers;
    // The objects' redraw areas, so that a redraw or a hit test looks only at the objects it
    // meets; it catches up with the document when asked, even from const lookups.
    mutable SpatialIndex m_index{m_document};
    EventSource *m_scriptedEvents = nullptr;
};
