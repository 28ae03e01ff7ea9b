// Dash styles and arrow barbs: the numbered dash list and the open arrow head.
//
// Dash number 0 is a solid line, 1 to 10 the built-in patterns, and 11 onwards the entries
// of the user default "dashPatterns" in their order. An entry is a dictionary with "phase"
// (a number) and "pattern" (an array of dash and gap lengths for a line of thickness 1).
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/geometry/bezier_path.h"

#include <optional>

class UserDefaults;

// The built-in entries, then the user's; the defaults are read on every call so that a
// change takes effect at the next drawing.
PropertyList availableDashPatterns(const UserDefaults &defaults);
PropertyList availableDashPatterns();

// Sets the path's dash from entry `dashNumber` scaled by the thickness (at least 0.1) and
// answers the entry; answers nothing and leaves the line solid for 0, a negative number, a
// number beyond the list, or an entry whose pattern is missing or unusable.
std::optional<PropertyList> setDashPatternForThickness(BezierPath &path, int dashNumber, float thickness,
                                                        const UserDefaults &defaults);
std::optional<PropertyList> setDashPatternForThickness(BezierPath &path, int dashNumber, float thickness);

// Sets the path's dash to every pattern element times the thickness, the phase unscaled. A
// pattern that is empty, has a negative or non-finite length, or no length at all sets
// nothing and answers false.
bool setDashPatternWithPhaseForThickness(BezierPath &path, const PropertyList &pattern, float phase,
                                         float thickness);

// The two barbs of an open arrow head at the path's start: the path's first `length`
// turned by +angle and its reverse turned by -angle degrees about the start, joined into
// one open V whose point is the start. A curved start gives curved barbs.
BezierPath addArrowOfLength(const BezierPath &path, double length, double angle);
