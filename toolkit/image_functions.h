// Operations on images and bitmaps: CMYK versions, tinting, rotating, skewing, flipping,
// resizing, clipping, trimming, scans, square icon images, one-page PDF files and the
// screen resolution.
//
// Every operation leaves its argument unchanged and returns a new value; an invalid
// Image (or a null BitmapRep) stands for "no result". Images are upright and everything
// here works y-down from the top-left corner (docs/architecture.md, "Images"): a rotation
// by d degrees turns the image counter-clockwise as it appears on screen, pixel
// coordinates count from the top-left pixel, clip paths are in the same coordinates as
// the image. Off-screen drawing uses smooth (high-quality) image interpolation.
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/modifier_flags.h"
#include "platform/geometry/bezier_path.h"
#include "platform/image/image.h"

#include <QString>

#include <array>
#include <optional>

// CMYK versions.

// Invalid without a bitmap; a copy when the bitmap is CMYK already; the per-pixel version
// with alpha (imageInCMYKA) when the bitmap has alpha and noAlpha is false; otherwise the
// colour-managed version without alpha (imageInCMYKnoAlpha).
Image imageInCMYKcolorspace(const Image &image, bool noAlpha);
// Each pixel through cmykColor (so pixels with alpha below 0.09 become empty), in a
// CMYK + alpha bitmap of the same pixel size; invalid when the bitmap has no alpha.
Image imageInCMYKA(const Image &image);
// The bitmap converted to the generic CMYK profile (platform/image/generic_cmyk.h),
// laid over white, without alpha.
Image imageInCMYKnoAlpha(const Image &image);
// The bitmap converted to a colour space of the CMYK, RGB or grey model (CMYK through the
// generic CMYK profile); invalid for other models.
Image convertBitmapImageRep(const BitmapRep &bitmap, const ColorSpace &space);
// CMYK + alpha by the plain byte formula: K = 255 - max(R, G, B), C = (255 - R - K) /
// (255 - K) x 255 and so on, rounded; alpha copied. No alpha threshold.
Image imageInCMYKcolorspaceWithAlpha(const Image &image);

// How a bitmap's alpha is stored (always after the colour samples).
enum class BitmapAlphaInfo { None, PremultipliedLast, Last };
BitmapAlphaInfo GetAlphaInfoFromBitmapImageRep(const BitmapRep &bitmap);

// Transforms and copies.

// Rotated by whole degrees (only when above 0: negative angles are left unapplied) and
// then sheared by (skewX, skewY) as skewXBy does, about the image's centre, on a canvas
// the size of the transformed image rectangle's bounds. All three 0: a plain copy.
Image rotateSkewXSkewY(const Image &image, int degrees, float skewX, float skewY);
// Rotated about its centre on a canvas of the rotated rectangle's bounds.
Image rotate(const Image &image, float degrees);
// 1: mirrored left to right; 2: top to bottom; 3: both; anything else: a plain copy.
Image flip(const Image &image, int mode);
// Tinted: grey levels (0.3 R + 0.59 G + 0.11 B) map through black -> the colour's hue at
// full saturation and no brightness, mid grey -> the colour, white -> the hue at no
// saturation and full brightness. With the option flag everything maps to the colour;
// with the shift flag grey pixels (R = G = B) stay as they were. A colour without an RGB
// conversion gives an image of the right size with no representation.
Image colorWith(const Image &image, const Color &color, unsigned modifierFlags);
// Shrunk so that the longer side is side (a portrait image by its height); a plain copy
// when it is no longer than side already or its size would not change.
Image resizeProportionallyTo(const Image &image, float side);
// A copy whose size in points equals its pixel size; *resolution (when given) receives
// the dots per inch the image had: pixels wide / points wide x 72 (72 for a zero width).
Image createDefaultResolutionImage(const Image &image, float *resolution);
// One bitmap: the largest representation (getLargestRep) drawn at its pixel size.
Image largestImageWithOneRep(const Image &image);
// An image of the pixel size of a QImage, holding it.
Image imageFromCGImageRef(const QImage &image);
// The image drawn at (0, 0) through the path moved so that its bounds start at (0, 0),
// in an image of the path's bounds size.
Image ClipImage(const Image &image, const BezierPath &path);

// Scans and lookups.

// planes[0] receives the pixel data (bitmaps are interleaved); planes[1] to [4] null.
void getBitmapRawPlanes(BitmapRep &bitmap, unsigned char *planes[5]);
// True when the bitmap has alpha that is not premultiplied.
bool hasStraightAlphaTransparent(const BitmapRep &bitmap);
// True when every pixel with any alpha is pure black (bitmaps of any layout).
bool isBlackOnly(const BitmapRep &bitmap);
// The fully transparent columns and rows at the edges: left, right, top, bottom. A
// fully transparent bitmap gives (width, 0, height, 0): no visible box at all.
std::array<int, 4> marginLRTB(const BitmapRep &bitmap);
// The bitmap cropped to its visible pixels (alpha above 0.009), keeping one transparent
// row above and below where there is one, and grown towards size (when wider than 1) by
// half the difference on each side that has room. A fully transparent bitmap is returned
// unchanged.
BitmapRep trimToSize(const BitmapRep &bitmap, Size size);
// The colour of the pixel at (x, y) of the image's bitmap, through cmykColor when cmyk is
// set; nothing outside the bitmap.
std::optional<Color> colorAtX(const Image &image, float x, float y, bool cmyk);
// The representation at least as many pixels wide and high as every earlier one (a later
// one wins a tie), with its size in points set to its pixel size; nothing without any.
std::optional<ImageRep> getLargestRep(const Image &image);
// The largest pixel width and height among the representations.
Size getMaxRepSize(const Image &image);

// Files, icons and the screen.

// Writes the image as a one-page PDF of its size in points. The file at path is replaced
// only by a complete new file (a failure leaves it as it was); true when the new file
// was written in full.
bool SaveImageAsPDF(const Image &image, const QString &path);
// A square icon image of side points: the largest representation fitted and centred; a
// copy when it is that size already. Unless exclusive, each other representation adds a
// square one of 512, 256, 128, 32 or 16 pixels (the largest its own size reaches).
Image squareImageInSize(const Image &image, float side, bool exclusive);
// A shaded glossy ball of size x size, tinted with the colour; invalid for a size below 1.
Image aquaBallInSize(float size, const Color &color);
// Pixels per inch of the screen: its width in pixels over the display's physical width;
// 72 where there is no screen or it reports no physical size (offscreen, CI).
float GetCurrentScreenResolution();
// The same computation for given numbers: 72 unless both are positive and finite.
float screenResolution(float widthPixels, float widthMillimetres);
