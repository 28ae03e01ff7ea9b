// Marker copies at the vertices of paths, polylines and polygons.
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"
#include "svg/svg_shapes.h"

#include "platform/foundation/c_locale.h"

#include <cmath>

namespace {

// Marker content may itself carry markers; copies stop at this depth (a marker that names
// itself would otherwise never end).
constexpr int MaximumMarkerDepth = 4;

} // namespace

std::vector<SvgObjectInfo> markerPaths(const SvgGraphicsState &state, const std::vector<Point> &vertices)
{
    std::vector<SvgObjectInfo> result;
    if (state.markers.empty() || vertices.empty())
        return result;
    SvgImportTables &tables = *state.tables;
    if (tables.markerDepth >= MaximumMarkerDepth)
        return result;
    ++tables.markerDepth;

    SvgGraphicsState child = state;
    child.markers.clear();
    const float strokeWidth = state.strokeWidth;
    const int n = int(vertices.size());

    for (const SvgMarkerReference &reference : state.markers) {
        SvgDefinition &marker = *reference.marker;
        if (!marker.state)
            continue;
        int first = 0, last = -1;
        if (reference.property == u"marker-start") {
            first = last = 0;
        } else if (reference.property == u"marker-mid") {
            if (n > 2) {
                first = 1;
                last = n - 2;
            }
        } else if (reference.property == u"marker-end") {
            first = last = n - 1;
        }
        const bool userSpace = marker.markerUnits == u"userSpaceOnUse";
        const double strokeScale = userSpace ? 1 : strokeWidth;
        // The view box fills the marker's viewport, scaled alike both ways ("meet") unless
        // preserveAspectRatio is "none"; the reference point lands on the vertex, so the
        // alignment only moves the viewport, which clips the content unless overflow shows it.
        const Rect &vb = marker.markerViewBox;
        const bool hasViewBox = vb.size.width > 0 && vb.size.height > 0;
        double sx = 1, sy = 1, clipX = 0, clipY = 0;
        if (hasViewBox) {
            sx = marker.markerWidth / vb.size.width;
            sy = marker.markerHeight / vb.size.height;
            if (!marker.markerStretches)
                sx = sy = std::min(sx, sy);
            clipX = vb.origin.x - (marker.markerWidth - vb.size.width * sx) / 2 / sx;
            clipY = vb.origin.y - (marker.markerHeight - vb.size.height * sy) / 2 / sy;
        }
        const bool reverseStart = marker.markerOrient == u"auto-start-reverse";
        const bool automatic = marker.markerOrient == u"auto" || reverseStart;
        for (int k = first; k <= last; ++k) {
            const Point p = vertices[size_t(k)];
            double angle = 0;
            if (automatic && n > 1) {
                // The bisector of the directions in and out of the vertex; at the ends the one
                // segment's direction (the start's turned round for auto-start-reverse).
                const Point a = vertices[size_t(std::max(0, k - 1))], b = vertices[size_t(k == 0 ? 1 : k)];
                const Point c = vertices[size_t(k == n - 1 ? k - 1 : k)], d = vertices[size_t(std::min(n - 1, k + 1))];
                const double in = std::atan2(b.y - a.y, b.x - a.x), out = std::atan2(d.y - c.y, d.x - c.x);
                angle = std::atan2(std::sin(in) + std::sin(out), std::cos(in) + std::cos(out)) * 180 / M_PI;
                if (k == 0 && reverseStart && reference.property != u"marker-mid")
                    angle += 180;
            } else if (!automatic) {
                angle = svgLeadingDouble(marker.markerOrient);
                if (marker.markerOrient.contains(u"rad"))
                    angle *= 180 / M_PI;
                else if (marker.markerOrient.contains(u"grad"))
                    angle *= 0.9;
                else if (marker.markerOrient.contains(u"turn"))
                    angle *= 360;
            }
            const QString placement = formatC("translate(%.9g %.9g) rotate(%.9g) scale(%.9g %.9g) translate(%.9g %.9g)",
                                              double(p.x), double(p.y), angle, strokeScale * sx, strokeScale * sy,
                                              -double(marker.markerRefX), -double(marker.markerRefY));
            SvgGraphicsState &markerState = *marker.state;
            markerState.resetTransform();
            markerState.ctm = child.ctm;
            markerState.scaleX = child.scaleX;
            markerState.scaleY = child.scaleY;
            markerState.rotate = child.rotate;
            markerState = svgTransform(placement, markerState);
            markerState.clipped = false;
            markerState.boundingBoxClips.clear();
            if (!marker.markerOverflows) {
                const SvgAttributes rect = {{"x", formatC("%.9g", clipX)},
                                            {"y", formatC("%.9g", clipY)},
                                            {"width", formatC("%.9g", marker.markerWidth / sx)},
                                            {"height", formatC("%.9g", marker.markerHeight / sy)}};
                SvgObjectInfo clip;
                polygonElement(rect, markerState, QStringLiteral("rect"), clip);
                markerState.clipPath = clip.bezierPath;
                markerState.clipPathRule = 0;
                markerState.clipped = !clip.bezierPath.isEmpty();
            }
            for (xmlNode *element : marker.elements) {
                SvgObjectInfo info = elementToObjInfo(svgQualifiedName(element), svgAttributes(element), markerState);
                if (!info.isEmpty())
                    result.push_back(std::move(info));
            }
        }
    }
    --tables.markerDepth;
    return result;
}
