// Building and matching the dash table.
#include "panels/obj_info/dash_table.h"

void DashTable::build(const PropertyList &availablePatterns)
{
    m_infos.clear();
    for (int i = 0; i < availablePatterns.count(); ++i) {
        const PropertyList entry = availablePatterns.at(i);
        if (entry.value(QStringLiteral("pattern")).count() > 0)
            m_infos[i + 1] = entry;
    }
}

PropertyList DashTable::infoFor(int number) const
{
    const auto found = m_infos.find(number);
    return found == m_infos.end() ? PropertyList() : found->second;
}

int DashTable::numberFor(const PropertyList &info, bool *added)
{
    *added = false;
    for (const auto &[number, entry] : m_infos)
        if (entry == info)
            return number;
    int number = int(m_infos.size()) + 1;
    while (m_infos.count(number))
        ++number;
    m_infos[number] = info;
    *added = true;
    return number;
}
