// VekObject's creation by a mouse drag, moves, rotation, skew, flips, and replacing the path
// and fitting it to the bounds.
#include "model/vek_object.h"

#include "model/services/canvas_services.h"
#include "platform/foundation/undo_manager.h"
#include "platform/geometry/affine_transform.h"
#include "toolkit/path_editing.h"

#include <cmath>

namespace {

// A path's extent at or below this is taken as a line: it is moved but never scaled.
constexpr float UnscalableExtent = 0.1f;
// Skew factors closer than this count as equal, and smaller ones as 0.
constexpr float SkewResolution = 0.001f;

// The initial bounds of a new object and the zero rectangle both mean "no bounds yet".
bool hasRealBounds(const Rect &r)
{
    return r != Rect(0, 0, 1, 1) && r != Rect();
}

Point centreOf(const Rect &r)
{
    return {r.midX(), r.midY()};
}

// Stops undo registration for its lifetime (nothing without an undo manager).
class UndoRegistrationPause {
public:
    explicit UndoRegistrationPause(UndoManager *undo) : m_undo(undo)
    {
        if (m_undo)
            m_undo->disableUndoRegistration();
    }
    ~UndoRegistrationPause()
    {
        if (m_undo)
            m_undo->enableUndoRegistration();
    }
    UndoRegistrationPause(const UndoRegistrationPause &) = delete;
    UndoRegistrationPause &operator=(const UndoRegistrationPause &) = delete;

private:
    UndoManager *m_undo;
};

} // namespace

// ---- Creation by mouse ----

bool VekObject::createWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return false;
    const bool snaps = view->snapsToGrid();
    const float grid = view->gridSpacing();
    // To the nearest grid line, or onto the centre of the pixel; a grid of no size is no grid.
    const auto snapped = [snaps, grid](Point p) -> Point {
        if (snaps && grid > 0)
            return {std::floor(p.x / grid + 0.5f) * grid, std::floor(p.y / grid + 0.5f) * grid};
        return HalfPosition(p);
    };

    startBoundsManipulation();
    const Point start = snapped(view->convertPointFromWindow(event.locationInWindow));
    setBounds(Rect(start.x, start.y, 0, 0));
    int knob = 8;
    MouseEvent current = event;
    while (current.type != EventType::LeftMouseUp) {
        current = view->eventSource().nextEvent(DragOrUpMask);
        const Point location = view->convertPointFromWindow(current.locationInWindow);
        view->autoscroll(current);
        const Point p = snapped(location);
        view->setNeedsDisplayInRect(drawingBounds());
        knob = resizeByMovingKnob(knob, p);
        view->setNeedsDisplayInRect(drawingBounds());
    }
    if (view->rulersVisible())
        view->updateRulers();
    stopBoundsManipulation();
    return _bounds.width() > 0 || _bounds.height() > 0;
}

// ---- Moves ----

void VekObject::moveBy(float dx, float dy)
{
    setBounds(offsetRect(_bounds, dx, dy));
}

void VekObject::moveSimplyBy(float dx, float dy)
{
    if (dx == 0 && dy == 0)
        return;
    didChange();
    const Rect old = _bounds;
    registerUndo([old](VekObject &o) { o.setBounds(old); });
    _bounds = offsetRect(_bounds, dx, dy);
    if (_path && hasEditablePath() && _bounds != Rect())
        _path = adjustPath(std::move(*_path), _bounds);
    didChange();
    postBoundsChange();
}

// ---- Rotation, skew and flips ----

// The base turns no path; the kinds that do turn theirs about `center`.
void VekObject::setRotation(float degrees, Point /*center*/, bool update)
{
    if (!update) {
        _rotation = degrees;
        return;
    }
    const float old = _rotation;
    if (!(degrees >= 0.0f && degrees <= 359.0f))
        degrees = old;
    if (degrees == old)
        return;
    const Point oldCentre = centreOf(_bounds);
    registerUndo([old, oldCentre](VekObject &o) { o.setRotation(old, oldCentre, true); });
    _rotation = degrees;
    didChange();
}

void VekObject::setSkewX(float factor, bool update)
{
    if (update)
        changeSkew(true, factor);
    else
        _skewX = factor;
}

