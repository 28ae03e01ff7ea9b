// The colour keyword table and the reading of SVG colour values.
#include "svg/svg_colors.h"

#include "svg/svg_definitions.h"
#include "svg/svg_scanner.h"
#include "svg/svg_text_utilities.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Keyword {
    const char *name;
    int red, green, blue;
};

const Keyword keywords[] = {
        {"aliceblue", 240, 248, 255},
        {"antiquewhite", 250, 235, 215},
        {"aqua", 0, 255, 255},
        {"aquamarine", 127, 255, 212},
        {"azure", 240, 255, 255},
        {"beige", 245, 245, 220},
        {"bisque", 255, 228, 196},
        {"black", 0, 0, 0},
        {"blanchedalmond", 255, 235, 205},
        {"blue", 0, 0, 255},
        {"blueviolet", 138, 43, 226},
        {"brown", 165, 42, 42},
        {"burlywood", 222, 184, 135},
        {"cadetblue", 95, 158, 160},
        {"chartreuse", 127, 255, 0},
        {"chocolate", 210, 105, 30},
        {"coral", 255, 127, 80},
        {"cornflowerblue", 100, 149, 237},
        {"cornsilk", 255, 248, 220},
        {"crimson", 220, 20, 60},
        {"cyan", 0, 255, 255},
        {"darkblue", 0, 0, 139},
        {"darkcyan", 0, 139, 139},
        {"darkgoldenrod", 184, 134, 11},
        {"darkgray", 169, 169, 169},
        {"darkgreen", 0, 100, 0},
        {"darkgrey", 169, 169, 169},
        {"darkkhaki", 189, 183, 107},
        {"darkmagenta", 139, 0, 139},
        {"darkolivegreen", 85, 107, 47},
        {"darkorange", 255, 140, 0},
        {"darkorchid", 153, 50, 204},
        {"darkred", 139, 0, 0},
        {"darksalmon", 233, 150, 122},
        {"darkseagreen", 143, 188, 143},
        {"darkslateblue", 72, 61, 139},
        {"darkslategray", 47, 79, 79},
        {"darkslategrey", 47, 79, 79},
        {"darkturquoise", 0, 206, 209},
        {"darkviolet", 148, 0, 211},
        {"deeppink", 255, 20, 147},
        {"deepskyblue", 0, 191, 255},
        {"dimgray", 105, 105, 105},
        {"dimgrey", 105, 105, 105},
        {"dodgerblue", 30, 144, 255},
        {"firebrick", 178, 34, 34},
        {"floralwhite", 255, 250, 240},
        {"forestgreen", 34, 139, 34},
        {"fuchsia", 255, 0, 255},
        {"gainsboro", 220, 220, 220},
        {"ghostwhite", 248, 248, 255},
        {"gold", 255, 215, 0},
        {"goldenrod", 218, 165, 32},
        {"gray", 128, 128, 128},
        {"grey", 128, 128, 128},
        {"green", 0, 128, 0},
        {"greenyellow", 173, 255, 47},
        {"honeydew", 240, 255, 240},
        {"hotpink", 255, 105, 180},
        {"indianred", 205, 92, 92},
        {"indigo", 75, 0, 130},
        {"ivory", 255, 255, 240},
        {"khaki", 240, 230, 140},
        {"lavender", 230, 230, 250},
        {"lavenderblush", 255, 240, 245},
        {"lawngreen", 124, 252, 0},
        {"lemonchiffon", 255, 250, 205},
        {"lightblue", 173, 216, 230},
        {"lightcoral", 240, 128, 128},
        {"lightcyan", 224, 255, 255},
        {"lightgoldenrodyellow", 250, 250, 210},
        {"lightgray", 211, 211, 211},
        {"lightgreen", 144, 238, 144},
        {"lightgrey", 211, 211, 211},
        {"lightpink", 255, 182, 193},
        {"lightsalmon", 255, 160, 122},
        {"lightseagreen", 32, 178, 170},
        {"lightskyblue", 135, 206, 250},
        {"lightslategray", 119, 136, 153},
        {"lightslategrey", 119, 136, 153},
        {"lightsteelblue", 176, 196, 222},
        {"lightyellow", 255, 255, 224},
        {"lime", 0, 255, 0},
        {"limegreen", 50, 205, 50},
        {"linen", 250, 240, 230},
        {"magenta", 255, 0, 255},
        {"maroon", 128, 0, 0},
        {"mediumaquamarine", 102, 205, 170},
        {"mediumblue", 0, 0, 205},
        {"mediumorchid", 186, 85, 211},
        {"mediumpurple", 147, 112, 219},
        {"mediumseagreen", 60, 179, 113},
        {"mediumslateblue", 123, 104, 238},
        {"mediumspringgreen", 0, 250, 154},
        {"mediumturquoise", 72, 209, 204},
        {"mediumvioletred", 199, 21, 133},
        {"midnightblue", 25, 25, 112},
        {"mintcream", 245, 255, 250},
        {"mistyrose", 255, 228, 225},
        {"moccasin", 255, 228, 181},
        {"navajowhite", 255, 222, 173},
        {"navy", 0, 0, 128},
        {"oldlace", 253, 245, 230},
        {"olive", 128, 128, 0},
        {"olivedrab", 107, 142, 35},
        {"orange", 255, 165, 0},
        {"orangered", 255, 69, 0},
        {"orchid", 218, 112, 214},
        {"palegoldenrod", 238, 232, 170},
        {"palegreen", 152, 251, 152},
        {"paleturquoise", 175, 238, 238},
        {"palevioletred", 219, 112, 147},
        {"papayawhip", 255, 239, 213},
        {"peachpuff", 255, 218, 185},
        {"peru", 205, 133, 63},
        {"pink", 255, 192, 203},
        {"plum", 221, 160, 221},
        {"powderblue", 176, 224, 230},
        {"purple", 128, 0, 128},
        {"red", 255, 0, 0},
        {"rosybrown", 188, 143, 143},
        {"royalblue", 65, 105, 225},
        {"saddlebrown", 139, 69, 19},
        {"salmon", 250, 128, 114},
        {"sandybrown", 244, 164, 96},
        {"seagreen", 46, 139, 87},
        {"seashell", 255, 245, 238},
        {"sienna", 160, 82, 45},
        {"silver", 192, 192, 192},
        {"skyblue", 135, 206, 235},
        {"slateblue", 106, 90, 205},
        {"slategray", 112, 128, 144},
        {"slategrey", 112, 128, 144},
        {"snow", 255, 250, 250},
        {"springgreen", 0, 255, 127},
        {"steelblue", 70, 130, 180},
        {"tan", 210, 180, 140},
        {"teal", 0, 128, 128},
        {"thistle", 216, 191, 216},
        {"tomato", 255, 99, 71},
        {"turquoise", 64, 224, 208},
        {"violet", 238, 130, 238},
        {"wheat", 245, 222, 179},
        {"white", 255, 255, 255},
        {"whitesmoke", 245, 245, 245},
        {"yellow", 255, 255, 0},
        {"yellowgreen", 154, 205, 50},
};

