#include "panels/filters/effect_images.h"

#include "platform/filters/image_filter.h"
#include "platform/graphics/color_conversion.h"
#include "platform/image/bitmap_rep.h"
#include "toolkit/image_functions.h"

#include <QPainter>
#include <QtDebug>

#include <algorithm>
#include <cmath>

QImage generateCIFilterImage(int effect, Size size, const Color &color, float val1, float val2, float val3, float val4)
{
    static const char *const generators[] = {"CIStarShineGenerator", "CISunbeamsGenerator", "CILenticularHaloGenerator"};
    if (effect < 0 || effect > 2) {
        qWarning("Failed to get a filter.");
        return QImage();
    }
    auto filter = ImageFilter::filterWithName(QString::fromLatin1(generators[effect]));
    const double side = ImageFilter::generatorSide;
    filter->setVector(QStringLiteral("inputCenter"), {side / 2, side / 2});
    const std::optional<Color> rgb = color.colorUsingColorSpaceName(QStringLiteral("NSCalibratedRGBColorSpace"));
    filter->setColor(QStringLiteral("inputColor"), rgb ? toQColor(*rgb) : QColor(255, 255, 255, 255));
    const std::pair<const char *, float> inputs[3][6] = {
        {{"inputRadius", val1}, {"inputCrossScale", val2}, {"inputCrossAngle", val3}, {"inputCrossWidth", val4},
         {"inputCrossOpacity", -2.0f}, {"inputEpsilon", -2.0f}},
        {{"inputSunRadius", val1}, {"inputMaxStriationRadius", val2}, {"inputStriationStrength", val3},
         {"inputStriationContrast", val4}, {"inputTime", 0.0f}, {nullptr, 0}},
        {{"inputHaloRadius", val1}, {"inputHaloWidth", val2}, {"inputHaloOverlap", val3},
         {"inputStriationStrength", val4}, {"inputStriationContrast", 1.0f}, {"inputTime", 0.0f}},
    };
    for (const auto &[key, value] : inputs[effect])
        if (key)
            filter->setNumber(QString::fromLatin1(key), double(value));
    const QImage plane = filter->outputImage();
    QImage drawn(std::max(1, int(std::ceil(size.width))), std::max(1, int(std::ceil(size.height))),
                 QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, size.width, size.height), plane);
    }
    const BitmapRep trimmed = trimToSize(BitmapRep(drawn), Size(0, 0));
    return trimmed.isNull() ? drawn : trimmed.toQImage();
}

QImage getGrayscaleImageOf(const QImage &image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const double l = (0.2125 * qRed(line[x]) + 0.7154 * qGreen(line[x]) + 0.0721 * qBlue(line[x])) / 255;
            const double v = l <= 0.2 ? 0.5 * l / 0.2 : 0.5 + 0.5 * (l - 0.2) / 0.8;
            const int g = int(std::lround(v * 255));
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return grey;
}

int transpAtX(int x, int y, int shape, Size innerSize, float width, float radius)
{
    double q = 0;
    if (shape == 2) {
        const double wi = innerSize.width, hi = innerSize.height;
        q = std::pow((x - wi) / wi, 2) + std::pow((y - hi) / hi, 2);
    } else {
        int dx = int(x < width ? (width - 1) - float(x) : float(x) - innerSize.width);
        int dy = int(y < width ? (width - 1) - float(y) : float(y) - innerSize.height);
        if (dx < 0 && dy < 0)
            return 255;
        if (shape == 1) {
            if (dx < 0)
                dx = 0;
            else if (dy < 0)
                dy = 0;
            q = double(dx * dx + dy * dy) / (double(width) * width);
        } else {
            const int e = std::abs(dx - dy);
            double v = e == 0 ? dx + 1 : std::max(dx, dy);
            if (e == 1)
                v += 0.5;
            else if (e == 2)
                v += 0.25;
            q = double(int(v * v)) / (double(width) * width);
        }
    }
    if (radius != 0) {
        q -= radius;
        if (q < 0)
            return 255;
        q /= (1 - radius);
    }
    return std::clamp(int((1 - q) * 255), 0, 255);
}

QImage makeFrameFor(const QImage &image, int shape, float ratio)
{
    if (image.isNull()) {
        qWarning("Error: No src bitmap.");
        return QImage();
    }
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int w = source.width(), h = source.height(), m = std::min(w, h);
    float band = 0, start = 0;
    Size inner;
    switch (shape) {
    case 0: band = float(int(float(m) * ratio)); break;
    case 1:
        band = ratio >= 0.25f ? float(int(0.5f * float(m))) : float(int(2.0f * float(m) * ratio));
        start = ratio >= 0.25f ? 1 - 2 * ratio : 0.5f;
        break;
    default: start = 1 - 2 * ratio; break;
    }
    inner = shape == 2 ? Size(0.5f * float(w), 0.5f * float(h)) : Size(float(w) - band, float(h) - band);
    QImage frame(w, h, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    for (int k = 0; k < h; ++k) {
        // The transparency counts rows from the bottom; the picture keeps its rows in order.
        const int y = h - 1 - k;
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(k));
        auto *out = reinterpret_cast<QRgb *>(frame.scanLine(k));
        for (int x = 0; x < w; ++x) {
            const int t = transpAtX(x, y, shape, inner, band, start);
            if (t == 255)
                continue;
            if (t == 0)
                out[x] = image.hasAlphaChannel() ? qRgba(0, 0, 0, 0) : qRgba(255, 255, 255, 255);
            else
                out[x] = qRgba(qRed(in[x]), qGreen(in[x]), qBlue(in[x]), 255 - t);
        }
    }
    return frame;
}
