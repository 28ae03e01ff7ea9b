// Helpers that the image function files share.
#pragma once

#include "platform/color/color.h"
#include "platform/image/bitmap_rep.h"

#include <QImage>

// The bitmap as straight (not premultiplied) RGBA 8-8-8-8, whatever its layout.
QImage straightRgba(const BitmapRep &bitmap);
// The colour of one pixel in the bitmap's own space (device RGB, white or CMYK) with
// its alpha; the caller keeps (x, y) inside the bitmap.
Color pixelColor(const BitmapRep &bitmap, int x, int y);