// The arguments of a colour function "name(a, b, c[, d])" (commas, blanks or "/" between
// them), each a number with whether a "%" followed it; nothing when the text is not that
// function with three or four numbers.
struct FunctionArgument {
    double value;
    bool percent;
};

std::optional<std::vector<FunctionArgument>> functionArguments(QStringView value)
{
    const qsizetype open = value.indexOf(u'(');
    const qsizetype close = value.lastIndexOf(u')');
    if (open < 0 || close < open)
        return std::nullopt;
    SvgScanner scanner(value.mid(open + 1, close - open - 1), u", \t\n\r/");
    std::vector<FunctionArgument> arguments;
    while (!scanner.isAtEnd()) {
        const auto n = scanner.scanDouble();
        if (!n || arguments.size() == 4)
            return std::nullopt;
        scanner.setCharactersToBeSkipped(u"");
        const bool percent = scanner.scanString(u"%");
        // Angle units of hsl() hues: degrees are the default.
        if (!percent)
            scanner.scanCharacters(u"degDEG");
        scanner.setCharactersToBeSkipped(u", \t\n\r/");
        arguments.push_back({*n, percent});
    }
    if (arguments.size() < 3)
        return std::nullopt;
    return arguments;
}

float unitClamped(double value) { return float(std::clamp(value, 0.0, 1.0)); }

