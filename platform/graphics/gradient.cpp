// A colour gradient: stops, mixing, Qt-drawn linear and radial forms and per-pixel renderings.
#include "platform/graphics/gradient.h"

#include "platform/graphics/color_conversion.h"
#include "platform/graphics/graphics_context.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr double pi = 3.14159265358979323846;
// Extra stops per segment that let a CMYK gradient's RGB look follow the CMYK mixing.
constexpr int cmykSamplesPerSegment = 8;
// Entries of the colour table the per-pixel renderings look colours up in.
constexpr int lookupSize = 1024;

std::optional<Color> inSpace(const Color &color, GradientColorSpace space)
{
    if (space == GradientColorSpace::CMYK)
        return color.colorUsingColorSpace(ColorSpace::genericCMYKColorSpace());
    return color.colorUsingColorSpaceName(CalibratedRGBColorSpace);
}

QPointF toQPoint(Point p)
{
    return QPointF(p.x, p.y);
}

// A polygon much larger than anything visible, as a filling area for the padded sides.
QPainterPath bandBetween(QPointF start, QPointF end, bool before, bool after, qreal extent)
{
    const QPointF d = end - start;
    const qreal length = std::hypot(d.x(), d.y());
    const QPointF u = d / length, n(-u.y(), u.x());
    const QPointF from = before ? start - u * extent : start, to = after ? end + u * extent : end;
    QPainterPath band;
    band.moveTo(from - n * extent);
    band.lineTo(from + n * extent);
    band.lineTo(to + n * extent);
    band.lineTo(to - n * extent);
    band.closeSubpath();
    return band;
}

} // namespace

std::optional<Gradient> Gradient::create(const std::vector<Color> &colors, const std::vector<float> &locations,
                                         GradientColorSpace space)
{
    if (colors.size() < 2 || colors.size() != locations.size())
        return std::nullopt;
    std::vector<size_t> order(colors.size());
    std::iota(order.begin(), order.end(), 0);
    for (float l : locations)
        if (std::isnan(l))
            return std::nullopt;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return locations[a] < locations[b]; });
    Gradient g;
    g.m_space = space;
    for (size_t i : order) {
        const auto c = inSpace(colors[i], space);
        if (!c)
            return std::nullopt;
        g.m_colors.push_back(*c);
        g.m_locations.push_back(locations[i]);
    }
    return g;
}

Color Gradient::interpolatedColorAtLocation(float location) const
{
    if (!(location > m_locations.front()))
        return m_colors.front();
    if (!(location < m_locations.back()))
        return m_colors.back();
    size_t i = 1;
    while (m_locations[i] < location)
        ++i;
    const float span = m_locations[i] - m_locations[i - 1];
    const float f = span > 0 ? (location - m_locations[i - 1]) / span : 1.0f;
    const Color &a = m_colors[i - 1], &b = m_colors[i];
    float ca[Color::maxComponents + 1], cb[Color::maxComponents + 1];
    a.getComponents(ca);
    b.getComponents(cb);
    const int n = a.numberOfComponents();
    for (int k = 0; k < n; ++k)
        ca[k] += (cb[k] - ca[k]) * f;
    if (m_space == GradientColorSpace::CMYK)
        return *Color::colorWithColorSpace(ColorSpace::genericCMYKColorSpace(), ca, n);
    return Color::colorWithCalibratedRed(ca[0], ca[1], ca[2], ca[3]);
}

QGradientStops Gradient::qtStops(const GraphicsContext &context) const
{
    QGradientStops stops;
    // Qt's stops run 0..1; stops outside that range are folded onto its ends.
    auto add = [&](float location, const Color &color) {
        stops.append({std::clamp(double(location), 0.0, 1.0), context.brushFor(color).color()});
    };
    const bool sample = m_space == GradientColorSpace::CMYK && !context.cmykStandIns();
    for (size_t i = 0; i < m_colors.size(); ++i) {
        if (sample && i > 0) {
            for (int s = 1; s < cmykSamplesPerSegment; ++s) {
                const float l = m_locations[i - 1] + (m_locations[i] - m_locations[i - 1]) * s / cmykSamplesPerSegment;
                add(l, interpolatedColorAtLocation(l));
            }
        }
        add(m_locations[i], m_colors[i]);
    }
    return stops;
}

