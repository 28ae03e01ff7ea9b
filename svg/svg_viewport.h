// The `svg` and `g` elements of the SVG importer: the viewport with its view box fitted
// under "preserveAspectRatio" (and, for nested `svg` elements, clipped), and groups with
// their style rules, presentation properties and transform.
#pragma once

#include "svg/svg_graphics_state.h"
#include "svg/svg_xml_loader.h"

SvgGraphicsState svgElement(const SvgAttributes &attributes, const SvgGraphicsState &state, bool nested);
SvgGraphicsState gElement(const SvgAttributes &attributes, const SvgGraphicsState &state);
