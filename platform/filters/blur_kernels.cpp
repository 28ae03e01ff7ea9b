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

// A glow: the blurred image added over the source, as light.
QImage bloom(const ImageFilter &f, const QImage &in)
{
    const QImage glow = blurred(in, f.number("inputRadius", 10));
    const float intensity = float(f.number("inputIntensity", 1));
    QImage out = in.copy();
    parallelRows(in.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            const auto *g = reinterpret_cast<const QRgb *>(glow.constScanLine(y));
            for (int x = 0; x < in.width(); ++x) {
                auto screen = [&](int a, int b) { return 255 - (255 - a) * (255 - int(float(b) * intensity)) / 255; };
                line[x] = qRgba(screen(qRed(line[x]), qRed(g[x])), screen(qGreen(line[x]), qGreen(g[x])),
                                screen(qBlue(line[x]), qBlue(g[x])), std::max(qAlpha(line[x]), qAlpha(g[x])));
            }
        }
    });
    return out;
}

// Dulled highlights: the source darkened by its blurred self.
QImage gloom(const ImageFilter &f, const QImage &in)
{
    const QImage shade = blurred(in, f.number("inputRadius", 10));
    const float intensity = float(f.number("inputIntensity", 1));
    QImage out = in.copy();
    parallelRows(in.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            const auto *s = reinterpret_cast<const QRgb *>(shade.constScanLine(y));
            for (int x = 0; x < in.width(); ++x) {
                auto dull = [&](int a, int b) { return int(float(a) * (1 - intensity) + float(std::min(a, b)) * intensity); };
                line[x] = qRgba(dull(qRed(line[x]), qRed(s[x])), dull(qGreen(line[x]), qGreen(s[x])),
                                dull(qBlue(line[x]), qBlue(s[x])), qAlpha(line[x]));
            }
        }
    });
    return out;
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
