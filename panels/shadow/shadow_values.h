// Shadow values as the shadow panel shows and types them: the dial's geometry and the
// limits of the typed angle and distance.
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"

struct DialReading {
    float angle = 0;    // degrees clockwise from straight up, 0 to below 360
    float offset = 0;   // 30 units from the centre to the dial's edge
};

// The angle and distance of a point in a dial of the size (y grows upwards, as the dial is
// drawn): the dial's half width and half height each count as 30 units.
DialReading dialReadingAt(Point p, Size dialSize);
// Typed angles below 0 or above 359.9 become 0.
float clampedShadowAngle(float angle);
// Typed distances below 0.5 become 0.5.
float clampedShadowOffset(float offset);

// The colour of a values dictionary's "color"; the control shadow grey when it is missing
// or cannot be read.
Color shadowColorOf(const PropertyList &values);
// The colour as "color" data.
PropertyList archivedShadowColor(const Color &color);
