// Presentation properties, declaration blocks and selector matching.
#include "svg/svg_styles.h"

#include "svg/svg_clipping.h"
#include "svg/svg_colors.h"
#include "svg/svg_definitions.h"
#include "svg/svg_geometry.h"
#include "svg/svg_object_info.h"
#include "svg/svg_scanner.h"
#include "svg/svg_shapes.h"
#include "svg/svg_text.h"
#include "svg/svg_text_utilities.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

QStringList splitAt(const QString &value, QStringView separators)
{
    QStringList parts;
    QString current;
    for (QChar c : value) {
        if (separators.contains(c)) {
            if (!current.isEmpty())
                parts.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty())
        parts.append(current);
    return parts;
}

double viewBoxWidth(const SvgGraphicsState &state) { return state.viewBox ? state.viewBox->size.width : 0; }

void applyTextDecoration(const QString &value, SvgGraphicsState &state)
{
    SvgGraphicsState result = state;
    result.textDecoration = true;
    bool changed = false;
    for (const QString &word : splitAt(value, u"| ,+\t\n\r%)")) {
        if (word == u"none") {
            result.underline = result.overline = result.linethrough = result.blink = false;
            result.textDecoration = false;
            result.textDecorateFillColor = result.textDecorateStrokeColor = svgColor(0, 0, 0, 0);
        } else if (word == u"inherit") {
            result.underline = state.underline;
            result.overline = state.overline;
            result.linethrough = state.linethrough;
            result.blink = state.blink;
            result.textDecoration = state.textDecoration;
            result.textDecorateFillColor = state.textDecorateFillColor;
            result.textDecorateStrokeColor = state.textDecorateStrokeColor;
        } else if (word == u"underline") {
            result.underline = true;
        } else if (word == u"overline") {
            result.overline = true;
        } else if (word == u"line-through") {
            result.linethrough = true;
        } else if (word == u"blink") {
            result.blink = true;
        } else {
            continue;
        }
        changed = true;
    }
    if (changed)
        state = result;
}

// A "clip-path: url(#id)" value narrows the clip of the element (and of what it holds) to
// the clip path's outline, laid out in the element's user space now, or on its box once that
// is known.
void applyClipPath(const QString &value, SvgGraphicsState &state)
{
    const SvgDefinitionRef definition = svgUrlDefinition(value, state);
    if (!definition || definition->kind != SvgDefinition::Kind::ClipPath || !definition->state)
        return;
    if (definition->text(QStringLiteral("clipPathUnits")) == u"objectBoundingBox") {
        state.boundingBoxClips.push_back({definition, state.ctm});
        return;
    }
    svgClipStateTo(state, svgClipPathOutline(*definition, state.ctm, std::nullopt).value_or(SvgClip()));
}

void applyMarker(const QString &name, const QString &value, SvgGraphicsState &state)
{
    if (value == u"none" || value == u"inherit")
        return;
    const SvgDefinitionRef definition = svgUrlDefinition(value, state);
    if (!definition || definition->kind != SvgDefinition::Kind::Marker)
        return;
    state.markers.push_back({name, definition});
}

float lengthOrInherit(const QString &value, float current, const SvgGraphicsState &state, double reference)
{
    return value == u"inherit" ? current : float(unitToPix(value, state, reference));
}

void applyFontWeight(const QString &value, SvgGraphicsState &state)
{
    static const QHash<QString, int> weights = {
        {"normal", 5}, {"bold", 8}, {"bolder", 10}, {"lighter", 3}, {"100", 1}, {"200", 2}, {"300", 3},
        {"400", 4},    {"500", 5},  {"600", 6},     {"700", 7},     {"800", 8}, {"900", 9},
    };
    if (value == u"inherit") {
        if (state.fontWeight != 0)
            state.fontChanged = true;
        return;
    }
    const auto it = weights.constFind(value);
    if (it == weights.constEnd())
        return;
    state.fontWeight = *it;
    state.fontChanged = true;
}

void applyFontStretch(const QString &value, SvgGraphicsState &state)
{
    static const QHash<QString, double> factors = {
        {"ultra-condensed", 0.5}, {"extra-condensed", 0.625}, {"condensed", 0.75}, {"semi-condensed", 0.875},
        {"semi-expanded", 1.25},  {"expanded", 1.5},          {"extra-expanded", 1.75}, {"ultra-expanded", 2.0},
    };
    if (value == u"normal") {
        state.fontStretch = 0;
        return;
    }
    const auto it = factors.constFind(value);
    if (it != factors.constEnd())
        state.fontStretch = float(std::log(*it));
}

void applyBaselineShift(const QString &value, SvgGraphicsState &state)
{
    if (value == u"normal" || value == u"none" || value == u"baseline") {
        state.baselineOffset = 0;
        state.superscript = 0;
    } else if (value == u"sub") {
        state.baselineOffset += -0.5f * state.fontSize;
        state.superscript -= 1;
    } else if (value == u"super") {
        state.baselineOffset += 0.5f * state.fontSize;
        state.superscript += 1;
    } else if (value != u"inherit") {
        state.baselineOffset += float(unitToPix(value, state, state.fontSize));
    }
}

void applyColorProfile(const QString &value, SvgGraphicsState &state)
{
    if (value == u"auto") {
        state.imageColorSpace = SvgImageColorSpace();
        return;
    }
    if (value == u"inherit")
        return;
    const QString name = svgUrlIdentifier(value).value_or(value);
    const auto it = state.tables->colorProfiles.constFind(name);
    if (it != state.tables->colorProfiles.constEnd())
        state.imageColorSpace = *it;
}

// Opacity and miter-limit texts read as their numeric value (0 when not a number).
float numberText(const QString &value) { return float(svgLeadingDouble(value)); }

} // namespace

