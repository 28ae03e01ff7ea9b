// Text turned into the outlines of its glyphs, for the text-to-path conversion.
#pragma once

#include "platform/geometry/bezier_path.h"
#include "platform/text/attributed_string.h"

// The glyph outlines of the characters in `range`, one line per line break of the text
// (line feed, carriage return, CR LF, U+2028, U+2029); the layout's own wrapping is not
// used. Each line is shaped on its own, so every glyph keeps its own character's font (or
// the fallback face that covers it) and combined characters, ligatures and surrogate pairs
// never shift a line break or a font run. A line starts at x 0; the next one lies lower by
// the height of its first glyph's box rounded up plus 5 (the font's box height, rounded
// up, for a glyph without a box), once per line break so empty lines keep their place.
// y grows downwards. The path is moved so that its control-point bounds begin at
// (0.5, 0.5); an empty path when the range has no glyph with an outline.
BezierPath bezierPathWithText(const AttributedString &text, TextRange range);
