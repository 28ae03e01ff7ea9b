// The blurred image and the soft round spot that the blur and brush line patterns draw with.
//
// Both work on premultiplied ARGB images and answer a null image where the platform
// answered nil. The blur is Gaussian with the radius as its standard deviation and spreads
// ceil(3 x radius) pixels beyond the source on every side: the result is that much larger
// than the source, and the source's pixel (0, 0) lands at (margin, margin).
// The spot is a Gaussian fall-off from the colour at its centre to transparent at the
// gradient radius; its image is the square of twice that radius around the centre, the
// smallest extent that holds all of it.
#pragma once

#include "platform/color/color.h"
#include "platform/image/image.h"

#include <QImage>

// The blur radius for a line width and an intensity: size x 0.25 x factor, with the factor
// held to 0.1..1 and the radius to 0.1..100.
float gaussianblurRadius(float size, float factor);
// How far the blurred image reaches beyond its source on every side, in pixels.
int gaussianblurMargin(float size, float factor);
// The image blurred at gaussianblurRadius(size, factor), at its full extent; null for a null
// image or when the result would be below 1 or above 100000 pixels wide or high.
QImage gaussianblur(const QImage &image, float size, float factor);

// The spot's gradient radius: 0.75 x diameter, at most 800.
float blurCircleRadius(float diameter);
// A soft round spot of the colour (opaque black when the colour has no RGB value, as a
// pattern has not) for a brush of the diameter, centred in its image; null when the image
// would be below 1 or above 100000 pixels wide or high. The first argument is not used
// (callers pass a null image); it keeps the argument order of the image functions.
QImage blurCircle(const QImage &unused, const Color &color, float diameter);

// The same for images, drawn at one pixel a point; an invalid image stands for nil.
Image gaussianblur(const Image &image, float size, float factor);
Image blurCircle(const Image &unused, const Color &color, float diameter);
