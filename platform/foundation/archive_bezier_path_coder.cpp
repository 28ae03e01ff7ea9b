// Archive coders of Bezier paths.
#include "platform/foundation/archive_bezier_path_coder.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/unarchiver.h"
#include "platform/geometry/bezier_path.h"

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

// VekBezierPath, version 1:
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

bool encodeBezierPath(Archiver &out, const BezierPath &path)
{
    QByteArray kinds;
    std::vector<float> coordinates;
    for (const PathElement &e : path.elements()) {
        kinds.append(char(e.kind));
        for (int i = 0; i < e.pointCount(); ++i) {
            coordinates.push_back(e.points[i].x);
            coordinates.push_back(e.points[i].y);
        }
    }
    out.beginObject({{"VekBezierPath", 1}, {"NSObject", 0}});
    out.encodeInt(path.elementCount());
    out.encodeByteArray(kinds);
    out.encodeFloatArray(coordinates);
    out.beginGroup("iii");
    out.encodeInt(path.windingRule());
    out.encodeInt(path.lineCapStyle());
    out.encodeInt(path.lineJoinStyle());
    out.endGroup();
    out.beginGroup("fff");
    out.encodeFloat(path.lineWidth());
    out.encodeFloat(path.miterLimit());
    out.encodeFloat(path.flatness());
    out.endGroup();
    out.encodeInt(qint64(path.lineDash().size()));
    if (!path.lineDash().empty())
        out.encodeFloatArray(path.lineDash());
    out.encodeFloat(path.lineDashPhase());
    return true;
}

// One number of an NSBezierPath's values, with whether it was stored as an integer type.
struct Number {
    bool integer;
    double value;
};

// Reads the numbers an object holds, in order; false when it holds anything else.
bool readNumbers(Unarchiver &in, std::vector<Number> &numbers)
{
    while (const TypeEncoding *type = in.peekType()) {
        if (type->isInteger()) {
            qint64 v;
            if (!in.decodeInt(v))
                return false;
            numbers.push_back({true, double(v)});
        } else if (type->isFloat()) {
            double v;
            if (!in.decodeReal(v))
                return false;
            numbers.push_back({false, v});
        } else if (type->code == '[' && type->fields.front().isFloat()) {
            std::vector<float> values;
            if (!in.decodeFloatArray(values))
                return false;
            for (float v : values)
                numbers.push_back({false, v});
        } else if (type->code == '[' && type->fields.front().isInteger() && type->fields.front().code != 'B') {
            QByteArray bytes;
            if (!in.decodeByteArray(bytes))
                return false;
            for (char b : bytes)
                numbers.push_back({true, double(b)});
        } else {
            return false;
        }
    }
    return !in.failed();
}

// The platform's NSBezierPath, read as well as its layout can be guessed: an element count,
// then per element its kind followed by its points as pairs of reals (a kind repeated before
// each point of a curve, and a point after a close-path, are accepted), then the line width
// as the first real after the elements. Everything else keeps the path's defaults; a path
// that does not fit the guess reads as an UnsupportedObject.
bool decodeNSBezierPath(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    std::vector<Number> n;
    const bool readAll = readNumbers(in, n);
    if (in.failed())
        return false;
    object = UnsupportedObject{"NSBezierPath"};
    if (!readAll || n.empty() || !n[0].integer || n[0].value < 0 || n[0].value > double(n.size()))
        return true;
    size_t pos = 1;
    auto isKind = [&](size_t i) { return i < n.size() && n[i].integer && n[i].value >= 0 && n[i].value <= 3; };
    auto isReal = [&](size_t i) { return i < n.size() && !n[i].integer && isFiniteValue(float(n[i].value)); };
    BezierPath path;
    const auto count = qint64(n[0].value);
    for (qint64 e = 0; e < count; ++e) {
        if (!isKind(pos))
            return true;
        const int kind = int(n[pos++].value);
        if (e == 0 && kind != MoveToBezierPathElement)
            return true;
        Point p[3];
        for (int i = 0; i < pointCountOf(kind); ++i) {
            if (i > 0 && isKind(pos) && int(n[pos].value) == kind && isReal(pos + 1))
                ++pos;
            if (!isReal(pos) || !isReal(pos + 1))
                return true;
            p[i] = {float(n[pos].value), float(n[pos + 1].value)};
            pos += 2;
        }
        if (kind == ClosePathBezierPathElement && isReal(pos) && isReal(pos + 1))
            pos += 2;
        appendElement(path, kind, p);
    }
    if (isReal(pos) && n[pos].value >= 0)
        path.setLineWidth(float(n[pos].value));
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
