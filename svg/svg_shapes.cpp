// Basic shapes and paths: geometry attributes, outlines in output coordinates, object infos.
#include "svg/svg_shapes.h"

#include "svg/svg_geometry.h"
#include "svg/svg_image.h"
#include "svg/svg_path_data.h"
#include "svg/svg_scanner.h"
#include "svg/svg_styles.h"

#include <cmath>

namespace {

double viewBoxWidth(const SvgGraphicsState &s) { return s.viewBox ? s.viewBox->size.width : 0; }
double viewBoxHeight(const SvgGraphicsState &s) { return s.viewBox ? s.viewBox->size.height : 0; }

// Number pairs of a "points" attribute; reading ends at the first value that does not scan.
std::vector<std::pair<double, double>> pointPairs(const QString &value)
{
    std::vector<std::pair<double, double>> pairs;
    SvgScanner scanner(value, u", \t\n\r)");
    while (!scanner.isAtEnd()) {
        const auto x = scanner.scanDouble();
        if (!x)
            break;
        const auto y = scanner.scanDouble();
        if (!y)
            break;
        pairs.emplace_back(*x, *y);
    }
    return pairs;
}

// Fills the object info of a shape: the state, the outline, and for paths, polylines and
// polygons the marker copies in place of the state's marker references.
void fillShapeInfo(SvgObjectInfo &info, SvgGraphicsState &&state, BezierPath path, const std::vector<Point> *vertices)
{
    if (vertices) {
        info.markerInfos = markerPaths(state, *vertices);
        state.markers.clear();
        info.originalPoints = *vertices;
    }
    info.state = std::move(state);
    info.bezierPath = std::move(path);
    info.classNr = SvgPathObject;
}

// The four-curve outline of an ellipse about (cx, cy): each quarter has its first control
// point on its start and its second on the box corner.
BezierPath cornerCurveEllipse(const SvgMatrix &m, double cx, double cy, double rx, double ry)
{
    const Point a = m.map(cx - rx, cy - ry), b = m.map(cx + rx, cy - ry), c = m.map(cx + rx, cy + ry),
                d = m.map(cx - rx, cy + ry);
    const Point n = m.map(cx, cy - ry), e = m.map(cx + rx, cy), s = m.map(cx, cy + ry), w = m.map(cx - rx, cy);
    BezierPath path;
    path.moveToPoint(n);
    path.curveToPoint(e, n, b);
    path.curveToPoint(s, e, c);
    path.curveToPoint(w, s, d);
    path.curveToPoint(n, w, a);
    path.closePath();
    return path;
}

Point offsetBy(Point p, double radius, double angle)
{
    return Point(float(p.x + radius * std::cos(angle)), float(p.y + radius * std::sin(angle)));
}

} // namespace

SvgGraphicsState svgAttributePass(const SvgAttributes &attributes, const QString &tagName,
                                  const SvgGraphicsState &parent, const SvgGeometryReader &geometry)
{
    SvgGraphicsState state = parent;
    classSearch(QString(), tagName, state);
    for (const auto &[name, value] : attributes) {
        classSearch(value, name, state);
        if (name == u"class" || name == u"id")
            classSearch(value, tagName, state);
        else if (name == u"style")
            cssStyle(value, state);
        else if (name == u"transform")
            state = svgTransform(value, state);
        else if (!geometry || !geometry(name, value, state))
            xmlStyle(name, value, state);
    }
    return state;
}

void pathElement(const SvgAttributes &attributes, const SvgGraphicsState &parent, const QString &tagName,
                 SvgObjectInfo &info)
{
    std::optional<QString> d;
    SvgGraphicsState state = svgAttributePass(attributes, tagName, parent, [&](const QString &n, const QString &v, SvgGraphicsState &) {
        if (n != u"d")
            return false;
        d = v;
        return true;
    });
    if (!d)
        return;
    SvgPathData data = dToPath(*d, state);
    if (data.path.isEmpty())
        return;
    fillShapeInfo(info, std::move(state), std::move(data.path), &data.originalPoints);
}

