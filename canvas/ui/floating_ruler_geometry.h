// Where the floating rulers open, how their resize handle changes their frame, and which
// ticks they draw; plain functions, so the rules are testable without windows.
//
// Frames are in Qt's screen coordinates (origin top left) and stored in the "prefs"
// dictionary under "fRulerFrameH" / "fRulerFrameV" in the text form of a rectangle.
#pragma once

#include "canvas/ruler_scale.h"
#include "platform/foundation/property_list.h"

#include <QList>
#include <QRect>

inline constexpr int FloatingRulerThickness = 40;
inline constexpr int FloatingRulerMinimumLength = 100;

QString floatingRulerFrameKey(bool horizontal);
// The frame of a ruler never moved, on the given screen.
QRect defaultFloatingRulerFrame(bool horizontal, const QRect &screen);

// The frame a ruler opens with: the stored one (thickness 40, length at least 100; text
// that reads as no rectangle gives the zero rectangle, so the minimum at the origin), or
// the default on the first screen; a frame whose top-left corner lies on none of the screens is moved onto the
// first one.
QRect floatingRulerFrame(const PropertyList &prefs, bool horizontal, const QList<QRect> &screens);

// A drag of the resize handle by `delta` from the frame the drag began with: the length
// follows (a vertical ruler keeps its top edge) down to the minimum. `atMinimum` tells
// whether the ruler can now only grow.
QRect resizedFloatingRulerFrame(const QRect &initial, QPoint delta, bool horizontal, bool *atMinimum);

// The ticks of a floating ruler `length` long: major step i at i x base from the start
// edge, with the document rulers' subdivisions and labels; a unit number outside 0 to 4
// gets neither subdivisions nor labels.
std::vector<RulerTick> floatingRulerTicks(int unit, double zoomFactor, double length);
