// The inspector's table of dashes: dash number -> dash information ("pattern": the on and
// off lengths, "phase"), built from the available dash patterns and grown by the dashes of
// documents made with other patterns.
#pragma once

#include "platform/foundation/property_list.h"

#include <map>

class DashTable {
public:
    // Entry n + 1 for every available pattern n with a non-empty "pattern" (the numbers
    // stay those of the available list, so a number means the same dash everywhere).
    void build(const PropertyList &availablePatterns);
    bool isEmpty() const { return m_infos.empty(); }
    // Absent for an unknown number.
    PropertyList infoFor(int number) const;
    // The number whose information equals `info`; else `info` is added under the first
    // free number from (count + 1) up, and `added` says so.
    int numberFor(const PropertyList &info, bool *added);
    const std::map<int, PropertyList> &infos() const { return m_infos; }

private:
    std::map<int, PropertyList> m_infos;
};
