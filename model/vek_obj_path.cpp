// VekObjPath's model: defaults, undoable setters, clip handling, path commands, natural size,
// flips, rotation, the editing click that adds points, and the path object's part of a copy.
#include "model/vek_obj_path.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/panel_services.h"
#include "platform/foundation/undo_manager.h"
#include "platform/geometry/affine_transform.h"
#include "toolkit/path_editing.h"
#include "toolkit/path_measure.h"
#include "toolkit/path_smoothing.h"

#include <algorithm>
#include <cmath>

namespace {

// An editing click outside the bounds grown by this much may belong to a repeated page.
constexpr float EditingClickMargin = 10.0f;

// Stops undo registration for its lifetime: where one inverse restores a change made of
// several setter calls, those calls must not register inverses of their own.
class UndoPause {
public:
    explicit UndoPause(UndoManager *undo) : m_undo(undo)
    {
        if (m_undo)
            m_undo->disableUndoRegistration();
    }
    ~UndoPause()
    {
        if (m_undo)
            m_undo->enableUndoRegistration();
    }
    UndoPause(const UndoPause &) = delete;
    UndoPause &operator=(const UndoPause &) = delete;

private:
    UndoManager *m_undo;
};

VekObjPath &asPath(VekObject &o)
{
    return static_cast<VekObjPath &>(o);
}

} // namespace

VekObjPath::VekObjPath(Passkey key) : VekObject(key) {}

VekObjPath::~VekObjPath() = default;

std::shared_ptr<VekObjPath> VekObjPath::create()
{
    return makeObject<VekObjPath>();
}

void VekObjPath::didChange()
{
    clearCachedImage();
    VekObject::didChange();
}

void VekObjPath::setBounds(const Rect &bounds)
{
    // The image is composed at the path's origin, so a move keeps it; a new size does not.
    if (bounds.size != _bounds.size)
        clearCachedImage();
    VekObject::setBounds(bounds);
}

// ---- Undoable setters ----

void VekObjPath::setStartArrow(int type)
{
    if (type == _arrowTypeS)
        return;
    registerUndo([old = _arrowTypeS](VekObject &o) { asPath(o).setStartArrow(old); });
    _arrowTypeS = type;
    didChange();
}

void VekObjPath::setEndArrow(int type)
{
    if (type == _arrowTypeE)
        return;
    registerUndo([old = _arrowTypeE](VekObject &o) { asPath(o).setEndArrow(old); });
    _arrowTypeE = type;
    didChange();
}

void VekObjPath::setArrowLength(float length, int angle)
{
    if (length == _arrowLength && angle == _arrowAngle)
        return;
    registerUndo([length = _arrowLength, angle = _arrowAngle](VekObject &o) { asPath(o).setArrowLength(length, angle); });
    _arrowLength = length;
    _arrowAngle = angle;
    didChange();
}

void VekObjPath::setAttType(int type)
{
    if (type == _attType)
        return;
    registerUndo([old = _attType](VekObject &o) { asPath(o).setAttType(old); });
    _attType = type;
    didChange();
}

void VekObjPath::setAttSpace(float space)
{
    if (space == _attSpace)
        return;
    registerUndo([old = _attSpace](VekObject &o) { asPath(o).setAttSpace(old); });
    _attSpace = space;
    didChange();
}

void VekObjPath::setAttOffset(float offset)
{
    if (offset == _attOffset)
        return;
    registerUndo([old = _attOffset](VekObject &o) { asPath(o).setAttOffset(old); });
    _attOffset = offset;
    didChange();
}

void VekObjPath::setClipType(int type)
{
    if (type == _clipType)
        return;
    registerUndo([old = _clipType](VekObject &o) { asPath(o).setClipType(old); });
    _clipType = type;

    // The object behind this one is the one clipped; the one in front may flow its text
    // around this shape. An object not in the list has no neighbours.
    if (_document) {
        const auto &objects = _document->objects();
        const auto it = std::find_if(objects.begin(), objects.end(),
                                     [this](const std::shared_ptr<VekObject> &o) { return o.get() == this; });
        if (it != objects.end()) {
            const auto i = size_t(it - objects.begin());
            if (i + 1 < objects.size())
                objects[i + 1]->didChange();
            if (i > 0)
                objects[i - 1]->clipDidChange();
        }
    }
    didChange();
}

void VekObjPath::setDashPatternUpdate(int index, bool update)
{
    if (index == _dashPattern)
        return;
    if (!update) {
        VekObject::setDashPatternUpdate(index, false);
        return;
    }
    // Undo runs these in reverse: the old index first (which fetches its dash info), then
    // the old dash info exactly as it was.
    registerUndo([old = _dashInfo](VekObject &o) { asPath(o).setDashInfo(old); });
    registerUndo([old = _dashPattern](VekObject &o) { o.setDashPatternUpdate(old, true); });
    VekObject::setDashPatternUpdate(index, false);
    // Dash info left from the previous index would keep drawing the old pattern, so an index
    // the inspector knows nothing about clears it (drawing then takes the index's pattern).
    _dashInfo = index != 0 ? panelServices().dashInfoFor(index) : PropertyList();
    didChange();
}

