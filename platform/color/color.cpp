// The colour value: construction, component access and the device conversions between spaces.
#include "platform/color/color.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
    float r, g, b;
};
struct Cmyk {
    float c, m, y, k;
};

float clamp01(float v)
{
    return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

float greyOfRgb(const Rgb &c)
{
    return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
}

Rgb rgbOfCmyk(const Cmyk &c)
{
    return {1.0f - std::min(1.0f, c.c + c.k), 1.0f - std::min(1.0f, c.m + c.k), 1.0f - std::min(1.0f, c.y + c.k)};
}

// Grey component replacement: all of the common part goes to black. Components are
// clamped first so that values outside 0..1 (possible in files) cannot divide by zero.
Cmyk cmykOfRgb(const Rgb &in)
{
    const float c = 1.0f - clamp01(in.r), m = 1.0f - clamp01(in.g), y = 1.0f - clamp01(in.b);
    const float k = std::min({c, m, y});
    if (k >= 1.0f)
        return {0, 0, 0, 1};
    return {(c - k) / (1.0f - k), (m - k) / (1.0f - k), (y - k) / (1.0f - k), k};
}

// CIE L*a*b* (D50) to sRGB, for custom colours of the LAB model.
Rgb rgbOfLab(float L, float a, float b)
{
    auto finv = [](float t) { return t > 6.0f / 29.0f ? t * t * t : 3.0f * (6.0f / 29.0f) * (6.0f / 29.0f) * (t - 4.0f / 29.0f); };
    const float fy = (L + 16.0f) / 116.0f;
    const float X = 0.9642f * finv(fy + a / 500.0f), Y = finv(fy), Z = 0.8249f * finv(fy - b / 200.0f);
    // D50 XYZ to linear sRGB (Bradford-adapted).
    const float lr = 3.1338561f * X - 1.6168667f * Y - 0.4906146f * Z;
    const float lg = -0.9787684f * X + 1.9161415f * Y + 0.0334540f * Z;
    const float lb = 0.0719453f * X - 0.2289914f * Y + 1.4052427f * Z;
    auto gamma = [](float v) {
        v = clamp01(v);
        return v <= 0.0031308f ? 12.92f * v : 1.055f * std::pow(v, 1.0f / 2.4f) - 0.055f;
    };
    return {gamma(lr), gamma(lg), gamma(lb)};
}

void hsbOfRgb(const Rgb &c, float *h, float *s, float *v)
{
    const float mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    const float d = mx - mn;
    *v = mx;
    *s = mx > 0 ? d / mx : 0;
    float hue = 0;
    if (d > 0) {
        if (mx == c.r)
            hue = (c.g - c.b) / d;
        else if (mx == c.g)
            hue = 2.0f + (c.b - c.r) / d;
        else
            hue = 4.0f + (c.r - c.g) / d;
        hue /= 6.0f;
        if (hue < 0)
            hue += 1.0f;
    }
    *h = hue;
}

Rgb rgbOfHsb(float h, float s, float v)
{
    h = h - std::floor(h);
    const float f6 = h * 6.0f;
    const int i = std::min(5, int(f6));
    const float f = f6 - float(i);
    const float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}

bool isGreyKind(Color::Kind k)
{
    return k == Color::Kind::CalibratedWhite || k == Color::Kind::DeviceWhite || k == Color::Kind::CalibratedBlack
        || k == Color::Kind::DeviceBlack;
}

std::optional<Color::Kind> kindOfName(const QString &name)
{
    static const std::pair<const QString *, Color::Kind> table[] = {
        {&CalibratedRGBColorSpace, Color::Kind::CalibratedRGB}, {&DeviceRGBColorSpace, Color::Kind::DeviceRGB},
        {&CalibratedWhiteColorSpace, Color::Kind::CalibratedWhite}, {&DeviceWhiteColorSpace, Color::Kind::DeviceWhite},
        {&CalibratedBlackColorSpace, Color::Kind::CalibratedBlack}, {&DeviceBlackColorSpace, Color::Kind::DeviceBlack},
        {&DeviceCMYKColorSpace, Color::Kind::DeviceCMYK}, {&NamedColorSpace, Color::Kind::Named},
        {&PatternColorSpace, Color::Kind::Pattern}, {&CustomColorSpace, Color::Kind::Custom},
    };
    for (const auto &[n, k] : table)
        if (*n == name)
            return k;
    return std::nullopt;
}

} // namespace

