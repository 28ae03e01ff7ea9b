// The image functions the image object uses, reached through a file of their own: the
// toolkit's image_functions.h and the event flags of model/services/event_source.h both
// declare ShiftKeyMask, so no file can include both.
#pragma once

#include "platform/color/color.h"
#include "platform/image/image.h"

// Rotated by whole degrees, then skewed, about its centre.
Image imageRotatedAndSkewed(const Image &image, int degrees, float skewX, float skewY);
// Tinted with the colour, without modifier flags.
Image imageTintedWith(const Image &image, const Color &color);
// The CMYK version, keeping alpha.
Image imageInCMYK(const Image &image);