void VekObject::setSkewY(float factor, bool update)
{
    if (update)
        changeSkew(false, factor);
    else
        _skewY = factor;
}

void VekObject::changeSkew(bool horizontal, float factor)
{
    float &skew = horizontal ? _skewX : _skewY;
    const float old = skew;
    if (!(factor >= -1.0f && factor <= 1.0f))
        factor = old;
    if (std::fabs(old - factor) < SkewResolution)
        return;
    registerUndo([old, horizontal](VekObject &o) {
        if (horizontal)
            o.setSkewX(old, true);
        else
            o.setSkewY(old, true);
    });
    skew = std::fabs(factor) < SkewResolution ? 0.0f : factor;
    if (!hasEditablePath()) {
        didChange();
        return;
    }

    // Shear the path by the change about its centre. The inverse registered above shears it
    // back, so the path and bounds changes made here must not register inverses of their
    // own (undo would otherwise shear back twice).
    BezierPath path = bezierPath();
    const Point before = centreOf(path.bounds());
    AffineTransform shear;
    if (horizontal)
        shear.m12 = double(skew) - double(old);   // y grows with x
    else
        shear.m21 = double(skew) - double(old);   // x grows with y
    path.transformUsingAffineTransform(shear);

    const UndoRegistrationPause pause(undoManager());
    startBoundsManipulation();
    const Point after = centreOf(path.bounds());
    AffineTransform back;
    back.translateXBy(before.x - after.x, before.y - after.y);
    path.transformUsingAffineTransform(back);
    setBezierPath(path);
    setBounds(bezierPath().bounds());
    stopBoundsManipulation();
}

void VekObject::flipHorizontally()
{
    setFlippedHorizontally(!_flippedHorizontally);
}

void VekObject::flipVertically()
{
    setFlippedVertically(!_flippedVertically);
}

// ---- The path ----

BezierPath VekObject::adjustPath(BezierPath path, const Rect &bounds)
{
    const Rect current = path.bounds();
    if (current == bounds)
        return path;
    if (current.size != bounds.size) {
        const auto factor = [](float from, float to) {
            return (from <= UnscalableExtent || to <= UnscalableExtent) ? 1.0 : double(to) / double(from);
        };
        AffineTransform scale;
        scale.scaleXBy(factor(current.width(), bounds.width()), factor(current.height(), bounds.height()));
        path.transformUsingAffineTransform(scale);
    }
    setBoundsAtX(path, bounds.origin.x, bounds.origin.y);
    return path;
}

void VekObject::setBezierPath(const std::optional<BezierPath> &path)
{
    int oldCount = 0;
    if (_path) {
        oldCount = _path->elementCount();
        didChange();
    }
    // Also without an old path: undo then takes the new one away again.
    registerUndo([old = _path](VekObject &o) { o.setBezierPath(old); });
    if (!path) {
        _path.reset();
        return;
    }
    _path = *path;

    // A drag that only moves points keeps the element count and posts nothing.
    if (!_isLoadingPropertyList && _document
        && !(manipulatingBounds() && _path->elementCount() == oldCount))
        postNotification(VekObjectPathDidChangeNotification);

    if (hasRealBounds(_bounds)) {
        if (manipulatingBounds() || !hasEditablePath())
            return;
        _path = adjustPath(std::move(*_path), _bounds);
        didChange();
    } else {
        setBounds(_path->bounds());
    }
}

void VekObject::setBezierPathAdjust(const std::optional<BezierPath> &path, bool adjust)
{
    registerUndo([old = _path](VekObject &o) { o.setBezierPath(old); });
    if (!path) {
        _path.reset();
        return;
    }
    _path = *path;

    if (!_isLoadingPropertyList && _document && !manipulatingBounds())
        postNotification(VekObjectPathDidChangeNotification);

    const Rect before = _bounds;
    if (adjust && hasRealBounds(_bounds)) {
        if (!_isLoadingPropertyList)
            _path = adjustPath(std::move(*_path), _bounds);
        return;
    }
    setBounds(_path->bounds());
    // A new path inside the same bounds still has to be shown.
    if (_bounds == before)
        didChange();
}

void VekObject::setBezierPathSimplyAs(const std::optional<BezierPath> &path)
{
    _path = path;
}
