// The canvas's grid: minor lines every `spacing` points and a major line every 4th (for
// centimetres and inches) or 5th line (other units), on pixel centres.
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

class GraphicsContext;

// Draws the grid of `page` starting from `origin` and answers the y of its last horizontal
// line (origin.y when it has none), which the next page takes as its origin so that the
// horizontal lines run on across pages without a break.
float drawGridWithSettingsInRect(GraphicsContext &context, float spacing, const Rect &page, Point origin,
                                 int unitIndex, const Color &minorColor, const Color &majorColor);

// The y of the last horizontal grid line drawGridWithSettingsInRect draws, without drawing.
float lastGridLineY(float spacing, const Rect &page, float originY);
