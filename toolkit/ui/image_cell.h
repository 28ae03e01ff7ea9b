// The rectangle an image cell's image covers: the image at its own size, centred in the
// cell's bounds (clipped to them when larger).
#pragma once

#include "platform/geometry/geometry.h"

Rect rectCoveredByImageInBounds(Size imageSize, const Rect &bounds);