// The alpha argument: a number from 0 to 1 or a percentage; 1 when there is none.
float alphaArgument(const std::vector<FunctionArgument> &arguments)
{
    if (arguments.size() < 4)
        return 1;
    return unitClamped(arguments[3].percent ? arguments[3].value / 100 : arguments[3].value);
}

// rgb() and rgba(): each channel a number of 0 to 255 or a percentage, clamped; an optional
// alpha. Anything else that starts like one is not a colour.
std::optional<Color> rgbFunction(QStringView value)
{
    const auto arguments = functionArguments(value);
    if (!arguments)
        return std::nullopt;
    float channels[3];
    for (int i = 0; i < 3; ++i) {
        const FunctionArgument &a = (*arguments)[size_t(i)];
        channels[i] = unitClamped(a.percent ? a.value / 100 : a.value / 255);
    }
    return svgColor(channels[0], channels[1], channels[2], alphaArgument(*arguments));
}

// hsl() and hsla(): hue in degrees, saturation and lightness in percent, an optional alpha,
// turned into RGB by the CSS Color definition.
std::optional<Color> hslFunction(QStringView value)
{
    const auto arguments = functionArguments(value);
    if (!arguments)
        return std::nullopt;
    const double hue = std::fmod(std::fmod((*arguments)[0].value, 360) + 360, 360) / 360;
    const double saturation = std::clamp((*arguments)[1].value / 100, 0.0, 1.0);
    const double lightness = std::clamp((*arguments)[2].value / 100, 0.0, 1.0);
    const double m2 = lightness <= 0.5 ? lightness * (saturation + 1) : lightness + saturation - lightness * saturation;
    const double m1 = lightness * 2 - m2;
    auto channel = [&](double h) {
        h = h < 0 ? h + 1 : h > 1 ? h - 1 : h;
        if (h * 6 < 1)
            return m1 + (m2 - m1) * h * 6;
        if (h * 2 < 1)
            return m2;
        if (h * 3 < 2)
            return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
        return m1;
    };
    return svgColor(unitClamped(channel(hue + 1.0 / 3)), unitClamped(channel(hue)), unitClamped(channel(hue - 1.0 / 3)),
                    alphaArgument(*arguments));
}

// "#rgb" (at most four characters with the "#") or "#rrggbb"; each channel is masked to its
// own byte so longer forms cannot push a channel beyond 1.
Color hexColor(const QString &value)
{
    qsizetype end = 1;
    while (end < value.size() && isxdigit(value[end].toLatin1()))
        ++end;
    bool ok = false;
    const QStringView digits = QStringView(value).mid(1, std::min<qsizetype>(end - 1, 8));
    const unsigned long long n = digits.isEmpty() ? 0 : digits.toULongLong(&ok, 16);
    if (value.size() <= 4) {
        const float r = float((n >> 8) & 0xF) * 17, g = float((n >> 4) & 0xF) * 17, b = float(n & 0xF) * 17;
        return svgColor(r / 255, g / 255, b / 255);
    }
    // Four digits (#rgba) carry an alpha digit.
    if (digits.size() == 4) {
        auto digit = [&](int shift) { return float((n >> shift) & 0xF) * 17 / 255; };
        return svgColor(digit(12), digit(8), digit(4), digit(0));
    }
    // Eight digits (#rrggbbaa) carry an alpha byte after the colour.
    const bool withAlpha = digits.size() == 8;
    const unsigned long long rgb = withAlpha ? n >> 8 : n;
    const float alpha = withAlpha ? float(n & 0xFF) / 255 : 1;
    return svgColor(float((rgb >> 16) & 0xFF) / 255, float((rgb >> 8) & 0xFF) / 255, float(rgb & 0xFF) / 255, alpha);
}

