// Gaussian blur of premultiplied images by three box blurs, in time independent of the radius.
//
// Three successive box blurs whose widths are chosen from the standard deviation approach
// a Gaussian closely (the central-limit construction); each box pass keeps a running sum
// along a row or column, so the cost is a fixed number of operations per pixel whatever
// the radius. Pixels outside the image count as transparent: callers that want the blur to
// spread beyond the source give the image a margin first (blurMarginFor).
#pragma once

#include <QImage>

// The margin a blur of standard deviation `sigma` spreads into: ceil(3 sigma).
int blurMarginFor(float sigma);

// Blurs `image` (converted to premultiplied ARGB32 when it is in another format) in place.
// With `alphaOnly` only the alpha channel is blurred and the colour channels are left as
// they are (for shadow masks). Standard deviations below 0.5 leave the image unchanged.
void blurImage(QImage &image, float sigma, bool alphaOnly = false);
