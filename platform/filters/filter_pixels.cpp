// Pixel helpers shared by the kernels that are not templates.
#include "platform/filters/filter_kernels.h"

#include <array>

QPointF centerOf(const ImageFilter &filter, QSize size)
{
    const std::vector<double> c = filter.vector(QStringLiteral("inputCenter"));
    if (c.size() < 2)
        return QPointF(size.width() / 2.0, size.height() / 2.0);
    return QPointF(c[0], size.height() - c[1]);
}

float cosineOfTurns(double t)
{
    constexpr int steps = 4096;
    static const std::array<float, steps + 1> table = [] {
        std::array<float, steps + 1> values{};
        for (int i = 0; i <= steps; ++i)
            values[size_t(i)] = float(std::cos(2 * 3.14159265358979323846 * i / steps));
        return values;
    }();
    const double position = (t - std::floor(t)) * steps;
    const int i = std::min(int(position), steps - 1);
    const float f = float(position - i);
    return table[size_t(i)] + (table[size_t(i) + 1] - table[size_t(i)]) * f;
}
