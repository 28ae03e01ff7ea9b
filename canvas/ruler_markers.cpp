// Ruler markers of the selection: their places and what dragging them does.
#include "canvas/ruler_markers.h"

#include "canvas/align_commands.h"
#include "model/services/canvas_services.h"
#include "model/vek_object.h"

#include <algorithm>

namespace {

// A table is always moved by its markers, never resized.
bool alwaysMoves(const VekObject &object)
{
    return object.className() == QLatin1String("VekObjGrid");
}

bool isFormat(const VekObject &object)
{
    return object.className() == QLatin1String("VekObjFormat");
}

} // namespace

QString rulerEdgeName(RulerEdge edge)
{
    switch (edge) {
    case RulerEdge::Left:
        return QStringLiteral("Left Edge");
    case RulerEdge::Right:
        return QStringLiteral("Right Edge");
    case RulerEdge::Top:
        return QStringLiteral("Top Edge");
    case RulerEdge::Bottom:
        return QStringLiteral("Bottom Edge");
    }
    return {};
}

std::optional<RulerEdge> rulerEdgeNamed(const QString &name)
{
    for (RulerEdge edge : {RulerEdge::Left, RulerEdge::Right, RulerEdge::Top, RulerEdge::Bottom})
        if (rulerEdgeName(edge) == name)
            return edge;
    return std::nullopt;
}

bool isHorizontalEdge(RulerEdge edge)
{
    return edge == RulerEdge::Left || edge == RulerEdge::Right;
}

RulerEdge pairedEdge(RulerEdge edge)
{
    switch (edge) {
    case RulerEdge::Left:
        return RulerEdge::Right;
    case RulerEdge::Right:
        return RulerEdge::Left;
    case RulerEdge::Top:
        return RulerEdge::Bottom;
    case RulerEdge::Bottom:
        break;
    }
    return RulerEdge::Top;
}

Rect boundsOnRulers(const VekObject &object, const CanvasServices &view)
{
    Rect shown = object.bounds();
    shown.origin.y = object.boundsInVisibleRect(view.visibleRect(), &view).origin.y;
    return shown;
}

float RulerMarkerLocations::location(RulerEdge edge) const
{
    switch (edge) {
    case RulerEdge::Left:
        return left;
    case RulerEdge::Right:
        return right;
    case RulerEdge::Top:
        return top;
    case RulerEdge::Bottom:
        break;
    }
    return bottom;
}

RulerMarkerLocations markerLocationsFor(const VekObject &object, const CanvasServices &view)
{
    const Rect b = boundsOnRulers(object, view);
    return {b.origin.x, b.origin.x + b.size.width, b.origin.y, b.origin.y + b.size.height};
}

RulerMarkerMove moveSelectionWithRulerMarker(CanvasCommandContext &context, const std::shared_ptr<VekObject> &current,
                                             const CanvasServices &view, RulerEdge edge, float location,
                                             bool shiftHeld, bool simplyMoveMarkers)
{
    RulerMarkerMove move{location, std::nullopt};
    if (context.selection.empty() || !current || simplyMoveMarkers)
        return move;

    // The vertical markers measure a repeating object on the current page; the drag works
    // in the same place and the object keeps its own.
    const float pageOffset = boundsOnRulers(*current, view).origin.y - current->bounds().origin.y;
    Rect b = current->bounds();
    b.origin.y += pageOffset;
    const float right = b.origin.x + b.size.width, bottom = b.origin.y + b.size.height;
    float &l = move.location;

    if (!shiftHeld && !alwaysMoves(*current)) {
        if (isFormat(*current) && context.selection.size() > 1)
            return move;
        switch (edge) {
        case RulerEdge::Left:
            l = std::min(l, right - 1.0f);
            b.origin.x = l;
            b.size.width = right - l;
            break;
        case RulerEdge::Right:
            l = std::max(l, b.origin.x + 1.0f);
            b.size.width = l - b.origin.x;
            break;
        case RulerEdge::Top:
            l = std::min(l, bottom - 1.0f);
            b.origin.y = l;
            b.size.height = bottom - l;
            break;
        case RulerEdge::Bottom:
            l = std::max(l, b.origin.y + 1.0f);
            b.size.height = l - b.origin.y;
            break;
        }
    } else {
        switch (edge) {
        case RulerEdge::Left:
            b.origin.x = l;
            move.pairedLocation = l + b.size.width;
            break;
        case RulerEdge::Right:
            b.origin.x = l - b.size.width;
            move.pairedLocation = b.origin.x;
            break;
        case RulerEdge::Top:
            b.origin.y = l;
            move.pairedLocation = l + b.size.height;
            break;
        case RulerEdge::Bottom:
            b.origin.y = l - b.size.height;
            move.pairedLocation = b.origin.y;
            break;
        }
    }
    b.origin.y -= pageOffset;
    setSelectedObjectsBoundRelativeTo(context, b, current);
    return move;
}
