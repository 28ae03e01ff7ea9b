// The spray dots, the unit walk along a segment and the division of curves into pieces.
#include "toolkit/spray.h"

#include "platform/color/color.h"
#include "platform/graphics/graphics_context.h"

#include <cmath>
#include <cstdlib>

namespace {

// A walk never takes more steps than this: far beyond any page, it keeps coordinates from
// a damaged file from drawing for minutes.
constexpr double MaxWalkSteps = 100000;

void fillDot(const Rect &r)
{
    if (GraphicsContext *context = GraphicsContext::current())
        context->fillPath(BezierPath::bezierPathWithOvalInRect(r));
}

float towards(float from, float to)
{
    return to < from ? -1.0f : 1.0f;
}

// One pass of the integer walk: the leading coordinate moves one unit per step, the other
// follows whenever the error term passes the leading distance.
void walk(int kind, float t, float x, float y, float x1, float y1, long dx, long dy)
{
    const float sx = towards(x, x1), sy = towards(y, y1);
    const bool xLeads = dx > dy;
    float &lead = xLeads ? x : y;
    float &follow = xLeads ? y : x;
    const float leadEnd = xLeads ? x1 : y1;
    const float leadStep = xLeads ? sx : sy, followStep = xLeads ? sy : sx;
    const long leadDistance = xLeads ? dx : dy, followDistance = xLeads ? dy : dx;
    // Ends at the truncated end coordinate; the bound also ends walks whose float
    // coordinate is too large to change by one unit.
    const double steps = std::min(std::fabs(double(leadEnd) - double(lead)) + 2, MaxWalkSteps);
    long error = leadDistance >> 1;
    for (double i = 0; i < steps && std::trunc(lead) != std::trunc(leadEnd); ++i) {
        drawSprayPoint(kind, t, x + t / 2, y + t / 2);
        lead += leadStep;
        error += followDistance;
        if (error > leadDistance) {
            follow += followStep;
            error -= leadDistance;
        }
    }
}

} // namespace

float RandomWithin(float n)
{
    const long m = std::lroundf(n);
    if (m == 0)
        return 0;
    const long v = std::labs(random());
    return float(v % m);
}

void drawSprayPoint(int kind, float t, float x, float y)
{
    float rx = RandomWithin(t + 1);
    float ry = RandomWithin(t + 1);
    if (kind == 1) {
        rx = float(rx * std::cos((RandomWithin(350) + 10) * M_PI / 180.0));
        ry = float(ry * std::sin((RandomWithin(350) + 10) * M_PI / 180.0));
    } else {
        x -= t / 2;
        y -= t / 2;
    }
    fillDot({std::roundf(x + rx), std::roundf(y + ry), 1.25f, 1.25f});
}

void spray(int kind, const Color &color, int passes, float t, float x0, float y0, float x1, float y1)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(t))
        return;
    const double ddx = std::fabs(std::trunc(double(x1) - x0)), ddy = std::fabs(std::trunc(double(y1) - y0));
    const long dx = long(std::min(ddx, MaxWalkSteps)), dy = long(std::min(ddy, MaxWalkSteps));
    color.set();
    for (int pass = 0; pass < passes; ++pass)
        walk(kind, t, x0, y0, x1, y1, dx, dy);
}

void sprayCurve(int kind, const Color &color, int passes, float t, const BezierCurve &curve)
{
    BezierPath path;
    path.moveToPoint({curve.x0, curve.y0});
    path.curveToPoint({curve.x3, curve.y3}, {curve.x1, curve.y1}, {curve.x2, curve.y2});
    const float length = totalLength(path);
    if (!std::isfinite(length))
        return;
    double pieces;
    if (t > 8) {
        pieces = std::ceil(length / 16.0);
    } else if (length <= 1.5f * t) {
        spray(kind, color, passes, t, curve.x0, curve.y0, curve.x1, curve.y1);
        spray(kind, color, passes, t, curve.x1, curve.y1, curve.x2, curve.y2);
        spray(kind, color, passes, t, curve.x2, curve.y2, curve.x3, curve.y3);
        return;
    } else {
        pieces = std::ceil(length / (3.0 * t));
    }
    if (pieces < 1)
        return;
    const std::vector<Point> points = divideInto(path, int(std::min(pieces, MaxWalkSteps)));
    for (size_t i = 1; i < points.size(); ++i)
        spray(kind, color, passes, t, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
}
