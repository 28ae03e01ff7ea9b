// Marker copies at the vertices of paths, polylines and polygons.
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"
#include "svg/svg_shapes.h"

#include "platform/foundation/c_locale.h"

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
        const double strokeScale = userSpace || strokeWidth == 0 ? 1 : strokeWidth;
        // A marker without a usable view box (none given, or a negative size) is not scaled
        // by it.
        double sx = 1, sy = 1;
        if (!userSpace) {
            if (marker.markerViewBox.size.width > 0)
                sx = marker.markerWidth / marker.markerViewBox.size.width;
            if (marker.markerViewBox.size.height > 0)
                sy = marker.markerHeight / marker.markerViewBox.size.height;
        }
        for (int k = first; k <= last; ++k) {
            const Point p = vertices[size_t(k)];
            double angle;
            if (marker.markerOrient == u"auto") {
                const int inFrom = k == 0 ? 0 : k - 1, inTo = k == 0 ? std::min(1, n - 1) : k;
                const int outFrom = k == n - 1 ? std::max(0, k - 1) : k, outTo = k == n - 1 ? k : k + 1;
                const Point a = vertices[size_t(inFrom)], b = vertices[size_t(inTo)];
                const Point c = vertices[size_t(outFrom)], d = vertices[size_t(outTo)];
                const double in = atan3(b.y - a.y, b.x - a.x), out = atan3(d.y - c.y, d.x - c.x);
                angle = (in + out) / 2 * 180 * 0.3183098861837907;
            } else {
                angle = svgLeadingDouble(marker.markerOrient);
            }
            const QString placement = formatC("translate=(%g %g) rotate=(%g) scale=(%g %g) translate=(%g %g)",
                                              double(p.x), double(p.y), angle, strokeScale, strokeScale,
                                              -sx * marker.markerRefX, -sy * marker.markerRefY);
            const SvgGraphicsState placed = svgTransform(placement, child);
            SvgGraphicsState &markerState = *marker.state;
            markerState.ctm = placed.ctm;
            markerState.scaleX = placed.scaleX;
            markerState.scaleY = placed.scaleY;
            markerState.translate = placed.translate;
            const SvgGraphicsState scaled = svgTransform(formatC("scale=(%g %g)", sx, sy), markerState);
            markerState.ctm = scaled.ctm;
            markerState.scaleX = scaled.scaleX;
            markerState.scaleY = scaled.scaleY;
            if (marker.markerViewBox.size.width > 0 && marker.markerViewBox.size.height > 0) {
                const Rect &vb = marker.markerViewBox;
                const SvgAttributes rect = {{"x", formatC("%g", double(vb.origin.x))},
                                            {"y", formatC("%g", double(vb.origin.y))},
                                            {"width", formatC("%g", double(vb.size.width))},
                                            {"height", formatC("%g", double(vb.size.height))}};
                SvgObjectInfo clip;
                polygonElement(rect, markerState, QStringLiteral("rect"), clip);
                markerState.clipPath = clip.bezierPath;
                markerState.clipPathRule = 0;
                markerState.clipped = true;
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
