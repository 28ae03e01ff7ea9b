// VekGradientView: the five gradient renderers and the platform gradient of the stops.
//
// The renderers keep the geometry of a y-up image: linear, circular and oval gradients are
// drawn with y growing upwards from the image's bottom edge, angular and radial ones with y
// growing downwards from its top edge (those were drawn into a flipped image). The images
// are upright (top row first), so a positive centre offset in y moves the circular, angular
// and radial centres down, and an angle of 90 turns a linear gradient to run upwards.
#include "model/gradient/vek_gradient_view.h"

#include "platform/graphics/graphics_context.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// The pixel size of an image of the given point size.
QSize pixelSize(Size size)
{
    return QSize(int(std::ceil(size.width)), int(std::ceil(size.height)));
}

QImage newImage(Size size)
{
    QImage image(pixelSize(size), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Runs `draw` with a context on the image made current, in y-up coordinates when asked.
QImage drawInto(Size size, bool yUp, const std::function<void()> &draw)
{
    QImage image = newImage(size);
    {
        GraphicsContext context(image);
        GraphicsContext::Scope scope(context);
        if (yUp) {
            AffineTransform flip;
            flip.translateXBy(0, size.height);
            flip.scaleXBy(1, -1);
            context.concat(flip);
        }
        draw();
    }
    return image;
}

// Turns the drawing about the image's centre by `degrees`.
void rotateAboutCentre(Size size, float degrees)
{
    AffineTransform t;
    t.translateXBy(size.width / 2, size.height / 2);
    t.rotateByDegrees(degrees);
    t.translateXBy(-size.width / 2, -size.height / 2);
    GraphicsContext::current()->concat(t);
}

// One turn added or taken away when the angle lies above 360 or below 0.
float normalised(float degrees)
{
    if (degrees > 360)
        degrees -= 360;
    if (degrees < 0)
        degrees += 360;
    return degrees;
}

bool isCentred(Point c)
{
    return c.x == 0 && c.y == 0;
}

VekGradientView::Rasteriser installedRasteriser = nullptr;

} // namespace

void VekGradientView::setRasteriser(Rasteriser rasteriser)
{
    installedRasteriser = rasteriser;
}

std::optional<Gradient> VekGradientView::gradientWithColors(const std::vector<Color> &colors,
                                                            const std::vector<float> &proportion, bool cmyk)
{
    const size_t n = colors.size();
    if (n < 2 || proportion.size() + 2 < n)
        return std::nullopt;
    std::vector<float> locations(n, 0.0f);
    for (size_t i = 1; i + 1 < n; ++i)
        locations[i] = std::min(locations[i - 1] + proportion[i - 1], 1.0f);
    locations[n - 1] = 1.0f;
    return Gradient::create(colors, locations, cmyk ? GradientColorSpace::CMYK : GradientColorSpace::RGB);
}

QImage VekGradientView::gradient(int type, Size size, int flip, float rotate, Point center, bool cmyk) const
{
    if (!(size.width >= 1 && size.height >= 1) || _gradColors.size() < 2 || _colorRects.empty()
        || _gradColors.size() != _colorRects.size())
        return QImage();
    if (installedRasteriser)
        return installedRasteriser(type, size, _gradColors, colorProportion(), rotate);
    std::vector<Color> colors = _gradColors;
    std::vector<float> proportion = colorProportion();
    if (flip == 1) {
        std::reverse(colors.begin(), colors.end());
        std::reverse(proportion.begin(), proportion.end());
    }
    switch (type) {
    case GradientLinear:
        return drawLinealGradIn(size, colors, cmyk, proportion, rotate, center);
    case GradientAngular:
        return drawAngularGradIn(size, colors, cmyk, proportion, rotate, center);
    case GradientCircular:
        return drawCircularGradIn(size, colors, cmyk, proportion, rotate, center);
    case GradientOval:
        return drawOvalGradIn(size, colors, cmyk, proportion, rotate, center);
    case GradientRadial:
        return drawRadialGradIn(size, colors, cmyk, proportion, rotate, center);
    default:
        return QImage();
    }
}

QImage VekGradientView::drawLinealGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                         const std::vector<float> &proportion, float rotate, Point center)
{
    const auto gradient = gradientWithColors(colors, proportion, cmyk);
    if (!gradient)
        return QImage();
    return drawInto(size, true, [&] {
        if (isCentred(center)) {
            gradient->drawInRect(Rect(0, 0, size.width, size.height), rotate);
            return;
        }
        float a = rotate + 45;
        if (a >= 360)
            a -= 360;
        if (a < 0)
            a += 360;
        AffineTransform t;
        t.rotateByDegrees(-a);
        t.translateXBy(center.x * size.width, center.y * size.height);
        gradient->drawFromPoint(t.transformPoint(Point(0, 0)), t.transformPoint(Point(size.width, size.height)),
                                GradientDrawsBeforeStartingLocation | GradientDrawsAfterEndingLocation);
    });
}

