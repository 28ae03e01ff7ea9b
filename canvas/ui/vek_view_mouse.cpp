// The canvas's mouse-down: what a click means, in a fixed order (page change, double-click
// editing, the edited object, caps-lock path editing, the selected tool), the creation of
// new objects and the rubber band.
#include "canvas/ui/vek_view.h"

#include "canvas/path_object_commands.h"
#include "canvas/ui/widget_event_source.h"
#include "canvas/ui/control_gesture.h"
#include "document/vek_document.h"
#include "model/object_editing.h"
#include "model/object_registry.h"
#include "model/services/shell_services.h"
#include "model/text/text_view.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_points.h"
#include "model/vek_object.h"
#include "panels/picker/colour_pick.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "toolkit/geometry_extensions.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolTip>

namespace {

// The tools of the palette.
enum Tool { ArrowTool = 0, ShapeTool, FreehandTool, PointPenTool, ContourTool, MarkerTool, TextTool, FieldTool,
            TableTool };

// The class each creation tool makes.
QString classForTool(int tool)
{
    switch (tool) {
    case ShapeTool: return QStringLiteral("VekObjObj");
    case FreehandTool: return QStringLiteral("VekObjFree");
    case PointPenTool: return QStringLiteral("VekObjPoints");
    case MarkerTool: return QStringLiteral("VekObjMarker");
    case TextTool: return QStringLiteral("VekObjText");
    case FieldTool: return QStringLiteral("VekObjFormat");
    case TableTool: return QStringLiteral("VekObjGrid");
    default: return {};
    }
}

bool isClass(const VekObject *object, const char *name)
{
    return object && object->className() == QLatin1String(name);
}

} // namespace

int VekView::selectedTool() const
{
    return shellServices().selectedTool();
}

void VekView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mouseDownWithEvent(WidgetEventSource::toMouseEvent(viewport(), *event));
}

void VekView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mouseDownWithEvent(WidgetEventSource::toMouseEvent(viewport(), *event));
}

void VekView::mouseMoveEvent(QMouseEvent *event)
{
    m_mouseInWindow = WidgetEventSource::toMouseEvent(viewport(), *event).locationInWindow;
    const Point p = convertPointFromWindow(m_mouseInWindow);
    showCursorAt(m_mouseInWindow);
    // The rulers show where the mouse is.
    if (rulersVisible())
        m_rulers->drawTemporaryLinesAt(pointInRect(p, visibleRect()) ? m_mouseInWindow : NoPoint);
    // The grab area's label follows the mouse; the first position seen starts the area.
    if (m_grab.isActive()) {
        m_grab.mouseMovedTo(p);
        viewport()->update();
    }
}

void VekView::showCursorAt(Point inWindow)
{
    const CursorKind kind = inWindow == NoPoint ? CursorKind::Arrow : cursorKindAtPoint(convertPointFromWindow(inWindow));
    viewport()->setCursor(cursorForKind(kind));
}

bool VekView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave && rulersVisible())
        m_rulers->drawTemporaryLinesAt(NoPoint);
    // Over an anchor's mark the tool tip gives its name.
    if (event->type() == QEvent::ToolTip && m_showAnchors) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QPointF inWindow = viewport()->mapTo(window(), QPointF(help->pos()));
        const QString name = anchorNameAt(convertPointFromWindow(Point(float(inWindow.x()), float(inWindow.y()))));
        if (name.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), name, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void VekView::setCurrentPage(int page)
{
    if (page == m_currentPage)
        return;
    m_currentPage = page;
    clearPasteConditions();
    NotificationCenter::defaultCenter().postNotificationName(VekViewPageDidChangeNotification, this);
}

