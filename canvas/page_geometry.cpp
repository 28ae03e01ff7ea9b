// Page rectangles, zoom steps and scale, and grid spacing.
#include "canvas/page_geometry.h"

#include "document/vek_document.h"
#include "toolkit/units.h"

#include <algorithm>
#include <cmath>

Rect pageRect(VekDocument &document, int page)
{
    const Size size = document.drawAreaSizePerPage();
    return Rect(0, float(page - 1) * size.height, size.width, size.height);
}

int pageHoldingY(VekDocument &document, float y)
{
    const float height = document.drawAreaSizePerPage().height;
    if (height <= 0)
        return 1;
    const float page = std::floor(y / height) + 1;
    if (!(page >= 1))   // also NaN
        return 1;
    return int(std::min(page, float(document.numberOfPages())));
}

int pageOfLocation(VekDocument &document, float y)
{
    const float height = document.drawAreaSizePerPage().height;
    return height > 0 ? int(std::ceil(y / height)) : 1;
}

Point pointRelativeToPage(VekDocument &document, Point p)
{
    const Rect page = pageRect(document, pageHoldingY(document, p.y));
    return {p.x - page.origin.x, p.y - page.origin.y};
}

Rect canvasBounds(VekDocument &document)
{
    const Size size = document.drawAreaSizePerPage();
    return Rect(0, 0, size.width, size.height * float(document.numberOfPages()));
}

int clampedZoom(int percent)
{
    return std::clamp(percent, MinimumZoom, MaximumZoom);
}

int zoomInStep(int percent)
{
    if (percent >= MaximumZoom)
        return percent;
    if (percent <= 74)
        return percent + 25;
    if (percent <= 99)
        return 100;
    if (percent <= 149)
        return 150;
    if (percent <= 199)
        return 200;
    return std::min(percent + 100, MaximumZoom);
}

int zoomOutStep(int percent)
{
    if (percent <= MinimumZoom)
        return percent;
    if (percent > 300)
        return percent - 100;
    if (percent > 200)
        return 200;
    if (percent > 150)
        return 150;
    if (percent > 100)
        return 100;
    return std::max(percent - 25, MinimumZoom);
}

double zoomScale(int percent, int resolution, double realWorldFactor)
{
    return percent * 0.01 * 72.0 / std::max(resolution, 1) * realWorldFactor;
}

Size canvasFrameSize(VekDocument &document, int percent, double realWorldFactor)
{
    const Size page = document.drawAreaSizePerPage();
    const double scale = zoomScale(percent, document.resolution(), realWorldFactor);
    return {float(page.width * scale), float(page.height * document.numberOfPages() * scale)};
}

float gridSpacingForUnit(int unit, float gridScale)
{
    const float scale = gridScale > 0 ? gridScale : 1.0f;
    float spacing;
    switch (unit) {
    case 0:
        spacing = 0.5f * scale;
        break;
    case 1:
        spacing = 0.25f * scale;
        break;
    case 3:
        spacing = 2.0f * scale;
        break;
    default:
        // Pixels (2, and every number the unit table treats as pixels): the scale applies
        // as it does for the other units.
        spacing = 20.0f * scale;
        break;
    }
    return ConvertToPoints(unit, spacing);
}
