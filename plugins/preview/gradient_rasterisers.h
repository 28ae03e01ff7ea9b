// The preview plug-in's gradients: multi-colour gradients built from one-pixel stripes,
// rays and rings stroked in stepped colours, on a size that holds the rotated object and
// cut back to it. Types: 1 linear, 2 rectangular rings, 3 round rings, 4 oval, 5 sweep.
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

#include <QImage>

#include <vector>

namespace previewgradients {

// The side of the largest image a gradient is built on; larger objects are built smaller
// and scaled up, so that no file can ask for an image of any size.
inline constexpr float maximumRasterSide = 4096;

// The size itself for angle 0, else the square whose side is the larger side of the
// rectangle {0, 0, w, h} turned by the angle.
Size largestDestinationSizeOf(Size size, float angle);
// The middle of `gradient`, turned back by the angle, in an image of `size`.
QImage extract(Size size, const QImage &gradient, float angle);

QImage drawLinealGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                        float angle);
QImage drawRadialGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                        float angle);
QImage drawOvalGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                      float angle);
QImage drawCircularGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                          int edges, float angle);

// The gradient of `type` (table above) in an image of `size`; null for a size under 1, fewer
// than two colours or another type.
QImage gradientImage(int type, Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                     float angle);

} // namespace previewgradients