PatternImage::~PatternImage() = default;

ColorSpace::ColorSpace(ColorSpaceModel model, int numberOfColorComponents, QString name, QByteArray iccProfile)
    : m_model(model), m_count(numberOfColorComponents), m_name(std::move(name)), m_icc(std::move(iccProfile))
{
}

#define VEK_STANDARD_SPACE(function, model, count, name)                                                        \
    std::shared_ptr<const ColorSpace> ColorSpace::function()                                                    \
    {                                                                                                           \
        static const auto space = std::make_shared<const ColorSpace>(ColorSpaceModel::model, count, QStringLiteral(name)); \
        return space;                                                                                           \
    }
VEK_STANDARD_SPACE(genericRGBColorSpace, RGB, 3, "Generic RGB colorspace")
VEK_STANDARD_SPACE(genericGrayColorSpace, Gray, 1, "Generic Gray colorspace")
VEK_STANDARD_SPACE(genericCMYKColorSpace, CMYK, 4, "Generic CMYK colorspace")
VEK_STANDARD_SPACE(deviceRGBColorSpace, RGB, 3, "Device RGB colorspace")
VEK_STANDARD_SPACE(deviceGrayColorSpace, Gray, 1, "Device Gray colorspace")
VEK_STANDARD_SPACE(deviceCMYKColorSpace, CMYK, 4, "Device CMYK colorspace")
#undef VEK_STANDARD_SPACE

Color::Color() : Color(Kind::CalibratedWhite, {0.0f}, 1.0f) {}

Color::Color(Kind kind, std::initializer_list<float> components, float alpha)
    : m_kind(kind), m_count(int(components.size())), m_alpha(alpha)
{
    std::copy(components.begin(), components.end(), m_c.begin());
}

Color Color::colorWithCalibratedRed(float r, float g, float b, float a) { return Color(Kind::CalibratedRGB, {r, g, b}, a); }
Color Color::colorWithDeviceRed(float r, float g, float b, float a) { return Color(Kind::DeviceRGB, {r, g, b}, a); }
Color Color::colorWithCalibratedWhite(float w, float a) { return Color(Kind::CalibratedWhite, {w}, a); }
Color Color::colorWithDeviceWhite(float w, float a) { return Color(Kind::DeviceWhite, {w}, a); }
Color Color::colorWithCalibratedBlack(float w, float a) { return Color(Kind::CalibratedBlack, {w}, a); }
Color Color::colorWithDeviceBlack(float w, float a) { return Color(Kind::DeviceBlack, {w}, a); }

Color Color::colorWithCalibratedHue(float h, float s, float v, float a)
{
    const Rgb c = rgbOfHsb(h, s, v);
    return colorWithCalibratedRed(c.r, c.g, c.b, a);
}

Color Color::colorWithDeviceHue(float h, float s, float v, float a)
{
    const Rgb c = rgbOfHsb(h, s, v);
    return colorWithDeviceRed(c.r, c.g, c.b, a);
}

Color Color::colorWithDeviceCyan(float c, float m, float y, float k, float a)
{
    return Color(Kind::DeviceCMYK, {c, m, y, k}, a);
}

Color Color::colorWithGenericCyan(float c, float m, float y, float k, float a)
{
    const float comps[5] = {c, m, y, k, a};
    return *colorWithColorSpace(ColorSpace::genericCMYKColorSpace(), comps, 5);
}

std::optional<Color> Color::colorWithColorSpace(std::shared_ptr<const ColorSpace> space, const float *components,
                                                int count)
{
    if (!space || !components || count < 1 || count > maxComponents + 1 || count != space->numberOfColorComponents() + 1)
        return std::nullopt;
    Color c(Kind::Custom, {}, components[count - 1]);
    c.m_count = count - 1;
    std::copy(components, components + count - 1, c.m_c.begin());
    c.m_space = std::move(space);
    return c;
}

