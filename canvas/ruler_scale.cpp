// The rulers' scale: major steps, subdivisions and labels by unit and zoom.
#include "canvas/ruler_scale.h"

#include <cmath>
#include <cstdlib>

namespace {

enum Unit { Centimeters = 0, Inches = 1, Picas = 3 };

// A subdivision tick between two major steps, at a fraction of the base.
struct Subdivision {
    double fraction;
    int length;
};

std::vector<Subdivision> subdivisions(int unit, double z)
{
    std::vector<Subdivision> out;
    switch (unit) {
    case Centimeters:
        if (z >= 0.5)
            out.push_back({0.25, 3});
        out.push_back({0.5, 5});
        if (z >= 0.5)
            out.push_back({0.75, 3});
        break;
    case Inches:
        for (int eighth = 1; eighth < 8; ++eighth) {
            if (eighth == 4)
                out.push_back({0.5, 5});
            else if (eighth % 2 == 0 && z >= 0.5)
                out.push_back({eighth / 8.0, 3});
            else if (eighth % 2 == 1 && z >= 0.75)
                out.push_back({eighth / 8.0, 2});
        }
        break;
    case Picas: {
        // The fractions are summed step by step, as the scale has always placed them: the
        // small drift decides some floor() results.
        double fraction = 0;
        for (int k = 1; k <= 19; ++k) {
            fraction += 0.05;
            if (k % 2 == 1) {
                if (z >= 1.0)
                    out.push_back({fraction, 2});
            } else if (z >= 0.5) {
                out.push_back({fraction, k % 4 == 0 && z >= 1.0 ? 5 : 3});
            }
        }
        break;
    }
    default:
        if (z >= 0.5) {
            double fraction = 0;
            for (int k = 1; k <= 9; ++k) {
                fraction += 0.1;
                out.push_back({fraction, 5});
            }
        }
        break;
    }
    return out;
}

bool divides(long long divisor, long long value)
{
    return std::llabs(value) % divisor == 0;
}

} // namespace

double rulerBaseFactor(int unit)
{
    switch (unit) {
    case Centimeters:
        return 56.7;
    case Inches:
        return 72;
    case Picas:
        return 120;
    default:
        return 100;
    }
}

int rulerLabelStep(int unit)
{
    switch (unit) {
    case Centimeters:
        return 2;
    case Inches:
        return 1;
    case Picas:
        return 10;
    default:
        return 100;
    }
}

double rulerZoomFactor(double canvasZoomFactor, bool realWorld, double screenResolution, int documentResolution)
{
    double z = canvasZoomFactor;
    if (realWorld) {
        z *= screenResolution / 72.0;
        if (documentResolution != 72)
            z *= documentResolution / 72.0;
    }
    return z;
}

double rulerStepInCanvasUnits(int unit, bool realWorld, int documentResolution)
{
    const double step = rulerBaseFactor(unit);
    return realWorld && documentResolution > 0 ? step * documentResolution / 72.0 : step;
}

double rulerBase(double zoomFactor, int unit)
{
    const double base = zoomFactor * rulerBaseFactor(unit);
    return base < 1.0 ? 1.0 : base;
}

bool isLabelledStep(int unit, double z, long long value)
{
    if (z >= 1.0)
        return true;
    const bool inUnitTable = unit >= 0 && unit <= 4;
    if (!inUnitTable)
        return false;
    if (z >= 0.5) {
        if (unit == Centimeters)
            return divides(5, value);
        if (unit == Inches && z < 0.75)
            return divides(2, value);
        return true;
    }
    switch (unit) {
    case Centimeters:
        return divides(10, value);
    case Inches:
        return divides(4, value);
    case Picas:
        return divides(100, value);
    default:
        return divides(1000, value);
    }
}

std::vector<RulerTick> rulerTicks(int unit, double z, double base, double origin, double from, double to)
{
    std::vector<RulerTick> ticks;
    if (!(z > 0) || !(base >= 1.0) || !std::isfinite(base) || !std::isfinite(origin) || !std::isfinite(from)
        || !std::isfinite(to) || to <= from)
        return ticks;
    const std::vector<Subdivision> marks = subdivisions(unit, z);
    // Centimetre marks are rounded to the nearest pixel, all others floored.
    const auto snap = [unit](double p) { return (unit == Centimeters ? std::round(p) : std::floor(p)) + 0.5; };
    const auto keep = [&](const RulerTick &tick) {
        if (tick.position >= from && tick.position < to)
            ticks.push_back(tick);
    };
    for (long long i = (long long)std::floor((from - origin) / base); origin + double(i) * base < to; ++i) {
        const double p = origin + double(i) * base;
        const long long value = i * rulerLabelStep(unit);
        const bool labelled = isLabelledStep(unit, z, value);
        keep({std::round(p) + 0.5, labelled ? 10 : 5, true, labelled, int(value)});
        for (const Subdivision &mark : marks)
            keep({snap(p + mark.fraction * base), mark.length, false, false, 0});
    }
    return ticks;
}

double rulerLineLocation(double location)
{
    return std::floor(location) + 0.5;
}
