// Shared pixel helpers of the image functions, and the lookups of representations.
#include "toolkit/image_functions.h"
#include "toolkit/image_functions_private.h"

#include "toolkit/cmyk_color.h"

#include <algorithm>
#include <cmath>

QImage straightRgba(const BitmapRep &bitmap)
{
    return bitmap.toQImage().convertToFormat(QImage::Format_RGBA8888);
}

Color pixelColor(const BitmapRep &bitmap, int x, int y)
{
    unsigned int s[5] = {0, 0, 0, 0, 0};
    bitmap.getPixel(s, x, y);
    auto f = [](unsigned v) { return float(v) / 255.0f; };
    if (bitmap.isCMYK())
        return Color::colorWithDeviceCyan(f(s[0]), f(s[1]), f(s[2]), f(s[3]), bitmap.hasAlpha() ? f(s[4]) : 1.0f);
    if (bitmap.samplesPerPixel() == 1)
        return Color::colorWithDeviceWhite(f(s[0]));
    if (!bitmap.hasAlpha())
        return Color::colorWithDeviceRed(f(s[0]), f(s[1]), f(s[2]));
    const float alpha = f(s[3]);
    if (bitmap.isAlphaPremultiplied() && alpha > 0)
        return Color::colorWithDeviceRed(std::min(1.0f, f(s[0]) / alpha), std::min(1.0f, f(s[1]) / alpha),
                                         std::min(1.0f, f(s[2]) / alpha), alpha);
    return Color::colorWithDeviceRed(f(s[0]), f(s[1]), f(s[2]), alpha);
}

std::optional<Color> colorAtX(const Image &image, float x, float y, bool cmyk)
{
    const BitmapRep bitmap = image.bitmap();
    const int px = int(std::floor(x));
    const int py = int(std::floor(y));
    if (bitmap.isNull() || px < 0 || py < 0 || px >= bitmap.pixelsWide() || py >= bitmap.pixelsHigh())
        return std::nullopt;
    const Color color = pixelColor(bitmap, px, py);
    return cmyk ? cmykColor(color) : color;
}

std::optional<ImageRep> getLargestRep(const Image &image)
{
    const ImageRep *best = nullptr;
    for (const ImageRep &rep : image.representations())
        if (!best || (rep.pixelsWide() >= best->pixelsWide() && rep.pixelsHigh() >= best->pixelsHigh()))
            best = &rep;
    if (!best)
        return std::nullopt;
    ImageRep copy = *best;
    const Size pixels{float(copy.pixelsWide()), float(copy.pixelsHigh())};
    if (copy.size() != pixels)
        copy.setSize(pixels);
    return copy;
}

Size getMaxRepSize(const Image &image)
{
    Size size;
    for (const ImageRep &rep : image.representations()) {
        size.width = std::max(size.width, float(rep.pixelsWide()));
        size.height = std::max(size.height, float(rep.pixelsHigh()));
    }
    return size;
}

void getBitmapRawPlanes(BitmapRep &bitmap, unsigned char *planes[5])
{
    planes[0] = bitmap.bitmapData();
    for (int i = 1; i < 5; ++i)
        planes[i] = nullptr;
}

bool hasStraightAlphaTransparent(const BitmapRep &bitmap)
{
    return bitmap.hasAlpha() && !bitmap.isAlphaPremultiplied();
}

BitmapAlphaInfo GetAlphaInfoFromBitmapImageRep(const BitmapRep &bitmap)
{
    if (!bitmap.hasAlpha())
        return BitmapAlphaInfo::None;
    return bitmap.isAlphaPremultiplied() ? BitmapAlphaInfo::PremultipliedLast : BitmapAlphaInfo::Last;
}
