// Halftone screens, cells and lighting.
#include "platform/filters/filter_kernels.h"

#include <cmath>
#include <limits>
#include <vector>

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
    const Pixels pixels(in);
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = straight(pixels.at(x, y));
        const double r = std::hypot(x + 0.5 - c.x(), y + 0.5 - c.y());
        const float v = screened(luminance(s), 0.5 + 0.5 * cosineOfTurns(r / width), sharpness);
        return Rgba{v, v, v, s.a > 0 ? 1.0f : 0.0f};
    });
}

QImage lineScreen(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double angle = f.number("inputAngle", 0), width = std::max(1.0, f.number("inputWidth", 6)),
                 sharpness = f.number("inputSharpness", 0.7);
    const double across = -std::sin(angle) / width, down = -std::cos(angle) / width;
    const Pixels pixels(in);
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = straight(pixels.at(x, y));
        const double along = (x + 0.5 - c.x()) * across + (y + 0.5 - c.y()) * down;
        const float v = screened(luminance(s), 0.5 + 0.5 * cosineOfTurns(along), sharpness);
        return Rgba{v, v, v, s.a > 0 ? 1.0f : 0.0f};
    });
}

// A dot screen turned by an angle around the centre, `width` apart.
struct DotScreen {
    DotScreen(double angle, double width) : cosine(std::cos(angle) / width), sine(std::sin(angle) / width) {}
    // 1 at the dots' middles, 0 between them, at the offset (dx, dy) from the centre.
    double at(double dx, double dy) const
    {
        return 0.25 * (2 + cosineOfTurns(dx * cosine - dy * sine) + cosineOfTurns(dx * sine + dy * cosine));
    }
    double cosine, sine;
};

