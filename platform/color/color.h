// The colour value: a colour in its own colour space (RGB, grey, CMYK, a custom space,
// a named catalogue colour or a pattern image) with its alpha, and the simple conversions
// between spaces.
//
// Components are single-precision floats in their own space and are kept exactly as given
// (no clamping, no 16-bit rounding), so a colour read from a file writes back unchanged and
// a device-CMYK value survives to the output. Conversion to QColor happens only in the
// drawing layer (platform/graphics/color_conversion.h).
//
// Grey colours keep a "white" level in every grey space, the black spaces included:
// 0 is black and 1 is white. The conversions between spaces use the classic device formulas
// (grey = 0.3 r + 0.59 g + 0.11 b, k = min(1 - r, 1 - g, 1 - b), r = 1 - min(1, c + k)),
// not a colour-managed transform; calibrated and device spaces share component values.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>

// Colour-space names as colours report them and archives store them.
inline const QString CalibratedRGBColorSpace = QStringLiteral("NSCalibratedRGBColorSpace");
inline const QString DeviceRGBColorSpace = QStringLiteral("NSDeviceRGBColorSpace");
inline const QString CalibratedWhiteColorSpace = QStringLiteral("NSCalibratedWhiteColorSpace");
inline const QString DeviceWhiteColorSpace = QStringLiteral("NSDeviceWhiteColorSpace");
inline const QString CalibratedBlackColorSpace = QStringLiteral("NSCalibratedBlackColorSpace");
inline const QString DeviceBlackColorSpace = QStringLiteral("NSDeviceBlackColorSpace");
inline const QString DeviceCMYKColorSpace = QStringLiteral("NSDeviceCMYKColorSpace");
inline const QString NamedColorSpace = QStringLiteral("NSNamedColorSpace");
inline const QString PatternColorSpace = QStringLiteral("NSPatternColorSpace");
inline const QString CustomColorSpace = QStringLiteral("NSCustomColorSpace");

enum class ColorSpaceModel { Unknown = -1, Gray = 0, RGB = 1, CMYK = 2, LAB = 3, DeviceN = 4, Indexed = 5, Pattern = 6 };

// A colour-space object: the model, the number of colour components (alpha not counted),
// a display name and, for spaces read from a file, the ICC profile that defines them.
class ColorSpace {
public:
    ColorSpace(ColorSpaceModel model, int numberOfColorComponents, QString name, QByteArray iccProfile = {});

    ColorSpaceModel colorSpaceModel() const { return m_model; }
    int numberOfColorComponents() const { return m_count; }
    const QString &localizedName() const { return m_name; }
    const QByteArray &iccProfileData() const { return m_icc; }

    // The shared standard spaces; compare them by pointer or with ==.
    static std::shared_ptr<const ColorSpace> genericRGBColorSpace();
    static std::shared_ptr<const ColorSpace> genericGrayColorSpace();
    static std::shared_ptr<const ColorSpace> genericCMYKColorSpace();
    static std::shared_ptr<const ColorSpace> deviceRGBColorSpace();
    static std::shared_ptr<const ColorSpace> deviceGrayColorSpace();
    static std::shared_ptr<const ColorSpace> deviceCMYKColorSpace();

    friend bool operator==(const ColorSpace &a, const ColorSpace &b)
    {
        return a.m_model == b.m_model && a.m_count == b.m_count && a.m_name == b.m_name && a.m_icc == b.m_icc;
    }

private:
    ColorSpaceModel m_model;
    int m_count;
    QString m_name;
    QByteArray m_icc;
};

// The image of a pattern colour. This layer only keeps it and compares it by identity; the
// drawing layer's PatternTile (platform/graphics/pattern_tile.h) adds the pixels, and the
// image layer implements that.
class PatternImage {
public:
    virtual ~PatternImage();
};

struct NamedColorInfo;

class Color {
public:
    enum class Kind {
        CalibratedRGB, DeviceRGB,
        CalibratedWhite, DeviceWhite, CalibratedBlack, DeviceBlack,
        DeviceCMYK,
        Custom,   // components in a ColorSpace (generic CMYK is one)
        Named,    // catalogue name + colour name, drawn with its fallback colour
        Pattern,  // a tiled image
    };
    // The largest number of colour components of a custom colour (alpha not counted).
    static constexpr int maxComponents = 15;

    // Opaque black in the calibrated white space.
    Color();

    static Color colorWithCalibratedRed(float red, float green, float blue, float alpha = 1.0f);
    static Color colorWithDeviceRed(float red, float green, float blue, float alpha = 1.0f);
    static Color colorWithCalibratedHue(float hue, float saturation, float brightness, float alpha = 1.0f);
    static Color colorWithDeviceHue(float hue, float saturation, float brightness, float alpha = 1.0f);
    static Color colorWithCalibratedWhite(float white, float alpha = 1.0f);
    static Color colorWithDeviceWhite(float white, float alpha = 1.0f);
    // The black spaces keep a white level too (0 is black).
    static Color colorWithCalibratedBlack(float white, float alpha = 1.0f);
    static Color colorWithDeviceBlack(float white, float alpha = 1.0f);
    static Color colorWithDeviceCyan(float cyan, float magenta, float yellow, float black, float alpha = 1.0f);
    // A CMYK colour in the generic CMYK colour space (a custom-space colour of 5 components).
    static Color colorWithGenericCyan(float cyan, float magenta, float yellow, float black, float alpha = 1.0f);
    // `components` holds the space's colour components followed by alpha (count =
    // colour components + 1). Answers nothing for a null space, a count that does not
    // match the space or more than maxComponents colour components.
    static std::optional<Color> colorWithColorSpace(std::shared_ptr<const ColorSpace> space, const float *components,
                                                    int count);
    // A catalogue colour; `fallback` is what it draws and converts as (never Named or Pattern
    // itself: such a fallback is replaced by its own fallback or by black).
    static Color colorWithCatalogName(const QString &catalog, const QString &name, const Color &fallback);
    // A pattern colour; a null image gives a pattern colour that draws nothing.
    static Color colorWithPatternImage(std::shared_ptr<const PatternImage> image);

