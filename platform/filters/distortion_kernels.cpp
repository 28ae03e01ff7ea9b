// Distortions and tiles: each output pixel takes the source colour at a point computed from
// its place (inverse mapping), bilinearly sampled; points outside the source are clear.
// Angles turn counter-clockwise on the screen, as in the filters' y-up coordinates.
#include "platform/filters/filter_kernels.h"

#include <QPainter>
#include <QTransform>

#include <cmath>
#include <optional>

namespace {

constexpr double pi = 3.14159265358979323846;

// `source` answers the point of the source each output point shows, or none (clear).
template <class SourcePoint>
QImage warp(const QImage &in, const SourcePoint &source)
{
    const Pixels pixels(in);
    return generate(in.size(), [&](int x, int y) {
        const std::optional<QPointF> from = source(QPointF(x + 0.5, y + 0.5));
        return from ? sample(pixels, float(from->x()), float(from->y())) : Rgba{0, 0, 0, 0};
    });
}

// The point at distance r and angle a (counter-clockwise on the screen) from c.
QPointF polar(QPointF c, double r, double a)
{
    return c + QPointF(r * std::cos(a), -r * std::sin(a));
}

double angleOf(QPointF d)
{
    return std::atan2(-d.y(), d.x());
}

QImage holeDistortion(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = std::max(1.0, f.number("inputRadius", 150));
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = p - c;
        const double r = std::hypot(d.x(), d.y());
        if (r < radius)
            return std::nullopt;
        return c + d * ((r - radius * radius / r) / r);
    });
}

QImage pinchDistortion(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = f.number("inputRadius", 300), scale = f.number("inputScale", 0.5);
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = p - c;
        const double r = std::hypot(d.x(), d.y());
        if (r >= radius || r == 0)
            return p;
        // Pixels are drawn in from further out, most near the centre, none at the radius.
        return c + d * (1 + scale * (1 - r / radius));
    });
}

QImage twirlDistortion(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = f.number("inputRadius", 300), angle = f.number("inputAngle", pi);
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = p - c;
        const double r = std::hypot(d.x(), d.y());
        if (r >= radius)
            return p;
        const double t = 1 - r / radius;
        return polar(c, r, angleOf(d) - angle * t * t);
    });
}

// The image wrapped around a circle: its width runs round the circle, its height outwards.
QImage circularWrap(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = f.number("inputRadius", 150), angle = f.number("inputAngle", 0);
    const double w = in.width(), h = in.height();
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = p - c;
        const double r = std::hypot(d.x(), d.y());
        if (r < radius || r > radius + h)
            return std::nullopt;
        double turn = std::fmod(angleOf(d) - angle, 2 * pi);
        if (turn < 0)
            turn += 2 * pi;
        return QPointF(turn / (2 * pi) * w, h - (r - radius));
    });
}

// A ring-shaped lens: light passing the ring is bent towards its middle line.
QImage torusLensDistortion(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double radius = f.number("inputRadius", 160), width = std::max(1.0, f.number("inputWidth", 80)),
                 refraction = f.number("inputRefraction", 1.7);
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = p - c;
        const double r = std::hypot(d.x(), d.y());
        const double offset = (r - radius) / (width / 2);
        if (std::abs(offset) >= 1 || r == 0)
            return p;
        const double bend = refraction * offset * std::sqrt(1 - offset * offset) * width / 4;
        return c + d * ((r - bend) / r);
    });
}

