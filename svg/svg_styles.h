// Styling of the SVG importer: presentation properties (`xmlStyle`), declaration blocks
// (`cssStyle`) and the selector search over the style rules (`classSearch`). Each applies
// what it reads to the element's state directly, in the order the handlers call them, so a
// later value replaces an earlier one; unknown properties and unreadable values change nothing.
#pragma once

#include "svg/svg_graphics_state.h"

#include <QString>

// One presentation property.
void xmlStyle(const QString &name, const QString &value, SvgGraphicsState &state);
// A declaration block ("fill: red; stroke: blue").
void cssStyle(const QString &declarations, SvgGraphicsState &state);
// Applies the first style rule whose selector matches (value, name) and answers whether one
// did. Value absent (null) and name the element's name: type selectors; value and name of an
// attribute: attribute selectors; the value of "class" or "id" and the element's name:
// class and id selectors.
bool classSearch(const QString &value, const QString &name, SvgGraphicsState &state);
