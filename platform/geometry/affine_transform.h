// A 2-D affine transform with the platform's composition rules.
//
// A point (x, y) maps to (m11·x + m21·y + tX, m12·x + m22·y + tY). The translate, scale
// and rotate operations act *before* the receiver's transform (they change the
// coordinate system the receiver maps from); appendTransform acts after it and
// prependTransform before it.
#pragma once

#include "platform/geometry/geometry.h"

class BezierPath;

class AffineTransform {
public:
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, tX = 0, tY = 0;

    AffineTransform() = default;
    AffineTransform(double a, double b, double c, double d, double tx, double ty)
        : m11(a), m12(b), m21(c), m22(d), tX(tx), tY(ty) {}

    void translateXBy(double dx, double dy);
    void scaleBy(double s);
    void scaleXBy(double sx, double sy);
    void rotateByDegrees(double degrees);
    void rotateByRadians(double radians);
    // this := this followed by other.
    void appendTransform(const AffineTransform &other);
    // this := other followed by this.
    void prependTransform(const AffineTransform &other);
    // Leaves a singular transform unchanged and answers false.
    bool invert();

    Point transformPoint(Point p) const;
    // Sizes are vectors: the translation does not apply.
    Size transformSize(Size s) const;
    BezierPath transformBezierPath(const BezierPath &path) const;

    friend bool operator==(const AffineTransform &a, const AffineTransform &b)
    {
        return a.m11 == b.m11 && a.m12 == b.m12 && a.m21 == b.m21 && a.m22 == b.m22 && a.tX == b.tX
            && a.tY == b.tY;
    }
};
