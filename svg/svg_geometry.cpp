// SVG lengths, transform lists and matrix composition.
#include "svg/svg_geometry.h"

#include "platform/text/font_registry.h"
#include "svg/svg_scanner.h"

#include <cmath>

namespace {

constexpr double DegreesToRadians = 0.017453292519943295;

// The numbers of a transform entry's arguments: between two numbers everything up to the
// next character of "0123456789-+." is skipped.
std::vector<double> argumentNumbers(QStringView arguments)
{
    std::vector<double> numbers;
    SvgScanner scanner(arguments, u", \t\n\r");
    while (!scanner.isAtEnd() && numbers.size() < 16) {
        if (const auto n = scanner.scanDouble()) {
            numbers.push_back(*n);
            continue;
        }
        // Skip to the next character that may start a number.
        QStringView rest = scanner.remaining();
        qsizetype i = 1;
        while (i < rest.size() && !QStringView(u"0123456789-+.").contains(rest[i]))
            ++i;
        scanner.setLocation(scanner.location() + (i < rest.size() ? i : rest.size()));
        if (i >= rest.size())
            break;
    }
    return numbers;
}

} // namespace

double unitToPix(QStringView value, const SvgGraphicsState &state, double reference)
{
    const double number = svgLeadingDouble(value);
    static const char16_t *units[] = {u"px", u"pt", u"pc", u"mm", u"cm", u"in", u"em", u"ex", u"%"};
    int unit = -1;
    for (int i = 0; i < 9; ++i) {
        if (value.contains(QStringView(units[i]))) {
            unit = i;
            break;
        }
    }
    // A user unit is a CSS pixel (one point on the page); the absolute units keep CSS's ratio
    // to it (96 to the inch), so that lengths in px and in mm agree within one file.
    switch (unit) {
    case 1: return number * 96 / 72;
    case 2: return number * 16;
    case 3: return number * 96 / 25.4;
    case 4: return number * 96 / 2.54;
    case 5: return number * 96;
    case 6: return number * state.fontSize;
    case 7: {
        if (!fontExists(state.fontName))
            return 0;
        return number * fontMetrics(Font{state.fontName, state.fontSize}).xHeight;
    }
    case 8: return number * 0.01 * reference;
    default: return number;
    }
}

SvgMatrix svgNewMatrix(const SvgMatrix &m, double a, double c, double e, double b, double d, double f)
{
    SvgMatrix r;
    r.m11 = float(a * m.m11 + b * m.m12);
    r.m12 = float(c * m.m11 + d * m.m12);
    r.m21 = float(a * m.m21 + b * m.m22);
    r.m22 = float(c * m.m21 + d * m.m22);
    r.tX = float(e * m.m11 + f * m.m12 + m.tX);
    r.tY = float(e * m.m21 + f * m.m22 + m.tY);
    return r;
}

double atan3(double y, double x)
{
    if (x == 0)
        return y > 0 ? M_PI / 2 : y == 0 ? 0 : 3 * M_PI / 2;
    if (y == 0 && x < 0)
        return M_PI;
    double angle = std::atan(y / x);
    if (x < 0)
        angle += M_PI;
    if (angle < 0)
        angle += 2 * M_PI;
    return angle;
}