QImage VekGradientView::drawAngularGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                          const std::vector<float> &proportion, float rotate, Point center)
{
    const auto gradient = gradientWithColors(colors, proportion, cmyk);
    if (!gradient)
        return QImage();
    const float w = size.width, h = size.height;
    float radius = std::hypot(w / 2, h / 2);
    if (!isCentred(center))
        radius += std::hypot(w * center.x, h * center.y) / 2;
    const float a = normalised(rotate + 90);
    const Point p(w / 2 + center.x * w, h / 2 + center.y * h);
    // Squares of half side s in the colour at s / radius, turned by -a about the centre;
    // outside the largest one the last colour.
    return gradient->renderSquares(pixelSize(size), p, radius, -a);
}

QImage VekGradientView::drawCircularGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                           const std::vector<float> &proportion, float rotate, Point center)
{
    const auto gradient = gradientWithColors(colors, proportion, cmyk);
    if (!gradient)
        return QImage();
    const float w = size.width, h = size.height;
    const Point p(w / 2 + center.x * w, h / 2 - center.y * h);
    return drawInto(size, true, [&] {
        rotateAboutCentre(size, -normalised(rotate));
        gradient->drawFromCenter(p, 0, p, (w / 2 + h / 2) * 0.5f, GradientDrawsAfterEndingLocation);
    });
}

QImage VekGradientView::drawOvalGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                       const std::vector<float> &proportion, float rotate, Point center)
{
    const auto gradient = gradientWithColors(colors, proportion, cmyk);
    if (!gradient)
        return QImage();
    const float w = size.width, h = size.height;
    float radius = std::hypot(w, h);
    if (!isCentred(center))
        radius += std::hypot(w * center.x, h * center.y);
    // The centre lies on the bottom edge unless moved up (there is no half-height term).
    const Point p(std::clamp(w / 2 + center.x * w, 0.0f, w), std::clamp(-center.y * h, 0.0f, h));
    return drawInto(size, true, [&] {
        rotateAboutCentre(size, -normalised(rotate));
        gradient->drawFromCenter(p, 0, p, radius, GradientDrawsAfterEndingLocation);
    });
}

QImage VekGradientView::drawRadialGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                         const std::vector<float> &proportion, float rotate, Point center)
{
    const auto gradient = gradientWithColors(colors, proportion, cmyk);
    if (!gradient)
        return QImage();
    const float w = size.width, h = size.height;
    const float a = normalised(rotate + 90);
    const Point p(w / 2 + center.x * w, h / 2 + center.y * h);
    const double reach = 3.0 * w;
    const QImage image = newImage(size);
    // Rays run from the centre to the points (3w cos t, 3w sin t) about the image's origin,
    // swept from t = -a on, each in the colour at the share of the turn made so far; the
    // sweep goes one degree past the full turn, so the first degree takes the last colour.
    return gradient->renderWithLocations(image.size(), [=](float x, float y) {
        const double dx = x - p.x, dy = y - p.y;
        const double d2 = dx * dx + dy * dy;
        if (d2 == 0)
            return 1.0f;
        // Where the ray through the pixel meets the circle of radius 3w about the origin.
        const double b = p.x * dx + p.y * dy, c = double(p.x) * p.x + double(p.y) * p.y - reach * reach;
        const double disc = b * b - d2 * c;
        double ex = dx, ey = dy;
        if (disc >= 0) {
            const double t = (-b + std::sqrt(disc)) / d2;
            ex = p.x + t * dx;
            ey = p.y + t * dy;
        }
        double turned = std::fmod(std::atan2(ey, ex) * 180.0 / pi + a, 360.0);
        if (turned < 0)
            turned += 360.0;
        return turned <= 1.0 ? 1.0f : float(turned / 360.0);
    });
}
