// Images are drawn in y-up coordinates (the origin at the bottom-left corner), as the
// stripes, rays and rings are placed; the returned images are upright.
#include "plugins/preview/gradient_rasterisers.h"

#include "platform/graphics/color_conversion.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace previewgradients {

namespace {

constexpr double pi = 3.14159265358979323846;

// A colour that steps from one colour to another in n steps, channel by channel in RGB.
class ColorSteps {
public:
    ColorSteps(const Color &from, const Color &to, int n)
    {
        const QColor a = toQColor(from), b = toQColor(to);
        m_current = {a.redF(), a.greenF(), a.blueF(), a.alphaF()};
        const double end[4] = {b.redF(), b.greenF(), b.blueF(), b.alphaF()};
        for (int i = 0; i < 4; ++i)
            m_step[i] = n > 0 ? (end[i] - m_current[i]) / n : 0;
    }
    QColor current() const
    {
        auto clamp = [](double v) { return std::clamp(v, 0.0, 1.0); };
        return QColor::fromRgbF(float(clamp(m_current[0])), float(clamp(m_current[1])), float(clamp(m_current[2])),
                                float(clamp(m_current[3])));
    }
    void advance()
    {
        for (int i = 0; i < 4; ++i)
            m_current[i] += m_step[i];
    }

private:
    std::array<double, 4> m_current{};
    double m_step[4] = {};
};

QImage newImage(Size size)
{
    QImage image(std::max(1, int(std::ceil(size.width))), std::max(1, int(std::ceil(size.height))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A painter on the image in y-up coordinates with smooth drawing.
void beginYUp(QPainter &painter, QImage &image)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(0, image.height());
    painter.scale(1, -1);
}

// Draws an upright image with its bottom-left corner at `at` in y-up coordinates.
void drawAt(QPainter &painter, const QImage &image, QPointF at)
{
    painter.save();
    painter.translate(at.x(), at.y() + image.height());
    painter.scale(1, -1);
    painter.drawImage(QPointF(0, 0), image);
    painter.restore();
}

// Linear band: n one-pixel columns from the left, the last taking what remains.
QImage linealGradIn(Size size, const Color &from, const Color &to)
{
    if (size.width < 0.5f || size.height < 0.5f)
        return QImage();
    QImage image = newImage(size);
    const int n = int(size.width);
    ColorSteps color(from, to, n);
    QPainter painter;
    beginYUp(painter, image);
    for (int i = 0; i < n; ++i) {
        const double width = i + 1 < n ? 1.0 : size.width - i;
        painter.fillRect(QRectF(i, 0, width, size.height), color.current());
        color.advance();
    }
    return image;
}

// Sweep band: rays from the centre over `spread` degrees from `startAngle`.
QImage radialGradInSize(Size size, const Color &from, const Color &to, int startAngle, int spread)
{
    if (size.width < 0.5f || size.height < 0.5f)
        return QImage();
    QImage image = newImage(size);
    const QPointF centre(size.width / 2, size.height / 2);
    const double r = std::hypot(size.width / 2, size.height / 2);
    const int n = int(std::ceil(2 * pi * r * spread / 360 * 0.5));
    if (n <= 0)   // an empty band would step by 0/0
        return image;
    const double step = double(spread) / n;
    ColorSteps color(from, to, n);
    QPainter painter;
    beginYUp(painter, image);
    for (int i = 0; i <= n; ++i) {
        const double angle = (startAngle + i * step) * pi / 180;
        painter.setPen(QPen(color.current(), 1.5));
        painter.drawLine(centre, centre + QPointF(r * std::cos(angle), r * std::sin(angle)));
        color.advance();
    }
    return image;
}

// Oval band: ovals growing by 3 in width and 2 in height, standing on the bottom edge.
QImage ovalGradInSize(Size size, const Color &from, const Color &to, Point fromPos, Point toPos)
{
    if (size.width < 0.5f || size.height < 0.5f)
        return QImage();
    QImage image = newImage(size);
    const int n = int(std::lround(0.5 * (toPos.y - fromPos.y)));
    ColorSteps color(from, to, n);
    QPainter painter;
    beginYUp(painter, image);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < n; ++i) {
        const double width = fromPos.x + 3.0 * i, height = fromPos.y + 2.0 * i;
        painter.setPen(QPen(color.current(), 3));
        painter.drawEllipse(QRectF((size.width - width) / 2, 0, width, height));
        color.advance();
    }
    return image;
}

// Ring band: rectangles (edges 4) or ovals growing outwards by one on each side.
QImage circularGradIn(Size size, const Color &from, const Color &to, int edges, Point fromPos, Point toPos)
{
    if (size.width < 1 || size.height < 1)
        return QImage();
    QImage image = newImage(size);
    const double x0 = (size.width - fromPos.x) / 2, y0 = (size.height - fromPos.y) / 2;
    const int n = int(std::lround(0.5 * (toPos.x - fromPos.x)));
    ColorSteps color(from, to, n);
    QPainter painter;
    beginYUp(painter, image);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < n; ++i) {
        painter.setPen(QPen(color.current(), edges == 0 ? 2.0 : 1.0));
        const QRectF ring(x0 - i, y0 - i, fromPos.x + 2.0 * i, fromPos.y + 2.0 * i);
        if (edges == 4)
            painter.drawRect(ring);
        else
            painter.drawEllipse(ring);
        color.advance();
    }
    return image;
}

float proportionAt(const std::vector<float> &proportion, size_t i)
{
    return i < proportion.size() ? proportion[i] : 0.0f;
}

} // namespace

