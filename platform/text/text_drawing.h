// Measuring and drawing whole attributed strings on one line (a layout without width limit).
#pragma once

#include "platform/geometry/geometry.h"
#include "platform/text/attributed_string.h"

// The size the text takes when laid out without a width limit and without padding.
Size attributedStringSize(const AttributedString &text);
// Draws the text into the current graphics context with the top left corner of its first
// line at point (y growing downwards).
void drawAttributedStringAtPoint(const AttributedString &text, Point point);