void VekView::mouseDownWithEvent(const MouseEvent &event)
{
    setFocus();
    m_mouseInWindow = event.locationInWindow;
    // While an area is being grabbed, every click drags or adjusts it.
    if (m_grab.isActive()) {
        selectForGrabWithEvent(event);
        return;
    }
    // While a panel picks a colour from the screen, a click on the canvas picks the colour
    // of the canvas there.
    if (pickColorOwner()) {
        const QPoint atPixel =
            viewport()->mapFrom(window(), QPointF(event.locationInWindow.x, event.locationInWindow.y)).toPoint();
        const QImage pixel = viewport()->grab(QRect(atPixel, QSize(1, 1))).toImage();
        finishColourPickWith(pixel.isNull() ? QColor() : pixel.pixelColor(0, 0), this);
        return;
    }
    const Point p = convertPointFromWindow(event.locationInWindow);
    const int tool = selectedTool();
    const unsigned flags = event.modifierFlags;

    // The contour tool adds points to the contour under way; a double-click hands over to
    // the arrow tool, the option key ends the contour as a path and starts the next one.
    if (tool == ContourTool && m_contour.isCapturing()) {
        if (event.clickCount > 1) {
            shellServices().selectArrowTool();
        } else if (flags & AlternateKeyMask) {
            CanvasCommandContext context = commandContext();
            if (const auto path = m_contour.finish(context, askToCloseContour()))
                invalidateObject(*path);
            setNeedsDisplayInRect(m_contour.startContourAt(p));
        } else {
            setNeedsDisplayInRect(m_contour.continueContourAt(p));
        }
        return;
    }

    setCurrentPage(pageIncludingPoint(p));

    std::shared_ptr<VekObject> editing = m_editing.lock();

    // A double-click starts in-place editing of an editable object.
    if (event.clickCount > 1) {
        if (editing)
            endEditing();
        const auto hit = objectUnderPoint(p, false);
        if (hit && hit->isEditable() && hit->editing()) {
            selectObjectExclusively(hit);
            if (dynamic_cast<VekObjPoints *>(hit.get()) && tool != PointPenTool)
                shellServices().selectPointPenTool();
            hit->editing()->startEditingWithEvent(event, this);
            resetCursorRects();
            return;
        }
        editing = nullptr;
    }

    // The borders of a table selected alone resize its rows and columns (the cursor areas
    // show the resize cursors there); elsewhere the arrow moves it as any object.
    if (tool == ArrowTool) {
        if (const auto table = selectedTableAlone()) {
            const CursorKind border = table->borderAtPoint(p);
            if (border != CursorKind::Arrow) {
                if (border == CursorKind::ResizeLeftRight)
                    table->changeColumnWidth(event, this);
                else
                    table->changeRowHeight(event, this);
                resetCursorRects();
                return;
            }
        }
    }

    // A click in the hosted editor goes to it, as to a view laid over the canvas.
    if (editing && m_editor && pointInRect(p, m_editor->frame()) && editing->editing()) {
        editing->editing()->editWithEvent(event, this);
        viewport()->update();
        return;
    }
    // An edited table takes clicks on and around it (cells, strips, borders).
    if (editing && isClass(editing.get(), "VekObjGrid") && pointInRect(p, insetRect(editing->bounds(), -4, -4))
        && editing->editing()) {
        editing->editing()->editWithEvent(event, this);
        resetCursorRects();
        viewport()->update();
        return;
    }
    if (editing) {
        ObjectEditing *editor = editing->editing();
        // A path being edited takes clicks near it (the point pen adds its own below).
        if (tool != PointPenTool && dynamic_cast<VekObjPath *>(editing.get())
            && pointInRect(p, insetRect(editing->bounds(), -10, -10)) && editor) {
            editor->editWithEvent(event, this);
            return;
        }
        // The point pen keeps editing its own path; anything else ends the editing.
        if (!(tool == PointPenTool && dynamic_cast<VekObjPoints *>(editing.get()))) {
            endEditing();
            editing = nullptr;
        }
    }

    // With caps lock the arrow tool edits the current path's points instead of moving it.
    if (!editing && (flags & AlphaShiftKeyMask) && tool == ArrowTool) {
        const auto current = currentObject();
        if (current && objectUnderPoint(p, false) == current && dynamic_cast<VekObjPath *>(current.get())
            && pointInRect(p, insetRect(current->bounds(), -10, -10)) && current->editing()) {
            current->editing()->editWithEvent(event, this);
            return;
        }
    }

    // Control-click drags the selection into the object-set palette: with the arrow, or
    // with the shape tool while its panel is open (else the shape tool draws as usual).
    if (hasControlGesture(flags)) {
        const bool toPalette = tool == ArrowTool || (tool == ShapeTool && shellServices().visibleToolOption() == 1);
        const ObjectList selected = selectedObjectsInObjectsOrder();
        if (toPalette && !selected.empty()) {
            if (selected.front()->canGoToObjMatrix())
                prepareDragToObjMatrix();
            return;
        }
    }

    if (tool == ArrowTool) {
        selectAndTrackMouseWithEvent(event);
    } else {
        clearSelection();
        clearPasteConditions();
        if (tool == PointPenTool && editing && !(flags & AlternateKeyMask)) {
            editing->editing()->editWithEvent(event, this);
        } else {
            if (tool == PointPenTool && editing)
                endEditing();
            const QString className = classForTool(tool);
            if (!className.isEmpty())
                createObjectOfClass(className, event);
            else if (tool == ContourTool)
                setNeedsDisplayInRect(m_contour.startContourAt(p));
            else
                selectAndTrackMouseWithEvent(event);
        }
    }
    resetCursorRects();
}

