// Colour values turned into Qt's colours and brushes at the moment they are painted.
#pragma once

#include "platform/color/color.h"

#include <QBrush>
#include <QColor>

// The colour as an RGB QColor (CMYK and grey through the colour's own device formulas, named
// colours through their fallback). Pattern colours and colours without an RGB conversion
// give opaque black; paint patterns with toQBrush.
QColor toQColor(const Color &color);
// A solid brush, or for a pattern colour a texture brush of its tile (no brush when the
// pattern has no pixels).
QBrush toQBrush(const Color &color);
