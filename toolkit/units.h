// Measurement units: the table of unit numbers, their names and points per unit.
//
// All geometry is stored in points (1/72 inch); lengths the user sees or types are
// converted with these. Unit numbers: 0 centimetres, 1 inches, 3 picas; every other
// number (2 among them) means pixels.
#pragma once

#include <QString>

QString UnitIndexToName(int unit);
float ConvertBaseToPoints(int unit);
float ConvertToPoints(int unit, float value);
float ConvertPointsTo(int unit, float points);
