// The SVG drawing elements that become path object infos: `path`, `circle`, `ellipse`,
// `line`, `polyline`, `rect` and `polygon`, the attribute pass they share with `image`, and
// the marker copies placed on their vertices.
#pragma once

#include "svg/svg_object_info.h"
#include "svg/svg_xml_loader.h"

#include <functional>

// Reads a geometry attribute the handler claims; answers false for names it does not.
using SvgGeometryReader = std::function<bool(const QString &name, const QString &value, SvgGraphicsState &state)>;

// The element's state: the parent's with the type rules, then for each attribute its
// attribute rules and then class/id rules, style, transform, geometry or presentation property.
SvgGraphicsState svgAttributePass(const SvgAttributes &attributes, const QString &tagName,
                                  const SvgGraphicsState &parent, const SvgGeometryReader &geometry);

void pathElement(const SvgAttributes &attributes, const SvgGraphicsState &state, const QString &tagName, SvgObjectInfo &info);
void circleElement(const SvgAttributes &attributes, const SvgGraphicsState &state, const QString &tagName, SvgObjectInfo &info);
void ellipseElement(const SvgAttributes &attributes, const SvgGraphicsState &state, const QString &tagName, SvgObjectInfo &info);
void polylineElement(const SvgAttributes &attributes, const SvgGraphicsState &state, const QString &tagName, SvgObjectInfo &info);
void polygonElement(const SvgAttributes &attributes, const SvgGraphicsState &state, const QString &tagName, SvgObjectInfo &info);

// The object info of a shape or image element given by name; empty for other names.
SvgObjectInfo elementToObjInfo(const QString &name, const SvgAttributes &attributes, const SvgGraphicsState &state);

// Copies of the state's markers placed at the vertices (untransformed user coordinates).
std::vector<SvgObjectInfo> markerPaths(const SvgGraphicsState &state, const std::vector<Point> &vertices);
