// Pixel access shared by the kernels: straight colours in and out of premultiplied images.
#include "platform/filters/filter_kernels.h"

#include <algorithm>
#include <cmath>

namespace {

Rgba straight(QRgb p)
{
    const int a = qAlpha(p);
    if (a == 0)
        return {0, 0, 0, 0};
    const float k = 1.0f / float(a);
    return {float(qRed(p)) * k, float(qGreen(p)) * k, float(qBlue(p)) * k, float(a) / 255.0f};
}

QRgb premultiplied(const Rgba &c)
{
    auto channel = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    const float a = std::clamp(c.a, 0.0f, 1.0f);
    return qRgba(channel(c.r * a), channel(c.g * a), channel(c.b * a), channel(a));
}

} // namespace

QImage mapColors(const QImage &input, const std::function<Rgba(const Rgba &)> &map)
{
    QImage out(input.size(), QImage::Format_ARGB32_Premultiplied);
    parallelRows(input.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const auto *in = reinterpret_cast<const QRgb *>(input.constScanLine(y));
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < input.width(); ++x)
                line[x] = premultiplied(map(straight(in[x])));
        }
    });
    return out;
}

Rgba sample(const QImage &image, float x, float y)
{
    x -= 0.5f;
    y -= 0.5f;
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const float fx = x - float(x0), fy = y - float(y0);
    float sum[4] = {0, 0, 0, 0};
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            const int px = x0 + i, py = y0 + j;
            if (px < 0 || py < 0 || px >= image.width() || py >= image.height())
                continue;
            const float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const QRgb p = reinterpret_cast<const QRgb *>(image.constScanLine(py))[px];
            sum[0] += w * float(qRed(p));
            sum[1] += w * float(qGreen(p));
            sum[2] += w * float(qBlue(p));
            sum[3] += w * float(qAlpha(p));
        }
    if (sum[3] <= 0)
        return {0, 0, 0, 0};
    return {sum[0] / sum[3], sum[1] / sum[3], sum[2] / sum[3], sum[3] / 255.0f};
}

QImage generate(QSize size, const std::function<Rgba(int x, int y)> &at)
{
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    parallelRows(size.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = premultiplied(at(x, y));
        }
    });
    return out;
}

QPointF centerOf(const ImageFilter &filter, QSize size)
{
    const std::vector<double> c = filter.vector(QStringLiteral("inputCenter"));
    if (c.size() < 2)
        return QPointF(size.width() / 2.0, size.height() / 2.0);
    return QPointF(c[0], size.height() - c[1]);
}
