// The image rectangle of a cell.
#include "toolkit/ui/image_cell.h"

#include <algorithm>

Rect rectCoveredByImageInBounds(Size imageSize, const Rect &bounds)
{
    const float w = std::min(imageSize.width, bounds.size.width);
    const float h = std::min(imageSize.height, bounds.size.height);
    return Rect(bounds.origin.x + (bounds.size.width - w) / 2, bounds.origin.y + (bounds.size.height - h) / 2, w, h);
}
