// Clipping of the SVG importer: the outline a `clipPath` gives where an element uses it, and
// clips met on the way down (nested viewports, groups, the element itself) intersected into
// the one clip the document's clipping path object can hold.
#pragma once

#include "svg/svg_graphics_state.h"
#include "svg/svg_object_info.h"

// The intersection of two clips.
SvgClip svgIntersectedClip(const SvgClip &a, const SvgClip &b);

// Narrows the state's clip by `clip` (the state's clip is `clip` when it had none).
void svgClipStateTo(SvgGraphicsState &state, const SvgClip &clip);

// The outline of a `clipPath` definition used by an element whose user space maps to the page
// by `userToPage`: the union of its children's outlines (each under its own clip-rule and
// clip), cut by the clip path's own clip. In object-bounding-box units the children are laid
// out on `userBox` (the element's box in its user space); nothing without one.
std::optional<SvgClip> svgClipPathOutline(const SvgDefinition &clipPath, const SvgMatrix &userToPage,
                                          const std::optional<Rect> &userBox);

// The clip of an info about to be drawn: the state's clip and its pending bounding-box clips,
// resolved on the info's own box. Nothing when it is not clipped.
std::optional<SvgClip> svgInfoClip(const SvgObjectInfo &info);

// The box in user space of a path info (its outline taken back through its transform).
std::optional<Rect> svgUserBounds(const SvgObjectInfo &info);
