// Which objects lie on a page.
//
// objectsInRectOrdered answers the page rectangle queries of the page commands by mode;
// objectsOwnedByPage gives each object that lies on one page exactly one page (the page
// holding its top edge), so that moving pages moves every object once.
#pragma once

#include "platform/geometry/geometry.h"

#include <memory>
#include <vector>

class VekDocument;
class VekObject;

enum class PageMembership {
    Intersecting = 0,               // meets the rectangle
    Contained = 1,                  // lies wholly inside it
    ContainedOrCrossingBottom = 2,  // inside, or crosses its bottom edge downwards
    ContainedOrCrossingTop = 3,     // inside, or comes in across its top edge
};

// The document's objects, front to back, that meet the page rectangle in the given way.
// Bounds are adjusted first: a width or height of 0 counts as 0.5, a negative x as 0, and
// a right edge beyond the page's is taken as the page's, so that an object sticking out on
// the right still counts as lying on its page.
std::vector<std::shared_ptr<VekObject>> objectsInRectOrdered(const VekDocument &document, const Rect &pageRect,
                                                             PageMembership mode);

// The page an object belongs to when pages move: the page holding its top edge (within the
// document's pages); 0 for an object that repeats on pages, which belongs to every page.
int owningPage(VekDocument &document, const VekObject &object);
// The document's objects, front to back, whose owning page is the page.
std::vector<std::shared_ptr<VekObject>> objectsOwnedByPage(VekDocument &document, int page);
