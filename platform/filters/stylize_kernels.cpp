// Halftone screens, cells and lighting.
#include "platform/filters/filter_kernels.h"

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// Where the grey level crosses the screen's pattern (from 0 to 1), with a soft edge whose
// width shrinks as the sharpness grows: 0 ink, 1 paper.
float screened(float grey, double pattern, double sharpness)
{
    const double softness = (1 - sharpness) * 0.5;
    if (softness <= 0)
        return grey >= pattern ? 1.0f : 0.0f;
    return float(std::clamp((grey - pattern) / softness + 0.5, 0.0, 1.0));
}

// Black rings around the centre, `width` apart, thick where the source is dark.
QImage circularScreen(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double width = std::max(1.0, f.number("inputWidth", 6)), sharpness = f.number("inputSharpness", 0.7);
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = sample(in, x + 0.5f, y + 0.5f);
        const double r = std::hypot(x + 0.5 - c.x(), y + 0.5 - c.y());
        const float v = screened(luminance(s), 0.5 + 0.5 * std::cos(2 * pi * r / width), sharpness);
        return Rgba{v, v, v, s.a > 0 ? 1.0f : 0.0f};
    });
}

double lineScreenPattern(double x, double y, QPointF c, double angle, double width)
{
    const double along = (x - c.x()) * -std::sin(angle) - (y - c.y()) * std::cos(angle);
    return 0.5 + 0.5 * std::cos(2 * pi * along / width);
}

QImage lineScreen(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double angle = f.number("inputAngle", 0), width = std::max(1.0, f.number("inputWidth", 6)),
                 sharpness = f.number("inputSharpness", 0.7);
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = sample(in, x + 0.5f, y + 0.5f);
        const float v = screened(luminance(s), lineScreenPattern(x + 0.5, y + 0.5, c, angle, width), sharpness);
        return Rgba{v, v, v, s.a > 0 ? 1.0f : 0.0f};
    });
}

// A dot screen turned by `angle` around c: 1 at the dots' middles, 0 between them.
double dotPattern(double x, double y, QPointF c, double angle, double width)
{
    const double dx = x - c.x(), dy = y - c.y();
    const double u = dx * std::cos(angle) - dy * std::sin(angle), v = dx * std::sin(angle) + dy * std::cos(angle);
    return 0.25 * (2 + std::cos(2 * pi * u / width) + std::cos(2 * pi * v / width));
}

// Four inks (cyan, magenta, yellow and black after grey-component and under-colour
// removal), each its own dot screen; the result holds only the inks and the paper.
QImage cmykHalftone(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double width = std::max(1.0, f.number("inputWidth", 6)), angle = f.number("inputAngle", 0),
                 sharpness = f.number("inputSharpness", 0.7), gcr = f.number("inputGCR", 1), ucr = f.number("inputUCR", 0.5);
    const double inkAngles[4] = {angle + pi / 12, angle + 5 * pi / 12, angle, angle + pi / 4};
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = sample(in, x + 0.5f, y + 0.5f);
        double ink[4] = {1 - s.r, 1 - s.g, 1 - s.b, 0};
        const double grey = std::min({ink[0], ink[1], ink[2]});
        ink[3] = grey * gcr;
        for (int i = 0; i < 3; ++i)
            ink[i] -= grey * ucr;
        bool on[4];
        for (int i = 0; i < 4; ++i)
            on[i] = screened(float(1 - ink[i]), 1 - dotPattern(x + 0.5, y + 0.5, c, inkAngles[i], width), sharpness) < 0.5f;
        if (on[3])
            return Rgba{0, 0, 0, 1};
        return Rgba{on[0] ? 0.0f : 1.0f, on[1] ? 0.0f : 1.0f, on[2] ? 0.0f : 1.0f, 1};
    });
}

// The cell of the block grid around the centre that holds (x, y), at `scale` pixels.
QPointF cellMiddle(double x, double y, QPointF c, double scale)
{
    return QPointF(c.x() + (std::floor((x - c.x()) / scale + 0.5)) * scale,
                   c.y() + (std::floor((y - c.y()) / scale + 0.5)) * scale);
}

// Square blocks of `scale` pixels, one of them centred on the centre, each in the colour
// at its middle.
QImage pixellate(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double scale = std::max(1.0, f.number("inputScale", 8));
    return generate(in.size(), [&](int x, int y) {
        const QPointF m = cellMiddle(x + 0.5, y + 0.5, c, scale);
        // The pixel at the block's middle (the one before it where the middle is a corner).
        const double px = std::clamp(std::floor(m.x() - 0.5), 0.0, in.width() - 1.0) + 0.5;
        const double py = std::clamp(std::floor(m.y() - 0.5), 0.0, in.height() - 1.0) + 0.5;
        return sample(in, float(px), float(py));
    });
}

// A site in each cell of the grid, moved by a fixed pseudo-random amount.
QPointF siteOf(long long i, long long j, QPointF c, double size)
{
    const auto hash = [](long long a, long long b, int salt) {
        unsigned long long h = (unsigned long long)(a * 73856093LL ^ b * 19349663LL ^ salt * 83492791LL);
        h ^= h >> 13;
        h *= 0x5bd1e995ULL;
        h ^= h >> 15;
        return double(h % 1000) / 1000.0;
    };
    return QPointF(c.x() + (double(i) + hash(i, j, 1)) * size, c.y() + (double(j) + hash(i, j, 2)) * size);
}

