// Blur, sharpening, exposure and edge filters: the engine's operations (GEGL) where one
// matches the filter, the shared Gaussian blur, and small mixes of the two. The blur, the
// bloom and the height field spread beyond the image: their output is larger by the blur's
// margin on every side.
#include "platform/filters/filter_kernels.h"
#include "platform/filters/gegl_operation.h"
#include "platform/graphics/image_blur.h"

#include <cmath>

namespace {

// How far the blur of that radius spreads beyond the image: nothing below the smallest
// radius the shared blur acts on.
int spreadOf(double radius)
{
    return radius >= 0.5 ? blurMarginFor(float(radius)) : 0;
}

int blurSpread(const ImageFilter &f)
{
    return spreadOf(f.number("inputRadius", 10));
}

// The image blurred, `margin` pixels larger on every side so that the blur spreads there.
QImage blurred(const QImage &in, double radius, int margin = 0)
{
    QImage out(in.width() + 2 * margin, in.height() + 2 * margin, QImage::Format_ARGB32_Premultiplied);
    const qsizetype rowBytes = qsizetype(in.width()) * 4;
    parallelRows(out.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            uchar *line = out.scanLine(y);
            const int source = y - margin;
            if (source < 0 || source >= in.height()) {
                std::fill(line, line + out.bytesPerLine(), uchar(0));
                continue;
            }
            std::fill(line, line + qsizetype(margin) * 4, uchar(0));
            std::copy(in.constScanLine(source), in.constScanLine(source) + rowBytes, line + qsizetype(margin) * 4);
            std::fill(line + qsizetype(margin) * 4 + rowBytes, line + out.bytesPerLine(), uchar(0));
        }
    });
    blurImage(out, float(radius));
    return out;
}

QImage gaussianBlur(const ImageFilter &f, const QImage &in)
{
    const double radius = f.number("inputRadius", 10);
    return blurred(in, radius, spreadOf(radius));
}

QImage median(const ImageFilter &, const QImage &in)
{
    return throughGegl(in, "gegl:median-blur", {{"radius", 1}}, 1);
}

// The source plus `scale` times its difference from its blur. The difference is taken of
// the straight colours, so that the transparency beyond the edges (the shared blur's) does
// not brighten them; the alpha stays the source's.
QImage sharpened(const QImage &in, double sigma, double scale)
{
    QImage out = blurred(in, sigma);
    const float k = float(scale);
    const int width = in.width();
    parallelRows(in.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const auto *source = reinterpret_cast<const QRgb *>(in.constScanLine(y));
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const Rgba s = straight(source[x]), b = straight(line[x]);
                line[x] = b.a > 0 ? premultiplied({s.r + k * (s.r - b.r), s.g + k * (s.g - b.g), s.b + k * (s.b - b.b), s.a})
                                  : source[x];
            }
        }
    });
    return out;
}

QImage noiseReduction(const ImageFilter &f, const QImage &in)
{
    const double iterations = std::max(1.0, std::round(f.number("inputNoiseLevel", 0.02) * 100));
    const QImage smooth = throughGegl(in, "gegl:noise-reduction", {{"iterations", iterations}}, int(iterations));
    return sharpened(smooth, 1.0, f.number("inputSharpness", 0.4));
}

QImage sharpenLuminance(const ImageFilter &f, const QImage &in)
{
    return sharpened(in, 1.0, f.number("inputSharpness", 0.4));
}

QImage unsharpMask(const ImageFilter &f, const QImage &in)
{
    return sharpened(in, f.number("inputRadius", 2.5), f.number("inputIntensity", 0.5));
}

QImage exposureAdjust(const ImageFilter &f, const QImage &in)
{
    return throughGegl(in, "gegl:exposure", {{"exposure", f.number("inputEV", 0.5)}}, 0);
}

QImage edges(const ImageFilter &f, const QImage &in)
{
    // Sobel edges, light on black, scaled by the intensity.
    const float intensity = float(std::max(0.0, f.number("inputIntensity", 1)));
    const QImage found = throughGegl(in, "gegl:edge-sobel", {}, 1);
    return mapColors(found, [intensity](const Rgba &c) {
        return Rgba{c.r * intensity, c.g * intensity, c.b * intensity, 1};
    });
}

