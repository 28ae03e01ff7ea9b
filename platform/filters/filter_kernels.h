// The kernels behind the image filters, grouped by kind; each takes the filter (its inputs)
// and the input image converted to premultiplied ARGB32, and answers an image of its size.
#pragma once

#include "platform/filters/image_filter.h"

#include <functional>

using FilterKernel = std::function<QImage(const ImageFilter &filter, const QImage &input)>;

// Runs `rows(y0, y1)` over [0, height) split among the processor's cores.
void parallelRows(int height, const std::function<void(int y0, int y1)> &rows);

// The kernels by filter name.
void addColorKernels(std::map<QString, FilterKernel> &kernels);
void addBlurKernels(std::map<QString, FilterKernel> &kernels);
void addDistortionKernels(std::map<QString, FilterKernel> &kernels);
void addStylizeKernels(std::map<QString, FilterKernel> &kernels);

// A colour with straight (not premultiplied) components from 0 to 1.
struct Rgba {
    float r, g, b, a;
};
// The image with every pixel's colour mapped (on all cores).
QImage mapColors(const QImage &input, const std::function<Rgba(const Rgba &)> &map);
inline float luminance(const Rgba &c)
{
    return 0.2125f * c.r + 0.7154f * c.g + 0.0721f * c.b;
}
// The pixel at (x, y) with y growing downwards, bilinearly sampled; transparent outside.
Rgba sample(const QImage &image, float x, float y);
// An image whose pixel (x, y) (y growing downwards) is the colour `at` answers.
QImage generate(QSize size, const std::function<Rgba(int x, int y)> &at);
// The filter's "inputCenter" in y-down pixel coordinates; the image's middle without one.
QPointF centerOf(const ImageFilter &filter, QSize size);
