// Colour values of the SVG importer: keywords, "#rgb" / "#rrggbb", rgb(...), "none",
// "inherit", "currentColor" and references to paint servers.
#pragma once

#include "svg/svg_graphics_state.h"

#include <QHash>
#include <QString>

#include <optional>

// The 147 colour keywords of SVG 1.1 (lower case) with their RGB values, alpha 1.
const QHash<QString, Color> &css2ColorList();

// Which state value a colour value is read for.
enum class SvgColorTarget { Fill, Stroke, Current };

// The paint the value gives for the target, or nothing (the inherited value stays).
std::optional<SvgPaint> svgColorValue(const QString &value, SvgColorTarget target, const SvgGraphicsState &state);

// The definition that a "url(#id)" value names, or null.
SvgDefinitionRef svgUrlDefinition(const QString &value, const SvgGraphicsState &state);
// The id of a "url(#id)" value, trimmed, or nothing.
std::optional<QString> svgUrlIdentifier(const QString &value);
