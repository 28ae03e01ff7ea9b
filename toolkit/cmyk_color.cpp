// CMYK output colours, RGB conversion and colour comparison for the drawing objects.
#include "toolkit/cmyk_color.h"

#include "platform/graphics/graphics_context.h"

#include <algorithm>

namespace {

Color deviceCMYK(float c, float m, float y, float k, float a)
{
    return Color::colorWithDeviceCyan(c, m, y, k, a);
}

// The naive grey-component-replacement formula, with the components held to 0..1 so that
// out-of-range values from files cannot divide by zero.
Color naiveCMYK(float r, float g, float b, float a)
{
    const float c = 1 - std::clamp(r, 0.0f, 1.0f), m = 1 - std::clamp(g, 0.0f, 1.0f), y = 1 - std::clamp(b, 0.0f, 1.0f);
    const float k = std::min({c, m, y});
    if (k >= 1)
        return deviceCMYK(0, 0, 0, 1, a);
    return deviceCMYK((c - k) / (1 - k), (m - k) / (1 - k), (y - k) / (1 - k), k, a);
}

bool isCMYKSpace(const std::shared_ptr<const ColorSpace> &space)
{
    return space == ColorSpace::genericCMYKColorSpace() || *space == *ColorSpace::genericCMYKColorSpace()
        || *space == *ColorSpace::deviceCMYKColorSpace() || space->colorSpaceModel() == ColorSpaceModel::CMYK;
}

// Red, green, blue and alpha of the colour itself when it is RGB, else of rgbColor.
void rgbaOf(const Color &color, float v[4])
{
    const Color rgb = color.isRGB() ? color : rgbColor(color);
    v[0] = rgb.redComponent();
    v[1] = rgb.greenComponent();
    v[2] = rgb.blueComponent();
    v[3] = rgb.alphaComponent();
}

// A new image of the size filled with the colour, painted through a graphics context.
QImage filledImage(QSize size, const Color &color)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        GraphicsContext context(image);
        context.setFillColor(color);
        context.fillRect(Rect(0, 0, float(size.width()), float(size.height())));
    }
    return image;
}

} // namespace

Color cmykColor(const Color &color)
{
    const QString name = color.colorSpaceName();
    const auto converted = color.colorUsingColorSpaceName(DeviceCMYKColorSpace);
    const auto space = converted && name != NamedColorSpace && name != PatternColorSpace ? color.colorSpace() : nullptr;

    if (name == DeviceCMYKColorSpace)
        return color;
    if (space && isCMYKSpace(space))
        return color;
    if (name == CustomColorSpace && space && space->numberOfColorComponents() > 0 && color.numberOfComponents() == 5)
        return *converted;
    if (name == DeviceWhiteColorSpace || name == CalibratedWhiteColorSpace)
        return deviceCMYK(0, 0, 0, 1 - color.whiteComponent(), color.alphaComponent());

    float v[4];
    rgbaOf(color, v);
    const float r = v[0], g = v[1], b = v[2], a = v[3];
    if (r == 1 && g == 1 && b == 1)
        return deviceCMYK(0, 0, 0, 0, a);
    if (r == 0 && g == 0 && b == 0)
        return deviceCMYK(1, 1, 1, 1, a);
    if (double(a) < ColorAlphaThreshold)
        return deviceCMYK(0, 0, 0, 0, 0);
    if (r == g && g == b)
        return deviceCMYK(0, 0, 0, 1 - r, a);
    if (converted)
        return deviceCMYK(converted->cyanComponent(), converted->magentaComponent(), converted->yellowComponent(),
                          converted->blackComponent(), a);
    return naiveCMYK(r, g, b, a);
}

