// Square icon images and the glossy ball.
#include "toolkit/image_functions.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The rectangle of a w x h picture fitted into a square of side s (the longer side fills
// it) and centred.
QRectF fittedInSquare(float w, float h, float s)
{
    if (!(w > 0 && h > 0))
        return QRectF(0, 0, s, s);
    const double scale = s / std::max(w, h);
    const double fw = w * scale, fh = h * scale;
    return QRectF((s - fw) / 2, (s - fh) / 2, fw, fh);
}

int iconSideFor(int largerPixelSide)
{
    for (int side : {512, 256, 128, 32})
        if (largerPixelSide >= side)
            return side;
    return 16;
}

// One square bitmap of side pixels holding the representation fitted and centred.
BitmapRep squareBitmap(const ImageRep &rep, float side)
{
    const QRectF target = fittedInSquare(rep.pixelsWide(), rep.pixelsHigh(), side);
    const Image drawn = Image::imageByDrawing(Size{side, side}, [&](QPainter &p) { rep.drawInRect(p, target); });
    return drawn.bitmap();
}

} // namespace

Image squareImageInSize(const Image &image, float side, bool exclusive)
{
    const std::optional<ImageRep> largest = getLargestRep(image);
    const int whole = int(side);
    if (largest && largest->pixelsWide() == whole && largest->pixelsHigh() == whole
        && image.size() == Size{side, side})
        return image;

    Image result(Size{side, side});
    if (largest) {
        result.addRepresentation(ImageRep(squareBitmap(*largest, side)));
        if (!exclusive) {
            for (const ImageRep &rep : image.representations()) {
                if (rep.pixelsWide() == largest->pixelsWide() && rep.pixelsHigh() == largest->pixelsHigh())
                    continue;
                const int t = iconSideFor(std::max(rep.pixelsWide(), rep.pixelsHigh()));
                result.addRepresentation(ImageRep(squareBitmap(rep, float(t))));
            }
        }
    }
    if (!result.isValid()) {
        const Size s = image.size();
        result = Image::imageByDrawing(Size{side, side},
                                       [&](QPainter &p) { image.drawInRect(p, fittedInSquare(s.width, s.height, side)); });
    }
    return result;
}

Image aquaBallInSize(float size, const Color &color)
{
    const int n = int(std::lround(size));
    if (n < 1)
        return {};
    const double r = (n - 1) * 0.5;
    const double gloss = n < 20 ? 0.8 : n >= 60 ? 2.0 : (n - 20) / 40.0 * 1.2 + 0.8;

    // Body: a glow rising from the bottom centre (rows from the top).
    QImage body(n, n, QImage::Format_RGBA8888);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double d = 2 * std::hypot(r - x, n - 4 - y) / std::max(n - 4, 1) - 0.8;
            const int grey = int(std::lround(255 - 245 * std::clamp(d, 0.0, 1.0)));
            body.setPixel(x, y, qRgba(grey, grey, grey, 255));
        }

    // Highlight: white in an ellipse over the upper half (vertical semi-axis 0.55 r,
    // horizontal 1.5 times that, centred halfway between the top and the centre), full
    // inside 0.22 of its radius, falling off with the exponent 0.7, at half strength, and
    // fading out over the 4 pixels nearest the rim.
    QImage highlight(n, n, QImage::Format_RGBA8888);
    const double b = std::max(0.55 * r, 0.5), a = 1.5 * b;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double d = std::hypot((x - r) / a, (y - 0.5 * r) / b);
            double strength = std::pow(std::clamp((1 - d) / (1 - 0.22), 0.0, 1.0), 0.7) * 0.5;
            strength *= std::clamp((r - std::hypot(x - r, y - r)) / 4.0, 0.0, 1.0);
            highlight.setPixel(x, y, qRgba(255, 255, 255, int(std::lround(strength * 255))));
        }

    const Image bodyImage(body);
    const Image tinted = colorWith(bodyImage, color, 0);
    const std::optional<Color> shade = color.shadowWithLevel(0.5f);
    const Image shaded = shade ? colorWith(bodyImage, *shade, 0) : Image();
    const Image highlightImage(highlight);
    const QRectF all(0, 0, n, n);
    return Image::imageByDrawing(Size{float(n), float(n)}, [&](QPainter &p) {
        QPainterPath oval;
        oval.addEllipse(all);
        p.setClipPath(oval);
        tinted.drawInRect(p, all, {}, QPainter::CompositionMode_SourceOver, 0.9f);
        // The shade, upside down: dark at the top where the glow is weakest.
        p.save();
        p.translate(0, n);
        p.scale(1, -1);
        shaded.drawInRect(p, all, {}, QPainter::CompositionMode_SourceOver, 0.3f);
        p.restore();
        highlightImage.drawInRect(p, all, {}, QPainter::CompositionMode_SourceOver, 0.95f);
        if (gloss > 1.0 && shade) {
            p.setClipping(false);
            float red, green, blue, alpha;
            shade->getRed(&red, &green, &blue, &alpha);
            p.setPen(QPen(QColor::fromRgbF(red, green, blue, alpha), 1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(oval);
            p.drawEllipse(QRectF(0.5, 0, n - 1, n - 1));
        }
    });
}