void circleElement(const SvgAttributes &attributes, const SvgGraphicsState &parent, const QString &tagName,
                   SvgObjectInfo &info)
{
    double cx = 0, cy = 0, r = 0;
    SvgGraphicsState state = svgAttributePass(attributes, tagName, parent, [&](const QString &n, const QString &v, SvgGraphicsState &s) {
        if (n == u"cx")
            cx = unitToPix(v, s, viewBoxWidth(s));
        else if (n == u"cy")
            cy = unitToPix(v, s, viewBoxHeight(s));
        else if (n == u"r")
            r = unitToPix(v, s, viewBoxWidth(s));
        else
            return false;
        return true;
    });
    if (!(r > 0))
        return;
    BezierPath path;
    if (state.scaleX == state.scaleY) {
        // A mirrored scale still gives a positive radius.
        double radius = std::abs(state.scaleX) * r;
        if (radius < 0.7)
            radius = 0.7f;
        path.appendBezierPathWithArcWithCenter(state.ctm.map(cx, cy), float(radius), 0, 360, false);
    } else {
        path = cornerCurveEllipse(state.ctm, cx, cy, r, r);
    }
    fillShapeInfo(info, std::move(state), std::move(path), nullptr);
}

void ellipseElement(const SvgAttributes &attributes, const SvgGraphicsState &parent, const QString &tagName,
                    SvgObjectInfo &info)
{
    double cx = 0, cy = 0, rx = -1, ry = -1;
    SvgGraphicsState state = svgAttributePass(attributes, tagName, parent, [&](const QString &n, const QString &v, SvgGraphicsState &s) {
        if (n == u"cx")
            cx = unitToPix(v, s, viewBoxWidth(s));
        else if (n == u"cy")
            cy = unitToPix(v, s, viewBoxHeight(s));
        else if (n == u"rx")
            rx = unitToPix(v, s, viewBoxWidth(s));
        else if (n == u"ry")
            ry = unitToPix(v, s, viewBoxHeight(s));
        else
            return false;
        return true;
    });
    if (!(rx > 0) || !(ry > 0))
        return;
    fillShapeInfo(info, std::move(state), cornerCurveEllipse(state.ctm, cx, cy, rx, ry), nullptr);
}

void polylineElement(const SvgAttributes &attributes, const SvgGraphicsState &parent, const QString &tagName,
                     SvgObjectInfo &info)
{
    std::vector<double> xs{0, 0}, ys{0, 0};
    auto setAt = [](std::vector<double> &list, size_t index, double value) {
        if (list.size() <= index)
            list.resize(index + 1, 0);
        list[index] = value;
    };
    SvgGraphicsState state = svgAttributePass(attributes, tagName, parent, [&](const QString &n, const QString &v, SvgGraphicsState &s) {
        if (n == u"x1")
            setAt(xs, 0, unitToPix(v, s, viewBoxWidth(s)));
        else if (n == u"y1")
            setAt(ys, 0, unitToPix(v, s, viewBoxHeight(s)));
        else if (n == u"x2")
            setAt(xs, 1, unitToPix(v, s, viewBoxWidth(s)));
        else if (n == u"y2")
            setAt(ys, 1, unitToPix(v, s, viewBoxHeight(s)));
        else if (n == u"x")
            xs.push_back(unitToPix(v, s, viewBoxWidth(s)));
        else if (n == u"y")
            ys.push_back(unitToPix(v, s, viewBoxHeight(s)));
        else if (n == u"points") {
            xs.clear();
            ys.clear();
            for (const auto &[x, y] : pointPairs(v)) {
                xs.push_back(x);
                ys.push_back(y);
            }
        } else {
            return false;
        }
        return true;
    });
    if (xs.size() != ys.size() || xs.empty())
        return;
    std::vector<Point> vertices;
    BezierPath path;
    for (size_t i = 0; i < xs.size(); ++i) {
        vertices.push_back(Point(float(xs[i]), float(ys[i])));
        const Point p = state.ctm.map(xs[i], ys[i]);
        if (i == 0)
            path.moveToPoint(p);
        else
            path.lineToPoint(p);
    }
    fillShapeInfo(info, std::move(state), std::move(path), &vertices);
}

