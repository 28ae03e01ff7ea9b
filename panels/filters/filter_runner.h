// The filter runner: one filter type over a picture, with the settings the panel's sliders
// and centre marker gave. It touches no widget, so the panel runs it on a worker thread.
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"

#include <QImage>

#include <optional>
#include <vector>

class RowWork;

struct FilterSettings {
    int type = 0;
    std::vector<float> sliders;   // in the type's slider order
    Point center;                 // in the picture's pixels, y upwards
};

struct FilterOutput {
    // Premultiplied ARGB32 over the filter's extent: the picture's pixel size grown by
    // `margin` pixels on every side (the spread of the blurring filters; 0 for the rest).
    QImage image;
    int margin = 0;
    PropertyList entry;   // what the filter stack records of the filter that ran
};

// Absent when the type has no filter (an unknown type; type 32 without its shading image),
// the filter gives no picture, or the calling thread's run was asked to stop.
std::optional<FilterOutput> outputImageOf(const QImage &image, const FilterSettings &settings);

// The steps run one after another over the picture under `work`, installed on the calling
// thread: it can stop them (the steps after the stop give nothing) and reads how far they
// are. A dry run over a small picture first tells `work` the passes to expect.
std::vector<std::optional<FilterOutput>> runFilterSteps(const QImage &image, const std::vector<FilterSettings> &steps,
                                                        RowWork &work);

// The shading picture of the shaded material: a lit ball, the application's "lightball".
const QImage &lightballImage();