int VekView::insertionIndexFor(const VekObject &object) const
{
    const auto last = m_lastDeselected.lock();
    const int index = last ? m_document.indexOfObject(last.get()) : -1;
    if (index < 0)
        return 0;
    const bool whollyBelow = object.bounds().origin.y > last->bounds().origin.y
                             && !intersectsRect(object.bounds(), last->bounds());
    return whollyBelow ? index + 1 : index;
}

void VekView::createObjectOfClass(const QString &className, const MouseEvent &event)
{
    const std::shared_ptr<VekObject> object = ::createObjectOfClass(className);
    if (!object)
        return;   // a kind this build does not make
    m_creating = object;
    if (!object->createWithEvent(event, this)) {
        setNeedsDisplayInRect(insetRect(object->drawingBounds(), -5, -5));
        m_creating.reset();
        return;
    }
    const int index = insertionIndexFor(*object);
    m_document.insertObject(object, index, true);

    if (isClass(object.get(), "VekObjFormat")) {
        const int repeat = shellServices().selectedRepeatType();
        shellServices().selectArrowTool();
        if (repeat != 0)
            object->setRepeatType(repeat);
    } else if (isClass(object.get(), "VekObjGrid") || isClass(object.get(), "VekObjText")) {
        shellServices().selectArrowTool();
        selectObject(object);
        if (ObjectEditing *editing = object->editing())
            editing->startEditingWithEvent(MouseEvent{}, this);
        // Typing goes straight into the first cell of a table just drawn.
        if (auto *table = dynamic_cast<VekObjGrid *>(object.get()))
            table->startEditCellAt(0, 0);
    } else if (dynamic_cast<VekObjPoints *>(object.get())) {
        selectObject(object);
        if (ObjectEditing *editing = object->editing())
            editing->startEditingWithEvent(MouseEvent{}, this);
    } else if (isClass(object.get(), "VekObjObj")) {
        const std::size_t others = m_document.objects().size() - 1;
        CanvasCommandContext context = commandContext();
        createObjPathFromObjObj(context, object);
        // Without a chosen object set the drawn shape stays: as the rectangle it was dragged
        // out as, since a shape without a path would draw nothing.
        if (m_document.indexOfObject(object.get()) >= 0 && !object->hasEditablePath())
            object->setBezierPath(BezierPath::bezierPathWithRect(object->bounds()));
        // What was drawn (the front objects) is selected; a single shape shows its resize
        // knobs, so that its corners resize it.
        const ObjectList all = m_document.objects();
        const std::size_t made = all.size() > others ? all.size() - others : 0;
        for (std::size_t i = 0; i < made; ++i)
            selectObject(all[i]);
        if (made == 1)
            m_knobsShape = all.front();
    } else if (isClass(object.get(), "VekObjFree")) {
        replaceFreehandStrokeByPath(object, index);
    }
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Create Object")));
    m_creating.reset();
}

// A free-hand stroke is kept as a plain path with the same dictionary.
void VekView::replaceFreehandStrokeByPath(const std::shared_ptr<VekObject> &stroke, int index)
{
    PropertyList dict = stroke->propertyListRepresentation();
    dict.insert(QStringLiteral("class"), QStringLiteral("VekObjPath"));
    const std::shared_ptr<VekObject> path = ::createObjectOfClass(QStringLiteral("VekObjPath"));
    path->loadPropertyListRepresentation(dict);
    m_document.insertObject(path, index, false);
    m_document.removeObject(stroke);
}

