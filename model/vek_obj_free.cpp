// Free-hand capture: thinning by turn and step, smoothing and refinement of the stroke.
#include "model/vek_obj_free.h"

#include "model/points_array.h"
#include "model/services/canvas_services.h"
#include "toolkit/path_smoothing.h"

#include <cmath>
#include <deque>
#include <numbers>

namespace {

// Points that turn the stroke by less than this (radians), seen from the newest point,
// or lie closer than MinStep to the point before them, are dropped.
constexpr float MaxStraightTurn = 0.175f;
constexpr float MinStep = 2.0f;

// The difference of two directions taken the short way round, in [0, pi].
float turnBetween(float a, float b)
{
    float d = std::fmod(std::fabs(a - b), 2 * std::numbers::pi_v<float>);
    return d > std::numbers::pi_v<float> ? 2 * std::numbers::pi_v<float> - d : d;
}

// Adds p at the front of the kept points, first dropping the newest kept point when the
// stroke runs straight through it or it lies too close to the one before.
void keepPoint(std::deque<Point> &kept, Point p)
{
    if (kept.size() < 2) {
        kept.push_back(p);
        return;
    }
    // A repeated point (the mouse-up where the last drag ended) adds nothing, and coinciding
    // neighbours would give the smoothing no direction.
    if (p == kept[0])
        return;
    const Point a0 = kept[0], a1 = kept[1];
    const float t0 = std::atan2(p.y - a0.y, p.x - a0.x);
    const float t1 = std::atan2(p.y - a1.y, p.x - a1.x);
    if (turnBetween(t0, t1) < MaxStraightTurn || distanceBetweenPoints(a1, a0) < MinStep)
        kept.pop_front();
    kept.push_front(p);
}

// The kept points smoothed into curves, their end points refined once.
BezierPath smoothedStroke(const std::deque<Point> &kept)
{
    BezierPath polyline;
    polyline.moveToPoint(kept.front());
    for (size_t i = 1; i < kept.size(); ++i)
        polyline.lineToPoint(kept[i]);
    const BezierPath smoothed = smoother(polyline);
    PointsArray points;
    for (const PathElement &element : smoothed.elements())
        if (element.kind != ClosePathBezierPathElement)
            points.addPoint(element.endPoint());
    return points.doFourPoint().createPath();
}

} // namespace

std::shared_ptr<VekObjFree> VekObjFree::create()
{
    return makeObject<VekObjFree>();
}

bool VekObjFree::createWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return false;
    BezierPath live;
    live.moveToPoint(view->convertPointFromWindow(event.locationInWindow));
    startBoundsManipulation();
    setBezierPathSimplyAs(live);
    std::deque<Point> kept;
    MouseEvent current = event;
    while (current.type != EventType::LeftMouseUp) {
        current = view->eventSource().nextEvent(DragOrUpMask);
        const Point p = view->convertPointFromWindow(current.locationInWindow);
        view->autoscroll(current);
        view->setNeedsDisplayInRect(drawingBounds());
        keepPoint(kept, p);
        _path->lineToPoint(p);
        setBounds(_path->bounds());
        view->setNeedsDisplayInRect(drawingBounds());
    }
    if (view->rulersVisible())
        view->updateRulers();
    stopBoundsManipulation();
    if (kept.size() > 1) {
        // Bounds follow the smoothed path rather than fitting it into the raw stroke's.
        setBezierPathAdjust(smoothedStroke(kept), false);
    }
    return _path->elementCount() > 1;
}
