// Generators of light effects on a plane (no input image): a star with a cross of rays,
// a sun with striations, and a lens halo. Colours fade to clear; y grows upwards in the
// filters' coordinates, so the centre's y is mirrored into the image.
#include "platform/filters/filter_kernels.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

QSize plane()
{
    return QSize(ImageFilter::generatorSide, ImageFilter::generatorSide);
}

Rgba tinted(const QColor &color, double strength)
{
    return Rgba{float(color.redF()), float(color.greenF()), float(color.blueF()),
                float(std::clamp(strength, 0.0, 1.0) * color.alphaF())};
}

// Pseudo-random striation brightness at an angle: a few sines of unrelated frequencies.
double striation(double angle)
{
    return 0.5 + 0.25 * std::sin(angle * 23) + 0.15 * std::sin(angle * 57 + 1.3) + 0.1 * std::sin(angle * 131 + 2.1);
}

QImage starShine(const ImageFilter &f, const QImage &)
{
    const QPointF c = centerOf(f, plane());
    const QColor color = f.color("inputColor", Qt::white);
    const double radius = std::max(0.1, f.number("inputRadius", 50)), crossScale = f.number("inputCrossScale", 15),
                 crossAngle = f.number("inputCrossAngle", 0.6), crossWidth = std::max(0.1, f.number("inputCrossWidth", 2.5));
    return generate(plane(), [&](int x, int y) {
        const double dx = x + 0.5 - c.x(), dy = c.y() - (y + 0.5);
        const double d = std::hypot(dx, dy);
        double light = std::exp(-d / radius * 3);
        for (double arm : {crossAngle, crossAngle + pi / 2}) {
            const double along = std::abs(dx * std::cos(arm) + dy * std::sin(arm));
            const double across = std::abs(-dx * std::sin(arm) + dy * std::cos(arm));
            light += std::exp(-across / crossWidth) * std::exp(-along / (radius * std::max(0.1, crossScale) / 4));
        }
        return tinted(color, light);
    });
}

QImage sunbeams(const ImageFilter &f, const QImage &)
{
    const QPointF c = centerOf(f, plane());
    const QColor color = f.color("inputColor", QColor(255, 128, 0));
    const double sun = std::max(0.1, f.number("inputSunRadius", 40)),
                 reach = std::max(sun, f.number("inputMaxStriationRadius", 2.58) * sun),
                 strength = f.number("inputStriationStrength", 0.5), contrast = f.number("inputStriationContrast", 1.375);
    return generate(plane(), [&](int x, int y) {
        const double dx = x + 0.5 - c.x(), dy = c.y() - (y + 0.5);
        const double d = std::hypot(dx, dy);
        if (d <= sun)
            return tinted(color, 1);
        const double fade = std::max(0.0, 1 - (d - sun) / (reach - sun + 1e-9));
        const double rays = std::pow(striation(std::atan2(dy, dx)), std::max(0.1, contrast)) * strength;
        return tinted(color, fade * fade * (0.3 + rays));
    });
}

QImage lenticularHalo(const ImageFilter &f, const QImage &)
{
    const QPointF c = centerOf(f, plane());
    const QColor color = f.color("inputColor", QColor(255, 230, 200));
    const double radius = f.number("inputHaloRadius", 70), width = std::max(0.1, f.number("inputHaloWidth", 87)),
                 overlap = f.number("inputHaloOverlap", 0.77), strength = f.number("inputStriationStrength", 0.5),
                 contrast = f.number("inputStriationContrast", 1);
    return generate(plane(), [&](int x, int y) {
        const double dx = x + 0.5 - c.x(), dy = c.y() - (y + 0.5);
        const double d = std::hypot(dx, dy);
        const double rays = 1 + strength * (std::pow(striation(std::atan2(dy, dx)), std::max(0.1, contrast)) - 0.5);
        // Red, green and blue rings a little apart, as a lens splits light.
        auto ring = [&](double shift) {
            const double t = (d - radius - shift) / (width / 2);
            return std::abs(t) >= 1 ? 0.0 : (1 - t * t) * rays;
        };
        const double spread = (1 - overlap) * width / 2;
        const double r = ring(spread), g = ring(0), b = ring(-spread);
        const double alpha = std::max({r, g, b});
        if (alpha <= 0)
            return Rgba{0, 0, 0, 0};
        return Rgba{float(color.redF() * r / alpha), float(color.greenF() * g / alpha), float(color.blueF() * b / alpha),
                    float(std::min(1.0, alpha) * color.alphaF())};
    });
}

} // namespace

void addGeneratorKernels(std::map<QString, FilterKernel> &kernels)
{
    kernels["CIStarShineGenerator"] = starShine;
    kernels["CISunbeamsGenerator"] = sunbeams;
    kernels["CILenticularHaloGenerator"] = lenticularHalo;
}