// A glow: the blurred image screened over the source, as light, spreading beyond the source
// by the blur's margin. Every channel, the alpha too, is screened as premultiplied values 0
// to 255 (a colour stays within its alpha, and no intensity leaves the source as it was).
QImage bloom(const ImageFilter &f, const QImage &in)
{
    const double radius = f.number("inputRadius", 10);
    const int margin = spreadOf(radius);
    const float intensity = float(f.number("inputIntensity", 1));
    QImage out = blurred(in, radius, margin);
    const auto screen = [intensity](int a, int b) {
        return 255 - (255 - a) * (255 - std::min(255, int(float(b) * intensity))) / 255;
    };
    parallelRows(out.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            const int sy = y - margin;
            const auto *source = sy >= 0 && sy < in.height() ? reinterpret_cast<const QRgb *>(in.constScanLine(sy)) : nullptr;
            for (int x = 0; x < out.width(); ++x) {
                const int sx = x - margin;
                const QRgb s = source && sx >= 0 && sx < in.width() ? source[sx] : 0;
                const QRgb b = line[x];
                line[x] = qRgba(screen(qRed(s), qRed(b)), screen(qGreen(s), qGreen(b)), screen(qBlue(s), qBlue(b)),
                                screen(qAlpha(s), qAlpha(b)));
            }
        }
    });
    return out;
}

// Dulled highlights: the source darkened towards its blurred self, at the source's size (the
// blur only darkens what is there).
QImage gloom(const ImageFilter &f, const QImage &in)
{
    const float intensity = float(f.number("inputIntensity", 1));
    QImage out = blurred(in, f.number("inputRadius", 10));
    const auto darker = [intensity](int a, int b) { return int(float(a) * (1 - intensity) + float(std::min(a, b)) * intensity); };
    parallelRows(in.height(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            const auto *source = reinterpret_cast<const QRgb *>(in.constScanLine(y));
            for (int x = 0; x < in.width(); ++x) {
                const QRgb s = source[x], b = line[x];
                line[x] = qRgba(darker(qRed(s), qRed(b)), darker(qGreen(s), qGreen(b)), darker(qBlue(s), qBlue(b)),
                                std::max(qAlpha(s), qAlpha(b)));
            }
        }
    });
    return out;
}

QImage greyOf(const QImage &in)
{
    return mapColors(in, [](const Rgba &c) {
        const float l = luminance(c) * c.a;
        return Rgba{l, l, l, 1};
    });
}

// A woodcut: the edges of the blurred luminance, black on white.
QImage edgeWork(const ImageFilter &f, const QImage &in)
{
    QImage grey = greyOf(in);
    blurImage(grey, float(f.number("inputRadius", 3)));
    const QImage found = throughGegl(grey, "gegl:edge-sobel", {}, 1);
    grey = QImage();
    return mapColors(found, [](const Rgba &c) {
        const float v = luminance(c) > 0.05f ? 0.0f : 1.0f;
        return Rgba{v, v, v, 1};
    });
}

// The mask's luminance, blurred: a smooth height field, grey, spread beyond the mask.
QImage heightFieldFromMask(const ImageFilter &f, const QImage &in)
{
    const double radius = f.number("inputRadius", 10);
    return blurred(greyOf(in), radius, spreadOf(radius));
}

} // namespace

void addBlurKernels(std::map<QString, FilterKernel> &kernels)
{
    kernels["CIGaussianBlur"] = {gaussianBlur, blurSpread};
    kernels["CIMedianFilter"] = median;
    kernels["CINoiseReduction"] = noiseReduction;
    kernels["CISharpenLuminance"] = sharpenLuminance;
    kernels["CIUnsharpMask"] = unsharpMask;
    kernels["CIExposureAdjust"] = exposureAdjust;
    kernels["CIEdges"] = edges;
    kernels["CIBloom"] = {bloom, blurSpread};
    kernels["CIGloom"] = gloom;
    kernels["CIEdgeWork"] = edgeWork;
    kernels["CIHeightFieldFromMask"] = {heightFieldFromMask, blurSpread};
}
