// Rectangle arithmetic and the C-locale text forms of points, sizes and rectangles.
#include "platform/geometry/geometry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

Rect unionRect(const Rect &a, const Rect &b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    const float x0 = std::min(a.minX(), b.minX()), y0 = std::min(a.minY(), b.minY());
    const float x1 = std::max(a.maxX(), b.maxX()), y1 = std::max(a.maxY(), b.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

Rect intersectionRect(const Rect &a, const Rect &b)
{
    const float x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    const float x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    if (x1 <= x0 || y1 <= y0)
        return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

bool intersectsRect(const Rect &a, const Rect &b)
{
    return !intersectionRect(a, b).isEmpty();
}

bool containsRect(const Rect &a, const Rect &b)
{
    return !b.isEmpty() && a.minX() <= b.minX() && a.minY() <= b.minY() && a.maxX() >= b.maxX()
        && a.maxY() >= b.maxY();
}

Rect insetRect(const Rect &r, float dx, float dy)
{
    return {r.origin.x + dx, r.origin.y + dy, r.size.width - 2 * dx, r.size.height - 2 * dy};
}

Rect offsetRect(const Rect &r, float dx, float dy)
{
    return {r.origin.x + dx, r.origin.y + dy, r.size.width, r.size.height};
}

Rect integralRect(const Rect &r)
{
    if (r.isEmpty())
        return {};
    const float x0 = std::floor(r.minX()), y0 = std::floor(r.minY());
    return {x0, y0, std::ceil(r.maxX()) - x0, std::ceil(r.maxY()) - y0};
}

bool pointInRect(Point p, const Rect &r)
{
    return !r.isEmpty() && p.x >= r.minX() && p.x < r.maxX() && p.y >= r.minY() && p.y < r.maxY();
}

bool mouseInRect(Point p, const Rect &r, bool flipped)
{
    if (flipped)
        return pointInRect(p, r);
    return !r.isEmpty() && p.x >= r.minX() && p.x < r.maxX() && p.y > r.minY() && p.y <= r.maxY();
}

float distanceBetweenPoints(Point a, Point b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

namespace {

QString number(float v)
{
    if (v == 0)
        v = 0; // no "-0"
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

// Reads the first `wanted` (at most 4) numbers in the text, in order, ignoring what lies
// between them; missing ones are 0. The text is read as Latin-1 bytes (other characters as
// '?'), copied to the stack when short: documents hold a rectangle text for every object.
// from_chars leaves the value untouched when it does not fit a float: too small a
// magnitude becomes a signed zero, too large a signed infinity, as a float cast of the
// exact value would give.
float outOfFloatRange(const char *begin, const char *end)
{
    double wide = 0;
    if (std::from_chars(begin, end, wide).ec != std::errc::result_out_of_range)
        return float(wide);
    const bool negative = *begin == '-';
    const char *exponent = std::find_if(begin, end, [](char c) { return c == 'e' || c == 'E'; });
    const bool tiny = exponent + 1 < end && exponent[1] == '-';
    if (tiny)
        return negative ? -0.0f : 0.0f;
    return negative ? -INFINITY : INFINITY;
}

std::array<float, 4> numbersIn(const QString &text, size_t wanted)
{
    char small[128];
    std::string big;
    char *bytes = small;
    if (text.size() > qsizetype(sizeof small)) {
        big.resize(size_t(text.size()));
        bytes = big.data();
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        bytes[i] = c < 0x100 ? char(c) : '?';
    }
    const char *p = bytes;
    const char *end = p + text.size();
    std::array<float, 4> out{};
    size_t count = 0;
    while (p < end && count < wanted) {
        const bool startsNumber = (*p >= '0' && *p <= '9')
            || ((*p == '-' || *p == '+' || *p == '.') && p + 1 < end
                && ((p[1] >= '0' && p[1] <= '9') || (p[1] == '.' && p + 2 < end && p[2] >= '0' && p[2] <= '9')));
        if (!startsNumber) {
            ++p;
            continue;
        }
        if (*p == '+')
            ++p;
        float v = 0;
        const auto res = std::from_chars(p, end, v);
        if (res.ec == std::errc::result_out_of_range)
            v = outOfFloatRange(p, res.ptr);
        out[count++] = v;
        p = res.ptr > p ? res.ptr : p + 1;
    }
    return out;
}

} // namespace

QString stringFromPoint(Point p)
{
    return QLatin1Char('{') + number(p.x) + QLatin1String(", ") + number(p.y) + QLatin1Char('}');
}

QString stringFromSize(Size s)
{
    return QLatin1Char('{') + number(s.width) + QLatin1String(", ") + number(s.height) + QLatin1Char('}');
}

QString stringFromRect(const Rect &r)
{
    return QLatin1Char('{') + stringFromPoint(r.origin) + QLatin1String(", ") + stringFromSize(r.size)
        + QLatin1Char('}');
}

Point pointFromString(const QString &text)
{
    const auto n = numbersIn(text, 2);
    return {n[0], n[1]};
}

Size sizeFromString(const QString &text)
{
    const auto n = numbersIn(text, 2);
    return {n[0], n[1]};
}

Rect rectFromString(const QString &text)
{
    const auto n = numbersIn(text, 4);
    return {n[0], n[1], n[2], n[3]};
}
