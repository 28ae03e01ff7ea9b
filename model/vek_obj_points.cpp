// The point pen: creation by a drag, editing click by click, and its markers.
#include "model/vek_obj_points.h"

#include "model/services/canvas_services.h"
#include "model/services/shell_services.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/path_editing.h"
#include "toolkit/path_measure.h"

#include <cmath>

namespace {

constexpr float PenTolerance = 2.0f;

// Whether the points differ by at least the tolerance in x or in y (a drag, not a click).
bool apart(Point a, Point b)
{
    return std::fabs(a.x - b.x) >= PenTolerance || std::fabs(a.y - b.y) >= PenTolerance;
}

// An oval marker of side 3 centred on the point, filled when a colour is given, framed in dark grey.
void drawPenMarker(GraphicsContext &context, Point p, const std::optional<Color> &fill)
{
    const BezierPath oval = BezierPath::bezierPathWithOvalInRect(Rect(p.x - 1, p.y - 1, 3, 3));
    if (fill) {
        context.setFillColor(*fill);
        context.fillPath(oval);
    }
    context.setStrokeColor(Color::colorWithCalibratedWhite(1.0f / 3));
    context.strokePath(oval);
}

} // namespace

std::shared_ptr<VekObjPoints> VekObjPoints::create()
{
    return makeObject<VekObjPoints>();
}

Point VekObjPoints::trackSegment(CanvasServices *view, bool snap)
{
    Point last = NoPoint;
    MouseEvent current;
    do {
        current = view->eventSource().nextEvent(DragOrUpMask);
        Point q = view->convertPointFromWindow(current.locationInWindow);
        if (snap)
            q = HalfPosition(q);
        view->autoscroll(current);
        view->setNeedsDisplayInRect(drawingBounds());
        if (last == NoPoint || std::fabs(q.x - last.x) > PenTolerance || std::fabs(q.y - last.y) > PenTolerance) {
            _path->lineToPoint(q);
            last = q;
            setBounds(_path->bounds());
            view->setNeedsDisplayInRect(drawingBounds());
        }
        if (current.type == EventType::LeftMouseUp)
            return q;
    } while (true);
}

bool VekObjPoints::createWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return false;
    const Point p = HalfPosition(view->convertPointFromWindow(event.locationInWindow));
    BezierPath live;
    live.moveToPoint(p);
    clearControlPoints();
    startBoundsManipulation();
    setBezierPathSimplyAs(live);
    const Point q = trackSegment(view, true);
    if (view->rulersVisible())
        view->updateRulers();
    if (apart(q, p)) {
        BezierPath segment;
        segment.moveToPoint(p);
        segment.lineToPoint(q);
        setBounds(segment.bounds());
        setBezierPathSimplyAs(segment);
    }
    view->setNeedsDisplayInRect(drawingBounds());
    stopBoundsManipulation();
    return _path->elementCount() > 0;
}

void VekObjPoints::startEditingWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return;
    view->setEditingObject(shared_from_this(), nullptr);
    // A single click also edits; a double click, or a start without a click (the canvas
    // right after the pen made the path), only enters editing.
    if (isClickEvent(event) && event.clickCount <= 1)
        editWithEvent(event, view);
}

void VekObjPoints::editWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return;
    Point p = view->convertPointFromWindow(event.locationInWindow);
    const BezierPath original = _path.value_or(BezierPath());
    const Point c = original.isEmpty() ? NoPoint : original.currentPoint();
    startBoundsManipulation();
    if (std::fabs(p.x - c.x) < PenTolerance && std::fabs(p.y - c.y) < PenTolerance)
        p = c;
    // The live path shows the press and the drag while the mouse is down; what the press
    // adds to the path is decided from the original once it is released.
    BezierPath live = original;
    if (p != c)
        live.moveToPoint(p);
    setBezierPathSimplyAs(live);
    const Point q = trackSegment(view, false);

    // Whatever the press did to the live path goes: clicks that place control points leave
    // the path as it was, and segments and curves continue from its real end.
    setBezierPathSimplyAs(original);
    setBoundsSimplyAs(original.isEmpty() ? _bounds : original.bounds());
    std::optional<BezierPath> changed;
    if (apart(q, p)) {
        changed = original;
        if (changed->isEmpty())
            changed->moveToPoint(p);
        changed->lineToPoint(q);
    } else if (_ctrlP1 == NoPoint) {
        _ctrlP1 = p;
    } else if (_ctrlP2 == NoPoint) {
        _ctrlP2 = p;
    } else {
        changed = original;
        if (changed->isEmpty())
            changed->moveToPoint(_ctrlP1);
        changed->curveToPoint(p, _ctrlP1, _ctrlP2);
    }
    if (changed) {
        setBezierPath(*changed);
        setBounds(_path->bounds());
        clearControlPoints();
    }
    view->setNeedsDisplayInRect(drawingBounds());
    stopBoundsManipulation();
}

void VekObjPoints::endEditingInView(CanvasServices *view)
{
    if (!view || view->editingObject().get() != this)
        return;
    view->setEditingObject(nullptr, nullptr);
    stopBoundsManipulation();
    view->setNeedsDisplayInRect(boundsToRedraw());
}

void VekObjPoints::setBezierPath(const std::optional<BezierPath> &path)
{
    if (path && path->elementCount() == 3 && path->element(1).kind == LineToBezierPathElement
        && path->element(1).points[0] == path->element(0).endPoint()) {
        VekObjPath::setBezierPath(deleteElementNr(*path, 0));
        return;
    }
    VekObjPath::setBezierPath(path);
}

void VekObjPoints::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    VekObjPath::drawInViewIsSelected(view, selected);
    GraphicsContext *context = GraphicsContext::current();
    if (!context || shellServices().selectedTool() != 3 || !_path || _path->isEmpty())
        return;
    const Point current = _path->currentPoint();
    drawPenMarker(*context, current, shellServices().ctrlPtCColor());
    const Point first = firstPoint(*_path);
    if (_path->elementCount() > 1 && first != NoPoint && first != current)
        drawPenMarker(*context, first, shellServices().ctrlPtBColor());
    for (Point control : {_ctrlP1, _ctrlP2})
        if (control != NoPoint)
            drawPenMarker(*context, control, std::nullopt);
}
