// Stand-in RGB values for device-CMYK colours painted into output that only carries RGB.
#include "platform/graphics/cmyk_stand_ins.h"

#include "platform/color/color.h"
#include "platform/graphics/color_conversion.h"

QRgb CmykStandIns::standInFor(const CmykValue &value)
{
    if (const auto it = m_byCmyk.find(value); it != m_byCmyk.end())
        return it->second;
    const QColor look = toQColor(Color::colorWithDeviceCyan(value.cyan, value.magenta, value.yellow, value.black));
    const quint32 base = look.rgb() & 0xffffffu;
    quint32 candidate = base;
    while (m_byRgb.count(0xff000000u | candidate))
        candidate = (candidate + 1) & 0xffffffu;
    const QRgb rgb = 0xff000000u | candidate;
    m_byRgb.emplace(rgb, value);
    m_byCmyk.emplace(value, rgb);
    return rgb;
}

std::optional<CmykValue> CmykStandIns::cmykFor(QRgb rgb) const
{
    const auto it = m_byRgb.find(rgb | 0xff000000u);
    if (it == m_byRgb.end())
        return std::nullopt;
    return it->second;
}
