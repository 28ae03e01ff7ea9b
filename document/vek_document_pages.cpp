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
    const Size paper = info.orientedPaperSize();
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
    if (hasWindow()) {
        _vekView->updateFrame();
        updateChangeCount();
    }
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

void VekDocument::setPaperSizeTo(Size size, const QString &name)
{
    if (!(size.width >= 1 && size.height >= 1))
        return;
    PrintInfo info = printInfo();
    info.paperSize = size;
    info.paperName = name;
    info.orientation = PrintInfo::Orientation::Portrait;
    setPrintInfo(info);
}

void VekDocument::setPaperSizeToMatchCurrentPage()
{
    const PrintInfo &info = printInfo();
    const float s = info.scalingFactor;
    const Size page = drawAreaSizePerPage();
    setPaperSizeTo({std::ceil(s * page.width + info.leftMargin + info.rightMargin),
                    std::ceil(s * page.height + info.topMargin + info.bottomMargin)});
}

void VekDocument::setPrintCenteredHAndV(bool horizontally, bool vertically)
{
    PrintInfo info = printInfo();
    info.horizontallyCentered = horizontally;
    info.verticallyCentered = vertically;
    const Size paper = info.orientedPaperSize();
    const Size page = convertDefaultSizeToResolution(drawAreaSizePerPage(), _resolution);
    if (horizontally)
        info.leftMargin = info.rightMargin = std::max(0.0f, (paper.width - page.width) * 0.5f);
    if (vertically)
        info.topMargin = info.bottomMargin = std::max(0.0f, (paper.height - page.height) * 0.5f);
    setPrintInfo(info);
}

void VekDocument::setResolution(int resolution)
{
    if (resolution < MinResolution || resolution == _resolution)
        return;
    _resolution = resolution;
    PrintInfo info = printInfo();
    info.scalingFactor = 72.0f / float(resolution);
    _printInfo = info;
    // The canvas shows document pixels at the new resolution: another size on screen.
    if (_vekView)
        _vekView->updateFrame();
    updateChangeCount();
}

void VekDocument::addLastPage()
{
    const int count = _numPages;
    if (_bgPDF)
        insertBgPDFPage(0, count, true);
    setPageCountUndoably(count + 1);
}

void VekDocument::setPageCountUndoably(int count)
{
    const int before = _numPages;
    _undo.registerUndoWithTarget(this, [this, before] { setPageCountUndoably(before); });
    _numPages = std::max(1, count);
    if (_vekView)
        _vekView->updateFrame();
    updateChangeCount();
}
