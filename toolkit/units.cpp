// The measurement-unit table.
#include "toolkit/units.h"

QString UnitIndexToName(int unit)
{
    switch (unit) {
    case 1: return QStringLiteral("Inches");
    case 3: return QStringLiteral("Picas");
    case 0: return QStringLiteral("Centimeters");
    default: return QStringLiteral("Pixels");
    }
}

float ConvertBaseToPoints(int unit)
{
    switch (unit) {
    case 1: return 72.0f;
    case 3: return 12.0f;
    case 0: return 28.35f; // the stored factor, not 72 / 2.54
    default: return 1.0f;
    }
}

float ConvertToPoints(int unit, float value)
{
    return value * ConvertBaseToPoints(unit);
}

float ConvertPointsTo(int unit, float points)
{
    return points / ConvertBaseToPoints(unit);
}