// The corners given (y-up) are where the image's corners land.
QImage perspectiveTransform(const ImageFilter &f, const QImage &in)
{
    const double h = in.height();
    auto corner = [&](const char *key, QPointF otherwise) {
        const std::vector<double> v = f.vector(QString::fromLatin1(key));
        return v.size() < 2 ? otherwise : QPointF(v[0], h - v[1]);
    };
    const QRectF r(in.rect());
    QPolygonF to;
    to << corner("inputTopLeft", r.topLeft()) << corner("inputTopRight", r.topRight())
       << corner("inputBottomRight", r.bottomRight()) << corner("inputBottomLeft", r.bottomLeft());
    QTransform transform;
    QImage out(in.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPolygonF from;
    from << r.topLeft() << r.topRight() << r.bottomRight() << r.bottomLeft();
    if (QTransform::quadToQuad(from, to, transform)) {
        QPainter painter(&out);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(transform);
        painter.drawImage(QPointF(0, 0), in);
    }
    return out;
}

// The wedge from the centre between `angle` and angle + 2 pi / count, mirrored round.
QImage kaleidoscope(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double count = std::max(1.0, std::round(f.number("inputCount", 6))), angle = f.number("inputAngle", 0);
    const double wedge = pi / count;
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = p - c;
        double a = std::fmod(angleOf(d) - angle, 2 * wedge);
        if (a < 0)
            a += 2 * wedge;
        if (a > wedge)
            a = 2 * wedge - a;
        return polar(c, std::hypot(d.x(), d.y()), angle + a);
    });
}

// A lattice of tiles cut from the source at the centre: each point is carried into the
// tile around the centre along the lattice vectors u and v.
QPointF intoTile(QPointF p, QPointF c, QPointF u, QPointF v)
{
    const QPointF d = p - c;
    const double det = u.x() * v.y() - u.y() * v.x();
    if (std::abs(det) < 1e-9)
        return p;
    double a = (d.x() * v.y() - d.y() * v.x()) / det, b = (u.x() * d.y() - u.y() * d.x()) / det;
    a -= std::floor(a + 0.5);
    b -= std::floor(b + 0.5);
    return c + u * a + v * b;
}

QImage parallelogramTile(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double angle = f.number("inputAngle", 0), acute = f.number("inputAcuteAngle", pi / 2),
                 width = std::max(1.0, f.number("inputWidth", 100));
    const QPointF u = polar({0, 0}, width, angle), v = polar({0, 0}, width, angle + acute);
    return warp(in, [=](QPointF p) -> std::optional<QPointF> { return intoTile(p, c, u, v); });
}

// Square tiles of `width`, turned by `angle` and showing the source scaled by `scale`.
QImage opTile(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double angle = f.number("inputAngle", 0), width = std::max(1.0, f.number("inputWidth", 65)),
                 scale = std::max(0.01, f.number("inputScale", 2.8));
    const QPointF u = polar({0, 0}, width, angle), v = polar({0, 0}, width, angle + pi / 2);
    return warp(in, [=](QPointF p) -> std::optional<QPointF> { return c + (intoTile(p, c, u, v) - c) / scale; });
}

// Triangles of side `width`: the lattice of rhombi split along a diagonal, the second half
// mirrored onto the first.
QImage triangleTile(const ImageFilter &f, const QImage &in)
{
    const QPointF c = centerOf(f, in.size());
    const double angle = f.number("inputAngle", 0), width = std::max(1.0, f.number("inputWidth", 100));
    const QPointF u = polar({0, 0}, width, angle), v = polar({0, 0}, width, angle + pi / 3);
    const QPointF axis = (u + v) / std::hypot((u + v).x(), (u + v).y());
    return warp(in, [=](QPointF p) -> std::optional<QPointF> {
        const QPointF d = intoTile(p, c, u, v) - c;
        // Points past the diagonal through the centre come back mirrored across it.
        const QPointF normal(-axis.y(), axis.x());
        const double side = d.x() * normal.x() + d.y() * normal.y();
        return side < 0 ? c + d - normal * (2 * side) : c + d;
    });
}

} // namespace

void addDistortionKernels(std::map<QString, FilterKernel> &kernels)
{
    kernels["CIHoleDistortion"] = holeDistortion;
    kernels["CIPinchDistortion"] = pinchDistortion;
    kernels["CITwirlDistortion"] = twirlDistortion;
    kernels["CICircularWrap"] = circularWrap;
    kernels["CITorusLensDistortion"] = torusLensDistortion;
    kernels["CIPerspectiveTransform"] = perspectiveTransform;
    kernels["CIKaleidoscope"] = kaleidoscope;
    kernels["CIParallelogramTile"] = parallelogramTile;
    kernels["CIOpTile"] = opTile;
    kernels["CITriangleTile"] = triangleTile;
}
