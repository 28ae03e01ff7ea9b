// The arithmetic of the inspector's location, size and scale fields: new bounds for every
// selected object from one typed value, so that the panel only applies them.
#pragma once

#include "platform/geometry/geometry.h"

#include <optional>
#include <vector>

enum class BoundsAxis { X, Y };

// A typed location (points) for the current object's edge on the axis: with `relative`
// every object moves by the current object's distance to it, else every object's edge goes
// to it. Nothing (an empty answer) when the current object is within 0.1 of it.
std::optional<std::vector<Rect>> boundsForLocation(const std::vector<Rect> &bounds, const Rect &current, BoundsAxis axis,
                                                   float value, bool relative);

struct ResizeOptions {
    bool proportional = false;   // every object scales by the current object's factors
    bool together = false;       // the other side follows in proportion
    bool relative = false;       // with proportional: origins scale about the selection's centre
};

// A typed width (axis X) or height (axis Y) for the current object. Nothing when it is
// within 0.1 of the current size, or not above 0 (an object cannot have no size).
std::optional<std::vector<Rect>> boundsForSize(const std::vector<Rect> &bounds, const Rect &current,
                                               const Rect &selection, BoundsAxis axis, float value,
                                               const ResizeOptions &options);

struct ScaledSelection {
    std::vector<Rect> bounds;
    float factor = 1;
};

// The selection scaled to `percent` about its centre: the new selection size rounded to
// whole points, one factor for both axes (taken from the height when the selection has no
// width). Nothing when the selection has no size at all or the factor would be 0 or less.
std::optional<ScaledSelection> boundsForScale(const std::vector<Rect> &bounds, const Rect &selection, float percent);

// The factors that give back an object's original proportions keeping its longer side.
Size naturalAspectFactors(Size size, Size original);
// The bounds scaled by the factors about the centre.
Rect scaledAbout(const Rect &bounds, Size factors, Point centre);
