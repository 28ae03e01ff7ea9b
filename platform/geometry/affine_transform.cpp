// Composition, inversion and application of affine transforms.
#include "platform/geometry/affine_transform.h"

#include "platform/geometry/bezier_path.h"

#include <cmath>

namespace {

// The transform that applies a, then b.
AffineTransform concat(const AffineTransform &a, const AffineTransform &b)
{
    return {a.m11 * b.m11 + a.m12 * b.m21,
            a.m11 * b.m12 + a.m12 * b.m22,
            a.m21 * b.m11 + a.m22 * b.m21,
            a.m21 * b.m12 + a.m22 * b.m22,
            a.tX * b.m11 + a.tY * b.m21 + b.tX,
            a.tX * b.m12 + a.tY * b.m22 + b.tY};
}

} // namespace

void AffineTransform::translateXBy(double dx, double dy)
{
    prependTransform({1, 0, 0, 1, dx, dy});
}

void AffineTransform::scaleBy(double s)
{
    scaleXBy(s, s);
}

void AffineTransform::scaleXBy(double sx, double sy)
{
    prependTransform({sx, 0, 0, sy, 0, 0});
}

void AffineTransform::rotateByDegrees(double degrees)
{
    rotateByRadians(degrees * M_PI / 180.0);
}

void AffineTransform::rotateByRadians(double radians)
{
    const double c = std::cos(radians), s = std::sin(radians);
    prependTransform({c, s, -s, c, 0, 0});
}

void AffineTransform::appendTransform(const AffineTransform &other)
{
    *this = concat(*this, other);
}

void AffineTransform::prependTransform(const AffineTransform &other)
{
    *this = concat(other, *this);
}

bool AffineTransform::invert()
{
    const double det = m11 * m22 - m12 * m21;
    if (det == 0 || !std::isfinite(det))
        return false;
    const AffineTransform t = *this;
    m11 = t.m22 / det;
    m12 = -t.m12 / det;
    m21 = -t.m21 / det;
    m22 = t.m11 / det;
    tX = (t.m21 * t.tY - t.m22 * t.tX) / det;
    tY = (t.m12 * t.tX - t.m11 * t.tY) / det;
    return true;
}

Point AffineTransform::transformPoint(Point p) const
{
    return {float(m11 * p.x + m21 * p.y + tX), float(m12 * p.x + m22 * p.y + tY)};
}

Size AffineTransform::transformSize(Size s) const
{
    return {float(m11 * s.width + m21 * s.height), float(m12 * s.width + m22 * s.height)};
}

BezierPath AffineTransform::transformBezierPath(const BezierPath &path) const
{
    BezierPath out = path;
    out.transformUsingAffineTransform(*this);
    return out;
}
