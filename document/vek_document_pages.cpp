// The document's pages: the size of one page, the resolution, and the page count.
#include "document/vek_document.h"

#include "model/services/canvas_services.h"

#include <cmath>

namespace {

// The paper until the document has print settings of its own: A4, without margins.
constexpr Size DefaultPaper{595.28f, 841.89f};
constexpr float MinPageSide = 8.0f;
constexpr int MinResolution = 72;

// A side within 0.09 below the next whole number is taken as that number.
float roundedPaperSide(float side)
{
    const float f = 1.0f - std::fmod(side, 1.0f);
    return f > 0 && f < 0.09f ? side + f : side;
}

} // namespace

Size VekDocument::convertDefaultSizeToResolution(Size size, int resolution)
{
    if (resolution <= 0)
        return size;
    return {size.width * 72.0f / float(resolution), size.height * 72.0f / float(resolution)};
}

Size VekDocument::convertToDefaultSizeFromResolution(Size size, float resolution)
{
    if (resolution == 72.0f)
        return size;
    return {size.width * resolution / 72.0f, size.height * resolution / 72.0f};
}

Size VekDocument::drawAreaSizePerPaper() const
{
    const Size paper{roundedPaperSide(DefaultPaper.width), roundedPaperSide(DefaultPaper.height)};
    return convertToDefaultSizeFromResolution(paper, float(_resolution));
}

Size VekDocument::drawAreaSizePerPage()
{
    if (_drawAreaSize.width >= MinPageSide && _drawAreaSize.height >= MinPageSide)
        return _drawAreaSize;
    _drawAreaSize = drawAreaSizePerPaper();
    return _drawAreaSize;
}

void VekDocument::setDrawAreaSizePerPage(Size size)
{
    if (size == _drawAreaSize || !(size.width >= MinPageSide) || !(size.height >= MinPageSide)
        || !std::isfinite(size.width) || !std::isfinite(size.height))
        return;
    _drawAreaSize = size;
    if (hasWindow())
        updateChangeCount();
}

void VekDocument::setResolution(int resolution)
{
    if (resolution < MinResolution || resolution == _resolution)
        return;
    _resolution = resolution;
    updateChangeCount();
}

void VekDocument::addLastPage()
{
    ++_numPages;
    updateChangeCount();
}