SvgGraphicsState svgTransform(QStringView list, const SvgGraphicsState &state)
{
    SvgGraphicsState result = state;
    SvgScanner scanner(list, u", \t\n\r");
    auto compose = [&](double a, double c, double e, double b, double d, double f) {
        result.ctm = svgNewMatrix(result.ctm, a, c, e, b, d, f);
    };
    while (!scanner.isAtEnd()) {
        const auto name = scanner.scanUpToCharacters(u"(");
        if (!name || !scanner.scanString(u"("))
            break;
        const auto arguments = scanner.scanUpToCharacters(u")");
        if (!arguments || !scanner.scanString(u")"))
            break;
        const std::vector<double> n = argumentNumbers(*arguments);
        const QString kind = name->trimmed();
        if (kind.startsWith(u"rotate")) {
            const double theta = (n.empty() ? 0 : n[0]) * DegreesToRadians;
            const double cs = std::cos(theta), sn = std::sin(theta);
            if (n.size() > 1) {
                const double cx = n[1], cy = n.size() > 2 ? n[2] : 0;
                compose(1, 0, cx, 0, 1, cy);
                compose(cs, -sn, 0, sn, cs, 0);
                compose(1, 0, -cx, 0, 1, -cy);
            } else {
                compose(cs, -sn, 0, sn, cs, 0);
            }
            result.rotate += theta;
        } else if (kind.startsWith(u"translate")) {
            if (n.empty())
                continue;
            const double tx = n[0], ty = n.size() > 1 ? n[1] : 0;
            compose(1, 0, tx, 0, 1, ty);
            result.translate = Point(float(result.translate.x + result.scaleX * tx),
                                     float(result.translate.y + result.scaleY * ty));
        } else if (kind.startsWith(u"scale")) {
            if (n.empty())
                continue;
            const double sx = n[0], sy = n.size() > 1 ? n[1] : sx;
            compose(sx, 0, 0, 0, sy, 0);
            result.scaleX *= sx;
            result.scaleY *= sy;
        } else if (kind.startsWith(u"matrix")) {
            // Fewer than six numbers: the entry is left out.
            if (n.size() < 6)
                continue;
            const double a = n[0], b = n[1], c = n[2], d = n[3], e = n[4], f = n[5];
            result.rotate += atan3(b, a);
            result.translate = Point(float(result.translate.x + e * result.scaleX),
                                     float(result.translate.y + f * result.scaleY));
            double sx, sy;
            if (a == 0 && d == 0) {
                sx = std::abs(b);
                sy = std::abs(c);
            } else if (b == 0 && c == 0) {
                sx = std::abs(a);
                sy = std::abs(d);
            } else if (a == 0) {
                sx = sy = 1;
            } else {
                const double phi = std::atan(b / a);
                sx = std::abs(a / std::cos(phi));
                // A pure horizontal skew (b = 0) has no vertical factor from c / sin(phi):
                // the column length stands in for it.
                sy = std::sin(phi) != 0 ? std::abs(c / std::sin(phi)) : std::hypot(c, d);
            }
            compose(a, c, e, b, d, f);
            if (sx < 0.9999990000000025 || sx > 1.0000009999999975)
                result.scaleX *= sx;
            if (sy < 0.9999990000000025 || sy > 1.0000009999999975)
                result.scaleY *= sy;
        } else if (kind.startsWith(u"skewX")) {
            if (n.empty())
                continue;
            const double theta = n[0] * DegreesToRadians;
            compose(1, std::tan(theta), 0, 0, 1, 0);
            result.skewX += theta;
        } else if (kind.startsWith(u"skewY")) {
            if (n.empty())
                continue;
            const double theta = n[0] * DegreesToRadians;
            compose(1, 0, 0, std::tan(theta), 1, 0);
            result.skewY += theta;
        }
    }
    return result;
}

std::optional<Point> svgInverseMap(const SvgMatrix &m, Point p)
{
    const double det = double(m.m11) * m.m22 - double(m.m12) * m.m21;
    if (det == 0 || !std::isfinite(det))
        return std::nullopt;
    const double x = ((p.x - m.tX) * double(m.m22) - (p.y - m.tY) * double(m.m12)) / det;
    const double y = ((p.y - m.tY) * double(m.m11) - (p.x - m.tX) * double(m.m21)) / det;
    return Point(float(x), float(y));
}

SvgAspectRatio svgAspectRatio(const QString &value)
{
    static const QStringList aligns = {"none",     "xMinYMin", "xMinYMid", "xMinYMax", "xMidYMin",
                                       "xMidYMid", "xMidYMax", "xMaxYMin", "xMaxYMid", "xMaxYMax"};
    SvgAspectRatio ratio;
    const QStringList words = value.simplified().split(u' ', Qt::SkipEmptyParts);
    if (!words.isEmpty() && aligns.contains(words[0]))
        ratio.align = words[0];
    ratio.slice = words.size() > 1 && words[1] == u"slice";
    return ratio;
}

Rect svgFittedRect(Size content, const Rect &viewport, const SvgAspectRatio &ratio)
{
    if (ratio.align == u"none" || !(content.width > 0 && content.height > 0))
        return viewport;
    const double sx = viewport.size.width / content.width, sy = viewport.size.height / content.height;
    const double s = ratio.slice ? std::max(sx, sy) : std::min(sx, sy);
    const double w = content.width * s, h = content.height * s;
    auto offset = [](QStringView part, double room) { return part == u"Min" ? 0 : part == u"Mid" ? room / 2 : room; };
    const double x = viewport.origin.x + offset(QStringView(ratio.align).mid(1, 3), viewport.size.width - w);
    const double y = viewport.origin.y + offset(QStringView(ratio.align).mid(5, 3), viewport.size.height - h);
    return Rect(float(x), float(y), float(w), float(h));
}
