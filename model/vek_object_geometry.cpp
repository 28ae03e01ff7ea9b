// VekObject's geometry: bounds and the manipulation bracket, resize knobs, hit tests, path
// point selection and editing, selection markers, repetition on pages, the inspector's rows.
#include "model/vek_object.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/shell_services.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/undo_manager.h"
#include "platform/geometry/affine_transform.h"
#include "platform/graphics/graphics_context.h"
#include "toolkit/path_editing.h"
#include "toolkit/path_measure.h"

#include <algorithm>
#include <cmath>

namespace {

// Margin around a path's bounds within which a point still counts as on the object's own
// (unshifted) copy; beyond it a repeating object is looked for on the point's page.
constexpr float RepeatedPathHitMargin = 10.0f;
// Margin added around the control points of a selected editable path for the extended hit test.
constexpr float ControlPointHitMargin = 3.0f;
// Side of the square redrawn around a selected path point.
constexpr float SelectionRedrawSide = 8.0f;

Point knobPoint(int knob, const Rect &b)
{
    switch (knob) {
    case 1: return {b.origin.x, b.origin.y};
    case 2: return {b.midX(), b.origin.y};
    case 3: return {b.origin.x + b.width(), b.origin.y};
    case 4: return {b.origin.x, b.midY()};
    case 5: return {b.origin.x + b.width(), b.midY()};
    case 6: return {b.origin.x, b.origin.y + b.height()};
    case 7: return {b.midX(), b.origin.y + b.height()};
    case 8: return {b.origin.x + b.width(), b.origin.y + b.height()};
    default: return {};
    }
}

BezierPath translated(BezierPath path, float dx, float dy)
{
    if (dx != 0 || dy != 0) {
        AffineTransform t;
        t.translateXBy(dx, dy);
        path.transformUsingAffineTransform(t);
    }
    return path;
}

Rect squareAround(Point p, float side)
{
    return {p.x - side / 2, p.y - side / 2, side, side};
}

// The page (from 1) whose band (pageHeight tall, pages stacked from y = 0) holds y, as
// ceil(y / h); pages above the first come out 0 or negative. Kept within int range.
int pageOfY(float y, float pageHeight)
{
    const double page = std::ceil(double(y) / double(pageHeight));
    return int(std::clamp(page, -1.0e9, 1.0e9));
}

} // namespace

// ---- Bounds ----

BezierPath VekObject::bezierPath() const
{
    return _path ? *_path : BezierPath::bezierPathWithRect(_bounds);
}

void VekObject::setBounds(const Rect &bounds)
{
    if (bounds == _bounds)
        return;
    const bool live = !manipulatingBounds() && !_isLoadingPropertyList;
    if (live) {
        didChange();
        const Rect old = _bounds;
        registerUndo([old](VekObject &o) { o.setBounds(old); });
    }
    _bounds = bounds;
    if (_path && hasEditablePath() && bounds != Rect())
        _path = adjustPath(std::move(*_path), bounds);
    if (live) {
        didChange();
        postBoundsChange();
    }
}

void VekObject::setBoundsSimplyAs(const Rect &bounds)
{
    if (bounds == _bounds)
        return;
    _bounds = bounds;
    if (_path && hasEditablePath() && bounds != Rect())
        _path = adjustPath(std::move(*_path), bounds);
}

void VekObject::startBoundsManipulation()
{
    if (_boundsManipulationDepth++ == 0)
        _origBounds = _bounds;
}

void VekObject::stopBoundsManipulation()
{
    if (_boundsManipulationDepth == 0 || --_boundsManipulationDepth > 0)
        return;
    if (_bounds == _origBounds)
        return;
    // Back to where the drag began without touching the path (it already fits the new
    // bounds), then one undoable change to the final bounds.
    const Rect manipulated = _bounds;
    _bounds = _origBounds;
    setBounds(manipulated);
}

// ---- Knobs ----

int VekObject::flipKnob(int knob, bool horizontal)
{
    static constexpr int leftRight[9] = {0, 3, 2, 1, 5, 4, 8, 7, 6};
    static constexpr int topBottom[9] = {0, 6, 7, 8, 4, 5, 1, 2, 3};
    if (knob < 0 || knob > 8)
        return 0;
    return horizontal ? leftRight[knob] : topBottom[knob];
}