// ---- Flips and rotation ----

void VekObjPath::setFlippedHorizontally(bool flag)
{
    if (flag == _flippedHorizontally || !pathCreated())
        return;
    registerUndo([flag](VekObject &o) { o.setFlippedHorizontally(!flag); });
    setFlipped(0);
    VekObject::setFlippedHorizontally(flag);
}

void VekObjPath::setFlippedVertically(bool flag)
{
    if (flag == _flippedVertically || !pathCreated())
        return;
    registerUndo([flag](VekObject &o) { o.setFlippedVertically(!flag); });
    setFlipped(1);
    VekObject::setFlippedVertically(flag);
}

void VekObjPath::setFlipped(int axis)
{
    BezierPath path = *_path;
    const Rect before = path.bounds();
    path.transformUsingAffineTransform(axis == 0 ? AffineTransform(-1, 0, 0, 1, 0, 0)
                                                 : AffineTransform(1, 0, 0, -1, 0, 0));
    const Rect after = path.bounds();
    AffineTransform back;
    back.translateXBy(double(before.midX()) - after.midX(), double(before.midY()) - after.midY());
    path.transformUsingAffineTransform(back);

    // The flip's own inverse mirrors back; the path and bounds changes register nothing.
    const UndoPause pause(undoManager());
    startBoundsManipulation();
    setBezierPath(path);
    setBounds(path.bounds());
    stopBoundsManipulation();
}

void VekObjPath::setRotation(float degrees, Point center, bool update)
{
    if (degrees == _rotation)
        return;
    if (!update) {
        VekObject::setRotation(degrees, center, false);
        return;
    }
    const float old = _rotation;
    {
        // The common step registers an inverse about the bounds' centre; ours turns back
        // about the same centre as the turn itself.
        const UndoPause pause(undoManager());
        VekObject::setRotation(degrees, center, true);
    }
    if (_rotation == old)
        return;
    registerUndo([old, center](VekObject &o) { o.setRotation(old, center, true); });
    if (!pathCreated())
        return;

    float d = _rotation - old;
    if (d < 0)
        d += 360.0f;
    AffineTransform turn;
    turn.translateXBy(center.x, center.y);
    turn.rotateByDegrees(d);
    turn.translateXBy(-center.x, -center.y);
    BezierPath path = *_path;
    path.transformUsingAffineTransform(turn);

    const UndoPause pause(undoManager());
    startBoundsManipulation();
    setBezierPath(path);
    setBounds(path.bounds());
    stopBoundsManipulation();
}

// ---- Path commands ----

void VekObjPath::closeBezierPath()
{
    if (!pathCreated())
        return;
    BezierPath path = *_path;
    // A path that already ends closed gets no second close-path.
    if (!path.isEmpty() && path.element(path.elementCount() - 1).kind == ClosePathBezierPathElement)
        return;
    path.closePath();
    setBezierPath(path);
}

void VekObjPath::reverse()
{
    if (!pathCreated() || _path->elementCount() < 2)
        return;
    setBezierPath(_path->bezierPathByReversingPath());
}

void VekObjPath::makeSmoother()
{
    if (!pathCreated() || _path->isEmpty())
        return;
    const BezierPath path = smoother(*_path);
    if (path.isEmpty())
        return;
    setBounds(path.bounds());
    setBezierPath(path);
}

void VekObjPath::makeStraight()
{
    if (!pathCreated() || _path->isEmpty())
        return;
    const BezierPath path = straighten(*_path);
    if (path.isEmpty())
        return;
    setBounds(path.bounds());
    setBezierPath(path);
}

void VekObjPath::makePositive()
{
    if (!pathCreated() || _path->isEmpty())
        return;
    const BezierPath path = setAllPointsToPositive(*_path);
    if (path.isEmpty())
        return;
    setBounds(path.bounds());
    setBezierPathSimplyAs(path);
}

void VekObjPath::setToNaturalSize()
{
    // A straight-line shape was recorded with one side 0: it has no proportion to restore.
    if (!(_orgSize.width > 0 && _orgSize.height > 0) || !pathCreated())
        return;
    Rect r = _bounds;
    if (r.size == _orgSize)
        return;
    if (r.width() > r.height())
        r.size.height = r.width() / _orgSize.width * _orgSize.height;
    else
        r.size.width = r.height() / _orgSize.height * _orgSize.width;
    setBounds(r);
}

