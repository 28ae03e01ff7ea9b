// The gradient presets the inspector offers: the user default "gradViews", an array of
// {"gradColors": archived colours, "gradColorProportion": one share fewer than colours}.
// When the default is missing the four built-in presets are stored first. Entries that are
// not usable (arrays missing, no shares, or not one share fewer than colours) stay stored
// but are not offered; the presets remember which stored entry each one is, so adding and
// deleting change the right stored entry.
#pragma once

#include "platform/foundation/property_list.h"

#include <QImage>

#include <vector>

class UserDefaults;

struct GradientPreset {
    PropertyList colors;        // archived colour data
    PropertyList proportions;   // numbers
    int storedIndex = -1;       // the entry of "gradViews"
};

class GradientPresets {
public:
    void load(UserDefaults &defaults);
    int count() const { return int(m_presets.size()); }
    const GradientPreset &at(int index) const { return m_presets[size_t(index)]; }
    // The preset's strip picture (the gradient view's sample image).
    QImage sampleImage(int index) const;
    // A new preset at `index` (appended when outside 0..count - 1), stored at the matching
    // place; false when the stops are not usable. Answers the new preset's position.
    int insert(int index, const PropertyList &colors, const PropertyList &proportions);
    // Removes preset `index` and its stored entry; the key goes when at most one entry was
    // stored, so that the built-in presets come back at the next start.
    void remove(int index);

    static bool isUsable(const PropertyList &colors, const PropertyList &proportions);
    static PropertyList builtInPresets();

private:
    void store(const PropertyList &entries);
    PropertyList storedEntries() const;

    UserDefaults *m_defaults = nullptr;
    std::vector<GradientPreset> m_presets;
};
