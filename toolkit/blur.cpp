// The blurred image and the soft round spot that the blur and brush line patterns draw with.
#include "toolkit/blur.h"

#include "platform/graphics/color_conversion.h"
#include "platform/graphics/image_blur.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int minExtent = 1;
constexpr int maxExtent = 100000;

bool extentAllowed(qint64 w, qint64 h)
{
    return w >= minExtent && h >= minExtent && w <= maxExtent && h <= maxExtent;
}

// Fall-off of the spot at the distance r (in units of the gradient radius): a Gaussian
// with a third of the radius as its standard deviation, lowered so that it reaches 0 at
// the radius itself.
float spotWeight(float r)
{
    static const float atRadius = std::exp(-4.5f);
    if (r >= 1)
        return 0;
    return (std::exp(-4.5f * r * r) - atRadius) / (1 - atRadius);
}

} // namespace

float gaussianblurRadius(float size, float factor)
{
    factor = std::isnan(factor) ? 0.1f : std::clamp(factor, 0.1f, 1.0f);
    const float radius = size * 0.25f * factor;
    return std::isnan(radius) ? 0.1f : std::clamp(radius, 0.1f, 100.0f);
}

int gaussianblurMargin(float size, float factor)
{
    return blurMarginFor(gaussianblurRadius(size, factor));
}

QImage gaussianblur(const QImage &image, float size, float factor)
{
    if (image.isNull())
        return QImage();
    const float radius = gaussianblurRadius(size, factor);
    const int margin = blurMarginFor(radius);
    const qint64 w = qint64(image.width()) + 2 * margin, h = qint64(image.height()) + 2 * margin;
    if (!extentAllowed(w, h))
        return QImage();
    QImage out(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return out;
    out.fill(Qt::transparent);
    {
        QPainter p(&out);
        p.drawImage(QRectF(margin, margin, image.width(), image.height()), image, QRectF(image.rect()));
    }
    blurImage(out, radius);
    return out;
}

float blurCircleRadius(float diameter)
{
    return std::min(diameter * 0.75f, 800.0f);
}

QImage blurCircle(const QImage &, const Color &color, float diameter)
{
    const float radius = blurCircleRadius(diameter);
    if (!(radius > 0))
        return QImage();
    const double extent = std::ceil(2.0 * radius);
    if (!extentAllowed(qint64(extent), qint64(extent)))
        return QImage();
    const int side = int(extent);
    const auto rgb = color.colorUsingColorSpaceName(CalibratedRGBColorSpace);
    const QRgb base = rgb ? toQColor(*rgb).rgba() : qRgba(0, 0, 0, 255);

    QImage spot(side, side, QImage::Format_ARGB32_Premultiplied);
    if (spot.isNull())
        return spot;
    const float centre = float(side) / 2;
    for (int y = 0; y < spot.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(spot.scanLine(y));
        for (int x = 0; x < spot.width(); ++x) {
            const float r = std::hypot(x + 0.5f - centre, y + 0.5f - centre) / radius;
            const float w = spotWeight(r);
            const int a = int(std::lround(qAlpha(base) * w));
            line[x] = qPremultiply(qRgba(qRed(base), qGreen(base), qBlue(base), a));
        }
    }
    return spot;
}

Image gaussianblur(const Image &image, float size, float factor)
{
    const QImage blurred = image.isValid() ? gaussianblur(image.toQImage(), size, factor) : QImage();
    return blurred.isNull() ? Image() : Image(blurred);
}

Image blurCircle(const Image &, const Color &color, float diameter)
{
    const QImage spot = blurCircle(QImage(), color, diameter);
    return spot.isNull() ? Image() : Image(spot);
}