void VekObjPath::simplySetAsClip(int type, VekObject *objAbove)
{
    _clipType = type;
    if (!objAbove)
        return;
    if (_skewX != 0)
        objAbove->setSkewX(_skewX, false);
    if (_skewY != 0)
        objAbove->setSkewY(_skewY, false);
    // The opposite turn, written within 0 to 360 as every stored rotation is.
    if (_rotation != 0)
        objAbove->setRotation(std::fmod(360.0f - std::fmod(_rotation, 360.0f), 360.0f), Point(), false);
    if (_flippedHorizontally)
        objAbove->setFlippedHorizontally(true);
    if (_flippedVertically)
        objAbove->setFlippedVertically(true);
}

// ---- Editing by mouse ----

void VekObjPath::startEditingWithEvent(const MouseEvent &, CanvasServices *view)
{
    if (!view || !pathCreated() || _path->isEmpty())
        return;
    view->setEditingObject(shared_from_this(), nullptr);
    view->resetCursorRects();
}

void VekObjPath::endEditingInView(CanvasServices *view)
{
    if (!view || view->editingObject().get() != this)
        return;
    view->setEditingObject(nullptr, nullptr);
    _clickedElement = -1;
    _clickedPoint = NoPoint;
    _editingPath.reset();
    view->resetCursorRects();
}

std::vector<CursorRect> VekObjPath::editingCursorRects(unsigned modifierFlags, const CanvasServices *) const
{
    const CursorKind cursor = (modifierFlags & ShiftKeyMask)       ? CursorKind::Curve
                              : (modifierFlags & AlternateKeyMask) ? CursorKind::Move
                                                                   : CursorKind::Line;
    return {{insetRect(_bounds, -10.0f, -10.0f), cursor}};
}

void VekObjPath::editWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view || !pathCreated())
        return;
    const Point click = view->convertPointFromWindow(event.locationInWindow);
    _clickedPoint = click;
    _clickedElement = -1;
    _editingPath = *_path;

    // A click on a repeated page is compared with the path moved onto that page.
    if (!pointInRect(click, insetRect(_bounds, -EditingClickMargin, -EditingClickMargin)) && repeatType() != 0) {
        const int page = view->pageIncludingPoint(click);
        AffineTransform down;
        down.translateXBy(0, double(page - 1) * view->rectForPage(1).height());
        _editingPath->transformUsingAffineTransform(down);
    }

    Point confirmed;
    int element = -1;
    if (isOnPath(*_editingPath, click, &confirmed, &element, nullptr)) {
        _clickedPoint = confirmed;
        _clickedElement = element;
    } else if (_selectedElementNr >= 0 && _selectedElementNr < _path->elementCount()) {
        // A new point goes after an end point: move the selection off control points and
        // off a close-path.
        const int e = _selectedElementNr;
        const int k = _selectedPointNr;
        const int count = _path->elementCount();
        switch (_path->element(e).kind) {
        case CurveToBezierPathElement:
            if (k == 0) {
                if (e > 0)
                    setSelectedElementNr(e - 1, _path->element(e - 1).kind == CurveToBezierPathElement ? 2 : 0);
            } else {
                setSelectedElementNr(e, 2);
            }
            break;
        case ClosePathBezierPathElement:
            if (e + 1 < count)
                setSelectedElementNr(e + 1, k);
            else if (e > 0)
                setSelectedElementNr(e - 1, k);
            break;
        default:
            break;
        }
    }

    const int kind = (event.modifierFlags & ShiftKeyMask) ? 1 : (event.modifierFlags & AlternateKeyMask) ? 2 : 0;
    addPointFor(kind);
    view->setNeedsDisplayInRect(drawingBounds());
}

void VekObjPath::addPointFor(int kind)
{
    Point q = _clickedPoint;
    const int e = _clickedElement;
    _clickedPoint = NoPoint;
    _clickedElement = -1;
    if (q == NoPoint || !pathCreated())
        return;

    const BezierPath &reference = _editingPath ? *_editingPath : *_path;
    Point anchor = reference.currentPoint();
    const int e1 = _selectedElementNr;
    const int count = _path->elementCount();
    if (e1 >= 0 && e1 < count) {
        int source = e1;
        if (_path->element(e1).kind == ClosePathBezierPathElement)
            source = e1 + 1 < count ? e1 + 1 : 0;
        const PathElement &element = _path->element(source);
        // The point number is bounded by what the element has (a line has one point).
        if (element.pointCount() > 0)
            anchor = element.points[std::clamp(_selectedPointNr, 0, element.pointCount() - 1)];
    }

    CanvasServices *view = vekView();
    if (view && repeatType() != 0 && _editingPath && _editingPath->bounds() != _path->bounds()) {
        const int page = view->pageIncludingPoint(q);
        q.y -= float(page - 1) * view->rectForPage(page).height();
    }

    BezierPath path = *_path;
    const int index = addPointAt(path, q, e, kind, anchor);
    if (index < 0)
        return;
    // The new point may lie outside the bounds: the path is kept as it is and the bounds
    // follow it.
    startBoundsManipulation();
    setBezierPath(path);
    setBounds(path.bounds());
    stopBoundsManipulation();
    setSelectedElementNr(index, kind == 1 ? 2 : 0);
}

// ---- Copy ----