Color transparentVersion(const SvgPaint &paint)
{
    return paint.color ? svgColorWithAlpha(*paint.color, 0) : svgColor(0, 0, 0, 0);
}

} // namespace

const QHash<QString, Color> &css2ColorList()
{
    static const QHash<QString, Color> table = [] {
        QHash<QString, Color> t;
        for (const Keyword &k : keywords)
            t.insert(QString::fromLatin1(k.name), svgColor(k.red / 255.0f, k.green / 255.0f, k.blue / 255.0f));
        return t;
    }();
    return table;
}

std::optional<QString> svgUrlIdentifier(const QString &value)
{
    if (!value.startsWith(u"url("))
        return std::nullopt;
    if (value.size() < 5 || value[4] != u'#')
        return std::nullopt;
    const qsizetype close = value.indexOf(u')', 5);
    if (close < 0)
        return std::nullopt;
    return strntrim(value.mid(5, close - 5));
}

SvgDefinitionRef svgUrlDefinition(const QString &value, const SvgGraphicsState &state)
{
    const auto id = svgUrlIdentifier(value);
    if (!id)
        return nullptr;
    return state.tables->defs.value(*id);
}

std::optional<SvgPaint> svgColorValue(const QString &text, SvgColorTarget target, const SvgGraphicsState &state)
{
    const QString value = text.trimmed();
    const SvgPaint current = target == SvgColorTarget::Fill     ? state.fillColor
                             : target == SvgColorTarget::Stroke ? state.strokeColor
                                                                : SvgPaint{state.currentColor, nullptr};
    if (value == u"inherit")
        return current;
    if (value == u"none") {
        if (target == SvgColorTarget::Current)
            return SvgPaint{svgColorWithAlpha(state.currentColor, 0), nullptr};
        // A paint server made transparent becomes a transparent colour.
        return SvgPaint{transparentVersion(current), nullptr};
    }
    if (value.compare(u"currentColor", Qt::CaseInsensitive) == 0) {
        // The fill or stroke follows the element's `color`, also when that is set later on
        // the element or on a descendant.
        SvgPaint paint{state.currentColor, nullptr};
        paint.followsCurrentColor = target != SvgColorTarget::Current;
        return paint;
    }
    if (value.startsWith(u'#'))
        return SvgPaint{hexColor(value), nullptr};
    if (value.startsWith(u"url(")) {
        if (target == SvgColorTarget::Current)
            return std::nullopt;
        SvgDefinitionRef definition = svgUrlDefinition(value, state);
        if (definition && definition->kind == SvgDefinition::Kind::PaintServer)
            return SvgPaint{std::nullopt, definition};
        // A reference that names no paint server draws with its fallback, or not at all.
        const QString fallback = value.mid(value.indexOf(u')') + 1).trimmed();
        if (fallback.isEmpty())
            return SvgPaint{transparentVersion(current), nullptr};
        return svgColorValue(fallback, target, state);
    }
    const QString lower = value.toLower();
    std::optional<Color> color;
    if (lower.startsWith(u"rgb(") || lower.startsWith(u"rgba("))
        color = rgbFunction(lower);
    else if (lower.startsWith(u"hsl(") || lower.startsWith(u"hsla("))
        color = hslFunction(lower);
    else if (lower == u"transparent")
        color = svgColor(0, 0, 0, 0);
    else if (const auto it = css2ColorList().constFind(lower); it != css2ColorList().constEnd())
        color = *it;
    if (!color)
        return std::nullopt;
    return SvgPaint{*color, nullptr};
}
