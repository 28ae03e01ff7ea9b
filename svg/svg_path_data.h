// Path data of the SVG importer: the text of a `d` attribute turned into a Bezier path
// already mapped through the element's transform, with the untransformed vertices (for
// markers) and the bounds in the element's own coordinates. Quadratic curves become cubic
// ones; elliptical arcs become cubic segments of at most a quarter turn each.
#pragma once

#include "svg/svg_graphics_state.h"

#include <QStringView>

#include <vector>

struct SvgPathData {
    BezierPath path;
    std::vector<Point> originalPoints;
    Rect objectBounds;
};

// Reads `d` under the state's transform; sets the state's current point to where the path ends.
SvgPathData dToPath(QStringView d, SvgGraphicsState &state);
