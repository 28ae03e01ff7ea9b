// A colour gradient: colours at locations 0..1 in RGB or CMYK, drawn linear, radial or per pixel.
//
// Colours are converted into the gradient's space when it is made (calibrated RGB, or
// generic CMYK) and mixed component by component in that space. The linear and radial
// forms draw into the current graphics context through Qt's gradients; shapes Qt has no
// gradient for (concentric squares, an angular sweep, or any other mapping from a pixel
// to a location) are rendered pixel by pixel into an image.
//
// Angles are in degrees from the x axis towards the y axis of the current user space (so
// in the usual y-down view coordinates 90 degrees runs downwards).
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

#include <QGradientStops>
#include <QImage>

#include <functional>
#include <optional>
#include <vector>

class GraphicsContext;

enum class GradientColorSpace { RGB, CMYK };

// Whether a two-point or two-circle gradient also paints before its start (with the first
// colour) and after its end (with the last).
enum GradientDrawingOptions {
    GradientDrawsBeforeStartingLocation = 1,
    GradientDrawsAfterEndingLocation = 2,
};

class Gradient {
public:
    // Nothing for fewer than two colours, a different number of locations, a location that
    // is not a number, or a colour with no conversion into the space (a pattern colour).
    // Stops are kept in order of location.
    static std::optional<Gradient> create(const std::vector<Color> &colors, const std::vector<float> &locations,
                                          GradientColorSpace space);

    int numberOfColorStops() const { return int(m_colors.size()); }
    const Color &colorAtStop(int index) const { return m_colors[size_t(index)]; }
    float locationAtStop(int index) const { return m_locations[size_t(index)]; }
    GradientColorSpace colorSpace() const { return m_space; }
    // The mixed colour at a location; locations outside the stops take the end colours.
    Color interpolatedColorAtLocation(float location) const;

    // Drawing into the current graphics context (nothing when there is none).
    // Fills the rectangle, the gradient running across it at the angle.
    void drawInRect(const Rect &rect, float angle) const;
    // Runs from `start` (location 0) to `end` (location 1) across the whole clip.
    void drawFromPoint(Point start, Point end, int options) const;
    // Runs from the circle (startCenter, startRadius) to the circle (endCenter, endRadius).
    void drawFromCenter(Point startCenter, float startRadius, Point endCenter, float endRadius, int options) const;

    // Per-pixel renderings into a new premultiplied ARGB image of `size`; every pixel takes
    // the colour at the location its centre maps to.
    QImage renderWithLocations(QSize size, const std::function<float(float x, float y)> &location) const;
    // Concentric squares about `center` turned by `angle`: location = the larger distance
    // along the square's axes / `radius`; beyond the radius the last colour.
    QImage renderSquares(QSize size, Point center, float radius, float angle) const;
    // A sweep about `center` starting at `angle`: location = the angle turned / 360.
    QImage renderSweep(QSize size, Point center, float angle) const;

    // Qt's stops for the painting in `context` (CMYK colours become the context's stand-ins
    // there; otherwise a CMYK gradient gets extra stops so that its RGB look follows the
    // CMYK mixing).
    QGradientStops qtStops(const GraphicsContext &context) const;

private:
    Gradient() = default;

    std::vector<Color> m_colors;
    std::vector<float> m_locations;
    GradientColorSpace m_space = GradientColorSpace::RGB;
};