float VekObject::knobSize(const CanvasServices *view)
{
    const float zoom = (view ? view->currentZoom() : 100) / 100.0f;
    const float side = zoom <= 1.0f ? 4.0f : 4.0f / (zoom * 0.5f);
    return std::max(side, 1.0f);
}

Rect VekObject::knobRectFor(int knob, const CanvasServices *view) const
{
    if (knob < 1 || knob > 8)
        return {};
    return squareAround(knobPoint(knob, _bounds), knobSize(view));
}

int VekObject::knobUnderPoint(Point p, const CanvasServices *view) const
{
    for (int knob = 1; knob <= 8; ++knob) {
        if (pointInRect(p, knobRectFor(knob, view)))
            return knob;
    }
    return 0;
}

int VekObject::resizeByMovingKnob(int knob, Point p)
{
    const Rect b = _bounds;
    float x = b.origin.x, y = b.origin.y, width = b.width(), height = b.height();

    if (knob == 1 || knob == 4 || knob == 6) {
        x = p.x;
        width = b.origin.x + b.width() - p.x;
    } else if (knob == 3 || knob == 5 || knob == 8) {
        width = p.x - b.origin.x;
    }
    if (width < 0) {
        width = -width;
        knob = flipKnob(knob, true);
        x -= width;
        flipHorizontally();
    }

    if (knob >= 1 && knob <= 3) {
        y = p.y;
        height = b.origin.y + b.height() - p.y;
    } else if (knob >= 6 && knob <= 8) {
        height = p.y - b.origin.y;
    }
    if (height < 0) {
        height = -height;
        knob = flipKnob(knob, false);
        y -= height;
        flipVertically();
    }

    setBounds(Rect(x, y, width, height));
    return knob;
}

void VekObject::drawResizeKnobsOnBounds(const Rect &bounds, CanvasServices *view) const
{
    if (!view)
        return;
    const Color color = shellServices().knobColor();
    for (int knob = 1; knob <= 8; ++knob)
        view->drawKnobAtPoint(knobPoint(knob, bounds), color);
}

// ---- Hit testing ----

bool VekObject::containsPoint(Point p, bool extended) const
{
    Rect r = drawingBounds();
    if (extended && hasEditablePath()) {
        const CanvasServices *view = vekView();
        if (view && view->objectIsSelected(*this))
            r = unionRect(r, insetRect(bezierPath().controlPointBounds(), -ControlPointHitMargin,
                                       -ControlPointHitMargin));
    }

    const int type = repeatType();
    const float pageHeight = (type != 0 && _document) ? _document->drawAreaSizePerPage().height : 0;
    // Without a page height (no document, or a degenerate page) there are no other pages.
    if (type != 0 && pageHeight > 0) {
        const int page = pageOfY(p.y, pageHeight);
        const int endPage = repeatEndPage();
        if (page < repeatStartPage() || (endPage > 0 && page > endPage))
            return false;
        if ((type == 1 && page % 2 == 0) || (type == 2 && page % 2 != 0))
            return false;
        if (p.y > pageHeight)
            r = offsetRect(r, 0, float(page - 1) * pageHeight);
    }
    return pointInRect(p, r);
}

bool VekObject::bezierPathElementUnderPointSelectedElementNrPointNr(const BezierPath *path, Point p, int *element,
                                                                    int *point)
{
    int foundElement = -1;
    int foundPoint = -1;
    bool hit;
    if (!path || path->isEmpty()) {
        BezierPath own = bezierPath();
        if (own.isEmpty())
            return false;
        if (repeatType() != 0
            && !pointInRect(p, insetRect(own.bounds(), -RepeatedPathHitMargin, -RepeatedPathHitMargin))) {
            if (const CanvasServices *view = vekView())
                own = translated(std::move(own), 0,
                                 float(view->pageIncludingPoint(p) - 1) * view->rectForPage(1).height());
        }
        hit = pointUnder(own, p, &foundElement, &foundPoint);
    } else {
        hit = pointUnder(*path, p, &foundElement, &foundPoint);
    }
    if (!hit) {
        setSelectedElementNr(-1, -1);
        return false;
    }
    setSelectedElementNr(foundElement, foundPoint);
    if (element)
        *element = foundElement;
    if (point)
        *point = foundPoint;
    return true;
}

