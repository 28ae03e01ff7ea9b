// Lengths and transforms of the SVG importer: SVG lengths to points, transform lists applied
// to a graphics state (the matrix and its decomposed scale, rotation, translation and skew),
// and matrix composition.
#pragma once

#include "svg/svg_graphics_state.h"

#include <QStringView>

// One SVG length in user units (a CSS pixel each, drawn as one point): the leading number,
// with the first of "px", "pt", "pc", "mm", "cm", "in", "em", "ex", "%" found anywhere in the
// text as its unit, at 96 px to the inch; a percentage is of `reference`.
double unitToPix(QStringView value, const SvgGraphicsState &state, double reference);

// The state with a transform list applied (entries left to right, each inside the previous);
// a list that stops being readable keeps the entries applied so far.
SvgGraphicsState svgTransform(QStringView list, const SvgGraphicsState &state);

// current x new (the new matrix, given in SVG terms a b c d e f, applies to points first).
SvgMatrix svgNewMatrix(const SvgMatrix &current, double a, double c, double e, double b, double d, double f);

// The angle of (x, y) in [0, 2 pi).
double atan3(double y, double x);

// The inverse mapping of a point; nothing for a singular matrix.
std::optional<Point> svgInverseMap(const SvgMatrix &m, Point p);

// A preserveAspectRatio value: the alignment ("none", "xMinYMin" ... "xMaxYMax"; an unknown one
// reads as "xMidYMid") and whether the content covers the viewport ("slice") or fits in it.
struct SvgAspectRatio {
    QString align = QStringLiteral("xMidYMid");
    bool slice = false;
};
SvgAspectRatio svgAspectRatio(const QString &value);

// Where content of the size `content` lands in the viewport under the aspect ratio.
Rect svgFittedRect(Size content, const Rect &viewport, const SvgAspectRatio &ratio);
