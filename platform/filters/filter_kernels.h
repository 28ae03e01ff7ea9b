// The kernels behind the image filters, grouped by kind; each takes the filter (its inputs)
// and the input image converted to premultiplied ARGB32, and answers an image of its size
// grown by the kernel's margin on every side.
//
// The per-pixel helpers are templates and inline functions over raw scanlines: a kernel's
// pixel function is inlined into the row loop instead of being called through a pointer,
// and sampling reads the pixels without Qt's out-of-line accessors.
#pragma once

#include "platform/filters/image_filter.h"
#include "platform/graphics/parallel_rows.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <type_traits>

// A filter's kernel, and how far its output reaches beyond the input on every side (none
// for most: their output is the input's size).
struct FilterKernel {
    using Run = std::function<QImage(const ImageFilter &filter, const QImage &input)>;
    using Margin = std::function<int(const ImageFilter &filter)>;

    FilterKernel() = default;
    template <class Kernel>
        requires std::is_invocable_r_v<QImage, Kernel, const ImageFilter &, const QImage &>
    FilterKernel(Kernel kernel) : run(std::move(kernel))
    {
    }
    FilterKernel(Run kernel, Margin spread) : run(std::move(kernel)), margin(std::move(spread)) {}

    Run run;
    Margin margin;
};

// The kernels by filter name.
void addColorKernels(std::map<QString, FilterKernel> &kernels);
void addBlurKernels(std::map<QString, FilterKernel> &kernels);
void addDistortionKernels(std::map<QString, FilterKernel> &kernels);
void addStylizeKernels(std::map<QString, FilterKernel> &kernels);
// Generators take no input image (their kernels get a null one).
void addGeneratorKernels(std::map<QString, FilterKernel> &kernels);

// A colour with straight (not premultiplied) components from 0 to 1.
struct Rgba {
    float r, g, b, a;
};

inline Rgba straight(QRgb p)
{
    const int a = qAlpha(p);
    if (a == 0)
        return {0, 0, 0, 0};
    const float k = 1.0f / float(a);
    return {float(qRed(p)) * k, float(qGreen(p)) * k, float(qBlue(p)) * k, float(a) / 255.0f};
}

inline QRgb premultiplied(const Rgba &c)
{
    const auto channel = [](float v) { return int(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    const float a = std::clamp(c.a, 0.0f, 1.0f);
    return qRgba(channel(c.r * a), channel(c.g * a), channel(c.b * a), channel(a));
}

inline float luminance(const Rgba &c)
{
    return 0.2125f * c.r + 0.7154f * c.g + 0.0721f * c.b;
}

// The pixels of a premultiplied ARGB32 image, read without going through QImage.
struct Pixels {
    explicit Pixels(const QImage &image)
        : bits(image.constBits()), stride(image.bytesPerLine()), width(image.width()), height(image.height())
    {
    }
    QRgb at(int x, int y) const { return reinterpret_cast<const QRgb *>(bits + y * stride)[x]; }

    const uchar *bits;
    qsizetype stride;
    int width, height;
};

// The pixel at (x, y) with y growing downwards, bilinearly sampled; transparent outside.
inline Rgba sample(const Pixels &image, float x, float y)
{
    x -= 0.5f;
    y -= 0.5f;
    const float fx0 = std::floor(x), fy0 = std::floor(y);
    const int x0 = int(fx0), y0 = int(fy0);
    const float fx = x - fx0, fy = y - fy0;
    float sum[4] = {0, 0, 0, 0};
    for (int j = 0; j < 2; ++j) {
        const int py = y0 + j;
        if (py < 0 || py >= image.height)
            continue;
        for (int i = 0; i < 2; ++i) {
            const int px = x0 + i;
            if (px < 0 || px >= image.width)
                continue;
            const float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const QRgb p = image.at(px, py);
            sum[0] += w * float(qRed(p));
            sum[1] += w * float(qGreen(p));
            sum[2] += w * float(qBlue(p));
            sum[3] += w * float(qAlpha(p));
        }
    }
    if (sum[3] <= 0)
        return {0, 0, 0, 0};
    const float k = 1.0f / sum[3];
    return {sum[0] * k, sum[1] * k, sum[2] * k, sum[3] / 255.0f};
}

// An image whose pixel (x, y) (y growing downwards) is the colour `at` answers.
template <class At>
QImage generate(QSize size, const At &at)
{
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    uchar *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const int width = size.width();
    parallelRows(size.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
            for (int x = 0; x < width; ++x)
                line[x] = premultiplied(at(x, y));
        }
    });
    return out;
}

// The image with every pixel's colour mapped.
template <class Map>
QImage mapColors(const QImage &input, const Map &map)
{
    const Pixels in(input);
    return generate(input.size(), [&](int x, int y) { return map(straight(in.at(x, y))); });
}

// The filter's "inputCenter" in y-down pixel coordinates; the image's middle without one.
QPointF centerOf(const ImageFilter &filter, QSize size);

// cos(2 pi t) from a table, for screens that need one or more a pixel: exact to about 1e-5.
float cosineOfTurns(double t);
