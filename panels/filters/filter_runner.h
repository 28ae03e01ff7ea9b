// The filter runner: one filter type over a picture, with the settings the panel's sliders
// and centre marker gave. It touches no widget, so the panel runs it on a worker thread.
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"

#include <QImage>

#include <optional>
#include <vector>

struct FilterSettings {
    int type = 0;
    std::vector<float> sliders;   // in the type's slider order
    Point center;                 // in the picture's pixels, y upwards
};

struct FilterOutput {
    QImage image;         // premultiplied ARGB32, the picture's pixel size
    PropertyList entry;   // what the filter stack records of the filter that ran
};

// Absent when the type has no filter (an unknown type; type 32 without its shading image)
// or the filter gives no picture.
std::optional<FilterOutput> outputImageOf(const QImage &image, const FilterSettings &settings);

// The shading picture of the shaded material: a lit ball, the application's "lightball".
const QImage &lightballImage();
