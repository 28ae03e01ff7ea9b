// Path data scanning, quadratic curves and the conversion of elliptical arcs to cubic
// segments (the centre parametrisation of the SVG implementation notes, in the form librsvg
// uses it: segments of at most 90 degrees, control distance t = 8/3 sin^2(h/2) / sin(h)).
#include "svg/svg_path_data.h"

#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"

#include <cmath>
#include <limits>

namespace {

constexpr double DegreesToRadians = 0.017453292519943295;
constexpr char16_t CommandLetters[] = u"AaCcHhLlMmQqSsTtVvZz";

struct PathBuilder {
    BezierPath path;
    SvgMatrix matrix;
    double cpx = 0, cpy = 0;   // current point, untransformed
    double rpx = 0, rpy = 0;   // last control point, untransformed

    // Drawing commands before any move start at the current point.
    void ensureStarted()
    {
        if (path.isEmpty())
            path.moveToPoint(matrix.map(cpx, cpy));
    }
    void curveTo(double x1, double y1, double x2, double y2, double x3, double y3)
    {
        ensureStarted();
        path.curveToPoint(matrix.map(x3, y3), matrix.map(x1, y1), matrix.map(x2, y2));
    }
    void lineTo(double x, double y)
    {
        ensureStarted();
        path.lineToPoint(matrix.map(x, y));
    }
    void quadratic(double x1, double y1, double x, double y)
    {
        const double third = 0.3333333333333333;
        curveTo((cpx + 2 * x1) * third, (cpy + 2 * y1) * third, (2 * x1 + x) * third, (2 * y1 + y) * third, x, y);
        rpx = x1;
        rpy = y1;
        cpx = x;
        cpy = y;
    }
    void smoothQuadratic(double x, double y)
    {
        const double qx = 2 * cpx - rpx, qy = 2 * cpy - rpy;
        quadratic(qx, qy, x, y);
    }
    void arcSegment(double xc, double yc, double th0, double th1, double rx, double ry, double rotation)
    {
        const double s = std::sin(rotation * DegreesToRadians), c = std::cos(rotation * DegreesToRadians);
        const double a00 = c * rx, a01 = -s * ry, a10 = s * rx, a11 = c * ry;
        const double h = 0.5 * (th1 - th0);
        const double t = 2.6666666666666665 * std::sin(h * 0.5) * std::sin(h * 0.5) / std::sin(h);
        const double x1 = xc + std::cos(th0) - t * std::sin(th0), y1 = yc + std::sin(th0) + t * std::cos(th0);
        const double x3 = xc + std::cos(th1), y3 = yc + std::sin(th1);
        const double x2 = x3 + t * std::sin(th1), y2 = y3 - t * std::cos(th1);
        curveTo(a00 * x1 + a01 * y1, a10 * x1 + a11 * y1, a00 * x2 + a01 * y2, a10 * x2 + a11 * y2,
                a00 * x3 + a01 * y3, a10 * x3 + a11 * y3);
    }
    void arc(double rx, double ry, double rotation, int largeArc, int sweep, double x, double y)
    {
        rx = std::abs(rx);
        ry = std::abs(ry);
        const double cx0 = cpx, cy0 = cpy;
        cpx = rpx = x;
        cpy = rpy = y;
        // An arc to its own start draws nothing; a zero radius draws a straight line.
        if (cx0 == x && cy0 == y)
            return;
        if (rx == 0 || ry == 0) {
            lineTo(x, y);
            return;
        }
        const double s = std::sin(rotation * DegreesToRadians), c = std::cos(rotation * DegreesToRadians);
        const double dx = (cx0 - x) / 2, dy = (cy0 - y) / 2;
        const double x1p = c * dx + s * dy, y1p = -s * dx + c * dy;
        const double lambda = x1p * x1p / (rx * rx) + y1p * y1p / (ry * ry);
        if (lambda > 1) {
            rx *= std::sqrt(lambda);
            ry *= std::sqrt(lambda);
        }
        const double a00 = c / rx, a01 = s / rx, a10 = -s / ry, a11 = c / ry;
        const double x0 = a00 * cx0 + a01 * cy0, y0 = a10 * cx0 + a11 * cy0;
        const double x1 = a00 * x + a01 * y, y1 = a10 * x + a11 * y;
        const double d = (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
        double sfactorSq = 1.0 / d - 0.25;
        if (sfactorSq < 0)
            sfactorSq = 0;
        double sfactor = std::sqrt(sfactorSq);
        if (sweep == largeArc)
            sfactor = -sfactor;
        const double xc = 0.5 * (x0 + x1) - sfactor * (y1 - y0);
        const double yc = 0.5 * (y0 + y1) + sfactor * (x1 - x0);
        const double th0 = std::atan2(y0 - yc, x0 - xc);
        const double th1 = std::atan2(y1 - yc, x1 - xc);
        double thArc = th1 - th0;
        if (thArc < 0 && sweep)
            thArc += 2 * M_PI;
        else if (thArc > 0 && !sweep)
            thArc -= 2 * M_PI;
        if (!std::isfinite(thArc))
            return;
        const int segments = int(std::ceil(std::abs(thArc / 1.5717963267948964)));
        for (int i = 0; i < segments; ++i)
            arcSegment(xc, yc, th0 + i * thArc / segments, th0 + (i + 1) * thArc / segments, rx, ry, rotation);
    }
};

// One arc flag: the single character 0 or 1, so that flags written together ("0110") read
// as the grammar intends.
std::optional<int> scanFlag(SvgScanner &scanner)
{
    if (scanner.isAtEnd())
        return std::nullopt;
    const QStringView rest = scanner.remaining();
    if (rest[0] != u'0' && rest[0] != u'1')
        return std::nullopt;
    scanner.setLocation(scanner.location() + 1);
    return rest[0] == u'1' ? 1 : 0;
}

int numbersOf(char16_t command)
{
    switch (QChar::toUpper(command)) {
    case 'M': case 'L': case 'T': return 2;
    case 'H': case 'V': return 1;
    case 'C': return 6;
    case 'S': case 'Q': return 4;
    case 'A': return 7;
    default: return 0;
    }
}

} // namespace

SvgPathData dToPath(QStringView d, SvgGraphicsState &state)
{
    SvgPathData result;
    PathBuilder b;
    b.matrix = state.ctm;
    state.currentPoint = Point();
    double startX = 0, startY = 0;
    SvgScanner scanner(d, u", \t\n\r)");
    char16_t command = u'M';

    auto implicitRepeat = [&] {
        if (command == u'M')
            command = u'L';
        else if (command == u'm')
            command = u'l';
    };

    while (!scanner.isAtEnd()) {
        std::optional<double> first;
        if ((first = scanner.scanDouble())) {
            implicitRepeat();
        } else if (const auto text = scanner.scanUpToCharacters(CommandLetters)) {
            first = svgLeadingDouble(*text);
            implicitRepeat();
        } else if (const auto letters = scanner.scanCharacters(CommandLetters)) {
            command = (*letters)[0].unicode();
            if (letters->size() == 1)
                first = scanner.scanDouble();
            else
                scanner.setLocation(scanner.location() - (letters->size() - 1));
        } else {
            break;
        }

        // The command's numbers; a command missing any of them is dropped.
        const int count = numbersOf(command);
        double n[7] = {0, 0, 0, 0, 0, 0, 0};
        bool complete = true;
        if (count > 0) {
            if (!first) {
                complete = false;
            } else {
                n[0] = *first;
                for (int i = 1; i < count && complete; ++i) {
                    std::optional<double> value;
                    if ((command == u'A' || command == u'a') && (i == 3 || i == 4)) {
                        if (const auto flag = scanFlag(scanner))
                            value = *flag;
                    } else {
                        value = scanner.scanDouble();
                    }
                    if (value)
                        n[i] = *value;
                    else
                        complete = false;
                }
            }
        }
        if (!complete)
            continue;

        const bool relative = QChar::isLower(command);
        const double ox = relative ? b.cpx : 0, oy = relative ? b.cpy : 0;
        switch (QChar::toUpper(command)) {
        case 'M':
            b.cpx = b.rpx = n[0] + ox;
            b.cpy = b.rpy = n[1] + oy;
            b.path.moveToPoint(b.matrix.map(b.cpx, b.cpy));
            result.originalPoints.push_back(Point(float(b.cpx), float(b.cpy)));
            startX = b.cpx;
            startY = b.cpy;
            continue;
        case 'L':
            b.cpx = b.rpx = n[0] + ox;
            b.cpy = b.rpy = n[1] + oy;
            b.lineTo(b.cpx, b.cpy);
            break;
        case 'H':
            b.cpx = b.rpx = n[0] + ox;
            b.rpy = b.cpy;
            b.lineTo(b.cpx, b.cpy);
            break;
        case 'V':
            b.cpy = b.rpy = n[0] + oy;
            b.rpx = b.cpx;
            b.lineTo(b.cpx, b.cpy);
            break;
        case 'C':
            b.curveTo(n[0] + ox, n[1] + oy, n[2] + ox, n[3] + oy, n[4] + ox, n[5] + oy);
            b.rpx = n[2] + ox;
            b.rpy = n[3] + oy;
            b.cpx = n[4] + ox;
            b.cpy = n[5] + oy;
            break;
        case 'S': {
            const double x1 = 2 * b.cpx - b.rpx, y1 = 2 * b.cpy - b.rpy;
            b.curveTo(x1, y1, n[0] + ox, n[1] + oy, n[2] + ox, n[3] + oy);
            b.rpx = n[0] + ox;
            b.rpy = n[1] + oy;
            b.cpx = n[2] + ox;
            b.cpy = n[3] + oy;
            break;
        }
        case 'Q':
            b.quadratic(n[0] + ox, n[1] + oy, n[2] + ox, n[3] + oy);
            break;
        case 'T':
            b.smoothQuadratic(n[0] + ox, n[1] + oy);
            break;
        case 'A':
            b.arc(n[0], n[1], n[2], int(n[3]), int(n[4]), n[5] + ox, n[6] + oy);
            break;
        case 'Z':
            if (!b.path.isEmpty())
                b.path.closePath();
            b.cpx = b.rpx = startX;
            b.cpy = b.rpy = startY;
            continue;
        default:
            continue;
        }
        result.originalPoints.push_back(Point(float(b.cpx), float(b.cpy)));
    }

    state.currentPoint = Point(float(b.cpx), float(b.cpy));
    const Rect pathBounds = b.path.bounds();
    if (pathBounds != Rect()) {
        float minX = std::numeric_limits<float>::max(), minY = minX;
        float maxX = -std::numeric_limits<float>::max(), maxY = maxX;
        bool mapped = true;
        const Point corners[4] = {pathBounds.origin, Point(pathBounds.maxX(), pathBounds.origin.y),
                                  Point(pathBounds.maxX(), pathBounds.maxY()), Point(pathBounds.origin.x, pathBounds.maxY())};
        for (const Point &corner : corners) {
            const auto p = svgInverseMap(b.matrix, corner);
            if (!p) {
                mapped = false;
                break;
            }
            minX = std::min(minX, p->x);
            minY = std::min(minY, p->y);
            maxX = std::max(maxX, p->x);
            maxY = std::max(maxY, p->y);
        }
        if (mapped)
            result.objectBounds = Rect(minX, minY, maxX - minX, maxY - minY);
    }
    result.path = std::move(b.path);
    return result;
}