Color Color::colorWithCatalogName(const QString &catalog, const QString &name, const Color &fallback)
{
    Color drawn = fallback.namedFallback();
    if (drawn.m_kind == Kind::Pattern)
        drawn = blackColor();
    Color c(Kind::Named, {}, drawn.m_alpha);
    c.m_named = std::make_shared<const NamedColorInfo>(NamedColorInfo{catalog, name, drawn});
    return c;
}

Color Color::colorWithPatternImage(std::shared_ptr<const PatternImage> image)
{
    Color c(Kind::Pattern, {}, 1.0f);
    c.m_pattern = std::move(image);
    return c;
}

QString Color::colorSpaceName() const
{
    switch (m_kind) {
    case Kind::CalibratedRGB: return CalibratedRGBColorSpace;
    case Kind::DeviceRGB: return DeviceRGBColorSpace;
    case Kind::CalibratedWhite: return CalibratedWhiteColorSpace;
    case Kind::DeviceWhite: return DeviceWhiteColorSpace;
    case Kind::CalibratedBlack: return CalibratedBlackColorSpace;
    case Kind::DeviceBlack: return DeviceBlackColorSpace;
    case Kind::DeviceCMYK: return DeviceCMYKColorSpace;
    case Kind::Custom: return CustomColorSpace;
    case Kind::Named: return NamedColorSpace;
    case Kind::Pattern: return PatternColorSpace;
    }
    return {};
}

std::shared_ptr<const ColorSpace> Color::colorSpace() const
{
    switch (m_kind) {
    case Kind::CalibratedRGB: return ColorSpace::genericRGBColorSpace();
    case Kind::DeviceRGB: return ColorSpace::deviceRGBColorSpace();
    case Kind::CalibratedWhite:
    case Kind::CalibratedBlack: return ColorSpace::genericGrayColorSpace();
    case Kind::DeviceWhite:
    case Kind::DeviceBlack: return ColorSpace::deviceGrayColorSpace();
    case Kind::DeviceCMYK: return ColorSpace::deviceCMYKColorSpace();
    case Kind::Custom: return m_space;
    case Kind::Named:
    case Kind::Pattern: return nullptr;
    }
    return nullptr;
}

bool Color::isGray() const
{
    return isGreyKind(m_kind) || (m_kind == Kind::Custom && m_space->colorSpaceModel() == ColorSpaceModel::Gray);
}

bool Color::isCMYK() const
{
    return m_kind == Kind::DeviceCMYK || (m_kind == Kind::Custom && m_space->colorSpaceModel() == ColorSpaceModel::CMYK);
}

int Color::numberOfComponents() const
{
    return m_kind == Kind::Named || m_kind == Kind::Pattern ? 0 : m_count + 1;
}

void Color::getComponents(float *components) const
{
    if (numberOfComponents() == 0)
        return;
    std::copy(m_c.begin(), m_c.begin() + m_count, components);
    components[m_count] = m_alpha;
}

