// Handing out marker colours for PDF pages drawn into PDF output.
#include "platform/graphics/pdf_page_markers.h"

namespace {
constexpr quint16 MarkerRed = 0x0F1F;     // 3871 = 15.06 x 257: no 8-bit value
constexpr quint16 MarkerGreen = 0xE0D1;   // 57553 = 223.94 x 257: no 8-bit value
} // namespace

std::optional<QRgba64> PdfPageMarkers::markerFor(std::shared_ptr<const PdfDocument> document, int page)
{
    for (size_t i = 0; i < m_placements.size(); ++i)
        if (m_placements[i].document == document && m_placements[i].page == page)
            return QRgba64::fromRgba64(MarkerRed, MarkerGreen, quint16(i + 1), 0xFFFF);
    if (m_placements.size() >= 0xFFFF)
        return std::nullopt;
    m_placements.push_back({std::move(document), page});
    return QRgba64::fromRgba64(MarkerRed, MarkerGreen, quint16(m_placements.size()), 0xFFFF);
}

const PdfPagePlacement *PdfPageMarkers::placementFor(quint16 red, quint16 green, quint16 blue) const
{
    if (red != MarkerRed || green != MarkerGreen || blue == 0 || blue > m_placements.size())
        return nullptr;
    return &m_placements[blue - 1];
}