// The site nearest to the point among the cells around it.
QPointF nearestSite(double x, double y, QPointF c, double size)
{
    const long long ci = (long long)std::floor((x - c.x()) / size), cj = (long long)std::floor((y - c.y()) / size);
    QPointF best;
    double bestDistance = 1e300;
    for (long long j = cj - 1; j <= cj + 1; ++j)
        for (long long i = ci - 1; i <= ci + 1; ++i) {
            const QPointF s = siteOf(i, j, c, size);
            const double d = std::hypot(s.x() - x, s.y() - y);
            if (d < bestDistance) {
                bestDistance = d;
                best = s;
            }
        }
    return best;
}

Rgba colorAt(const QImage &in, QPointF p)
{
    return sample(in, float(std::clamp(p.x(), 0.5, in.width() - 0.5)), float(std::clamp(p.y(), 0.5, in.height() - 0.5)));
}

// Polygons around scattered sites, each in the colour at its site.
QImage crystallize(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = std::max(1.0, f.number("inputRadius", 20));
    return generate(in.size(), [&](int x, int y) { return colorAt(in, nearestSite(x + 0.5, y + 0.5, c, radius)); });
}

// Round dots of `radius` at scattered sites in the colour at their site, on white.
QImage pointillize(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = std::max(1.0, f.number("inputRadius", 20));
    return generate(in.size(), [&](int x, int y) {
        const QPointF site = nearestSite(x + 0.5, y + 0.5, c, radius * 2);
        if (std::hypot(site.x() - x - 0.5, site.y() - y - 0.5) > radius)
            return Rgba{1, 1, 1, 1};
        return colorAt(in, site);
    });
}

// A light above the image pointing at the centre: each pixel's colour times the light that
// reaches it.
QImage spotLight(const ImageFilter &f, const QImage &in)
{
    const double h = in.height();
    std::vector<double> light = f.vector("inputLightPosition"), target = f.vector("inputLightPointsAt");
    if (light.size() < 3)
        light = {in.width() / 2.0, h / 2.0, 300};
    if (target.size() < 3)
        target = {in.width() / 2.0, h / 2.0, 0};
    const double brightness = f.number("inputBrightness", 3), concentration = f.number("inputConcentration", 0.1);
    const QColor tint = f.color("inputColor", Qt::white);
    double axis[3] = {target[0] - light[0], target[1] - light[1], target[2] - light[2]};
    const double axisLength = std::max(1e-9, std::hypot(axis[0], axis[1], axis[2]));
    for (double &a : axis)
        a /= axisLength;
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = sample(in, x + 0.5f, y + 0.5f);
        const double px = x + 0.5, py = h - (y + 0.5);   // y-up, as the light's position
        double toPixel[3] = {px - light[0], py - light[1], -light[2]};
        const double length = std::max(1e-9, std::hypot(toPixel[0], toPixel[1], toPixel[2]));
        for (double &t : toPixel)
            t /= length;
        const double spot = std::pow(std::max(0.0, toPixel[0] * axis[0] + toPixel[1] * axis[1] + toPixel[2] * axis[2]),
                                     concentration * 100);
        const float lit = float(brightness * spot * std::max(0.0, -toPixel[2]));
        return Rgba{s.r * float(tint.redF()) * lit, s.g * float(tint.greenF()) * lit, s.b * float(tint.blueF()) * lit, s.a};
    });
}

// The source's luminance as a height field, shaded by looking each normal up in the
// shading image (a lit sphere); nothing without a shading image.
QImage shadedMaterial(const ImageFilter &f, const QImage &in)
{
    const QImage shading = f.image("inputShadingImage").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (shading.isNull())
        return QImage();
    const double scale = f.number("inputScale", 10);
    auto height = [&](int x, int y) {
        return double(luminance(colorAt(in, QPointF(x + 0.5, y + 0.5))));
    };
    return generate(in.size(), [&](int x, int y) {
        const double nx = (height(x - 1, y) - height(x + 1, y)) * scale, ny = (height(x, y - 1) - height(x, y + 1)) * scale;
        const double length = std::hypot(nx, ny, 1.0);
        const float u = float((0.5 + 0.5 * nx / length) * shading.width());
        const float v = float((0.5 + 0.5 * ny / length) * shading.height());
        return sample(shading, u, v);
    });
}

} // namespace

void addStylizeKernels(std::map<QString, FilterKernel> &kernels)
{
    kernels["CICircularScreen"] = circularScreen;
    kernels["CILineScreen"] = lineScreen;
    kernels["CICMYKHalftone"] = cmykHalftone;
    kernels["CIPixellate"] = pixellate;
    kernels["CICrystallize"] = crystallize;
    kernels["CIPointillize"] = pointillize;
    kernels["CISpotLight"] = spotLight;
    kernels["CIShadedMaterial"] = shadedMaterial;
}