// Four inks (cyan, magenta, yellow and black after grey-component and under-colour
// removal), each its own dot screen; the result holds only the inks and the paper.
QImage cmykHalftone(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double width = std::max(1.0, f.number("inputWidth", 6)), angle = f.number("inputAngle", 0),
                 sharpness = f.number("inputSharpness", 0.7), gcr = f.number("inputGCR", 1), ucr = f.number("inputUCR", 0.5);
    const DotScreen screens[4] = {{angle + pi / 12, width}, {angle + 5 * pi / 12, width}, {angle, width},
                                  {angle + pi / 4, width}};
    const Pixels pixels(in);
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = straight(pixels.at(x, y));
        double ink[4] = {1 - s.r, 1 - s.g, 1 - s.b, 0};
        const double grey = std::min({ink[0], ink[1], ink[2]});
        ink[3] = grey * gcr;
        for (int i = 0; i < 3; ++i)
            ink[i] -= grey * ucr;
        const double dx = x + 0.5 - c.x(), dy = y + 0.5 - c.y();
        const auto inked = [&](int i) {
            return ink[i] > 0 && screened(float(1 - ink[i]), 1 - screens[i].at(dx, dy), sharpness) < 0.5f;
        };
        // Black covers the other inks: they need no screen where it prints.
        if (inked(3))
            return Rgba{0, 0, 0, 1};
        return Rgba{inked(0) ? 0.0f : 1.0f, inked(1) ? 0.0f : 1.0f, inked(2) ? 0.0f : 1.0f, 1};
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
    const Pixels pixels(in);
    return generate(in.size(), [&](int x, int y) {
        const QPointF m = cellMiddle(x + 0.5, y + 0.5, c, scale);
        // The pixel at the block's middle (the one before it where the middle is a corner).
        const int px = int(std::clamp(std::floor(m.x() - 0.5), 0.0, in.width() - 1.0));
        const int py = int(std::clamp(std::floor(m.y() - 0.5), 0.0, in.height() - 1.0));
        return straight(pixels.at(px, py));
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

Rgba colorAt(const Pixels &in, QPointF p)
{
    return sample(in, float(std::clamp(p.x(), 0.5, in.width - 0.5)), float(std::clamp(p.y(), 0.5, in.height - 0.5)));
}

// An image whose pixels take their colour from the scattered site nearest to them (among
// the cells around theirs): `at(x, y, site)`. The sites of the three rows of cells a pixel
// row can reach are made once for the row, not nine times for every pixel.
template <class At>
QImage fromNearestSites(QSize size, QPointF c, double cell, const At &at)
{
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    uchar *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const long long firstColumn = (long long)std::floor((0.5 - c.x()) / cell) - 1;
    const long long lastColumn = (long long)std::floor((size.width() - 0.5 - c.x()) / cell) + 1;
    const size_t columns = size_t(lastColumn - firstColumn + 1);
    parallelRows(size.height(), [&](int y0, int y1) {
        std::vector<QPointF> sites(3 * columns);
        long long siteRow = std::numeric_limits<long long>::min();
        for (int y = y0; y < y1; ++y) {
            const double py = y + 0.5;
            const long long cj = (long long)std::floor((py - c.y()) / cell);
            if (cj != siteRow) {
                siteRow = cj;
                for (long long j = 0; j < 3; ++j)
                    for (size_t i = 0; i < columns; ++i)
                        sites[size_t(j) * columns + i] = siteOf(firstColumn + (long long)i, cj - 1 + j, c, cell);
            }
            auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
            for (int x = 0; x < size.width(); ++x) {
                const double px = x + 0.5;
                const size_t ci = size_t((long long)std::floor((px - c.x()) / cell) - firstColumn);
                QPointF best;
                double bestDistance = std::numeric_limits<double>::max();
                for (size_t j = 0; j < 3; ++j)
                    for (size_t i = ci - 1; i <= ci + 1; ++i) {
                        const QPointF s = sites[j * columns + i];
                        const double d = (s.x() - px) * (s.x() - px) + (s.y() - py) * (s.y() - py);
                        if (d < bestDistance) {
                            bestDistance = d;
                            best = s;
                        }
                    }
                line[x] = premultiplied(at(px, py, best));
            }
        }
    });
    return out;
}

// Polygons around scattered sites, each in the colour at its site.
QImage crystallize(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = std::max(1.0, f.number("inputRadius", 20));
    const Pixels pixels(in);
    return fromNearestSites(in.size(), c, radius, [&](double, double, QPointF site) { return colorAt(pixels, site); });
}

// Round dots of `radius` at scattered sites in the colour at their site, on white.
QImage pointillize(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = std::max(1.0, f.number("inputRadius", 20));
    const Pixels pixels(in);
    return fromNearestSites(in.size(), c, radius * 2, [&](double x, double y, QPointF site) {
        if (std::hypot(site.x() - x, site.y() - y) > radius)
            return Rgba{1, 1, 1, 1};
        return colorAt(pixels, site);
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
    const Pixels pixels(in);
    return generate(in.size(), [&](int x, int y) {
        const Rgba s = straight(pixels.at(x, y));
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
    // The heights once, with the edge pixels repeated beyond the image.
    const int w = in.width(), h = in.height();
    std::vector<float> heights(size_t(w) * size_t(h));
    const Pixels pixels(in), light(shading);
    parallelRows(h, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < w; ++x)
                heights[size_t(y) * size_t(w) + size_t(x)] = luminance(straight(pixels.at(x, y)));
    });
    const auto height = [&](int x, int y) {
        return double(heights[size_t(std::clamp(y, 0, h - 1)) * size_t(w) + size_t(std::clamp(x, 0, w - 1))]);
    };
    return generate(in.size(), [&](int x, int y) {
        const double nx = (height(x - 1, y) - height(x + 1, y)) * scale, ny = (height(x, y - 1) - height(x, y + 1)) * scale;
        const double length = std::hypot(nx, ny, 1.0);
        const float u = float((0.5 + 0.5 * nx / length) * light.width);
        const float v = float((0.5 + 0.5 * ny / length) * light.height);
        return sample(light, u, v);
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
