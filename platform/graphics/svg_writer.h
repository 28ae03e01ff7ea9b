// Turns recorded drawing (see recording_paint_device.h) into a standalone SVG 1.1 document.
//
// Every recorded draw becomes one element in the recording's device coordinates (one unit
// is one point): paths keep their fill rule, solid colours, linear and radial gradients and
// pens (width, cap, join, miter limit, dashes); images are embedded as PNG data; the
// painter's transform becomes the element's transform and its clip a clip path; opacity
// multiplies the fill and stroke opacities as the painter's does. Glyph runs whose characters
// the drawing code told (see GlyphRunCharacters) stay text, each character at its glyph's
// position in the run's font family, size, weight and style, so the text can be searched and
// edited; other text, and all of it when asked, comes out as glyph outlines. Other brushes (textures) fill with their colour; composition modes
// other than normal painting are not carried.
#pragma once

#include <QByteArray>
#include <QSizeF>

#include <vector>

struct RecordedDraw;

// The SVG document of `size` points holding the draws in order.
QByteArray svgDocumentFromDraws(const std::vector<RecordedDraw> &draws, QSizeF size, bool textAsText = true);
