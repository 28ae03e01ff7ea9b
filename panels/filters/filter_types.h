// The image filter panel's 37 filter types: for each, the filter it runs, its up to three
// sliders (label, input key, range, starting value) and whether it takes the centre marker;
// and how a filter is built from the sliders and the centre.
#pragma once

#include "platform/filters/image_filter.h"
#include "platform/geometry/geometry.h"

#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

struct FilterSlider {
    const char *label = nullptr;   // the English text, the key of its localised text
    const char *inputKey = nullptr;
    double minimum = 0, maximum = 0;
    float start = 0;
};

struct FilterType {
    const char *filterName;
    std::vector<FilterSlider> sliders;
    bool usesCenter = false;
};

inline constexpr int filterTypeCount = 37;

// The type's entry; absent outside 0..36.
const FilterType *filterTypeAt(int type);
// The filter name of the type; empty for any other number.
QString filterNameFor(int type);
// The type running that filter; -1 for a name not in the table.
int filterTypeFor(const QString &name);

// The slider values of the type: each saved parameter under its slider's input key, else the
// slider's starting value.
std::vector<float> sliderValuesFor(int type, const std::map<QString, double> &saved);

// The filter of the type over the source, from the slider values (in the table's order) and
// the centre (in the source's pixels, y upwards), with each type's fixed inputs and extra
// steps; `shadingImage` serves type 32 (absent: no filter). Absent outside 0..36. `recorded`,
// when given, receives the filter a filter stack records: the built one, or for type 32 the
// shaded material (its blend over the source is a fixed step, not a filter of its own).
std::optional<ImageFilter> filterForType(int type, const QImage &source, const std::vector<float> &sliders,
                                         Point center, const QImage &shadingImage = {},
                                         std::optional<ImageFilter> *recorded = nullptr);

// Where the preview's centre marker `current` falls in a source of `size` shown in the
// preview's `imageBounds` (unscaled, or scaled down to fit); absent when it falls outside
// the source (the marker then goes back to the middle and the source's middle is used).
std::optional<Point> selectedCenterFor(Size size, Point current, const Rect &imageBounds);
