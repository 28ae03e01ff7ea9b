// The print tab's edits of the print settings.
#include "panels/docinfo/print_edits.h"

#include <cmath>

namespace {

constexpr float MinPageSide = 8.0f;

float nonNegative(float value)
{
    return std::isfinite(value) && value > 0 ? value : 0.0f;
}

Size orientedPaper(const PrintInfo &info)
{
    Size paper = info.paperSize;
    if (info.orientation == PrintInfo::Orientation::Landscape && paper.width < paper.height)
        std::swap(paper.width, paper.height);
    return paper;
}

} // namespace

Size pageSizeInPoints(const PrintSettings &s)
{
    return VekDocument::convertDefaultSizeToResolution(s.drawAreaSize, s.resolution);
}

Size drawAreaSizePerPaper(const PrintSettings &s)
{
    const Size paper = orientedPaper(s.info);
    const Size area{paper.width - (s.info.leftMargin + s.info.rightMargin),
                    paper.height - (s.info.topMargin + s.info.bottomMargin)};
    return VekDocument::convertToDefaultSizeFromResolution(area, float(s.resolution));
}

void setPrintCentered(PrintSettings &s, bool horizontally, bool vertically)
{
    s.info.horizontallyCentered = horizontally;
    s.info.verticallyCentered = vertically;
    const Size paper = orientedPaper(s.info), page = pageSizeInPoints(s);
    if (horizontally)
        s.info.leftMargin = s.info.rightMargin = std::max(0.0f, (paper.width - page.width) * 0.5f);
    if (vertically)
        s.info.topMargin = s.info.bottomMargin = std::max(0.0f, (paper.height - page.height) * 0.5f);
}

void setMargins(PrintSettings &s, float left, float right, float top, float bottom)
{
    s.info.leftMargin = nonNegative(left);
    s.info.rightMargin = nonNegative(right);
    s.info.topMargin = nonNegative(top);
    s.info.bottomMargin = nonNegative(bottom);
    if (s.info.leftMargin != s.info.rightMargin)
        s.info.horizontallyCentered = false;
    if (s.info.topMargin != s.info.bottomMargin)
        s.info.verticallyCentered = false;
}

namespace {

void pageFromPaper(PrintSettings &s)
{
    const Size area = drawAreaSizePerPaper(s);
    if (area.width >= MinPageSide && area.height >= MinPageSide)
        s.drawAreaSize = area;
}

} // namespace

void setPaper(PrintSettings &s, const QString &name, Size size)
{
    if (!(size.width >= 1) || !(size.height >= 1))
        return;
    s.info.paperName = name;
    s.info.paperSize = size;
    pageFromPaper(s);
}

void setOrientation(PrintSettings &s, PrintInfo::Orientation orientation)
{
    s.info.orientation = orientation;
    pageFromPaper(s);
}

void setPaperSizeToMatchPage(PrintSettings &s)
{
    const float scale = s.info.scalingFactor > 0 ? s.info.scalingFactor : 1.0f;
    const Size area = s.drawAreaSize;
    s.info.paperSize = {std::ceil(scale * area.width + s.info.leftMargin + s.info.rightMargin),
                        std::ceil(scale * area.height + s.info.topMargin + s.info.bottomMargin)};
    s.info.paperName.clear();
    // Landscape turns a paper taller than wide: the fitted paper is taken as it stands.
    if (s.info.paperSize.width < s.info.paperSize.height)
        s.info.orientation = PrintInfo::Orientation::Portrait;
}

void setResolution(PrintSettings &s, int resolution)
{
    if (resolution < 72)
        return;
    s.resolution = resolution;
    s.info.scalingFactor = 72.0f / float(resolution);
}

void setPageSizeInPoints(PrintSettings &s, Size points)
{
    if (!std::isfinite(points.width) || !std::isfinite(points.height) || points.width < MinPageSide ||
        points.height < MinPageSide)
        return;
    s.drawAreaSize = VekDocument::convertToDefaultSizeFromResolution(points, float(s.resolution));
}
