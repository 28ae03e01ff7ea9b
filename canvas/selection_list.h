// SelectionList: the canvas's selected objects in the order they were selected, held weakly,
// with a lookup by object so that asking whether an object is selected takes constant time
// (the drawing asks it for every object it draws, a move for every clipped object).
//
// An entry whose object has gone stays in the order until it is removed, but no longer
// counts as selected. The same object may stand in the order more than once (selecting a
// list adds it without a duplicate test); removing it removes every entry of it.
#pragma once

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class VekObject;

class SelectionList {
public:
    using Entry = std::weak_ptr<VekObject>;

    SelectionList() = default;
    explicit SelectionList(std::vector<Entry> entries);

    // The entries in selection order, gone objects included.
    const std::vector<Entry> &entries() const { return m_entries; }
    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }

    bool contains(const VekObject &object) const;
    void append(const std::shared_ptr<VekObject> &object);
    // Removes every entry of the objects, and those whose object has gone, in one pass.
    void remove(const std::unordered_set<const VekObject *> &objects);
    void remove(const VekObject &object) { remove({&object}); }

private:
    void index(const std::shared_ptr<VekObject> &object);

    std::vector<Entry> m_entries;
    // Each selected object with an entry of its own: an address a gone object leaves for a
    // new one does not make the new one selected.
    std::unordered_map<const VekObject *, Entry> m_lookup;
};
