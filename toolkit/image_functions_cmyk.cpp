// CMYK versions of images: per pixel through cmykColor, colour-managed, and by formula.
#include "toolkit/image_functions.h"
#include "toolkit/image_functions_private.h"

#include "platform/image/generic_cmyk.h"
#include "toolkit/cmyk_color.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

unsigned byteOf(float v)
{
    return unsigned(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

} // namespace

Image imageInCMYKcolorspace(const Image &image, bool noAlpha)
{
    const BitmapRep bitmap = image.bitmap();
    if (bitmap.isNull())
        return {};
    if (bitmap.isCMYK())
        return image;
    if (bitmap.hasAlpha() && !noAlpha)
        return imageInCMYKA(image);
    return imageInCMYKnoAlpha(image);
}

Image imageInCMYKA(const Image &image)
{
    const BitmapRep source = image.bitmap();
    if (source.isNull() || !source.hasAlpha())
        return {};
    BitmapRep cmyk = BitmapRep::cmykBitmap(source.pixelsWide(), source.pixelsHigh(), true);
    cmyk.setSize(source.size());
    // Images repeat few colours; each distinct pixel goes through cmykColor once.
    QHash<quint64, std::array<unsigned, 5>> converted;
    for (int y = 0; y < source.pixelsHigh(); ++y) {
        for (int x = 0; x < source.pixelsWide(); ++x) {
            unsigned int s[4] = {0, 0, 0, 0};
            source.getPixel(s, x, y);
            const quint64 key = quint64(s[0]) | quint64(s[1]) << 8 | quint64(s[2]) << 16 | quint64(s[3]) << 24;
            auto found = converted.constFind(key);
            if (found == converted.constEnd()) {
                float c, m, yellow, k, a;
                cmykColor(pixelColor(source, x, y)).getCyan(&c, &m, &yellow, &k, &a);
                found = converted.insert(key, {byteOf(c), byteOf(m), byteOf(yellow), byteOf(k), byteOf(a)});
            }
            cmyk.setPixel(found->data(), x, y);
        }
    }
    Image result(image.size());
    result.addRepresentation(ImageRep(cmyk));
    return result;
}

Image imageInCMYKnoAlpha(const Image &image)
{
    const BitmapRep bitmap = image.bitmap();
    if (bitmap.isNull())
        return {};
    Image result = convertBitmapImageRep(bitmap, *ColorSpace::genericCMYKColorSpace());
    result.setSize(image.size());
    return result;
}

Image convertBitmapImageRep(const BitmapRep &bitmap, const ColorSpace &space)
{
    if (bitmap.isNull())
        return {};
    switch (space.colorSpaceModel()) {
    case ColorSpaceModel::CMYK:
        return Image(convertToGenericCMYK(bitmap));
    case ColorSpaceModel::RGB: {
        BitmapRep rgb(bitmap.toQImage().convertToFormat(QImage::Format_RGB888));
        rgb.setSize(bitmap.size());
        return Image(rgb);
    }
    case ColorSpaceModel::Gray: {
        BitmapRep grey(bitmap.toQImage().convertToFormat(QImage::Format_Grayscale8));
        grey.setSize(bitmap.size());
        return Image(grey);
    }
    default:
        return {};
    }
}

Image imageInCMYKcolorspaceWithAlpha(const Image &image)
{
    float resolution = 72;
    const BitmapRep source = createDefaultResolutionImage(image, &resolution).bitmap();
    if (source.isNull())
        return {};
    const QImage rgba = straightRgba(source);
    BitmapRep cmyk = BitmapRep::cmykBitmap(rgba.width(), rgba.height(), true);
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar *p = rgba.constScanLine(y);
        uchar *out = cmyk.bitmapData() + qsizetype(y) * cmyk.bytesPerRow();
        for (int x = 0; x < rgba.width(); ++x, p += 4, out += 5) {
            const int c = 255 - p[0], m = 255 - p[1], yellow = 255 - p[2];
            const int k = std::min({c, m, yellow});
            auto ink = [k](int v) { return k == 255 ? 255 : int(std::lround(double(v - k) / (255 - k) * 255)); };
            out[0] = uchar(ink(c));
            out[1] = uchar(ink(m));
            out[2] = uchar(ink(yellow));
            out[3] = uchar(k);
            out[4] = source.hasAlpha() ? p[3] : 255;
        }
    }
    cmyk.setSize(image.size());
    Image result(image.size());
    result.addRepresentation(ImageRep(cmyk));
    return result;
}
