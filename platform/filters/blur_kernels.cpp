// Blur, sharpening, exposure and edge filters: the engine's operations (GEGL) where one
// matches the filter, the shared Gaussian blur, and small mixes of the two.
#include "platform/filters/filter_kernels.h"
#include "platform/filters/gegl_operation.h"
#include "platform/graphics/image_blur.h"

#include <cmath>

namespace {

QImage blurred(const QImage &in, double radius)
{
    QImage out = in.copy();
    blurImage(out, float(radius));
    return out;
}

QImage gaussianBlur(const ImageFilter &f, const QImage &in)
{
    return blurred(in, f.number("inputRadius", 10));
}

QImage median(const ImageFilter &, const QImage &in)
{
    return throughGegl(in, "gegl:median-blur", {{"radius", 1}});
}

QImage noiseReduction(const ImageFilter &f, const QImage &in)
{
    const QImage smooth =
        throughGegl(in, "gegl:noise-reduction", {{"iterations", std::max(1.0, std::round(f.number("inputNoiseLevel", 0.02) * 100))}});
    return throughGegl(smooth, "gegl:unsharp-mask", {{"std-dev", 1.0}, {"scale", f.number("inputSharpness", 0.4)}});
}

QImage sharpenLuminance(const ImageFilter &f, const QImage &in)
{
    return throughGegl(in, "gegl:unsharp-mask", {{"std-dev", 1.0}, {"scale", f.number("inputSharpness", 0.4)}});
}

QImage unsharpMask(const ImageFilter &f, const QImage &in)
{
    return throughGegl(in, "gegl:unsharp-mask",
                       {{"std-dev", f.number("inputRadius", 2.5)}, {"scale", f.number("inputIntensity", 0.5)}});
}

QImage exposureAdjust(const ImageFilter &f, const QImage &in)
{
    return throughGegl(in, "gegl:exposure", {{"exposure", f.number("inputEV", 0.5)}});
}

QImage edges(const ImageFilter &f, const QImage &in)
{
    // Sobel edges, light on black, scaled by the intensity.
    const float intensity = float(std::max(0.0, f.number("inputIntensity", 1)));
    const QImage found = throughGegl(in, "gegl:edge-sobel", {});
    return mapColors(found, [intensity](const Rgba &c) {
        return Rgba{c.r * intensity, c.g * intensity, c.b * intensity, 1};
    });
}

// The source and its blur combined channel by channel (premultiplied values 0 to 255); the
// alpha is the larger of the two.
QImage withItsBlur(const QImage &in, double radius, const std::function<int(int source, int blur)> &channel)
{
    const QImage blur = blurred(in, radius);
    QImage out = in.copy();
    parallelRows(in.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(blur.constScanLine(y));
            for (int x = 0; x < in.width(); ++x)
                line[x] = qRgba(channel(qRed(line[x]), qRed(b[x])), channel(qGreen(line[x]), qGreen(b[x])),
                                channel(qBlue(line[x]), qBlue(b[x])), std::max(qAlpha(line[x]), qAlpha(b[x])));
        }
    });
    return out;
}

// A glow: the blurred image screened over the source, as light.
QImage bloom(const ImageFilter &f, const QImage &in)
{
    const float intensity = float(f.number("inputIntensity", 1));
    return withItsBlur(in, f.number("inputRadius", 10), [intensity](int a, int b) {
        return 255 - (255 - a) * (255 - std::min(255, int(float(b) * intensity))) / 255;
    });
}

// Dulled highlights: the source darkened towards its blurred self.
QImage gloom(const ImageFilter &f, const QImage &in)
{
    const float intensity = float(f.number("inputIntensity", 1));
    return withItsBlur(in, f.number("inputRadius", 10), [intensity](int a, int b) {
        return int(float(a) * (1 - intensity) + float(std::min(a, b)) * intensity);
    });
}

// A woodcut: the edges of the blurred luminance, black on white.
QImage edgeWork(const ImageFilter &f, const QImage &in)
{
    const QImage grey = mapColors(in, [](const Rgba &c) {
        const float l = luminance(c) * c.a;
        return Rgba{l, l, l, 1};
    });
    const QImage found = throughGegl(blurred(grey, f.number("inputRadius", 3)), "gegl:edge-sobel", {});
    return mapColors(found, [](const Rgba &c) {
        const float v = luminance(c) > 0.05f ? 0.0f : 1.0f;
        return Rgba{v, v, v, 1};
    });
}

// The mask's luminance, blurred: a smooth height field, grey.
QImage heightFieldFromMask(const ImageFilter &f, const QImage &in)
{
    const QImage grey = mapColors(in, [](const Rgba &c) {
        const float l = luminance(c) * c.a;
        return Rgba{l, l, l, 1};
    });
    return blurred(grey, f.number("inputRadius", 10));
}

} // namespace

void addBlurKernels(std::map<QString, FilterKernel> &kernels)
{
    kernels["CIGaussianBlur"] = gaussianBlur;
    kernels["CIMedianFilter"] = median;
    kernels["CINoiseReduction"] = noiseReduction;
    kernels["CISharpenLuminance"] = sharpenLuminance;
    kernels["CIUnsharpMask"] = unsharpMask;
    kernels["CIExposureAdjust"] = exposureAdjust;
    kernels["CIEdges"] = edges;
    kernels["CIBloom"] = bloom;
    kernels["CIGloom"] = gloom;
    kernels["CIEdgeWork"] = edgeWork;
    kernels["CIHeightFieldFromMask"] = heightFieldFromMask;
}