void VekObject::setSelectedElementNr(int element, int point)
{
    const int oldElement = _selectedElementNr;
    const int oldPoint = _selectedPointNr;
    _selectedElementNr = element;
    _selectedPointNr = point;

    if (_path && hasEditablePath() && element >= 0 && element < _path->elementCount()) {
        const PathElement &e = _path->element(element);
        if (e.kind == CurveToBezierPathElement)
            _selectedPointNr = (point >= 0 && point <= 2) ? point : 0;
        else if (e.kind == ClosePathBezierPathElement)
            _selectedPointNr = -1;
        else
            _selectedPointNr = 0;

        if (CanvasServices *view = vekView()) {
            if (e.kind != ClosePathBezierPathElement)
                view->setNeedsDisplayInRect(squareAround(e.points[_selectedPointNr], SelectionRedrawSide));
            // The old marker goes back to its normal colour: redraw where it was. The path may
            // have lost elements since, so the old number is checked again.
            if (oldElement >= 0 && oldElement < _path->elementCount()) {
                const PathElement &old = _path->element(oldElement);
                if (old.kind != ClosePathBezierPathElement) {
                    const int k = (old.kind == CurveToBezierPathElement && oldPoint >= 0 && oldPoint <= 2) ? oldPoint : 0;
                    view->setNeedsDisplayInRect(squareAround(old.points[k], SelectionRedrawSide));
                }
            }
        }
    } else {
        _selectedElementNr = -1;
        _selectedPointNr = -1;
    }
    postNotification(VekObjectPathSelectionDidChangeNotification);
}

// ---- Path point editing ----

void VekObject::dragPathPointNr(int point, int element, Point to)
{
    if (element < 0 || element >= bezierPath().elementCount())
        return;
    float offset = 0;
    BezierPath path = actuallyDrawnPath(&offset);
    if (point < 0 || point >= path.element(element).pointCount())
        return;
    Point points[3];
    path.elementAtIndex(element, points);
    points[point] = to;
    path.setAssociatedPoints(points, element);
    path = translated(std::move(path), 0, -offset);
    setBounds(path.bounds());
    setBezierPath(path);
}

bool VekObject::removeElementNr(int element)
{
    if (!hasEditablePath() || element < 0)
        return false;
    const BezierPath path = bezierPath();
    if (element >= path.elementCount())
        return false;
    const std::optional<BezierPath> shorter = deleteElementNr(path, element);
    if (!shorter)
        return false;
    setBounds(shorter->bounds());
    setBezierPath(*shorter);
    if (element == _selectedElementNr) {
        const int count = shorter->elementCount();
        if (count > 0)
            setSelectedElementNr(std::min(element, count - 1), 0);
        else
            setSelectedElementNr(-1, -1);
    }
    return true;
}

BezierPath VekObject::actuallyDrawnPath(float *offset) const
{
    BezierPath path = bezierPath();
    float shift = 0;
    const CanvasServices *view = vekView();
    if (view && repeatType() != 0 && !intersectsRect(path.bounds(), view->visibleRect())) {
        const int page = view->currentPage();
        const Rect pageRect = view->rectForPage(page);
        const float h = pageRect.height();
        const Point origin = path.bounds().origin;
        // The repeated copy shown on the current page; when the path's origin lies outside
        // page 1 (left of it, or above), the copy still belongs on the current page.
        int k = page - 1;
        if (!pointInRect({origin.x, origin.y + float(page - 1) * h}, pageRect) && page > 2
            && pointInRect({origin.x, origin.y + float(page - 2) * h}, view->rectForPage(page - 1)))
            k = page - 2;
        shift = float(k) * h;
        path = translated(std::move(path), 0, shift);
    }
    if (offset)
        *offset = shift;
    return path;
}

// ---- Selection markers ----

void VekObject::drawSelectionMarkersFor(const Rect &bounds, CanvasServices *view) const
{
    if (GraphicsContext *context = GraphicsContext::current())
        context->clearShadow();
    const bool controlPoints = hasEditablePath() && view && view->shouldDrawControlPoints();
    if (!controlPoints)
        drawResizeKnobsOnBounds(bounds, view);
    if (hasEditablePath() && view) {
        if (view->shouldDrawControlLines())
            drawControlLinesInView(view);
        if (controlPoints)
            drawControlPointsInView(view);
    }
}