void xmlStyle(const QString &name, const QString &value, SvgGraphicsState &state)
{
    if (name.isEmpty())
        return;
    switch (name[0].unicode()) {
    case 'b':
        if (name == u"baseline-shift")
            applyBaselineShift(value, state);
        return;
    case 'c':
        if (name == u"color") {
            if (auto paint = svgColorValue(value, SvgColorTarget::Current, state); paint && paint->color)
                state.setCurrentColor(*paint->color);
        } else if (name == u"clip-path") {
            if (value.startsWith(u"url("))
                applyClipPath(value, state);
        } else if (name == u"clip-rule") {
            if (value == u"nonzero")
                state.clipRule = 0;
            else if (value == u"evenodd")
                state.clipRule = 1;
        } else if (name == u"color-profile") {
            applyColorProfile(value, state);
        }
        return;
    case 'd':
        if (name == u"direction") {
            if (value == u"ltr")
                state.writingDirection = 0;
            else if (value == u"rtl")
                state.writingDirection = 1;
        } else if (name == u"display" && value == u"none") {
            state.displayed = false;   // no descendant can show itself again
        }
        return;
    case 'e':
        if (name == u"enable-background" && value == u"new")
            state.enableBackground = true;
        return;
    case 'f':
        if (name == u"fill") {
            if (auto paint = svgColorValue(value, SvgColorTarget::Fill, state))
                state.fillColor = *paint;
        } else if (name == u"fill-opacity") {
            state.fillOpacity = numberText(value);
        } else if (name == u"fill-rule") {
            if (value == u"nonzero")
                state.fillRule = 0;
            else if (value == u"evenodd")
                state.fillRule = 1;
        } else if (name == u"font-family") {
            QStringList families;
            for (const QString &part : splitAt(value, u"'\",\t\n\r%)")) {
                const QString family = part.trimmed();
                if (!family.isEmpty())
                    families.append(family);
            }
            if (!families.isEmpty()) {
                state.fontFamily = families;
                state.fontChanged = true;
            }
        } else if (name == u"font-size") {
            state.fontSize = lengthOrInherit(value, state.fontSize, state, state.fontSize);
        } else if (name == u"font-stretch") {
            applyFontStretch(value, state);
        } else if (name == u"font-style") {
            if (value == u"normal" || value == u"italic" || value == u"oblique") {
                state.fontStyle = value;
                state.fontChanged = true;
            }
        } else if (name == u"font-weight") {
            applyFontWeight(value, state);
        } else if (name == u"filter") {
            if (SvgDefinitionRef definition = svgUrlDefinition(value, state);
                definition && definition->kind == SvgDefinition::Kind::Filter)
                state.filter = definition;
        }
        return;
    case 'k':
        if (name == u"kerning") {
            if (value == u"auto")
                state.kerning = value;
            else if (value != u"inherit")
                state.kerning = QString::number(unitToPix(value, state, state.fontSize), 'f', 6);
        }
        return;
    case 'l':
        if (name == u"letter-spacing") {
            if (value == u"normal")
                state.letterSpacing = 0;
            else
                state.letterSpacing = lengthOrInherit(value, state.letterSpacing, state, viewBoxWidth(state));
        }
        return;
    case 'm':
        if (name == u"marker" || name == u"marker-start" || name == u"marker-mid" || name == u"marker-end")
            applyMarker(name, value, state);
        return;
    case 'o':
        if (name == u"opacity") {
            // The element's own opacity; it multiplies into the fill and stroke opacities
            // and into every enclosing group's.
            const float opacity = std::clamp(numberText(value), 0.0f, 1.0f);
            state.opacity = opacity;
            state.floodOpacity = state.stopOpacity = opacity;
        }
        return;
    case 's':
        if (name == u"stroke") {
            if (auto paint = svgColorValue(value, SvgColorTarget::Stroke, state))
                state.strokeColor = *paint;
        } else if (name == u"stop-color") {
            if (auto paint = svgColorValue(value, SvgColorTarget::Fill, state))
                state.fillColor = *paint;
        } else if (name == u"stop-opacity") {
            state.fillOpacity = numberText(value);
        } else if (name == u"stroke-width") {
            state.strokeWidth = lengthOrInherit(value, state.strokeWidth, state, viewBoxWidth(state));
        } else if (name == u"stroke-dasharray") {
            if (value == u"none") {
                state.dashArray.clear();
            } else if (value != u"inherit") {
                std::vector<float> dashes;
                for (const QString &part : splitAt(value, u", \t\n\r"))
                    dashes.push_back(float(unitToPix(part, state, viewBoxWidth(state))));
                state.dashArray = dashes;
            }
        } else if (name == u"stroke-dashoffset") {
            if (value != u"inherit")
                state.dashOffset = float(unitToPix(value, state, 100) * state.scaleX);
        } else if (name == u"stroke-linecap") {
            state.lineCap = value == u"round" ? 1 : value == u"square" ? 2 : 0;
        } else if (name == u"stroke-linejoin") {
            state.lineJoin = value == u"round" ? 1 : value == u"bevel" ? 2 : 0;
        } else if (name == u"stroke-miterlimit") {
            state.miterLimit = numberText(value);
        } else if (name == u"stroke-opacity") {
            state.strokeOpacity = numberText(value);
        }
        return;
    case 't':
        if (name == u"text-decoration")
            applyTextDecoration(value, state);
        else if (name == u"text-anchor") {
            if (value == u"start")
                state.textAnchor = 0;
            else if (value == u"middle")
                state.textAnchor = 2;
            else if (value == u"end")
                state.textAnchor = 1;
        }
        return;
    case 'u':
        if (name == u"unicode-bidi") {
            if (value == u"normal")
                state.unicodeBidi = false;
            else if (value == u"embed" || value == u"bidi-override")
                state.unicodeBidi = true;
        }
        return;
    case 'v':
        if (name == u"visibility") {
            if (value == u"hidden" || value == u"collapse")
                state.visible = false;
            else if (value == u"visible")
                state.visible = true;
        }
        return;
    case 'w':
        if (name == u"writing-mode" && (value == u"tb-rl" || value == u"tb"))
            state.rotate += M_PI / 2;
        return;
    default:
        return;
    }
}

void cssStyle(const QString &declarations, SvgGraphicsState &state)
{
    SvgScanner scanner(declarations, u" \t\n\r");
    while (!scanner.isAtEnd()) {
        const auto name = scanner.scanUpToCharacters(u";:");
        if (!name)
            return;
        const auto separators = scanner.scanCharacters(u";:");
        if (!separators)
            return;
        if (*separators != u":")
            continue;
        const auto value = scanner.scanUpToCharacters(u";:");
        if (!value)
            return;
        scanner.scanString(u";");
        xmlStyle(name->trimmed(), value->trimmed(), state);
        // A doubled ";" (an empty declaration) or a ":" inside a value ends the reading.
        const QStringView rest = scanner.remaining();
        if (rest.startsWith(u';') || rest.startsWith(u':'))
            return;
    }
}

bool classSearch(const QString &value, const QString &name, SvgGraphicsState &state)
{
    const QString *rule = state.tables->styles.match(value, name, state.className);
    if (!rule)
        return false;
    const QString block = *rule;   // the rule table may grow while applying
    cssStyle(block, state);
    return true;
}