namespace {

// This colour's own values in the three device models, when it has them.
std::optional<Rgb> rgbOf(const Color &c);
std::optional<float> greyOf(const Color &c);
std::optional<Cmyk> cmykOf(const Color &c);

std::optional<ColorSpaceModel> modelOf(const Color &c)
{
    if (c.isRGB())
        return ColorSpaceModel::RGB;
    if (c.isGray())
        return ColorSpaceModel::Gray;
    if (c.isCMYK())
        return ColorSpaceModel::CMYK;
    if (c.kind() == Color::Kind::Custom)
        return c.colorSpace()->colorSpaceModel();
    return std::nullopt;
}

std::optional<Rgb> rgbOf(const Color &c)
{
    if (c.kind() == Color::Kind::Named)
        return rgbOf(c.namedFallback());
    const auto model = modelOf(c);
    if (!model)
        return std::nullopt;
    float v[Color::maxComponents + 1];
    c.getComponents(v);
    switch (*model) {
    case ColorSpaceModel::RGB: return Rgb{v[0], v[1], v[2]};
    case ColorSpaceModel::Gray: return Rgb{v[0], v[0], v[0]};
    case ColorSpaceModel::CMYK: return rgbOfCmyk({v[0], v[1], v[2], v[3]});
    case ColorSpaceModel::LAB: return rgbOfLab(v[0], v[1], v[2]);
    default: return std::nullopt;
    }
}

std::optional<float> greyOf(const Color &c)
{
    if (c.kind() == Color::Kind::Named)
        return greyOf(c.namedFallback());
    const auto model = modelOf(c);
    if (!model)
        return std::nullopt;
    float v[Color::maxComponents + 1];
    c.getComponents(v);
    if (*model == ColorSpaceModel::Gray)
        return v[0];
    if (*model == ColorSpaceModel::CMYK)
        return 1.0f - std::min(1.0f, 0.3f * v[0] + 0.59f * v[1] + 0.11f * v[2] + v[3]);
    if (const auto rgb = rgbOf(c))
        return greyOfRgb(*rgb);
    return std::nullopt;
}

std::optional<Cmyk> cmykOf(const Color &c)
{
    if (c.kind() == Color::Kind::Named)
        return cmykOf(c.namedFallback());
    const auto model = modelOf(c);
    if (!model)
        return std::nullopt;
    float v[Color::maxComponents + 1];
    c.getComponents(v);
    if (*model == ColorSpaceModel::CMYK)
        return Cmyk{v[0], v[1], v[2], v[3]};
    if (*model == ColorSpaceModel::Gray)
        return Cmyk{0, 0, 0, 1.0f - v[0]};
    if (const auto rgb = rgbOf(c))
        return cmykOfRgb(*rgb);
    return std::nullopt;
}

} // namespace

float Color::redComponent() const { return rgbOf(*this).value_or(Rgb{0, 0, 0}).r; }
float Color::greenComponent() const { return rgbOf(*this).value_or(Rgb{0, 0, 0}).g; }
float Color::blueComponent() const { return rgbOf(*this).value_or(Rgb{0, 0, 0}).b; }
float Color::whiteComponent() const { return greyOf(*this).value_or(0.0f); }
float Color::cyanComponent() const { return cmykOf(*this).value_or(Cmyk{0, 0, 0, 0}).c; }
float Color::magentaComponent() const { return cmykOf(*this).value_or(Cmyk{0, 0, 0, 0}).m; }
float Color::yellowComponent() const { return cmykOf(*this).value_or(Cmyk{0, 0, 0, 0}).y; }
float Color::blackComponent() const { return cmykOf(*this).value_or(Cmyk{0, 0, 0, 0}).k; }

float Color::hueComponent() const
{
    float h, s, b, a;
    getHue(&h, &s, &b, &a);
    return h;
}

float Color::saturationComponent() const
{
    float h, s, b, a;
    getHue(&h, &s, &b, &a);
    return s;
}

float Color::brightnessComponent() const
{
    float h, s, b, a;
    getHue(&h, &s, &b, &a);
    return b;
}

void Color::getRed(float *red, float *green, float *blue, float *alpha) const
{
    const Rgb c = rgbOf(*this).value_or(Rgb{0, 0, 0});
    if (red) *red = c.r;
    if (green) *green = c.g;
    if (blue) *blue = c.b;
    if (alpha) *alpha = m_alpha;
}

void Color::getHue(float *hue, float *saturation, float *brightness, float *alpha) const
{
    float h, s, v;
    hsbOfRgb(rgbOf(*this).value_or(Rgb{0, 0, 0}), &h, &s, &v);
    if (hue) *hue = h;
    if (saturation) *saturation = s;
    if (brightness) *brightness = v;
    if (alpha) *alpha = m_alpha;
}

void Color::getCyan(float *cyan, float *magenta, float *yellow, float *black, float *alpha) const
{
    const Cmyk c = cmykOf(*this).value_or(Cmyk{0, 0, 0, 0});
    if (cyan) *cyan = c.c;
    if (magenta) *magenta = c.m;
    if (yellow) *yellow = c.y;
    if (black) *black = c.k;
    if (alpha) *alpha = m_alpha;
}

void Color::getWhite(float *white, float *alpha) const
{
    if (white) *white = whiteComponent();
    if (alpha) *alpha = m_alpha;
}

QString Color::catalogNameComponent() const { return m_named ? m_named->catalog : QString(); }
QString Color::colorNameComponent() const { return m_named ? m_named->name : QString(); }
Color Color::namedFallback() const { return m_named ? m_named->fallback : *this; }

