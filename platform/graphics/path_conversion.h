// Bezier paths and their line attributes turned into Qt's paths and pens for painting.
//
// Qt's pen conventions differ from the path's, so the pen is converted here:
//   - dash lengths are in user units on the path and in pen widths in Qt: each length and
//     the phase are divided by the line width;
//   - an odd-length pattern repeats with on and off swapped ([3 1 2] draws 3 on, 1 off,
//     2 on, 3 off, 1 on, 2 off), so it is written out twice; Qt would pad it instead;
//   - a pattern with a negative length or no positive length draws solid;
//   - butt caps and miter joins are the path's defaults; miter joins use Qt's SVG miter,
//     whose limit, like the path's, is the ratio of miter length to line width beyond which
//     the join is bevelled (Qt's plain miter join measures from the join point);
//   - line width 0 is the thinnest line the device can show: Qt's cosmetic pen (one device
//     pixel, "0 w" in PDF); its dash lengths are converted to device pixels with the scale
//     of the current transform, since a cosmetic pen dashes in pixels.
// Flatness has no counterpart in Qt (curves are flattened by the device) and is ignored.
#pragma once

#include "platform/geometry/bezier_path.h"

#include <QPainterPath>
#include <QPen>

// The outline with the path's winding rule as the fill rule.
QPainterPath toQPainterPath(const BezierPath &path);

// A Qt path as a Bezier path: quadratic curves become the cubic curves they are, and a
// sub-path that returns to its start is closed; the fill rule becomes the winding rule.
BezierPath fromQPainterPath(const QPainterPath &path);

// Qt's dash pattern and offset for a pattern in user units at line width `width`;
// `deviceScale` (user units to device pixels) is used only for width 0. An empty pattern
// means a solid line.
struct QtDash {
    QList<qreal> pattern;
    qreal offset = 0;
};
QtDash toQtDash(const std::vector<float> &pattern, float phase, float width, qreal deviceScale = 1.0);

// A pen with the path's width, cap, join, miter limit and dash, painting with `brush`.
QPen penForPath(const BezierPath &path, const QBrush &brush, qreal deviceScale = 1.0);
