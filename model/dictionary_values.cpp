// Checked numbers of the dictionary form.
#include "model/dictionary_values.h"

#include <cmath>

namespace {

bool isScalar(const PropertyList &value)
{
    return value.isNumber() || value.isString();
}

} // namespace

std::optional<int> intOf(const PropertyList &value)
{
    if (!isScalar(value))
        return std::nullopt;
    return value.intValue();
}

std::optional<float> floatOf(const PropertyList &value)
{
    if (!isScalar(value))
        return std::nullopt;
    const float number = value.floatValue();
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<int> intIn(const PropertyList &value, int min, int max)
{
    const auto number = intOf(value);
    return number && *number >= min && *number <= max ? number : std::nullopt;
}

std::optional<float> floatIn(const PropertyList &value, float min, float max)
{
    const auto number = floatOf(value);
    return number && *number >= min && *number <= max ? number : std::nullopt;
}
