// Which object lies under a point and which objects a rectangle touches, with the spatial
// index naming the candidates instead of every object of the document being asked.
//
// The answers are those of walking the whole object list: the index keeps each object under
// an area holding its drawing bounds, and repeating objects are always candidates, so every
// object that could answer is among the candidates; each candidate is then asked as before.
// The index must have been refreshed (SpatialIndex::refresh).
#pragma once

#include "platform/geometry/geometry.h"

#include <memory>
#include <vector>

class SpatialIndex;
class VekObject;

// The rectangle with a width or height below `least` counted as `least`, so that lines and
// points take part in hit tests and unions.
Rect withLeastSize(Rect r, float least);

using HitObjects = std::vector<std::shared_ptr<VekObject>>;

// The first of the selected objects (in selection order) that contains the point, else the
// front-most unselected object that does; null when none does. `extended` as for
// VekObject::containsPoint (a selected path's control points count).
std::shared_ptr<VekObject> objectUnderPoint(const SpatialIndex &index, const HitObjects &selected, Point p,
                                            bool extended);

// Front to back, the objects whose bounds, a width or height below 1 counting as 1, meet the
// rectangle.
HitObjects objectsIntersectingRect(const SpatialIndex &index, const Rect &r);