void VekObject::drawControlLinesInView(CanvasServices * /*view*/) const
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    // The lines belong to the same copy as the control points (the one on the current page).
    const BezierPath path = actuallyDrawnPath(nullptr);
    BezierPath lines;
    Point current = NoPoint;
    Point subpathStart = NoPoint;
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement:
            current = subpathStart = e.points[0];
            break;
        case LineToBezierPathElement:
            current = e.points[0];
            break;
        case CurveToBezierPathElement:
            if (current == NoPoint) {
                lines.moveToPoint(e.points[0]);
            } else {
                lines.moveToPoint(current);
                lines.lineToPoint(e.points[0]);
            }
            lines.lineToPoint(e.points[1]);
            lines.lineToPoint(e.points[2]);
            current = e.points[2];
            break;
        case ClosePathBezierPathElement:
            current = subpathStart;
            break;
        }
    }
    if (lines.isEmpty())
        return;
    static constexpr float dfltDashPtrn[2] = {3.0f, 3.0f};
    lines.setLineDash(dfltDashPtrn, 2, 0);
    lines.setLineWidth(0);
    context->setStrokeColor(shellServices().ctrlLineColor());
    context->strokePath(lines);
}

void VekObject::drawControlPointsInView(CanvasServices *view) const
{
    const float side = knobSize(view);
    const BezierPath path = actuallyDrawnPath(nullptr);
    const ShellServices &shell = shellServices();
    const int last = path.elementCount() - 1;
    for (int i = 0; i < path.elementCount(); ++i) {
        const PathElement &e = path.element(i);
        const bool selected = i == _selectedElementNr;
        switch (e.kind) {
        case MoveToBezierPathElement:
        case LineToBezierPathElement:
            drawCtrlPoint(e.points[0], selected ? shell.ctrlPtCColor()
                                       : i == 0  ? shell.ctrlPtBColor()
                                       : i == last ? shell.ctrlPtEColor()
                                                   : shell.ctrlPtOColor(),
                          side);
            break;
        case CurveToBezierPathElement:
            drawCtrlPoint(e.points[0], (selected && _selectedPointNr == 0) ? shell.ctrlPtCColor()
                                       : i == 0                            ? shell.ctrlPtBColor()
                                                                           : shell.ctrlPtsColor(),
                          side);
            drawCtrlPoint(e.points[1], (selected && _selectedPointNr == 1) ? shell.ctrlPtCColor() : shell.ctrlPtsColor(),
                          side);
            drawCtrlPoint(e.points[2], (selected && _selectedPointNr == 2) ? shell.ctrlPtCColor()
                                       : i == last                         ? shell.ctrlPtEColor()
                                                                           : shell.ctrlPtOColor(),
                          side);
            break;
        case ClosePathBezierPathElement:
            break;
        }
    }
}

void VekObject::drawCtrlPoint(Point p, const Color &color, float size)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    BezierPath oval = BezierPath::bezierPathWithOvalInRect(
        Rect(std::floor(p.x - size / 2) + 0.5f, std::floor(p.y - size / 2) + 0.5f, size, size));
    oval.setLineWidth(0);
    context->setFillColor(color);
    context->fillPath(oval);
    context->setStrokeColor(color.shadowWithLevel(0.5f).value_or(color));
    context->strokePath(oval);
}

// ---- Pages ----

bool VekObject::shouldDrawOnPage(int page, const Rect &pageRect) const
{
    const int type = repeatType();
    if (type == 0)
        return intersectsRect(insetRect(_bounds, -0.5f, -0.5f), pageRect);
    if (page < repeatStartPage())
        return false;
    const int endPage = repeatEndPage();
    if (endPage != 0 && page > endPage)
        return false;
    switch (type) {
    case 3: return true;
    case 1: return page % 2 != 0;
    case 2: return page % 2 == 0;
    default: return false;
    }
}

Rect VekObject::boundsOnPage(int page, const Rect &pageRect) const
{
    return offsetRect(_bounds, 0, float(page - 1) * pageRect.height());
}

