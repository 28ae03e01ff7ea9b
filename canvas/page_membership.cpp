// Page membership of objects: by rectangle and mode, and by owning page.
#include "canvas/page_membership.h"

#include "canvas/page_geometry.h"
#include "document/vek_document.h"
#include "model/vek_object.h"

namespace {

Rect boundsAdjustedTo(const Rect &pageRect, Rect bounds)
{
    if (bounds.size.width == 0)
        bounds.size.width = 0.5f;
    if (bounds.size.height == 0)
        bounds.size.height = 0.5f;
    if (bounds.origin.x < 0)
        bounds.origin.x = 0;
    if (bounds.maxX() > pageRect.maxX())
        bounds.size.width = pageRect.maxX() - bounds.origin.x;
    return bounds;
}

bool liesOnPage(const Rect &page, const Rect &bounds, PageMembership mode)
{
    if (!intersectsRect(bounds, page))
        return false;
    if (mode == PageMembership::Intersecting || containsRect(page, bounds))
        return true;
    const Rect common = intersectionRect(page, bounds);
    switch (mode) {
    case PageMembership::ContainedOrCrossingBottom:
        return common.maxY() == page.maxY() && page.maxY() <= bounds.maxY();
    case PageMembership::ContainedOrCrossingTop:
        return common.minY() == page.minY();
    default:
        return false;
    }
}

} // namespace

std::vector<std::shared_ptr<VekObject>> objectsInRectOrdered(const VekDocument &document, const Rect &pageRect,
                                                             PageMembership mode)
{
    std::vector<std::shared_ptr<VekObject>> found;
    for (const auto &object : document.objects()) {
        if (liesOnPage(pageRect, boundsAdjustedTo(pageRect, object->bounds()), mode))
            found.push_back(object);
    }
    return found;
}

int owningPage(VekDocument &document, const VekObject &object)
{
    if (object.repeatType() != 0)
        return 0;
    return pageHoldingY(document, object.bounds().minY());
}

std::vector<std::shared_ptr<VekObject>> objectsOwnedByPage(VekDocument &document, int page)
{
    std::vector<std::shared_ptr<VekObject>> owned;
    for (const auto &object : document.objects()) {
        if (owningPage(document, *object) == page)
            owned.push_back(object);
    }
    return owned;
}