void Gradient::drawInRect(const Rect &rect, float angle) const
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context || rect.isEmpty())
        return;
    const double a = angle * pi / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double half = (std::abs(rect.width() * c) + std::abs(rect.height() * s)) / 2;
    const Point center{rect.midX(), rect.midY()};
    const Point start{float(center.x - c * half), float(center.y - s * half)};
    const Point end{float(center.x + c * half), float(center.y + s * half)};
    GraphicsStateSaver saver(*context);
    context->clipRect(rect);
    drawFromPoint(start, end, GradientDrawsBeforeStartingLocation | GradientDrawsAfterEndingLocation);
}

void Gradient::drawFromPoint(Point start, Point end, int options) const
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context || start == end)
        return;
    QLinearGradient linear(toQPoint(start), toQPoint(end));
    linear.setStops(qtStops(*context));
    const QRectF area = context->clipBounds();
    const qreal extent = 2 * (std::hypot(area.width(), area.height()) + std::hypot(area.center().x() - start.x, area.center().y() - start.y));
    const QPainterPath band = bandBetween(toQPoint(start), toQPoint(end), options & GradientDrawsBeforeStartingLocation,
                                          options & GradientDrawsAfterEndingLocation, extent);
    QPainterPath visible;
    visible.addRect(area);
    context->fillPathWithBrush(band.intersected(visible), QBrush(linear));
}

void Gradient::drawFromCenter(Point startCenter, float startRadius, Point endCenter, float endRadius, int options) const
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context || (startCenter == endCenter && startRadius == endRadius))
        return;
    QRadialGradient radial(toQPoint(endCenter), std::max(0.0f, endRadius), toQPoint(startCenter),
                           std::max(0.0f, startRadius));
    radial.setStops(qtStops(*context));
    QPainterPath area;
    area.addRect(context->clipBounds());
    if (!(options & GradientDrawsAfterEndingLocation)) {
        QPainterPath inside;
        inside.addEllipse(toQPoint(endCenter), endRadius, endRadius);
        area = area.intersected(inside);
    }
    if (!(options & GradientDrawsBeforeStartingLocation) && startRadius > 0) {
        QPainterPath hole;
        hole.addEllipse(toQPoint(startCenter), startRadius, startRadius);
        area = area.subtracted(hole);
    }
    context->fillPathWithBrush(area, QBrush(radial));
}

QImage Gradient::renderWithLocations(QSize size, const std::function<float(float x, float y)> &location) const
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    std::vector<QRgb> table(lookupSize + 1);
    for (int i = 0; i <= lookupSize; ++i) {
        const float l = m_locations.front() + (m_locations.back() - m_locations.front()) * float(i) / lookupSize;
        table[size_t(i)] = qPremultiply(toQColor(interpolatedColorAtLocation(l)).rgba());
    }
    const float first = m_locations.front(), range = m_locations.back() - m_locations.front();
    for (int y = 0; y < size.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const float l = location(float(x) + 0.5f, float(y) + 0.5f);
            const float f = range > 0 ? (l - first) / range : (l < first ? 0.0f : 1.0f);
            const int index = std::isnan(f) ? 0 : int(std::lround(std::clamp(f, 0.0f, 1.0f) * lookupSize));
            line[x] = table[size_t(index)];
        }
    }
    return image;
}

QImage Gradient::renderSquares(QSize size, Point center, float radius, float angle) const
{
    const double a = angle * pi / 180.0;
    const float c = float(std::cos(a)), s = float(std::sin(a));
    return renderWithLocations(size, [=](float x, float y) {
        const float dx = x - center.x, dy = y - center.y;
        const float u = dx * c + dy * s, v = -dx * s + dy * c;
        return radius > 0 ? std::max(std::abs(u), std::abs(v)) / radius : 1.0f;
    });
}

QImage Gradient::renderSweep(QSize size, Point center, float angle) const
{
    return renderWithLocations(size, [=](float x, float y) {
        double turned = std::atan2(double(y - center.y), double(x - center.x)) * 180.0 / pi - angle;
        turned = std::fmod(turned, 360.0);
        if (turned < 0)
            turned += 360.0;
        return float(turned / 360.0);
    });
}
