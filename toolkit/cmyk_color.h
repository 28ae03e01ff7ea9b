// CMYK output colours, RGB conversion and colour comparison for the drawing objects.
//
// When a document draws for CMYK output its colours are handed out through cmykColor:
// CMYK colours stay as they are, greys become black ink only, white no ink, RGB black all
// four inks (rich black), and nearly transparent colours nothing. rgbColor goes the other
// way for colour wells, shadows and gradient stops; colours without a direct conversion
// (patterns) take the colour of a small painted swatch.
#pragma once

#include "platform/color/color.h"

#include <QImage>

#include <optional>

// A fill or stroke colour whose alpha is at most this is switched off; cmykColor empties
// RGB colours whose alpha is below it.
inline constexpr double ColorAlphaThreshold = 0.09;

// The colour in device CMYK, or the colour itself when it already is CMYK.
Color cmykColor(const Color &color);
// The colour in calibrated RGB: converted, else the colour of a 5 x 5 swatch filled with it
// at pixel (3, 3) counted from the lower left, else opaque black.
Color rgbColor(const Color &color);
bool isCalibratedRGB(const Color &color);
// Device RGB, white and black colours as their calibrated counterparts; others unchanged.
Color calibratedColorIfPossible(const Color &color);

// A colour as output devices take it: RGB or CMYK components and alpha.
struct DeviceColor {
    enum class Model { RGB, CMYK };
    Model model = Model::RGB;
    float components[4] = {0, 0, 0, 0};  // red, green, blue (unused 4th) or cyan, magenta, yellow, black
    float alpha = 1;

    friend bool operator==(const DeviceColor &a, const DeviceColor &b)
    {
        return a.model == b.model && a.alpha == b.alpha && a.components[0] == b.components[0]
            && a.components[1] == b.components[1] && a.components[2] == b.components[2]
            && a.components[3] == b.components[3];
    }
};
// CMYK for device-CMYK colours and 5-component custom colours (nothing when such a colour
// cannot be converted to CMYK), RGB for everything else.
std::optional<DeviceColor> convertColorToDeviceColor(const Color &color);

// Equal colour-space names and alphas, then equal device colours; when a device colour
// cannot be made, the components the common space has (names for named colours, the
// image's identity for patterns). All comparisons are exact.
bool isEqualToColor(const Color &a, const Color &b);

// A 256 x 256 image filled with the colour.
QImage colorToTexture(const Color &color);
// An image of the given image's size filled with the colour where the image is opaque
// (the colour is kept with the image's alpha).
QImage colorClip(const Color &color, const QImage &image);
