// Archive coders of Bezier paths.
#include "platform/foundation/archive_bezier_path_coder.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/unarchiver.h"
#include "platform/geometry/bezier_path.h"

#include <algorithm>
#include <cmath>

namespace {

int pointCountOf(int kind) { return kind == CurveToBezierPathElement ? 3 : kind == ClosePathBezierPathElement ? 0 : 1; }

// Appends element `kind` with its points (control point 1, control point 2, end for a curve).
void appendElement(BezierPath &path, int kind, const Point *p)
{
    switch (kind) {
    case MoveToBezierPathElement: path.moveToPoint(p[0]); break;
    case LineToBezierPathElement: path.lineToPoint(p[0]); break;
    case CurveToBezierPathElement: path.curveToPoint(p[2], p[0], p[1]); break;
    default: path.closePath(); break;
    }
}

bool isFiniteValue(float v) { return std::isfinite(v); }

// VekBezierPath, version 1, our own layout of earlier files (still read, no longer written):
//   "i" element count N, "[Nc]" element kinds, "[Mf]" the elements' points as x, y pairs,
//   "iii" winding rule, line cap, line join, "fff" line width, miter limit, flatness,
//   "i" dash count K, "[Kf]" the dash lengths (only when K > 0), "f" dash phase.
bool decodeVekBezierPath(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 count, winding, cap, join, dashCount;
    QByteArray kinds;
    std::vector<float> coordinates, dash;
    float lineWidth, miterLimit, flatness, phase;
    if (!in.decodeInt(count) || !in.decodeByteArray(kinds) || !in.decodeFloatArray(coordinates))
        return false;
    if (count != kinds.size())
        return in.fail(QStringLiteral("path element count does not match its kinds"));
    qint64 points = 0;
    for (char kind : kinds) {
        if (kind < MoveToBezierPathElement || kind > ClosePathBezierPathElement)
            return in.fail(QStringLiteral("unknown path element kind %1").arg(int(kind)));
        points += pointCountOf(kind);
    }
    if (qint64(coordinates.size()) != 2 * points)
        return in.fail(QStringLiteral("path points do not match its elements"));
    if (!kinds.isEmpty() && kinds.front() != MoveToBezierPathElement)
        return in.fail(QStringLiteral("path does not begin with a move-to"));
    if (!in.decodeInt(winding) || !in.decodeInt(cap) || !in.decodeInt(join) || !in.decodeFloat(lineWidth)
        || !in.decodeFloat(miterLimit) || !in.decodeFloat(flatness) || !in.decodeInt(dashCount))
        return false;
    if (dashCount < 0 || dashCount > in.remainingBytes())
        return in.fail(QStringLiteral("bad dash count"));
    if (dashCount > 0 && !in.decodeFloatArray(dash))
        return false;
    if (qint64(dash.size()) != dashCount || !in.decodeFloat(phase))
        return in.fail(QStringLiteral("bad dash pattern"));

    BezierPath path;
    const float *c = coordinates.data();
    for (char kind : kinds) {
        Point p[3];
        for (int i = 0; i < pointCountOf(kind); ++i, c += 2)
            p[i] = {c[0], c[1]};
        appendElement(path, kind, p);
    }
    path.setWindingRule(winding == EvenOddWindingRule ? EvenOddWindingRule : NonZeroWindingRule);
    path.setLineCapStyle(cap >= ButtLineCapStyle && cap <= SquareLineCapStyle ? LineCapStyle(cap) : ButtLineCapStyle);
    path.setLineJoinStyle(join >= MiterLineJoinStyle && join <= BevelLineJoinStyle ? LineJoinStyle(join) : MiterLineJoinStyle);
    path.setLineWidth(lineWidth);
    path.setMiterLimit(miterLimit);
    path.setFlatness(flatness);
    path.setLineDash(dash.data(), int(dash.size()), phase);
    object = path;
    return true;
}

// NSBezierPath, version 524, the platform's own layout:
//   "i" entry count N; N groups "cff": element kind, x, y (a curve is three entries of kind 2:
//   control point 1, control point 2, end point; a close-path entry carries an unused point);
//   "iiifffi" winding rule, line cap, line join, line width, miter limit, flatness, dash
//   count K; only when K > 0: "f" the dash phase, then K groups "f", the dash lengths.
constexpr int nsBezierPathVersion = 524;

bool encodeBezierPath(Archiver &out, const BezierPath &path)
{
    qint64 entries = 0;
    for (const PathElement &e : path.elements())
        entries += std::max(1, e.pointCount());
    out.beginObject({{"NSBezierPath", nsBezierPathVersion}, {"NSObject", 0}});
    out.encodeInt(entries);
    Point subpathStart{0, 0};
    for (const PathElement &e : path.elements()) {
        if (e.kind == MoveToBezierPathElement)
            subpathStart = e.points[0];
        const int count = e.pointCount();
        for (int i = 0; i < std::max(1, count); ++i) {
            const Point p = count > 0 ? e.points[i] : subpathStart;
            out.beginGroup("cff");
            out.encodeInt(e.kind, 'c');
            out.encodeFloat(p.x);
            out.encodeFloat(p.y);
            out.endGroup();
        }
    }
    const std::vector<float> &dash = path.lineDash();
    out.beginGroup("iiifffi");
    out.encodeInt(path.windingRule());
    out.encodeInt(path.lineCapStyle());
    out.encodeInt(path.lineJoinStyle());
    out.encodeFloat(path.lineWidth());
    out.encodeFloat(path.miterLimit());
    out.encodeFloat(path.flatness());
    out.encodeInt(qint64(dash.size()));
    out.endGroup();
    if (!dash.empty()) {
        out.encodeFloat(path.lineDashPhase());
        for (float length : dash)
            out.encodeFloat(length);
    }
    return true;
}

// Reads the platform's layout. A version other than the one known is read past and answered
// as an UnsupportedObject; values of a subclass after the path's own are read past too.
bool decodeNSBezierPath(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)
{
    if (archivedClass.version != nsBezierPathVersion) {
        object = UnsupportedObject{"NSBezierPath version " + QByteArray::number(archivedClass.version)};
        return true;
    }
    qint64 entries;
    if (!in.decodeInt(entries))
        return false;
    if (entries < 0 || entries > in.remainingBytes() / 3)
        return in.fail(QStringLiteral("%1 path entries announced, more than the archive can hold").arg(entries));
    BezierPath path;
    for (qint64 e = 0; e < entries;) {
        qint64 kind;
        Point p[3];
        if (!in.decodeInt(kind) || !in.decodeFloat(p[0].x) || !in.decodeFloat(p[0].y))
            return false;
        if (kind < MoveToBezierPathElement || kind > ClosePathBezierPathElement)
            return in.fail(QStringLiteral("unknown path element kind %1").arg(kind));
        ++e;
        if (kind == CurveToBezierPathElement) {
            for (int i = 1; i < 3; ++i, ++e) {
                qint64 next;
                if (e >= entries || !in.decodeInt(next) || !in.decodeFloat(p[i].x) || !in.decodeFloat(p[i].y))
                    return in.failed() ? false : in.fail(QStringLiteral("path curve without its three points"));
                if (next != CurveToBezierPathElement)
                    return in.fail(QStringLiteral("path curve without its three points"));
            }
        }
        for (const Point &q : p)
            if (!isFiniteValue(q.x) || !isFiniteValue(q.y))
                return in.fail(QStringLiteral("path point is not a finite number"));
        appendElement(path, int(kind), p);
    }
    qint64 winding, cap, join, dashCount;
    float lineWidth, miterLimit, flatness, phase = 0;
    if (!in.decodeInt(winding) || !in.decodeInt(cap) || !in.decodeInt(join) || !in.decodeFloat(lineWidth)
        || !in.decodeFloat(miterLimit) || !in.decodeFloat(flatness) || !in.decodeInt(dashCount))
        return false;
    if (dashCount < 0 || dashCount > in.remainingBytes())
        return in.fail(QStringLiteral("bad dash count"));
    std::vector<float> dash(size_t(dashCount), 0.0f);
    if (dashCount > 0 && !in.decodeFloat(phase))
        return false;
    for (float &length : dash)
        if (!in.decodeFloat(length))
            return false;
    path.setWindingRule(winding == EvenOddWindingRule ? EvenOddWindingRule : NonZeroWindingRule);
    path.setLineCapStyle(cap >= ButtLineCapStyle && cap <= SquareLineCapStyle ? LineCapStyle(cap) : ButtLineCapStyle);
    path.setLineJoinStyle(join >= MiterLineJoinStyle && join <= BevelLineJoinStyle ? LineJoinStyle(join) : MiterLineJoinStyle);
    if (isFiniteValue(lineWidth) && lineWidth >= 0)
        path.setLineWidth(lineWidth);
    if (isFiniteValue(miterLimit) && miterLimit > 0)
        path.setMiterLimit(miterLimit);
    if (isFiniteValue(flatness) && flatness > 0)
        path.setFlatness(flatness);
    path.setLineDash(dash.data(), int(dash.size()), phase);
    object = path;
    return true;
}

}   // namespace

void registerBezierPathCoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("VekBezierPath", decodeVekBezierPath);
    registry.registerDecoder("NSBezierPath", decodeNSBezierPath);
    registry.registerEncoder<BezierPath>(encodeBezierPath);
}