Color rgbColor(const Color &color)
{
    if (const auto rgb = color.colorUsingColorSpaceName(CalibratedRGBColorSpace))
        return *rgb;
    const QImage swatch = filledImage(QSize(5, 5), color);
    if (!swatch.isNull()) {
        // (3, 3) from the lower left of the swatch.
        const QColor read = QColor::fromRgba(swatch.pixel(3, swatch.height() - 1 - 3));
        return Color::colorWithCalibratedRed(read.redF(), read.greenF(), read.blueF(), read.alphaF());
    }
    return Color::colorWithCalibratedHue(0, 0, 0, 1);
}

bool isCalibratedRGB(const Color &color)
{
    return color.colorSpaceName() == CalibratedRGBColorSpace;
}

Color calibratedColorIfPossible(const Color &color)
{
    switch (color.kind()) {
    case Color::Kind::DeviceRGB: return *color.colorUsingColorSpaceName(CalibratedRGBColorSpace);
    case Color::Kind::DeviceWhite: return *color.colorUsingColorSpaceName(CalibratedWhiteColorSpace);
    case Color::Kind::DeviceBlack: return *color.colorUsingColorSpaceName(CalibratedBlackColorSpace);
    default: return color;
    }
}

std::optional<DeviceColor> convertColorToDeviceColor(const Color &color)
{
    DeviceColor out;
    const QString name = color.colorSpaceName();
    if ((name == CustomColorSpace && color.numberOfComponents() == 5) || name == DeviceCMYKColorSpace) {
        const auto cmyk = color.colorUsingColorSpaceName(DeviceCMYKColorSpace);
        if (!cmyk)
            return std::nullopt;
        out.model = DeviceColor::Model::CMYK;
        cmyk->getCyan(&out.components[0], &out.components[1], &out.components[2], &out.components[3], &out.alpha);
        return out;
    }
    float v[4];
    rgbaOf(color, v);
    std::copy(v, v + 3, out.components);
    out.alpha = v[3];
    return out;
}

bool isEqualToColor(const Color &a, const Color &b)
{
    const QString name = a.colorSpaceName();
    if (name != b.colorSpaceName() || a.alphaComponent() != b.alphaComponent())
        return false;
    const auto da = convertColorToDeviceColor(a), db = convertColorToDeviceColor(b);
    if (da && db)
        return *da == *db;
    if (name == CalibratedRGBColorSpace || name == DeviceRGBColorSpace)
        return a.redComponent() == b.redComponent() && a.greenComponent() == b.greenComponent()
            && a.blueComponent() == b.blueComponent();
    if (name == CalibratedWhiteColorSpace || name == DeviceWhiteColorSpace || name == CalibratedBlackColorSpace
        || name == DeviceBlackColorSpace)
        return a.whiteComponent() == b.whiteComponent();
    if (name == DeviceCMYKColorSpace)
        return a.cyanComponent() == b.cyanComponent() && a.magentaComponent() == b.magentaComponent()
            && a.yellowComponent() == b.yellowComponent() && a.blackComponent() == b.blackComponent();
    if (name == NamedColorSpace)
        return a.catalogNameComponent() == b.catalogNameComponent() && a.colorNameComponent() == b.colorNameComponent();
    if (name == PatternColorSpace)
        return a.patternImage() == b.patternImage();
    if (name == CustomColorSpace) {
        if (a.numberOfComponents() != b.numberOfComponents())
            return false;
        float ca[Color::maxComponents + 1], cb[Color::maxComponents + 1];
        a.getComponents(ca);
        b.getComponents(cb);
        return std::equal(ca, ca + a.numberOfComponents(), cb);
    }
    return false;
}

QImage colorToTexture(const Color &color)
{
    return filledImage(QSize(256, 256), color);
}

QImage colorClip(const Color &color, const QImage &image)
{
    if (image.isNull())
        return QImage();
    QImage out = filledImage(image.size(), color);
    {
        GraphicsContext context(out);
        const Rect all(0, 0, float(image.width()), float(image.height()));
        context.drawImage(image, all, Rect(), CompositingOperation::DestinationIn, 1.0f);
    }
    return out;
}
