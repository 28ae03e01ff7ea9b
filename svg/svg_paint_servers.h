// Fills as the document can draw them: the gradients its own kinds hold exactly stay
// gradients of the path object; every other gradient (user-space geometry, a gradient
// transform, reflected or repeated spread, focal points, hard edges) and every pattern is
// drawn into an image clipped to the outline, so that nothing shows a different fill than the
// file asks for.
#pragma once

#include "svg/svg_object_info.h"

#include <vector>

// Appends the infos that draw the path info: itself when its fill is a colour or a gradient
// the document holds; a one-stop gradient as that stop's colour; otherwise an image of the
// fill (a pattern's tiles drawn from its content's shapes, images and fills, nested patterns
// included) clipped to the outline, followed by the path with its stroke alone.
void svgAppendFilledPath(SvgObjectInfo &&info, std::vector<SvgObjectInfo> &out);

// Pixels per point of the images that stand for fills.
inline constexpr double SvgFillImageScale = 2;
// The most pixels one such image holds; a larger fill is drawn at a lower resolution.
inline constexpr double SvgFillImageMaximumPixels = 4.0e6;
