// The dash list and the arrow-barb construction.
#include "toolkit/dash_styles.h"

#include "platform/foundation/user_defaults.h"
#include "platform/geometry/affine_transform.h"
#include "toolkit/path_editing.h"
#include "toolkit/path_measure.h"

#include <cmath>
#include <vector>

namespace {

PropertyList builtInEntry(std::initializer_list<float> lengths)
{
    PropertyList pattern = PropertyList::array();
    for (float length : lengths)
        pattern.append(PropertyList::fromFloat(length));
    PropertyList entry = PropertyList::dictionary();
    entry.insert(QStringLiteral("phase"), PropertyList::fromFloat(0));
    entry.insert(QStringLiteral("pattern"), pattern);
    return entry;
}

const PropertyList &builtInDashPatterns()
{
    static const PropertyList list = [] {
        PropertyList l = PropertyList::array();
        l.append(builtInEntry({1, 1}));
        l.append(builtInEntry({3, 3}));
        l.append(builtInEntry({6, 3}));
        l.append(builtInEntry({2, 2, 6, 2}));
        l.append(builtInEntry({6, 2, 2, 2}));
        l.append(builtInEntry({2, 2, 2, 2, 6, 2}));
        l.append(builtInEntry({6, 2, 2, 2, 2, 2}));
        l.append(builtInEntry({6, 2, 6, 2, 2, 2}));
        l.append(builtInEntry({6, 1, 4, 1, 2, 2}));
        l.append(builtInEntry({5, 1, 4, 1, 3, 1, 2, 1, 1, 1, 2, 1, 3, 1, 4, 1}));
        return l;
    }();
    return list;
}

void rotateAbout(BezierPath &path, Point centre, double degrees)
{
    AffineTransform t;
    t.translateXBy(centre.x, centre.y);
    t.rotateByDegrees(degrees);
    t.translateXBy(-centre.x, -centre.y);
    path.transformUsingAffineTransform(t);
}

} // namespace

PropertyList availableDashPatterns(const UserDefaults &defaults)
{
    PropertyList list = builtInDashPatterns();
    for (const PropertyList &entry : defaults.arrayForKey(QStringLiteral("dashPatterns")).elements())
        list.append(entry);
    return list;
}

PropertyList availableDashPatterns()
{
    return availableDashPatterns(UserDefaults::standardUserDefaults());
}

std::optional<PropertyList> setDashPatternForThickness(BezierPath &path, int dashNumber, float thickness,
                                                        const UserDefaults &defaults)
{
    // Numbers below 1 are solid: a damaged file must not index before the list.
    if (dashNumber < 1)
        return std::nullopt;
    const PropertyList list = availableDashPatterns(defaults);
    if (dashNumber - 1 >= list.count())
        return std::nullopt;
    const PropertyList entry = list.at(dashNumber - 1);
    if (double(thickness) < 0.1)
        thickness = 0.1f;
    if (!setDashPatternWithPhaseForThickness(path, entry.value(QStringLiteral("pattern")),
                                             entry.value(QStringLiteral("phase")).floatValue(), thickness))
        return std::nullopt;
    return entry;
}

std::optional<PropertyList> setDashPatternForThickness(BezierPath &path, int dashNumber, float thickness)
{
    return setDashPatternForThickness(path, dashNumber, thickness, UserDefaults::standardUserDefaults());
}

bool setDashPatternWithPhaseForThickness(BezierPath &path, const PropertyList &pattern, float phase, float thickness)
{
    if (pattern.count() == 0)
        return false;
    std::vector<float> lengths;
    lengths.reserve(size_t(pattern.count()));
    float sum = 0;
    for (const PropertyList &element : pattern.elements()) {
        const float length = element.floatValue() * thickness;
        // User patterns come from a file: a negative, infinite or all-zero pattern would
        // stall or break the stroker, so such a pattern is not used.
        if (!std::isfinite(length) || length < 0)
            return false;
        lengths.push_back(length);
        sum += length;
    }
    if (!(sum > 0) || !std::isfinite(phase))
        return false;
    path.setLineDash(lengths.data(), int(lengths.size()), phase);
    return true;
}

BezierPath addArrowOfLength(const BezierPath &path, double length, double angle)
{
    const Point tip = firstPoint(path);
    BezierPath outward = bezierPathByTrimmingToLength(path, length);
    BezierPath inward = outward.bezierPathByReversingPath();
    rotateAbout(outward, tip, angle);
    rotateAbout(inward, tip, -angle);
    appendBezierPathRemovingInitialMove(inward, outward);
    return inward;
}