void VekView::selectAndTrackMouseWithEvent(const MouseEvent &event)
{
    const bool shift = event.modifierFlags & ShiftKeyMask;
    const Point p = convertPointFromWindow(event.locationInWindow);
    const auto hit = objectUnderPoint(p, true);
    const bool hitSelected = hit && objectIsSelected(*hit);

    if (!shift && !hitSelected)
        clearSelection();
    if (!hit) {
        rubberbandSelectWithEvent(event);
        resetCursorRects();
        return;
    }
    if (shift && hitSelected) {
        deselectObject(hit);
        for (MouseEvent next = event; next.type != EventType::LeftMouseUp;)
            next = eventSource().nextEvent(DragOrUpMask);
        return;
    }

    // Control on an object drags it (with the selection it joins) to the object-set palette.
    if (!shift && hasControlGesture(event.modifierFlags) && hit->canGoToObjMatrix()) {
        selectObject(hit);
        prepareDragToObjMatrix();
        return;
    }
    if (!shift && !isClass(hit.get(), "VekObjFormat")) {
        // A point of an editable path drags that point.
        if (shouldDrawControlPointsOf(*hit) && hit->hasEditablePath()) {
            const int savedElement = hit->selectedElementNr(), savedPoint = hit->selectedPointNr();
            int element = -1, point = -1;
            if (hit->bezierPathElementUnderPointSelectedElementNrPointNr(nullptr, p, &element, &point)) {
                m_draggingPathPoint = true;
                resetCursorRects();
                trackPointNrInElementOfObjectWithEvent(point, element, hit, event);
                m_draggingPathPoint = false;
                resetCursorRects();
                return;
            }
            hit->setSelectedElementNr(savedElement, savedPoint);
        }
        // A knob resizes the object.
        if (!isClass(hit.get(), "VekObjGrid")
            && (!shouldDrawControlPointsOf(*hit) || !hit->hasEditablePath() || hit == m_editing.lock())) {
            if (const int knob = hit->knobUnderPoint(p, this); knob > 0) {
                if (hit->selectedElementNr() >= 0) {
                    hit->setSelectedElementNr(-1, -1);
                    displayRect(hit->boundsToRedraw());
                }
                m_draggingKnob = knob;
                resetCursorRects();
                resizeObjectDraggingKnobWithEvent(hit, knob, event);
                m_draggingKnob = 0;
                resetCursorRects();
                return;
            }
        }
    }

    selectObject(hit);
    if (event.clickCount > 1 && hit->isEditable()) {
        for (MouseEvent next = event; next.type != EventType::LeftMouseUp;)
            next = eventSource().nextEvent(DragOrUpMask);
        return;
    }
    m_movingObject = true;
    resetCursorRects();
    moveSelectedObjectsWithEvent(event);
    m_movingObject = false;
    resetCursorRects();
}

void VekView::rubberbandSelectWithEvent(const MouseEvent &event)
{
    m_rubberbandIsDeselecting = event.modifierFlags & AlternateKeyMask;
    const Point start = convertPointFromWindow(event.locationInWindow);
    const auto invalidateBand = [this] {
        if (m_rubberbandRect != Rect())
            setNeedsDisplayInRect(insetRect(m_rubberbandRect, -1, -1));
        for (const auto &weak : m_rubberbandObjects)
            if (auto o = weak.lock())
                invalidateObject(*o);
    };
    unsigned lastFlags = event.modifierFlags;
    for (MouseEvent next = event; next.type != EventType::LeftMouseUp;) {
        next = eventSource().nextEvent(DragOrUpMask);
        lastFlags = next.modifierFlags;
        const Point c = convertPointFromWindow(next.locationInWindow);
        autoscroll(next);
        const Rect band = c == start ? Rect() : VekRectFromPoints(start, c);
        if (band == m_rubberbandRect)
            continue;
        invalidateBand();
        m_rubberbandRect = band;
        m_rubberbandObjects.clear();
        if (band != Rect())
            for (const auto &object : objectsIntersectingRect(band))
                m_rubberbandObjects.push_back(object);
        invalidateBand();
    }
    for (const auto &weak : m_rubberbandObjects)
        if (auto object = weak.lock())
            m_rubberbandIsDeselecting ? deselectObject(object) : selectObject(object);
    // An empty band drawn while the shape panel is open places the chosen object set in it.
    if (m_rubberbandObjects.empty() && m_rubberbandRect != Rect() && !hasControlGesture(lastFlags)
        && selectedObjects().empty() && shellServices().visibleToolOption() == 1
        && !shellServices().selectedObjectSetObjects().empty()) {
        shellServices().selectObjectTool();
        const std::shared_ptr<VekObject> shape = ::createObjectOfClass(QStringLiteral("VekObjObj"));
        m_document.insertObject(shape, 0, true);
        shape->setBoundsSimplyAs(m_rubberbandRect);
        CanvasCommandContext context = commandContext();
        createObjPathFromObjObj(context, shape);
        m_document.undoManager()->setActionName(localizedString(QStringLiteral("Create Object")));
    }
    invalidateBand();
    m_rubberbandRect = Rect();
    m_rubberbandObjects.clear();
}