BezierPath VekObject::bezierPathOnPage(int page, const Rect &pageRect) const
{
    if (page == 1)
        return bezierPath();
    return translated(bezierPath(), 0, float(page - 1) * pageRect.height());
}

Rect VekObject::boundsInVisibleRect(const Rect &visibleRect, const CanvasServices *view) const
{
    if (repeatType() == 0 || !view || intersectsRect(_bounds, visibleRect))
        return _bounds;
    const int page = view->currentPage();
    return offsetRect(_bounds, 0, float(page - 1) * view->rectForPage(page).height());
}

void VekObject::setRepeatType(int type)
{
    if (type == _repeatType)
        return;
    // One inverse puts back the type, the page range and the place together; the moves
    // below register their own setBounds as well, which agrees with it.
    const int oldType = _repeatType, oldStart = _repeatStart, oldEnd = _repeatEnd;
    const Rect oldBounds = _bounds;
    registerUndo([=](VekObject &o) { o.restoreRepeatPlacement(oldType, oldStart, oldEnd, oldBounds); });
    _repeatType = type;

    CanvasServices *view = vekView();
    if (!view) {
        didChange();
        return;
    }
    if (type != 0) {
        const Rect b = _bounds;
        const float h = _document->drawAreaSizePerPage().height;
        if (!(h > 0) || b.origin.y <= h) {
            didChange();
            return;
        }
        const int page = pageOfY(b.origin.y, h);
        _repeatStart = page;
        // A fixed end above the new start is pushed to the last page; an end of 0 (through
        // the last page) stays as it is.
        if (page > 1 && _repeatEnd > 0 && page > _repeatEnd)
            _repeatEnd = std::max(_document->numberOfPages(), page);
        Rect onFirstPage = b;
        onFirstPage.origin.y = std::fmod(b.origin.y, h);
        setBounds(onFirstPage);
    } else {
        // The bounds themselves move to the start page (not a kind's drawing extent there,
        // which is larger for a rotated image).
        const int start = repeatStartPage();
        setBounds(offsetRect(_bounds, 0, float(start - 1) * view->rectForPage(start).height()));
        view->displayRect(view->visibleRect());
    }
}

void VekObject::restoreRepeatPlacement(int type, int start, int end, const Rect &bounds)
{
    const int nowType = _repeatType, nowStart = _repeatStart, nowEnd = _repeatEnd;
    const Rect nowBounds = _bounds;
    registerUndo([=](VekObject &o) { o.restoreRepeatPlacement(nowType, nowStart, nowEnd, nowBounds); });
    _repeatType = type;
    _repeatStart = start;
    _repeatEnd = end;
    setBounds(bounds);
    didChange();
    if (CanvasServices *view = vekView())
        view->displayRect(view->visibleRect());
}

// ---- Inspector ----

QStringList VekObject::pointArrayRelativeTo(int mode) const
{
    const BezierPath path = bezierPath();
    QStringList rows;
    if (path.isEmpty())
        return rows;
    const Point origin = path.bounds().origin;
    const CanvasServices *view = vekView();
    // Without a canvas there is only the one page, so page coordinates are canvas ones.
    const float pageY = view ? view->convertRelativeToPage(origin).y : origin.y;
    const auto coordinates = [&](Point p) {
        if (mode == 0)
            return formatC("%4.2f,%4.2f,", double(p.x), double(p.y));
        if (mode == 1)
            return formatC("%4.2f,%4.2f,", double(p.x), double(p.y - origin.y + pageY));
        return formatC("%4.2f,%4.2f,", double(p.x - origin.x), double(p.y - origin.y));
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const PathElement &e = path.element(i);
        switch (e.kind) {
        case MoveToBezierPathElement:
            rows << coordinates(e.points[0]) + formatC("M,%d,0", i);
            break;
        case LineToBezierPathElement:
            rows << coordinates(e.points[0]) + formatC("L,%d,0", i);
            break;
        case CurveToBezierPathElement:
            rows << coordinates(e.points[0]) + formatC("C,%d,0", i);
            rows << coordinates(e.points[1]) + formatC(" ,%d,1", i);
            rows << coordinates(e.points[2]) + formatC(" ,%d,2", i);
            break;
        case ClosePathBezierPathElement:
            rows << formatC(" , ,Z,%d,-1", i);
            break;
        }
    }
    return rows;
}
