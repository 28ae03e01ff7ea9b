// The pixel budget shared by every image decoder and image allocation.
#include "platform/image/pixel_budget.h"

#include <algorithm>
#include <cmath>

namespace PixelBudget {

bool allows(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= maxPixels && height <= maxPixels && width * height <= maxPixels;
}

QString refusal(qint64 width, qint64 height)
{
    return QStringLiteral("the image is too large (%1 x %2 pixels; at most %3 million pixels are read)")
        .arg(width)
        .arg(height)
        .arg(maxPixels / 1000000);
}

QImage allocate(int width, int height, QImage::Format format)
{
    if (!allows(width, height))
        return {};
    QImage image(width, height, format);
    return image.isNull() ? QImage() : image;   // Qt answers a null image when memory runs out
}

QSize fitted(double width, double height)
{
    if (!(width >= 0.5) || !(height >= 0.5))   // also false for NaN
        return {};
    double w = std::min(width, double(maxPixels));
    double h = std::min(height, double(maxPixels));
    if (w * h > double(maxPixels)) {
        const double scale = std::sqrt(double(maxPixels) / (w * h));
        w *= scale;
        h *= scale;
    }
    const auto pixels = [](double v) { return int(std::clamp(std::floor(v + 0.5), 1.0, double(maxPixels))); };
    QSize size(pixels(w), pixels(h));
    while (qint64(size.width()) * size.height() > maxPixels)   // rounding up may overshoot by a row
        size.setHeight(size.height() - 1);
    return size;
}

} // namespace PixelBudget
