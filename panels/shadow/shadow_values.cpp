// The shadow dial's geometry and the typed values' limits.
#include "panels/shadow/shadow_values.h"

#include "model/services/panel_services.h"
#include "platform/foundation/archiving.h"

#include <cmath>

DialReading dialReadingAt(Point p, Size dialSize)
{
    const float hw = dialSize.width * 0.5f, hh = dialSize.height * 0.5f;
    if (hw <= 0 || hh <= 0)
        return {};
    const float dx = (p.x - hw) * 30 / hw;
    const float dy = (p.y - hh) * 30 / hh;
    float angle = float(std::atan2(dx, dy) * 180 / M_PI);
    if (angle < 0)
        angle += 360;
    return {angle, std::sqrt(dx * dx + dy * dy)};
}

float clampedShadowAngle(float angle)
{
    return angle < 0 || angle > 359.9f || !std::isfinite(angle) ? 0 : angle;
}

float clampedShadowOffset(float offset)
{
    return offset < 0.5f || !std::isfinite(offset) ? 0.5f : offset;
}

Color shadowColorOf(const PropertyList &values)
{
    const QByteArray data = values.value(QStringLiteral("color")).dataValue();
    if (!data.isEmpty())
        if (const auto color = unarchiveColorWithData(data); color)
            return *color.value;
    // The control shadow grey, opaque (the default shadow colour is it at alpha 0.9).
    return defaultShadowColor().colorWithAlphaComponent(1);
}

PropertyList archivedShadowColor(const Color &color)
{
    const auto data = archivedDataWithRootObject(color);
    return data ? PropertyList::fromData(*data.value) : PropertyList();
}
