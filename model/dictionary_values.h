// Reading numbers from an object's dictionary form with the checks every key gets.
//
// Numbers come as numbers (binary forms) or as numeric strings (the text form); any other
// kind of value counts as missing, and so does a number that is not finite or lies outside
// the range the key allows. A file may hold anything: a missing answer keeps the default.
#pragma once

#include "platform/foundation/property_list.h"

#include <limits>
#include <optional>

std::optional<int> intOf(const PropertyList &value);
std::optional<float> floatOf(const PropertyList &value);
// The number when it lies within [min, max].
std::optional<int> intIn(const PropertyList &value, int min, int max);
std::optional<float> floatIn(const PropertyList &value, float min, float max);

// Coordinates and lengths beyond this (in points) come only from damaged files.
inline constexpr float MaxCoordinate = 1e9f;
