// Loading, adding and deleting the stored gradient presets.
#include "panels/obj_info/gradient_presets.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/services/shell_services.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/user_defaults.h"

namespace {

const QString PresetsKey = QStringLiteral("gradViews");
const QString ColorsKey = QStringLiteral("gradColors");
const QString ProportionKey = QStringLiteral("gradColorProportion");

PropertyList preset(std::initializer_list<std::array<float, 3>> colors, std::initializer_list<float> shares)
{
    PropertyList archived = PropertyList::array();
    for (const auto &rgb : colors)
        if (const auto data = archivedDataWithRootObject(Color::colorWithCalibratedRed(rgb[0], rgb[1], rgb[2])))
            archived.append(PropertyList::fromData(*data.value));
    PropertyList proportions = PropertyList::array();
    for (float share : shares)
        proportions.append(PropertyList::fromFloat(share));
    PropertyList entry = PropertyList::dictionary();
    entry.insert(ColorsKey, archived);
    entry.insert(ProportionKey, proportions);
    return entry;
}

PropertyList arrayOf(const std::vector<PropertyList> &elements)
{
    PropertyList array = PropertyList::array();
    for (const PropertyList &element : elements)
        array.append(element);
    return array;
}

} // namespace

PropertyList GradientPresets::builtInPresets()
{
    PropertyList presets = PropertyList::array();
    presets.append(preset({{1, 1, 1}, {0.1f, 0.5f, 1}}, {1.0f}));
    presets.append(preset({{0.4f, 0.8f, 1}, {0.1f, 0.5f, 1}, {0, 0.25f, 0.5f}}, {0.5f, 0.5f}));
    presets.append(preset({{1, 0.4f, 0.4f}, {1, 1, 0.4f}, {0, 1, 0.4f}, {0.4f, 1, 1}, {0.4f, 0.4f, 1}},
                          {0.25f, 0.25f, 0.25f, 0.25f}));
    presets.append(preset({{1, 0, 0}, {1, 0, 1}, {0.5f, 0, 1}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}, {1, 1, 0}},
                          {0.166f, 0.166f, 0.166f, 0.166f, 0.166f, 0.17f}));
    return presets;
}

bool GradientPresets::isUsable(const PropertyList &colors, const PropertyList &proportions)
{
    return colors.count() > 0 && proportions.count() > 0 && proportions.count() == colors.count() - 1;
}

PropertyList GradientPresets::storedEntries() const
{
    return m_defaults ? m_defaults->arrayForKey(PresetsKey) : PropertyList();
}

void GradientPresets::store(const PropertyList &entries)
{
    if (!m_defaults)
        return;
    if (entries.count() == 0)
        m_defaults->removeObjectForKey(PresetsKey);
    else
        m_defaults->setObject(entries, PresetsKey);
    m_defaults->synchronize();
}

void GradientPresets::load(UserDefaults &defaults)
{
    m_defaults = &defaults;
    if (defaults.objectForKey(PresetsKey).isAbsent())
        store(builtInPresets());
    m_presets.clear();
    const PropertyList entries = storedEntries();
    for (int i = 0; i < entries.count(); ++i) {
        const PropertyList entry = entries.at(i);
        const PropertyList colors = entry.value(ColorsKey), proportions = entry.value(ProportionKey);
        if (isUsable(colors, proportions))
            m_presets.push_back({colors, proportions, i});
    }
}

QImage GradientPresets::sampleImage(int index) const
{
    if (index < 0 || index >= count())
        return {};
    VekGradientView view(gGradViewSize);
    view.setColorRectsWithProportion(at(index).proportions);
    view.setGradColors(at(index).colors);
    return view.sampleImage();
}

int GradientPresets::insert(int index, const PropertyList &colors, const PropertyList &proportions)
{
    if (!isUsable(colors, proportions))
        return -1;
    std::vector<PropertyList> entries = storedEntries().elements();
    const bool inside = index >= 0 && index < count();
    const int position = inside ? index : count();
    // Stored just before the entry now at that position, or at the end.
    const int stored = inside ? m_presets[size_t(index)].storedIndex : int(entries.size());
    PropertyList entry = PropertyList::dictionary();
    entry.insert(ColorsKey, colors);
    entry.insert(ProportionKey, proportions);
    entries.insert(entries.begin() + stored, entry);
    for (GradientPreset &p : m_presets)
        if (p.storedIndex >= stored)
            ++p.storedIndex;
    m_presets.insert(m_presets.begin() + position, GradientPreset{colors, proportions, stored});
    store(arrayOf(entries));
    return position;
}

void GradientPresets::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    std::vector<PropertyList> entries = storedEntries().elements();
    const int stored = m_presets[size_t(index)].storedIndex;
    m_presets.erase(m_presets.begin() + index);
    if (entries.size() <= 1) {
        store(PropertyList());
        return;
    }
    if (stored >= 0 && stored < int(entries.size()))
        entries.erase(entries.begin() + stored);
    for (GradientPreset &p : m_presets)
        if (p.storedIndex > stored)
            --p.storedIndex;
    store(arrayOf(entries));
}
