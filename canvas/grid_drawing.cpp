// The canvas's grid lines.
#include "canvas/grid_drawing.h"

#include "platform/geometry/bezier_path.h"
#include "platform/graphics/graphics_context.h"

#include <cmath>

float drawGridWithSettingsInRect(GraphicsContext &context, float spacing, const Rect &page, Point origin,
                                 int unitIndex, const Color &minorColor, const Color &majorColor)
{
    if (spacing <= 0)
        return origin.y;
    const int every = unitIndex == 0 || unitIndex == 1 ? 4 : 5;
    BezierPath minor, major;
    const auto line = [](BezierPath &path, Point a, Point b) {
        path.moveToPoint(a);
        path.lineToPoint(b);
    };

    const float top = std::floor(page.minY()) + 0.5f, bottom = std::floor(page.maxY()) + 0.5f;
    for (int i = int(std::ceil((page.minX() - origin.x) / spacing)); i <= int(std::floor((page.maxX() - origin.x) / spacing)); ++i) {
        const float x = std::floor(float(i) * spacing + origin.x) + 0.5f;
        line(i % every == 0 ? major : minor, {x, top}, {x, bottom});
    }

    float lastY = origin.y;
    const float left = std::floor(page.minX()) + 0.5f, right = std::floor(page.maxX()) + 0.5f;
    const int first = int(std::ceil((page.minY() - origin.y) / spacing));
    int counter = (origin.y == 0 ? 0 : int(std::fmod(origin.y / spacing, float(every)))) + first;
    for (int j = first; j <= int(std::floor((page.maxY() - origin.y) / spacing)); ++j, ++counter) {
        lastY = std::floor(float(j) * spacing + origin.y) + 0.5f;
        line(counter % every == 0 ? major : minor, {left, lastY}, {right, lastY});
    }

    GraphicsStateSaver saver(context);
    minor.setLineWidth(0);
    major.setLineWidth(0);
    context.setStrokeColor(minorColor);
    context.strokePath(minor);
    context.setStrokeColor(majorColor);
    context.strokePath(major);
    return lastY;
}

float lastGridLineY(float spacing, const Rect &page, float originY)
{
    if (spacing <= 0)
        return originY;
    const int first = int(std::ceil((page.minY() - originY) / spacing));
    const int last = int(std::floor((page.maxY() - originY) / spacing));
    return last < first ? originY : std::floor(float(last) * spacing + originY) + 0.5f;
}
