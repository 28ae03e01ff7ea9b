// Colour-managed conversion of bitmaps to the generic CMYK space.
//
// The generic CMYK space is Ghostscript's default CMYK profile (Debian package
// libgs-common, /usr/share/color/icc/ghostscript/default_cmyk.icc); sources are taken as
// sRGB. Without the profile the plain device formula is used instead.
#pragma once

#include "platform/image/bitmap_rep.h"

#include <QString>

// The profile file in use, or an empty string when it is missing.
QString genericCMYKProfilePath();

// A CMYK bitmap (4 samples, no alpha) of the same pixel and point size: the bitmap is
// first laid over white, as drawing into an empty CMYK page does, then converted with
// the perceptual intent. A CMYK bitmap is returned unchanged; a null one gives null.
BitmapRep convertToGenericCMYK(const BitmapRep &bitmap);
