// Colour filters: each maps every pixel's colour on its own.
#include "platform/filters/filter_kernels.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

Rgba mix(const Rgba &a, const Rgba &b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a};
}

QImage colorControls(const ImageFilter &f, const QImage &in)
{
    const float saturation = float(f.number("inputSaturation", 1)), brightness = float(f.number("inputBrightness", 0)),
                contrast = float(f.number("inputContrast", 1));
    return mapColors(in, [=](const Rgba &c) {
        const float l = luminance(c);
        Rgba out = mix({l, l, l, c.a}, c, saturation);
        for (float *v : {&out.r, &out.g, &out.b})
            *v = (*v + brightness - 0.5f) * contrast + 0.5f;
        return out;
    });
}

QImage gammaAdjust(const ImageFilter &f, const QImage &in)
{
    // A table of the curve: a power per channel and pixel costs more than the rest.
    const float power = float(f.number("inputPower", 1));
    std::array<float, 1024> curve;
    for (size_t i = 0; i < curve.size(); ++i)
        curve[i] = std::pow(float(i) / float(curve.size() - 1), power);
    auto at = [&curve](float v) { return curve[size_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 1023))]; };
    return mapColors(in, [&](const Rgba &c) { return Rgba{at(c.r), at(c.g), at(c.b), c.a}; });
}

// Turns the hue about the grey axis in the YIQ colour space.
QImage hueAdjust(const ImageFilter &f, const QImage &in)
{
    const float angle = float(f.number("inputAngle", 0)), cs = std::cos(angle), sn = std::sin(angle);
    return mapColors(in, [=](const Rgba &c) {
        const float y = 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
        const float i = 0.596f * c.r - 0.274f * c.g - 0.322f * c.b;
        const float q = 0.211f * c.r - 0.523f * c.g + 0.312f * c.b;
        const float i2 = i * cs - q * sn, q2 = i * sn + q * cs;
        return Rgba{y + 0.956f * i2 + 0.621f * q2, y - 0.272f * i2 - 0.647f * q2, y - 1.106f * i2 + 1.703f * q2, c.a};
    });
}

QImage colorInvert(const ImageFilter &, const QImage &in)
{
    return mapColors(in, [](const Rgba &c) { return Rgba{1 - c.r, 1 - c.g, 1 - c.b, c.a}; });
}

QImage colorMonochrome(const ImageFilter &f, const QImage &in)
{
    const QColor tint = f.color("inputColor", Qt::gray);
    const float intensity = float(f.number("inputIntensity", 1));
    const Rgba t{float(tint.redF()), float(tint.greenF()), float(tint.blueF()), 1};
    return mapColors(in, [=](const Rgba &c) {
        const float l = luminance(c);
        return mix(c, Rgba{t.r * l, t.g * l, t.b * l, c.a}, intensity);
    });
}

QImage sepiaTone(const ImageFilter &f, const QImage &in)
{
    const float intensity = float(f.number("inputIntensity", 1));
    return mapColors(in, [=](const Rgba &c) {
        const Rgba sepia{0.393f * c.r + 0.769f * c.g + 0.189f * c.b, 0.349f * c.r + 0.686f * c.g + 0.168f * c.b,
                         0.272f * c.r + 0.534f * c.g + 0.131f * c.b, c.a};
        return mix(c, sepia, intensity);
    });
}

// The luminance becomes the alpha of white.
QImage maskToAlpha(const ImageFilter &, const QImage &in)
{
    return mapColors(in, [](const Rgba &c) { return Rgba{1, 1, 1, luminance(c) * c.a}; });
}

// Each channel takes one of `levels` evenly spaced values.
QImage colorPosterize(const ImageFilter &f, const QImage &in)
{
    const float steps = float(std::max(1.0, std::round(f.number("inputLevels", 6)) - 1));
    return mapColors(in, [=](const Rgba &c) {
        auto level = [steps](float v) { return std::round(v * steps) / steps; };
        return Rgba{level(c.r), level(c.g), level(c.b), c.a};
    });
}

// The image over the background in hard light: multiply where the image is dark, screen
// where it is light.
QImage hardLightBlendMode(const ImageFilter &f, const QImage &in)
{
    const QImage background = f.image("inputBackgroundImage")
                                  .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                  .scaled(in.size());
    if (background.isNull())
        return in;
    const Pixels over(in), under(background);
    return generate(in.size(), [&](int x, int y) {
        const Rgba top = straight(over.at(x, y)), bottom = straight(under.at(x, y));
        auto blend = [](float t, float b) { return t <= 0.5f ? 2 * t * b : 1 - 2 * (1 - t) * (1 - b); };
        const Rgba mixed{blend(top.r, bottom.r), blend(top.g, bottom.g), blend(top.b, bottom.b), bottom.a};
        return bottom.a > 0 ? mix(bottom, mixed, top.a) : top;
    });
}

} // namespace

void addColorKernels(std::map<QString, FilterKernel> &kernels)
{
    kernels["CIColorControls"] = colorControls;
    kernels["CIGammaAdjust"] = gammaAdjust;
    kernels["CIHueAdjust"] = hueAdjust;
    kernels["CIColorInvert"] = colorInvert;
    kernels["CIColorMonochrome"] = colorMonochrome;
    kernels["CISepiaTone"] = sepiaTone;
    kernels["CIMaskToAlpha"] = maskToAlpha;
    kernels["CIColorPosterize"] = colorPosterize;
    kernels["CIHardLightBlendMode"] = hardLightBlendMode;
}
