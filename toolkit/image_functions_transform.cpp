// Transformed and redrawn copies of images: rotation, shear, flips, resizing, clipping,
// tinting, and the copies at pixel size.
#include "toolkit/image_functions.h"
#include "toolkit/image_functions_private.h"

#include "platform/geometry/affine_transform.h"
#include "platform/graphics/path_conversion.h"
#include "toolkit/geometry_extensions.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

QTransform toQTransform(const AffineTransform &t)
{
    return QTransform(t.m11, t.m12, t.m21, t.m22, t.tX, t.tY);
}

// The image drawn through t about its centre, on a canvas of the transformed image
// rectangle's bounds, the centre of the image on the centre of the canvas.
Image drawnTransformed(const Image &image, const AffineTransform &t)
{
    const Size s = image.size();
    const Rect bounds = t.transformBezierPath(BezierPath::bezierPathWithRect(Rect(0, 0, s.width, s.height))).bounds();
    const Size canvas = bounds.size;
    return Image::imageByDrawing(canvas, [&](QPainter &p) {
        p.translate(canvas.width / 2, canvas.height / 2);
        p.setTransform(toQTransform(t), true);
        p.translate(-s.width / 2, -s.height / 2);
        image.drawInRect(p, QRectF(0, 0, s.width, s.height));
    });
}

QRectF fullRect(Size s)
{
    return QRectF(0, 0, s.width, s.height);
}

bool isOneOf(unsigned value, std::initializer_list<unsigned> values)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

float mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

} // namespace

Image rotateSkewXSkewY(const Image &image, int degrees, float skewX, float skewY)
{
    if (degrees == 0 && skewX == 0 && skewY == 0)
        return image;
    // The angle and the shear are meant for a y-up image; in our y-down images the same
    // look is the opposite rotation and the opposite shear.
    AffineTransform t;
    if (degrees > 0)
        t.rotateByDegrees(-degrees);
    if (skewX != 0 || skewY != 0)
        skewXBy(t, -skewX, -skewY);
    return drawnTransformed(image, t);
}

Image rotate(const Image &image, float degrees)
{
    AffineTransform t;
    t.rotateByDegrees(-degrees);
    return drawnTransformed(image, t);
}

Image flip(const Image &image, int mode)
{
    if (mode < 1 || mode > 3)
        return image;
    const Size s = image.size();
    return Image::imageByDrawing(s, [&](QPainter &p) {
        const bool horizontal = mode == 1 || mode == 3;
        const bool vertical = mode == 2 || mode == 3;
        p.translate(horizontal ? s.width : 0, vertical ? s.height : 0);
        p.scale(horizontal ? -1 : 1, vertical ? -1 : 1);
        image.drawInRect(p, fullRect(s));
    });
}

Image resizeProportionallyTo(const Image &image, float side)
{
    const Size s = image.size();
    if (!(s.width > 0 && s.height > 0) || std::max(s.width, s.height) < side)
        return image;
    const Size target = s.height > s.width ? Size{side * s.width / s.height, side}
                                           : Size{side, side * s.height / s.width};
    if (target == s)
        return image;
    return Image::imageByDrawing(target, [&](QPainter &p) { image.drawInRect(p, fullRect(target)); });
}

Image createDefaultResolutionImage(const Image &image, float *resolution)
{
    const BitmapRep bitmap = image.bitmap();
    if (bitmap.isNull())
        return {};
    if (resolution)
        *resolution = image.size().width > 0 ? bitmap.pixelsWide() / image.size().width * 72.0f : 72.0f;
    BitmapRep copy = bitmap;
    copy.setSize(Size{float(bitmap.pixelsWide()), float(bitmap.pixelsHigh())});
    return Image(copy);
}

Image largestImageWithOneRep(const Image &image)
{
    const std::optional<ImageRep> largest = getLargestRep(image);
    if (!largest)
        return {};
    const Size pixels{float(largest->pixelsWide()), float(largest->pixelsHigh())};
    return Image::imageByDrawing(pixels, [&](QPainter &p) { largest->drawInRect(p, fullRect(pixels)); });
}

Image imageFromCGImageRef(const QImage &image)
{
    if (image.isNull())
        return {};
    const Size pixels{float(image.width()), float(image.height())};
    return Image::imageByDrawing(pixels, [&](QPainter &p) { p.drawImage(fullRect(pixels), image); });
}

Image ClipImage(const Image &image, const BezierPath &path)
{
    const Rect bounds = path.bounds();
    if (bounds.isEmpty())
        return {};
    BezierPath moved = path;
    moved.transformUsingAffineTransform(AffineTransform(1, 0, 0, 1, -bounds.minX(), -bounds.minY()));
    const QPainterPath clip = toQPainterPath(moved);
    return Image::imageByDrawing(bounds.size, [&](QPainter &p) {
        p.setClipPath(clip);
        image.drawInRect(p, fullRect(image.size()));
    });
}

Image colorWith(const Image &image, const Color &color, unsigned modifierFlags)
{
    const BitmapRep source = image.bitmap();
    Image result(image.size());
    const std::optional<Color> rgb = color.colorUsingColorSpaceName(CalibratedRGBColorSpace);
    if (!rgb || source.isNull())
        return result;

    float hue, saturation, brightness, alpha;
    rgb->getHue(&hue, &saturation, &brightness, &alpha);
    const bool everything = isOneOf(modifierFlags, {AlternateKeyMask, AlternateKeyMask | 0x20, AlternateKeyMask | 0x120});
    const bool keepGreys = !everything && isOneOf(modifierFlags, {ShiftKeyMask, ShiftKeyMask | 0x2, ShiftKeyMask | 0x102});
    const Color dark = everything ? *rgb : Color::colorWithCalibratedHue(hue, 1, 0, 1);
    const Color light = everything ? *rgb : Color::colorWithCalibratedHue(hue, 0, 1, 1);
    float stops[3][4];
    dark.getRed(&stops[0][0], &stops[0][1], &stops[0][2], &stops[0][3]);
    rgb->getRed(&stops[1][0], &stops[1][1], &stops[1][2], &stops[1][3]);
    light.getRed(&stops[2][0], &stops[2][1], &stops[2][2], &stops[2][3]);

    QImage pixels = straightRgba(source);
    for (int y = 0; y < pixels.height(); ++y) {
        uchar *p = pixels.scanLine(y);
        for (int x = 0; x < pixels.width(); ++x, p += 4) {
            if (keepGreys && p[0] == p[1] && p[1] == p[2])
                continue;
            const float grey = (0.3f * p[0] + 0.59f * p[1] + 0.11f * p[2]) / 255.0f;
            const float *from = grey <= 0.5f ? stops[0] : stops[1];
            const float *to = grey <= 0.5f ? stops[1] : stops[2];
            const float t = grey <= 0.5f ? grey / 0.5f : (grey - 0.5f) / 0.5f;
            for (int i = 0; i < 3; ++i)
                p[i] = uchar(std::lround(std::clamp(mix(from[i], to[i], t), 0.0f, 1.0f) * 255));
            p[3] = uchar(std::lround(p[3] * std::clamp(mix(from[3], to[3], t), 0.0f, 1.0f)));
        }
    }
    BitmapRep tinted(pixels);
    tinted.setSize(source.size());
    result.addRepresentation(ImageRep(tinted));
    return result;
}
