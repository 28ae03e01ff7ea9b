// The ordered selection with its lookup by object.
#include "canvas/selection_list.h"

#include <algorithm>

SelectionList::SelectionList(std::vector<Entry> entries) : m_entries(std::move(entries))
{
    m_lookup.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        if (const auto object = entry.lock())
            index(object);
}

bool SelectionList::contains(const VekObject &object) const
{
    const auto it = m_lookup.find(&object);
    return it != m_lookup.end() && !it->second.expired();
}

void SelectionList::append(const std::shared_ptr<VekObject> &object)
{
    m_entries.push_back(object);
    index(object);
}

void SelectionList::index(const std::shared_ptr<VekObject> &object)
{
    m_lookup[object.get()] = object;
}

void SelectionList::remove(const std::unordered_set<const VekObject *> &objects)
{
    std::erase_if(m_entries, [&objects](const Entry &entry) {
        const auto object = entry.lock();
        return !object || objects.count(object.get()) > 0;
    });
    for (const VekObject *object : objects)
        m_lookup.erase(object);
    std::erase_if(m_lookup, [](const auto &item) { return item.second.expired(); });
}
