// New bounds from the inspector's typed locations, sizes and scale.
#include "panels/obj_info/bounds_editing.h"

#include <cmath>

namespace {

constexpr float Threshold = 0.1f;

float along(const Rect &r, BoundsAxis axis) { return axis == BoundsAxis::X ? r.origin.x : r.origin.y; }

} // namespace

std::optional<std::vector<Rect>> boundsForLocation(const std::vector<Rect> &bounds, const Rect &current, BoundsAxis axis,
                                                   float value, bool relative)
{
    const float d = value - along(current, axis);
    if (std::fabs(d) < Threshold)
        return std::nullopt;
    std::vector<Rect> moved = bounds;
    for (Rect &r : moved) {
        float &coordinate = axis == BoundsAxis::X ? r.origin.x : r.origin.y;
        coordinate = relative ? coordinate + d : value;
    }
    return moved;
}

std::optional<std::vector<Rect>> boundsForSize(const std::vector<Rect> &bounds, const Rect &current,
                                               const Rect &selection, BoundsAxis axis, float value,
                                               const ResizeOptions &options)
{
    if (!(value > 0))
        return std::nullopt;
    const float w = std::max(current.width(), Threshold);
    const float h = std::max(current.height(), Threshold);
    const float edited = axis == BoundsAxis::X ? w : h;
    const float other = axis == BoundsAxis::X ? h : w;
    if (std::fabs(value - edited) < Threshold)
        return std::nullopt;
    const float k = value / edited;
    const float otherFactor = options.together ? k : 1;
    const float kx = axis == BoundsAxis::X ? k : otherFactor;
    const float ky = axis == BoundsAxis::X ? otherFactor : k;
    const Point centre{selection.midX(), selection.midY()};
    std::vector<Rect> resized;
    resized.reserve(bounds.size());
    for (const Rect &r : bounds) {
        if (options.proportional) {
            Rect scaled(r.origin, Size{r.width() * kx, r.height() * ky});
            if (options.relative)
                scaled.origin = Point{centre.x + (r.origin.x - centre.x) * kx, centre.y + (r.origin.y - centre.y) * ky};
            resized.push_back(scaled);
        } else {
            Rect sized = r;
            const float otherSide = options.together ? other * k : (axis == BoundsAxis::X ? r.height() : r.width());
            sized.size = axis == BoundsAxis::X ? Size{value, otherSide} : Size{otherSide, value};
            resized.push_back(sized);
        }
    }
    return resized;
}

std::optional<ScaledSelection> boundsForScale(const std::vector<Rect> &bounds, const Rect &selection, float percent)
{
    const float w = selection.width(), h = selection.height();
    const float newW = std::round(w * percent / 100), newH = std::round(h * percent / 100);
    float k = 0;
    if (w > 0)
        k = newW / w;
    else if (h > 0)
        k = newH / h;
    if (!(k > 0))
        return std::nullopt;
    const float x0 = selection.origin.x + w / 2 - w * k / 2;
    const float y0 = selection.origin.y + h / 2 - h * k / 2;
    ScaledSelection scaled;
    scaled.factor = k;
    for (const Rect &r : bounds)
        scaled.bounds.emplace_back((r.origin.x - selection.origin.x) * k + x0, (r.origin.y - selection.origin.y) * k + y0,
                                   r.width() * k, r.height() * k);
    return scaled;
}

Size naturalAspectFactors(Size size, Size original)
{
    const float w = std::max(size.width, Threshold), h = std::max(size.height, Threshold);
    const float ow = std::max(original.width, Threshold), oh = std::max(original.height, Threshold);
    if (h < w)
        return {1, (w / ow) * oh / h};
    return {(h / oh) * ow / w, 1};
}

Rect scaledAbout(const Rect &bounds, Size factors, Point centre)
{
    return {centre.x - (centre.x - bounds.origin.x) * factors.width,
            centre.y - (centre.y - bounds.origin.y) * factors.height, factors.width * bounds.width(),
            factors.height * bounds.height()};
}
