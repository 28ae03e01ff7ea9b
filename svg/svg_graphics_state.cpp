// Default graphics state and the shared style table.
#include "svg/svg_graphics_state.h"

void SvgStyleSheet::setRule(const QString &selector, const QString &declarations)
{
    const auto it = m_index.constFind(selector);
    if (it != m_index.constEnd()) {
        m_rules[*it].second = declarations;
        return;
    }
    m_index.insert(selector, m_rules.size());
    m_rules.emplace_back(selector, declarations);
}

const QString *SvgStyleSheet::find(const QString &selector) const
{
    const auto it = m_index.constFind(selector);
    return it == m_index.constEnd() ? nullptr : &m_rules[*it].second;
}

SvgGraphicsState SvgGraphicsState::defaults(const QString &fileURL)
{
    SvgGraphicsState state;
    state.tables = std::make_shared<SvgImportTables>();
    state.fileURL = fileURL;
    state.strokeColor.color = svgColor(0, 0, 0, 0);
    state.fillColor.color = svgColor(0, 0, 0, 1);
    state.currentColor = svgColor(0, 0, 0, 0);
    state.tables->colorProfiles.insert(QStringLiteral("sRGB"), SvgImageColorSpace());
    return state;
}

void SvgGraphicsState::resetTransform()
{
    ctm = SvgMatrix();
    scaleX = scaleY = 1;
    rotate = skewX = skewY = 0;
    translate = Point();
}

Color svgColor(float red, float green, float blue, float alpha)
{
    return Color::colorWithCalibratedRed(red, green, blue, alpha);
}

Color svgColorWithAlpha(const Color &color, float alpha)
{
    return color.colorWithAlphaComponent(alpha);
}