    // The standard colours (calibrated white or calibrated RGB).
    static Color blackColor() { return colorWithCalibratedWhite(0); }
    static Color whiteColor() { return colorWithCalibratedWhite(1); }
    static Color grayColor() { return colorWithCalibratedWhite(0.5f); }
    static Color lightGrayColor() { return colorWithCalibratedWhite(2.0f / 3.0f); }
    static Color darkGrayColor() { return colorWithCalibratedWhite(1.0f / 3.0f); }
    static Color clearColor() { return colorWithCalibratedWhite(0, 0); }
    static Color redColor() { return colorWithCalibratedRed(1, 0, 0); }
    static Color greenColor() { return colorWithCalibratedRed(0, 1, 0); }
    static Color blueColor() { return colorWithCalibratedRed(0, 0, 1); }
    static Color yellowColor() { return colorWithCalibratedRed(1, 1, 0); }
    static Color cyanColor() { return colorWithCalibratedRed(0, 1, 1); }
    static Color magentaColor() { return colorWithCalibratedRed(1, 0, 1); }

    Kind kind() const { return m_kind; }
    QString colorSpaceName() const;
    // The colour-space object: the generic or device space of the kind, the custom space,
    // or null for named and pattern colours.
    std::shared_ptr<const ColorSpace> colorSpace() const;
    bool isRGB() const { return m_kind == Kind::CalibratedRGB || m_kind == Kind::DeviceRGB; }
    bool isGray() const;
    bool isCMYK() const;   // device CMYK, or a custom space of the CMYK model

    // Components including alpha: 4 for RGB, 2 for grey, 5 for CMYK, colour components + 1
    // for a custom space, 0 for named and pattern colours.
    int numberOfComponents() const;
    // Copies numberOfComponents() values, alpha last.
    void getComponents(float *components) const;

    // Component accessors. Asked of a colour in another space they answer the value of the
    // colour converted with colorUsingColorSpaceName (0 when it has no conversion).
    float redComponent() const;
    float greenComponent() const;
    float blueComponent() const;
    float hueComponent() const;
    float saturationComponent() const;
    float brightnessComponent() const;
    float whiteComponent() const;
    float cyanComponent() const;
    float magentaComponent() const;
    float yellowComponent() const;
    float blackComponent() const;
    // Named and pattern colours are opaque (a named colour answers its fallback's alpha).
    float alphaComponent() const { return m_alpha; }
    void getRed(float *red, float *green, float *blue, float *alpha) const;
    void getHue(float *hue, float *saturation, float *brightness, float *alpha) const;
    void getCyan(float *cyan, float *magenta, float *yellow, float *black, float *alpha) const;
    void getWhite(float *white, float *alpha) const;

    QString catalogNameComponent() const;
    QString colorNameComponent() const;
    // The colour a named colour draws and converts as; the colour itself for other kinds.
    Color namedFallback() const;
    const std::shared_ptr<const PatternImage> &patternImage() const { return m_pattern; }

    // The same colour with another alpha (named colours keep their names; pattern colours
    // have no alpha and are returned unchanged).
    Color colorWithAlphaComponent(float alpha) const;
    // The colour in the space of that name (one of the RGB, white, black or device CMYK
    // names, or this colour's own space name). Nothing when there is no conversion:
    // pattern colours, custom spaces of an unknown model, unknown names.
    std::optional<Color> colorUsingColorSpaceName(const QString &name) const;
    // The colour in a custom colour space of the grey, RGB or CMYK model.
    std::optional<Color> colorUsingColorSpace(const std::shared_ptr<const ColorSpace> &space) const;
    // fraction of `other` mixed into this colour in calibrated RGB, alpha included; nothing
    // when either has no RGB conversion.
    std::optional<Color> blendedColor(float fraction, const Color &other) const;
    // The colour made darker (towards black) or lighter (towards white) by `level`.
    std::optional<Color> shadowWithLevel(float level) const;
    std::optional<Color> highlightWithLevel(float level) const;

    // Makes the colour the current fill and stroke colour (set), or only one of them, of
    // the current graphics context. Defined by the drawing layer (platform/graphics):
    // code that links only this library cannot call them.
    void set() const;
    void setFill() const;
    void setStroke() const;

    // Equal when the space, every component and alpha are the same, compared exactly;
    // named colours compare catalogue and colour names, pattern colours their image's identity.
    friend bool operator==(const Color &a, const Color &b);
    friend bool operator!=(const Color &a, const Color &b) { return !(a == b); }

private:
    Color(Kind kind, std::initializer_list<float> components, float alpha);

    Kind m_kind;
    int m_count = 0;
    std::array<float, maxComponents> m_c{};
    float m_alpha = 1.0f;
    std::shared_ptr<const ColorSpace> m_space;         // Custom
    std::shared_ptr<const NamedColorInfo> m_named;     // Named
    std::shared_ptr<const PatternImage> m_pattern;     // Pattern
};

// Catalogue and colour name of a named colour with the colour it stands for.
struct NamedColorInfo {
    QString catalog;
    QString name;
    Color fallback;
};