Size largestDestinationSizeOf(Size size, float angle)
{
    if (angle == 0)
        return size;
    const double radians = angle * pi / 180, c = std::abs(std::cos(radians)), s = std::abs(std::sin(radians));
    const float side = float(std::max(size.width * c + size.height * s, size.width * s + size.height * c));
    return Size(side, side);
}

QImage extract(Size size, const QImage &gradient, float angle)
{
    QImage image = newImage(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (angle != 0) {
        painter.translate(size.width / 2, size.height / 2);
        painter.rotate(angle);   // -angle in y-up coordinates
        painter.translate(-size.width / 2, -size.height / 2);
    }
    painter.drawImage(QPointF(-(gradient.width() - size.width) / 2, -(gradient.height() - size.height) / 2),
                      gradient);
    return image;
}

QImage drawLinealGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                        float angle)
{
    const Size big = largestDestinationSizeOf(size, angle);
    QImage image = newImage(big);
    QPainter painter;
    beginYUp(painter, image);
    double x = 0;
    for (size_t i = 0; i + 1 < colors.size(); ++i) {
        const double width = i + 2 < colors.size() ? proportionAt(proportion, i) * big.width : big.width - x;
        const QImage band = linealGradIn(Size(float(std::ceil(width)), big.height), colors[i], colors[i + 1]);
        if (!band.isNull())
            drawAt(painter, band, QPointF(std::floor(x) + 0.5, 0.5));
        x += width;
    }
    painter.end();
    return extract(size, image, angle);
}

QImage drawRadialGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                        float angle)
{
    const Size big = largestDestinationSizeOf(size, angle);
    QImage image = newImage(big);
    QPainter painter;
    beginYUp(painter, image);
    double start = 0;
    const size_t last = colors.size() - 1;
    for (size_t i = 0; i < colors.size(); ++i) {
        double spread = i < last ? 360.0 * proportionAt(proportion, i) : 360.0 - start;
        if (i == 0 || i + 2 == colors.size())
            spread /= 2;
        const Color &to = i < last ? colors[i + 1] : colors[0];   // the sweep closes the circle
        const QImage band = radialGradInSize(big, colors[i], to, int(start), int(spread));
        if (!band.isNull())
            drawAt(painter, band, QPointF(0, 0));
        start += spread;
    }
    painter.end();
    return angle != 0 ? extract(size, image, angle) : image;
}

QImage drawOvalGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                      float angle)
{
    const Size big = largestDestinationSizeOf(size, angle);
    QImage image = newImage(big);
    image.fill(toQColor(colors.back()));
    QPainter painter;
    beginYUp(painter, image);
    double current = big.width;
    for (size_t i = colors.size() - 1; i-- > 0;) {
        const float from = float(current - proportionAt(proportion, i) * big.width);
        const QImage band = ovalGradInSize(big, colors[i], colors[i + 1], Point(from, from),
                                           Point(float(current), float(current)));
        if (!band.isNull())
            drawAt(painter, band, QPointF(0, 0));
        current = from;
    }
    painter.end();
    return angle != 0 ? extract(size, image, angle) : image;
}

QImage drawCircularGradIn(Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                          int edges, float angle)
{
    Size big = largestDestinationSizeOf(size, angle);
    const float side = std::max(big.width, big.height);
    big = Size(side, side);
    QImage image = newImage(big);
    if (edges == 0)
        image.fill(toQColor(colors.back()));
    QPainter painter;
    beginYUp(painter, image);
    double s = 0;
    for (size_t i = 0; i + 1 < colors.size(); ++i) {
        const double x = side * proportionAt(proportion, i);
        const float to = float(std::ceil(x) + s);
        const QImage band = circularGradIn(big, colors[i], colors[i + 1], edges, Point(float(s), float(s)),
                                           Point(to, to));
        if (!band.isNull())
            drawAt(painter, band, QPointF(0, 0));
        s += x;
    }
    painter.end();
    return angle != 0 ? extract(size, image, angle) : image;
}

QImage gradientImage(int type, Size size, const std::vector<Color> &colors, const std::vector<float> &proportion,
                     float angle)
{
    if (!(size.width >= 1 && size.height >= 1) || colors.size() < 2 || type < 1 || type > 5)
        return QImage();
    // Built within the raster budget and scaled to the object's size.
    const float scale = std::min(1.0f, maximumRasterSide / std::max(size.width, size.height));
    const Size built(std::max(1.0f, size.width * scale), std::max(1.0f, size.height * scale));
    QImage image;
    switch (type) {
    case 1: image = drawLinealGradIn(built, colors, proportion, angle); break;
    case 2: image = drawCircularGradIn(built, colors, proportion, 4, angle); break;
    case 3: image = drawCircularGradIn(built, colors, proportion, 0, angle); break;
    case 4: image = drawOvalGradIn(built, colors, proportion, angle); break;
    case 5: image = drawRadialGradIn(built, colors, proportion, angle); break;
    }
    if (scale < 1 && !image.isNull())
        image = image.scaled(int(std::ceil(size.width)), int(std::ceil(size.height)), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    return image;
}

} // namespace previewgradients
