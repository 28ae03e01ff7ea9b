// Hit testing over the spatial index's candidates.
#include "canvas/object_hit_test.h"

#include "canvas/spatial_index.h"
#include "model/vek_object.h"

#include <algorithm>
#include <unordered_set>

Rect withLeastSize(Rect r, float least)
{
    r.size.width = std::max(r.size.width, least);
    r.size.height = std::max(r.size.height, least);
    return r;
}

std::shared_ptr<VekObject> objectUnderPoint(const SpatialIndex &index, const HitObjects &selected, Point p,
                                            bool extended)
{
    // Selected objects come first and are asked directly: with `extended` they answer for
    // their control points too, which may lie outside their indexed area.
    for (const auto &object : selected)
        if (object->containsPoint(p, extended))
            return object;
    std::unordered_set<const VekObject *> isSelected;
    for (const auto &object : selected)
        isSelected.insert(object.get());
    // A small square around the point: an empty rectangle would meet nothing.
    const Rect around(p.x - 0.5f, p.y - 0.5f, 1, 1);
    for (const auto &object : index.objectsMeeting(around))
        if (!isSelected.count(object.get()) && object->containsPoint(p, extended))
            return object;
    return nullptr;
}

HitObjects objectsIntersectingRect(const SpatialIndex &index, const Rect &r)
{
    HitObjects found;
    for (const auto &object : index.objectsMeeting(r))
        if (intersectsRect(withLeastSize(object->bounds(), 1.0f), r))
            found.push_back(object);
    return found;
}