void polygonElement(const SvgAttributes &attributes, const SvgGraphicsState &parent, const QString &tagName,
                    SvgObjectInfo &info)
{
    bool rectangleMode = tagName == u"rect";
    double x = 0, y = 0, width = 0, height = 0, rx = -1, ry = -1;
    std::vector<std::pair<double, double>> points;
    SvgGraphicsState state = svgAttributePass(attributes, tagName, parent, [&](const QString &n, const QString &v, SvgGraphicsState &s) {
        if (n == u"x") {
            x = unitToPix(v, s, viewBoxWidth(s));
            rectangleMode = true;
        } else if (n == u"y") {
            y = unitToPix(v, s, viewBoxHeight(s));
            rectangleMode = true;
        } else if (n == u"width") {
            width = unitToPix(v, s, viewBoxWidth(s));
            rectangleMode = true;
        } else if (n == u"height") {
            height = unitToPix(v, s, viewBoxHeight(s));
        } else if (n == u"rx") {
            rx = unitToPix(v, s, viewBoxWidth(s));
            if (ry < 0)
                ry = rx;
        } else if (n == u"ry") {
            ry = unitToPix(v, s, viewBoxHeight(s));
            if (rx < 0)
                rx = ry;
        } else if (n == u"points") {
            points = pointPairs(v);
            for (const auto &[px, py] : points) {
                x = px;
                y = py;
            }
            rectangleMode = false;
        } else {
            return false;
        }
        return true;
    });
    if (rectangleMode) {
        if (!(width > 0) || !(height > 0))
            return;
        points = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}};
    } else if (points.empty()) {
        return;
    }
    if (rx > 0 || ry > 0) {
        if (rx > width / 2)
            rx = width / 2;
        if (ry < 0)
            ry = rx;
        if (ry > height / 2)
            ry = height / 2;
        if (rx < 0)
            rx = ry;
        if (rx > width / 2)
            rx = width / 2;
    }
    std::vector<Point> vertices, mapped;
    for (const auto &[px, py] : points) {
        vertices.push_back(Point(float(px), float(py)));
        mapped.push_back(state.ctm.map(px, py));
    }
    BezierPath path;
    if (rx > 0 && ry > 0 && mapped.size() == 4) {
        // The corners are drawn along the accumulated rotation; the radii follow the
        // accumulated scale so a scaled rounded rectangle keeps its proportions.
        const double theta = state.rotate;
        const double rxs = rx * std::abs(state.scaleX), rys = ry * std::abs(state.scaleY);
        const double pi = 3.141592653589793, halfPi = 1.5707963267948966, threeHalfPi = 4.71238898038469;
        const Point &p0 = mapped[0], &p1 = mapped[1], &p2 = mapped[2], &p3 = mapped[3];
        path.moveToPoint(offsetBy(p0, rxs, theta));
        path.lineToPoint(offsetBy(p1, rxs, theta + pi));
        Point end = offsetBy(p1, rys, theta + halfPi);
        path.curveToPoint(end, p1, end);
        path.lineToPoint(offsetBy(p2, rys, theta + threeHalfPi));
        Point current = path.currentPoint();
        path.curveToPoint(offsetBy(p2, rxs, theta + pi), current, p2);
        path.lineToPoint(offsetBy(p3, rxs, theta));
        end = offsetBy(p3, rys, theta + threeHalfPi);
        path.curveToPoint(end, p3, end);
        path.lineToPoint(offsetBy(p0, rys, theta + halfPi));
        current = path.currentPoint();
        path.curveToPoint(offsetBy(p0, rxs, theta), current, p0);
        path.closePath();
    } else {
        path.appendBezierPathWithPoints(mapped.data(), int(mapped.size()));
        path.closePath();
    }
    fillShapeInfo(info, std::move(state), std::move(path), &vertices);
}

SvgObjectInfo elementToObjInfo(const QString &name, const SvgAttributes &attributes, const SvgGraphicsState &state)
{
    SvgObjectInfo info;
    if (name == u"path")
        pathElement(attributes, state, name, info);
    else if (name == u"rect" || name == u"polygon")
        polygonElement(attributes, state, name, info);
    else if (name == u"circle")
        circleElement(attributes, state, name, info);
    else if (name == u"ellipse")
        ellipseElement(attributes, state, name, info);
    else if (name == u"line" || name == u"polyline")
        polylineElement(attributes, state, name, info);
    else if (name == u"image")
        imageElement(attributes, state, name, info);
    return info;
}
