// Default graphics state and the shared style table.
#include "svg/svg_graphics_state.h"

#include <algorithm>

void SvgStyleSheet::setRule(const QString &selector, const QString &declarations)
{
    const auto it = m_index.constFind(selector);
    if (it != m_index.constEnd()) {
        m_rules[*it].second = declarations;
        return;
    }
    m_index.insert(selector, m_rules.size());
    m_rules.emplace_back(selector, declarations);
    m_longestSelector = std::max(m_longestSelector, selector.size());
}

const QString *SvgStyleSheet::find(const QString &selector) const
{
    const auto it = m_index.constFind(selector);
    return it == m_index.constEnd() ? nullptr : &m_rules[*it].second;
}

namespace {

// The shapes of selectors, each matched against its own candidate text.
enum class SelectorShape { Never, DescendantOfClass, Descendant, Attribute, Id, Class, TypeAndClass, Plain };

SelectorShape selectorShape(const QString &selector, bool hasEnclosingClass)
{
    if (selector.contains(u' ')) {
        if (selector.contains(u" > ") || selector.contains(u" + ") || selector.contains(u":first-child"))
            return SelectorShape::Never;
        return selector.startsWith(u'.') && hasEnclosingClass ? SelectorShape::DescendantOfClass
                                                               : SelectorShape::Descendant;
    }
    if (selector.endsWith(u']') && selector.contains(u'[')) {
        if (selector.contains(u"lang|=") || selector.contains(u"~=") || !selector.contains(u'='))
            return SelectorShape::Never;
        return SelectorShape::Attribute;
    }
    if (selector.contains(u'#'))
        return SelectorShape::Id;
    if (selector.startsWith(u'.'))
        return SelectorShape::Class;
    if (selector.contains(u'.'))
        return SelectorShape::TypeAndClass;
    return SelectorShape::Plain;
}

} // namespace

const QString *SvgStyleSheet::match(const QString &value, const QString &name,
                                    const std::optional<QString> &enclosingClass) const
{
    if (m_rules.empty())
        return nullptr;
    // Every shape of selector has one candidate text; a selector matches when it equals the
    // candidate of its own shape. Looking each candidate up finds all matching rules, and
    // the earliest in table order wins.
    const bool hasValue = !value.isNull();
    const QString &own = hasValue ? value : name;
    std::pair<SelectorShape, QString> candidates[7];
    int count = 0;
    // Candidates are only built when they could be as short as a selector (attribute values
    // such as path data never are).
    auto add = [&](SelectorShape shape, qsizetype length, auto &&build) {
        if (length <= m_longestSelector)
            candidates[count++] = {shape, build()};
    };
    if (enclosingClass)
        add(SelectorShape::DescendantOfClass, enclosingClass->size() + 2 + own.size(),
            [&] { return QLatin1Char('.') + *enclosingClass + QLatin1Char(' ') + own; });
    add(SelectorShape::Plain, own.size(), [&] { return own; });
    if (hasValue) {
        add(SelectorShape::Descendant, name.size() + 1 + value.size(), [&] { return name + QLatin1Char(' ') + value; });
        add(SelectorShape::Attribute, name.size() + 5 + value.size(),
            [&] { return QLatin1Char('[') + name + QStringLiteral("=\"") + value + QStringLiteral("\"]"); });
        add(SelectorShape::Id, 1 + value.size(), [&] { return QLatin1Char('#') + value; });
        add(SelectorShape::Class, 1 + value.size(), [&] { return QLatin1Char('.') + value; });
        add(SelectorShape::TypeAndClass, name.size() + 1 + value.size(), [&] { return name + QLatin1Char('.') + value; });
    }
    const QString *best = nullptr;
    size_t bestIndex = m_rules.size();
    for (int i = 0; i < count; ++i) {
        const auto it = m_index.constFind(candidates[i].second);
        if (it == m_index.constEnd() || *it >= bestIndex)
            continue;
        if (selectorShape(m_rules[*it].first, enclosingClass.has_value()) != candidates[i].first)
            continue;
        bestIndex = *it;
        best = &m_rules[*it].second;
    }
    return best;
}

SvgGraphicsState SvgGraphicsState::defaults(const QString &fileURL)
{
    SvgGraphicsState state;
    state.tables = std::make_shared<SvgImportTables>();
    state.fileURL = fileURL;
    state.strokeColor.color = svgColor(0, 0, 0, 0);
    state.fillColor.color = svgColor(0, 0, 0, 1);
    state.currentColor = svgColor(0, 0, 0, 1);
    state.tables->colorProfiles.insert(QStringLiteral("sRGB"), SvgImageColorSpace());
    return state;
}

void SvgGraphicsState::setCurrentColor(const Color &color)
{
    currentColor = color;
    for (SvgPaint *paint : {&fillColor, &strokeColor})
        if (paint->followsCurrentColor)
            paint->color = color;
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
