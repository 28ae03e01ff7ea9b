// The scale of the rulers: how long one major step is at a zoom, and which hash marks and
// labels a stretch of ruler shows in a measurement unit.
//
// Unit numbers are those of toolkit/units.h: 0 centimetres, 1 inches, 2 and 4 pixels,
// 3 picas; any other number draws like pixels but is never labelled as major below 100 %.
// One major step is 2 cm, 1 in, 10 pc or 100 px; its length on screen (the base) is the
// ruler's zoom factor times that step in points. Ticks are placed from where the canvas's
// coordinate 0 lies on the ruler, so the scale follows scrolling and partial repaints.
#pragma once

#include <vector>

// One hash mark: its position along the ruler (already on a pixel centre), its length from
// the ruler's base line, whether it starts a major step, and for a labelled one the number
// shown.
struct RulerTick {
    double position = 0;
    int length = 0;
    bool major = false;
    bool labelled = false;
    int label = 0;

    friend bool operator==(const RulerTick &a, const RulerTick &b)
    {
        return a.position == b.position && a.length == b.length && a.major == b.major && a.labelled == b.labelled
            && a.label == b.label;
    }
};

// Points in one major step of the unit: 72 (1 in), 56.7 (2 cm), 120 (10 pc), 100 (100 px).
double rulerBaseFactor(int unit);
// The number that labels major step 1: 2 (cm), 1 (in), 10 (pc), 100 (px).
int rulerLabelStep(int unit);

// The ruler's zoom factor from the canvas's zoom factor (zoom x 0.01 x 72 / resolution):
// on the real-world base, times screen resolution / 72 and, for a document resolution
// other than 72, times resolution / 72, so that a ruler inch is an inch of the paper.
double rulerZoomFactor(double canvasZoomFactor, bool realWorld, double screenResolution, int documentResolution);
// Canvas units in one major step: the unit's points, or on the real-world base the same
// length of paper at the document's resolution (pixels per inch).
double rulerStepInCanvasUnits(int unit, bool realWorld, int documentResolution);
// The length of one major step at the zoom factor; never below 1.0.
double rulerBase(double zoomFactor, int unit);

// Whether the major step with the label value gets a long labelled tick at the zoom factor
// (below 100 % only every second, fourth, fifth or tenth step is labelled, by unit).
bool isLabelledStep(int unit, double zoomFactor, long long labelValue);

// The ticks of the major steps whose ticks fall within [from, to): major step i starts at
// origin + i x base and is labelled i x rulerLabelStep(unit); the subdivisions between two
// major steps depend on the unit and the zoom factor. Nothing for a base below 1.0, a zoom
// factor of 0 or below, or numbers that are not finite.
std::vector<RulerTick> rulerTicks(int unit, double zoomFactor, double base, double origin, double from, double to);

// The ruler line that follows the mouse sits on the pixel centre below the location.
double rulerLineLocation(double location);
