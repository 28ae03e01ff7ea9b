// The image object's calls into the toolkit's image functions.
#include "model/vek_obj_image_functions.h"

#include "toolkit/image_functions.h"

Image imageRotatedAndSkewed(const Image &image, int degrees, float skewX, float skewY)
{
    return rotateSkewXSkewY(image, degrees, skewX, skewY);
}

Image imageTintedWith(const Image &image, const Color &color)
{
    return colorWith(image, color, 0);
}

Image imageInCMYK(const Image &image)
{
    return imageInCMYKcolorspace(image, false);
}