Color Color::colorWithAlphaComponent(float alpha) const
{
    if (m_kind == Kind::Pattern)
        return *this;
    Color c = *this;
    c.m_alpha = alpha;
    if (m_named)
        c.m_named = std::make_shared<const NamedColorInfo>(
            NamedColorInfo{m_named->catalog, m_named->name, m_named->fallback.colorWithAlphaComponent(alpha)});
    return c;
}

std::optional<Color> Color::colorUsingColorSpaceName(const QString &name) const
{
    if (name == colorSpaceName())
        return *this;
    const auto kind = kindOfName(name);
    if (!kind)
        return std::nullopt;
    switch (*kind) {
    case Kind::CalibratedRGB:
    case Kind::DeviceRGB:
        if (const auto c = rgbOf(*this))
            return Color(*kind, {c->r, c->g, c->b}, m_alpha);
        return std::nullopt;
    case Kind::CalibratedWhite:
    case Kind::DeviceWhite:
    case Kind::CalibratedBlack:
    case Kind::DeviceBlack:
        if (const auto w = greyOf(*this))
            return Color(*kind, {*w}, m_alpha);
        return std::nullopt;
    case Kind::DeviceCMYK:
        if (const auto c = cmykOf(*this))
            return Color(Kind::DeviceCMYK, {c->c, c->m, c->y, c->k}, m_alpha);
        return std::nullopt;
    case Kind::Custom:
    case Kind::Named:
    case Kind::Pattern: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Color> Color::colorUsingColorSpace(const std::shared_ptr<const ColorSpace> &space) const
{
    if (!space)
        return std::nullopt;
    if (m_kind == Kind::Custom && (m_space == space || *m_space == *space))
        return *this;
    float v[5];
    switch (space->colorSpaceModel()) {
    case ColorSpaceModel::Gray:
        if (const auto w = greyOf(*this)) {
            v[0] = *w;
            v[1] = m_alpha;
            return colorWithColorSpace(space, v, 2);
        }
        return std::nullopt;
    case ColorSpaceModel::RGB:
        if (const auto c = rgbOf(*this)) {
            v[0] = c->r, v[1] = c->g, v[2] = c->b, v[3] = m_alpha;
            return colorWithColorSpace(space, v, 4);
        }
        return std::nullopt;
    case ColorSpaceModel::CMYK:
        if (const auto c = cmykOf(*this)) {
            v[0] = c->c, v[1] = c->m, v[2] = c->y, v[3] = c->k, v[4] = m_alpha;
            return colorWithColorSpace(space, v, 5);
        }
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<Color> Color::blendedColor(float fraction, const Color &other) const
{
    const auto a = rgbOf(*this), b = rgbOf(other);
    if (!a || !b)
        return std::nullopt;
    fraction = clamp01(fraction);
    auto mix = [fraction](float x, float y) { return x + (y - x) * fraction; };
    return colorWithCalibratedRed(mix(a->r, b->r), mix(a->g, b->g), mix(a->b, b->b),
                                  mix(m_alpha, other.m_alpha));
}

std::optional<Color> Color::shadowWithLevel(float level) const
{
    return blendedColor(level, blackColor().colorWithAlphaComponent(m_alpha));
}

std::optional<Color> Color::highlightWithLevel(float level) const
{
    return blendedColor(level, whiteColor().colorWithAlphaComponent(m_alpha));
}

bool operator==(const Color &a, const Color &b)
{
    if (a.m_kind != b.m_kind || a.m_alpha != b.m_alpha)
        return false;
    switch (a.m_kind) {
    case Color::Kind::Named:
        return a.m_named->catalog == b.m_named->catalog && a.m_named->name == b.m_named->name;
    case Color::Kind::Pattern:
        return a.m_pattern == b.m_pattern;
    case Color::Kind::Custom:
        if (a.m_space != b.m_space && !(*a.m_space == *b.m_space))
            return false;
        break;
    default:
        break;
    }
    return a.m_count == b.m_count && std::equal(a.m_c.begin(), a.m_c.begin() + a.m_count, b.m_c.begin());
}
