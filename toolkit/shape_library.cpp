// The shape constructors and the numbered shape table.
#include "toolkit/shape_library.h"

#include "platform/geometry/affine_transform.h"
#include "toolkit/path_editing.h"
#include "toolkit/shape_outlines.h"

#include <cmath>

namespace {

constexpr double Pi = M_PI;

// Degrees to radians as the shapes compute them: the product is rounded to a float
// before sine and cosine are taken in double precision.
double rad(double degrees)
{
    return double(float(degrees * Pi / 180.0));
}

Point pt(double x, double y)
{
    return {float(x), float(y)};
}

void rotatePath(BezierPath &path, double degrees, Point about = {0, 0})
{
    AffineTransform t;
    t.translateXBy(about.x, about.y);
    t.rotateByDegrees(degrees);
    t.translateXBy(-about.x, -about.y);
    path.transformUsingAffineTransform(t);
}

void scalePath(BezierPath &path, double sx, double sy)
{
    AffineTransform t;
    t.scaleXBy(sx, sy);
    path.transformUsingAffineTransform(t);
}

// The heading turn of stars and pinwheels: 180 - 360/n for even n, 720/n for odd n.
double starTurn(int n)
{
    const double a = 360.0 / n;
    return n % 2 == 0 ? 180.0 - a : 2.0 * a;
}

// Regular polygon corner i of n in the 100-point box: corner 0 at (100, 50), running
// clockwise for y up.
Point polygonCorner(int i, int n)
{
    const double theta = 2.0 * Pi * i / n;
    return pt(50.0 + 50.0 * std::cos(theta), 50.0 - 50.0 * std::sin(theta));
}

// Five-cornered polygons are turned so that they stand on a side.
void uprightPentagon(BezierPath &path)
{
    const Rect c = path.controlPointBounds();
    rotatePath(path, 18.0, {c.size.width / 2, c.size.height / 2});
}

// A line-to per degree sample from `from` to `to`, after the given move-to.
template <typename F>
BezierPath sampled(Point start, int from, int to, F point)
{
    BezierPath path;
    path.moveToPoint(start);
    for (int i = from; i <= to; ++i)
        path.lineToPoint(point(i));
    return path;
}

BezierPath squareSpiral(const float *legs, int count)
{
    static const int signs[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    BezierPath path;
    path.moveToPoint({0, 0});
    for (int k = 0; k < count; ++k)
        path.relativeLineToPoint({signs[k % 4][0] * legs[k], signs[k % 4][1] * legs[k]});
    return path;
}

// A closed circle sector: from the centre out along the arc (counter-clockwise, the long
// way round when the end angle is below the start) and back.
BezierPath sector(Point centre, float radius, float startAngle, float endAngle)
{
    BezierPath path;
    path.moveToPoint(centre);
    path.appendBezierPathWithArcWithCenter(centre, radius, startAngle, endAngle);
    path.lineToPoint(centre);
    path.closePath();
    return path;
}

} // namespace

// ---- the numbered table ----------------------------------------------------------

std::optional<BezierPath> ShapeLibrary::bezierShape(int n)
{
    BezierPath path;
    bool normalise = true;
    switch (n) {
    case 0: path = line(0); break;
    case 1: path = line(90); break;
    case 2: path = line(45); break;
    case 3: path = line(135); break;
    case 4: path = lines(8); break;
    case 5: path.appendBezierPathWithArcWithCenter({0, 0}, 100, 0, 90); break;
    case 6: path = sinCurve(); break;
    case 7: path = arrow(); normalise = false; break;
    case 8: path = roundedCorner(5.0f); break;
    case 9: path = triangle(); break;
    case 10: path = roundedTriangle(); break;
    case 11: path = triangle90(); break;
    case 12: path = BezierPath::bezierPathWithRect({0, 0, 98, 98}); break;
    case 13: path = roundedRect(); break;
    case 14: path = heikoshihenkei(); normalise = false; break;
    case 15: path = hishigata(); normalise = false; break;
    case 16: path = daikei(); normalise = false; break;
    case 17: path = card(); normalise = false; break;
    case 18: path = polygon(5); break;
    case 19: path = roundedPolygon(5); break;
    case 20: path = wappen(); normalise = false; break;
    case 21: path = polygon(6); break;
    case 22: path = roundedPolygon(6); break;
    case 23: path = fcTemplateLoop(); normalise = false; break;
    case 24: path = polygon(8); break;
    case 25: path = roundedPolygon(8); break;
    case 26: path = cross(); normalise = false; break;
    case 27: path = peke(); break;
    case 28: path = fcTemplateDoc(); normalise = false; break;
    case 29: path = fcTemplateMemory(); normalise = false; break;
    case 30: path = fcTemplateTape(); normalise = false; break;
    case 31: path = fcTemplateDisplay(); normalise = false; break;
    case 32: path = fcTemplateTerminal(); normalise = false; break;
    case 33: path = balloon(); break;
    case 34: path = lenzT(); break;
    case 35: path = lenzO(); break;
    case 36: path = BezierPath::bezierPathWithOvalInRect({0, 0, 90, 90}); break;
    case 37: path = pei(); break;
    case 38: path = halfCircle(); break;
    case 39: path = fan(); break;
    case 40: path = ensui(); normalise = false; break;
    case 41: path = enchu(); normalise = false; break;
    case 42: path = prism3(); normalise = false; break;
    case 43: path = cube(); normalise = false; break;
    case 44: path = arrowHead(); break;
    case 45: path = star(5); break;
    case 46: path = star(8); break;
    case 47: path = star5fix(); break;
    case 48: path = star8fix(); break;
    case 49: path = serifu(); normalise = false; break;
    case 50: path = serifu2(); normalise = false; break;
    case 51: path = cloud(); break;
    case 52: path = heart(); break;
    case 53: path = flower(90.0f); break;
    case 54: path = flower(60.0f); break;
    case 55: path = flower(45.0f); break;
    case 56: path = flowerFix(); break;
    case 57: path = kazaguruma(5); break;
    case 58: path = asteroid(); normalise = false; break;
    case 59: path = xmastree(); break;
    case 60: path = house(); break;
    case 61: path = airplane(); normalise = false; break;
    case 62: path = yacht(); normalise = false; break;
    case 63: path = anchor(); normalise = false; break;
    case 64: path = simpleDocIcon(); normalise = false; break;
    case 65: path = folder(); break;
    case 66: path = hardDisk(); normalise = false; break;
    case 67: path = cmdMark(); normalise = false; break;
    case 68: path = lissajous(); break;
    case 69: path = helixCircle(); break;
    case 70: path = helix(); break;
    case 71: path = helixConical(); break;
    case 72: path = spiralSquare(); break;
    case 73: path = spiralSquareExtend(); break;
    case 74: path = spiral(); break;
    case 75: path = spiralLog(); break;
    case 1000: return axis3();
    case 1001: return axis4();
    case 1002: return bottomCurve();
    default: return std::nullopt;
    }
    if (!normalise)
        return path;

    // Upright for flipped coordinates, at most 98 points on a side, at (0.5, 0.5).
    path.transformUsingAffineTransform(AffineTransform(1, 0, 0, -1, 0, 0));
    const Rect b = path.bounds();
    const float w = b.size.width, h = b.size.height;
    if (w > 98.0f || h > 98.0f) {
        const double s = w > h ? 98.0 / w : 98.0 / h;
        scalePath(path, s, s);
    }
    keepAtBase(path);
    return path;
}

// ---- parametric shapes --------------------------------------------------------------

BezierPath ShapeLibrary::line(int angle)
{
    BezierPath path;
    switch (angle) {
    case 90: path.moveToPoint({1, 1}); path.lineToPoint({1, 100}); break;
    case 45: path.moveToPoint({1, 1}); path.lineToPoint({100, 100}); break;
    case 135: path.moveToPoint({1, 100}); path.lineToPoint({100, 1}); break;
    default: path.moveToPoint({1, 1}); path.lineToPoint({100, 1}); break;
    }
    return path;
}

BezierPath ShapeLibrary::lines(int n)
{
    BezierPath path;
    for (int i = 1; i <= n; ++i) {
        const double a = 2.0 * Pi * i / n;
        path.moveToPoint({0, 0});
        path.lineToPoint(pt(100.0 * std::cos(a), 100.0 * std::sin(a)));
    }
    return path;
}

BezierPath ShapeLibrary::roundedCorner(float radius)
{
    BezierPath path;
    path.moveToPoint({100, 0});
    path.appendBezierPathWithArcFromPoint({50, 50}, {0, 0}, radius);
    path.lineToPoint({0, 0});
    return path;
}

BezierPath ShapeLibrary::polygon(int n)
{
    BezierPath path;
    if (n <= 0)
        return path;
    path.moveToPoint(polygonCorner(0, n));
    for (int i = 1; i < n; ++i)
        path.lineToPoint(polygonCorner(i, n));
    path.closePath();
    if (n == 5)
        uprightPentagon(path);
    return path;
}

BezierPath ShapeLibrary::roundedPolygon(int n)
{
    BezierPath path;
    if (n <= 0)
        return path;
    path.moveToPoint(polygonCorner(0, n));
    for (int i = 1; i <= n; ++i)
        path.appendBezierPathWithArcFromPoint(polygonCorner(i % n, n), polygonCorner((i + 1) % n, n), 5.0f);
    // The outline starts where its last arc ends, so it needs no close-path.
    const Point end = path.element(path.elementCount() - 1).endPoint();
    path.setAssociatedPoints(&end, 0);
    if (n == 5)
        uprightPentagon(path);
    return path;
}

BezierPath ShapeLibrary::star(int n)
{
    BezierPath path;
    if (n <= 0)
        return path;
    const double turn = starTurn(n);
    Point current{0, 0};
    path.moveToPoint(current);
    int heading = 0; // whole degrees only
    for (int i = 0; i < n; ++i) {
        current = pt(current.x + 100.0 * std::cos(rad(heading)), current.y + 100.0 * std::sin(rad(heading)));
        path.lineToPoint(current);
        heading = int(heading + turn) % 360;
    }
    path.closePath();
    return path;
}

BezierPath ShapeLibrary::kazaguruma(int n)
{
    BezierPath path;
    if (n <= 0)
        return path;
    const double turn = starTurn(n);
    for (int i = 0; i < n; ++i) {
        rotatePath(path, turn);
        path.moveToPoint({0, 0});
        path.curveToPoint({50, 60}, {10, 0}, {0, 50});
        path.moveToPoint({0, 0});
        path.curveToPoint({50, 60}, {90, 0}, {0, 50});
    }
    return path;
}

BezierPath ShapeLibrary::flower(float petalAngle)
{
    BezierPath path;
    if (!(petalAngle > 0 && petalAngle <= 360))
        return path;
    const int n = int(360.0f / petalAngle);
    const float x = 0.4f * (1.0f - 0.12f * float(n - 4));
    path.moveToPoint({0, 0});
    for (int i = 0; i < n; ++i) {
        rotatePath(path, petalAngle);
        path.curveToPoint({0, 0}, {x, 0.5f}, {-x, 0.5f});
    }
    scalePath(path, 100, 100);
    return path;
}

BezierPath ShapeLibrary::bezierPathXCrossInRect(const Rect &r)
{
    const float w = r.size.width;
    const Point corners[] = {{0, w / 3}, {w / 3, w / 3}, {w / 3, 0}, {2 * w / 3, 0}, {2 * w / 3, w / 3},
                             {w, w / 3}, {w, 2 * w / 3}, {2 * w / 3, 2 * w / 3}, {2 * w / 3, w},
                             {w / 3, w}, {w / 3, 2 * w / 3}, {0, 2 * w / 3}};
    BezierPath path;
    path.appendBezierPathWithPoints(corners, 12);
    path.closePath();
    rotatePath(path, angleX(2, 1), {w / 2, w / 2});
    const Rect turned = path.bounds();
    if (turned.size.width > 0 && turned.size.height > 0)
        scalePath(path, r.size.width / turned.size.width, r.size.height / turned.size.height);
    const Rect scaled = path.bounds();
    AffineTransform move;
    move.translateXBy(r.origin.x - scaled.origin.x, r.origin.y - scaled.origin.y);
    path.transformUsingAffineTransform(move);
    return path;
}

BezierPath ShapeLibrary::arrowType(int type, float height, float angle, float direction)
{
    const double q = height / std::tan(-angle / 2.0 * Pi / 180.0);
    BezierPath path;
    path.moveToPoint({0, 0});
    path.relativeLineToPoint(pt(height, q / 2));
    if (type == 1) {
        path.relativeLineToPoint(pt(0, -q));
        path.closePath();
    } else {
        path.relativeMoveToPoint(pt(0, -q));
        path.lineToPoint({0, 0});
    }
    AffineTransform t;
    t.rotateByRadians(direction);
    path.transformUsingAffineTransform(t);
    return path;
}

// ---- arcs, triangles, rectangles ------------------------------------------------

BezierPath ShapeLibrary::fan()
{
    return sector({50, 50}, 50, 45, 135);
}

BezierPath ShapeLibrary::pei()
{
    return sector({50, 50}, 50, 135, 45);
}

BezierPath ShapeLibrary::halfCircle()
{
    return sector({0, 0}, 40, 0, 180);
}

BezierPath ShapeLibrary::triangle()
{
    const double h = 100.0 * std::sin(rad(60));
    BezierPath path;
    path.moveToPoint({1.5f, 1.5f});
    path.lineToPoint({100, 1.5f});
    path.lineToPoint(pt(50, h));
    path.closePath();
    return path;
}

BezierPath ShapeLibrary::triangle90()
{
    BezierPath path;
    path.moveToPoint({0.5f, 0.5f});
    path.lineToPoint({0.5f, 100});
    path.lineToPoint(pt(50.0 / std::tan(rad(30)), 50));
    path.closePath();
    return path;
}

BezierPath ShapeLibrary::roundedTriangle()
{
    const double h = 100.0 * std::sin(rad(60));
    BezierPath path;
    path.moveToPoint({50, 0});
    path.appendBezierPathWithArcFromPoint({100, 0}, pt(75, h / 2), 5);
    path.appendBezierPathWithArcFromPoint(pt(50, h), pt(25, h / 2), 5);
    path.appendBezierPathWithArcFromPoint({0, 0}, {50, 0}, 5);
    path.closePath();
    return path;
}

BezierPath ShapeLibrary::roundedRect()
{
    BezierPath path;
    path.moveToPoint({100, 50});
    path.appendBezierPathWithArcFromPoint({100, 100}, {50, 100}, 10);
    path.appendBezierPathWithArcFromPoint({0, 100}, {0, 50}, 10);
    path.appendBezierPathWithArcFromPoint({0, 0}, {50, 0}, 10);
    path.appendBezierPathWithArcFromPoint({100, 0}, {100, 50}, 10);
    path.closePath();
    return path;
}

// ---- stars and flowers ------------------------------------------------------------

BezierPath ShapeLibrary::star5fix()
{
    BezierPath path;
    path.moveToPoint({0, -1.5f});
    for (int t = 36; t <= 360; t += 36)
        path.lineToPoint(pt(2.5 * std::sin(rad(t)) - std::sin(rad(6 * t)), -2.5 * std::cos(rad(t)) + std::cos(rad(6 * t))));
    path.closePath();
    return path;
}

BezierPath ShapeLibrary::flowerline()
{
    return sampled({0, -1.5f}, 0, 360, [](int t) {
        return pt(2.5 * std::sin(rad(t)) - std::sin(rad(6 * t)), -2.5 * std::cos(rad(t)) + std::cos(rad(6 * t)));
    });
}

// ---- curves sampled by degree -------------------------------------------------------

BezierPath ShapeLibrary::spiral()
{
    return sampled({0, 0}, 0, 1079, [](int i) {
        const double t = rad(i);
        return pt(2 * t * std::cos(t), 2 * t * std::sin(t));
    });
}

BezierPath ShapeLibrary::spiralLog()
{
    return sampled({0, 0}, 0, 1079, [](int i) {
        const double t = rad(i);
        const float t2 = float(t) * float(t);
        return pt(t2 * std::cos(rad(1.5 * i)), t2 * std::sin(rad(1.5 * i)));
    });
}

BezierPath ShapeLibrary::lissajous()
{
    return sampled({100, 0}, 0, 359, [](int i) {
        return pt(100 * std::cos(rad(2 * i)), 100 * std::sin(rad(4 * i)));
    });
}

BezierPath ShapeLibrary::helix()
{
    return sampled({0, 1}, 0, 1079, [](int i) {
        const double t = rad(i);
        return pt(std::sin(float(rad(2 * i))), std::cos(rad(2 * i)) + t / 2);
    });
}

BezierPath ShapeLibrary::helixConical()
{
    return sampled({0, 0}, 0, 1079, [](int i) {
        const double t = rad(i);
        return pt(std::sin(rad(2 * i)) * (t + 10), 0.5 * t * std::cos(rad(2 * i)) + 4 * t);
    });
}

BezierPath ShapeLibrary::helixCircle()
{
    return sampled({0, 9}, 0, 360, [](int i) {
        return pt(10 * std::sin(rad(i)) - std::sin(rad(39 * i)), 10 * std::cos(rad(i)) - std::cos(rad(39 * i)));
    });
}

BezierPath ShapeLibrary::bara()
{
    return sampled({1, 0}, 0, 359, [](int i) {
        const double r = 1 + 4 * std::cos(rad(i));
        return pt(r * std::cos(rad(i)), r * std::sin(rad(i)));
    });
}

BezierPath ShapeLibrary::yotsuba()
{
    return sampled({0, 0}, 0, 359, [](int i) {
        const double r = 10 * std::sin(rad(2 * i));
        return pt(r * std::cos(rad(i)), r * std::sin(rad(i)));
    });
}

BezierPath ShapeLibrary::spiralSquare()
{
    float legs[16];
    for (int k = 0; k < 16; ++k)
        legs[k] = 10.0f * float(k + 1);
    return squareSpiral(legs, 16);
}

BezierPath ShapeLibrary::spiralSquareExtend()
{
    static const float legs[16] = {5, 7.5f, 10, 12.5f, 15, 20, 25, 30, 35, 42.5f, 50, 57.5f, 65, 75, 85, 95};
    return squareSpiral(legs, 16);
}

// ---- fixed outlines ---------------------------------------------------------------

BezierPath ShapeLibrary::heikoshihenkei() { return pathFromOutline(ShapeOutlines::heikoshihenkei); }
BezierPath ShapeLibrary::hishigata() { return pathFromOutline(ShapeOutlines::hishigata); }
BezierPath ShapeLibrary::daikei() { return pathFromOutline(ShapeOutlines::daikei); }
BezierPath ShapeLibrary::card() { return pathFromOutline(ShapeOutlines::card); }
BezierPath ShapeLibrary::wappen() { return pathFromOutline(ShapeOutlines::wappen); }
BezierPath ShapeLibrary::fcTemplateLoop() { return pathFromOutline(ShapeOutlines::fcTemplateLoop); }
BezierPath ShapeLibrary::fcTemplateDoc() { return pathFromOutline(ShapeOutlines::fcTemplateDoc); }
BezierPath ShapeLibrary::fcTemplateMemory() { return pathFromOutline(ShapeOutlines::fcTemplateMemory); }
BezierPath ShapeLibrary::fcTemplateDisplay() { return pathFromOutline(ShapeOutlines::fcTemplateDisplay); }
BezierPath ShapeLibrary::fcTemplateTerminal() { return pathFromOutline(ShapeOutlines::fcTemplateTerminal); }
BezierPath ShapeLibrary::cross() { return pathFromOutline(ShapeOutlines::cross); }
BezierPath ShapeLibrary::peke() { return pathFromOutline(ShapeOutlines::peke); }
BezierPath ShapeLibrary::prism3() { return pathFromOutline(ShapeOutlines::prism3); }
BezierPath ShapeLibrary::cube() { return pathFromOutline(ShapeOutlines::cube); }
BezierPath ShapeLibrary::axis3() { return pathFromOutline(ShapeOutlines::axis3); }
BezierPath ShapeLibrary::axis4() { return pathFromOutline(ShapeOutlines::axis4); }
BezierPath ShapeLibrary::ensui() { return pathFromOutline(ShapeOutlines::ensui); }
BezierPath ShapeLibrary::enchu() { return pathFromOutline(ShapeOutlines::enchu); }
BezierPath ShapeLibrary::asteroid() { return pathFromOutline(ShapeOutlines::asteroid); }
BezierPath ShapeLibrary::arrowHead() { return pathFromOutline(ShapeOutlines::arrowHead); }
BezierPath ShapeLibrary::lenzT() { return pathFromOutline(ShapeOutlines::lenzT); }
BezierPath ShapeLibrary::lenzO() { return pathFromOutline(ShapeOutlines::lenzO); }
BezierPath ShapeLibrary::sinCurve() { return pathFromOutline(ShapeOutlines::sinCurve); }
BezierPath ShapeLibrary::bottomCurve() { return pathFromOutline(ShapeOutlines::bottomCurve); }
BezierPath ShapeLibrary::balloon() { return pathFromOutline(ShapeOutlines::balloon); }
BezierPath ShapeLibrary::cloud() { return pathFromOutline(ShapeOutlines::cloud); }
BezierPath ShapeLibrary::flowerFix() { return pathFromOutline(ShapeOutlines::flowerFix); }
BezierPath ShapeLibrary::serifu() { return pathFromOutline(ShapeOutlines::serifu); }
BezierPath ShapeLibrary::serifu2() { return pathFromOutline(ShapeOutlines::serifu2); }
BezierPath ShapeLibrary::xmastree() { return pathFromOutline(ShapeOutlines::xmastree); }
BezierPath ShapeLibrary::star8fix() { return pathFromOutline(ShapeOutlines::star8fix); }
BezierPath ShapeLibrary::simpleDocIcon() { return pathFromOutline(ShapeOutlines::simpleDocIcon); }
BezierPath ShapeLibrary::arrow() { return pathFromOutline(ShapeOutlines::arrow); }
BezierPath ShapeLibrary::house() { return pathFromOutline(ShapeOutlines::house); }
BezierPath ShapeLibrary::airplane() { return pathFromOutline(ShapeOutlines::airplane); }
BezierPath ShapeLibrary::yacht() { return pathFromOutline(ShapeOutlines::yacht); }
BezierPath ShapeLibrary::anchor() { return pathFromOutline(ShapeOutlines::anchor); }
BezierPath ShapeLibrary::folder() { return pathFromOutline(ShapeOutlines::folder); }
BezierPath ShapeLibrary::hardDisk() { return pathFromOutline(ShapeOutlines::hardDisk); }

BezierPath ShapeLibrary::fcTemplateTape()
{
    BezierPath path = pathFromOutline(ShapeOutlines::fcTemplateTape);
    AffineTransform t;
    t.translateXBy(0, 2);
    path.transformUsingAffineTransform(t);
    return path;
}

BezierPath ShapeLibrary::heart()
{
    BezierPath path = pathFromOutline(ShapeOutlines::heart);
    path.setLineJoinStyle(RoundLineJoinStyle);
    return path;
}

// The command-key symbol: a square whose sides run on into four loops of 270 degrees,
// traced as one stroke from the middle of its left side. Each arc's joining line is a
// side of the square.
BezierPath ShapeLibrary::cmdMark()
{
    BezierPath path;
    path.moveToPoint({16, 24});
    path.appendBezierPathWithArcWithCenter({8, 8}, 8, 0, -270, true);
    path.appendBezierPathWithArcWithCenter({40, 8}, 8, 90, -180, true);
    path.appendBezierPathWithArcWithCenter({40, 40}, 8, 180, -90, true);
    path.appendBezierPathWithArcWithCenter({8, 40}, 8, 270, 0, true);
    path.lineToPoint({16, 24});
    path.closePath();
    return path;
}
