// The document's pages: the size of one page, the resolution, and the page count.
#include "document/vek_document.h"

#include "model/services/canvas_services.h"

#include <cmath>

namespace {

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

Size VekDocument::drawAreaSizePerPaper()
{
    const PrintInfo &info = printInfo();
    Size paper = info.paperSize;
    if (info.orientation == PrintInfo::Orientation::Landscape && paper.width < paper.height)
        std::swap(paper.width, paper.height);
    const Size area{roundedPaperSide(paper.width) - (info.leftMargin + info.rightMargin),
                    roundedPaperSide(paper.height) - (info.topMargin + info.bottomMargin)};
    return convertToDefaultSizeFromResolution(area, float(_resolution));
}

const PrintInfo &VekDocument::printInfo()
{
    if (!_printInfo) {
        PrintInfo info = PrintInfo::defaults();
        info.scalingFactor = 72.0f / float(_resolution);
        _printInfo = info;
    }
    return *_printInfo;
}

void VekDocument::setPrintInfo(const PrintInfo &info)
{
    PrintInfo stored = info;
    if (stored.topMargin != stored.bottomMargin)
        stored.verticallyCentered = false;
    if (stored.leftMargin != stored.rightMargin)
        stored.horizontallyCentered = false;
    if (_printInfo == stored)
        return;
    _printInfo = stored;
    updateChangeCount();
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

void VekDocument::pageLayoutAccepted(const PrintInfo &info)
{
    setPrintInfo(info);
    // The scaling is stored as a float: 72 / 300 read back gives 300.0004, whose ceiling
    // would drift the resolution up by one on every accept. Compare and round with a
    // tolerance; a scaling of 0 or less stands for nothing.
    const float f = info.scalingFactor;
    if (!(f > 0))
        return;
    const double resolution = 72.0 / double(f);
    if (std::fabs(resolution - double(_resolution)) < 0.01)
        return;
    setResolution(int(std::ceil(resolution - 0.01)));
}

void VekDocument::setResolution(int resolution)
{
    if (resolution < MinResolution || resolution == _resolution)
        return;
    _resolution = resolution;
    PrintInfo info = printInfo();
    info.scalingFactor = 72.0f / float(resolution);
    _printInfo = info;
    updateChangeCount();
}

void VekDocument::addLastPage()
{
    ++_numPages;
    updateChangeCount();
}
