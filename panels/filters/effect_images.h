// The image routines beside the image filter panel that use none of its state: the light
// effect images the inspector turns into image objects, the grey mapping and the soft
// frames of an image.
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

#include <QImage>

// Effect 0 star shine (val1 radius, val2 cross scale, val3 cross angle, val4 cross width),
// 1 sunbeams (sun radius, longest striation, striation strength and contrast), 2 lenticular
// halo (halo radius, width, overlap, striation strength), centred in a 300-pixel square
// drawn into `size` and trimmed to what shows; null for another effect.
QImage generateCIFilterImage(int effect, Size size, const Color &color, float val1, float val2, float val3, float val4);

// A grey copy: black stays black, a luminance of 0.2 becomes mid grey, white stays white.
QImage getGrayscaleImageOf(const QImage &image);

// A frame to lay over the image: clear inside, the image's own pixels growing opaque across
// a band towards the edges, and beyond the band white (clear for an image with alpha).
// Shape 0 a rectangular band, 1 a band with round corners, 2 an oval; `ratio` sets the
// band's share of the image. Null for a null image.
QImage makeFrameFor(const QImage &image, int shape, float ratio);
// The transparency (0 opaque to 255 clear) of the frame's pixel (x, y) counted from the
// bottom row, for the inner size, band width and the share where the fall-off starts.
int transpAtX(int x, int y, int shape, Size innerSize, float width, float radius);
