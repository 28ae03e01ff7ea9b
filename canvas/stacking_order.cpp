// Stacking-order sorts and the objects table's column sort.
#include "canvas/stacking_order.h"

#include "document/vek_document.h"
#include "model/vek_object.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

using Objects = std::vector<std::shared_ptr<VekObject>>;

QHash<const VekObject *, int> stackingIndexes(const VekDocument &document)
{
    QHash<const VekObject *, int> indexes;
    const Objects &list = document.objects();
    indexes.reserve(int(list.size()));
    for (int i = 0; i < int(list.size()); ++i)
        indexes.insert(list[size_t(i)].get(), i);
    return indexes;
}

// Each displayed object, or for a grouped one every object of its group's whole tree in
// stacking order; every object once.
Objects expandedToGroupTrees(const VekDocument &document, const Objects &sorted)
{
    Objects expanded;
    QSet<const VekObject *> taken;
    for (const auto &object : sorted) {
        Objects members;
        if (!object->groupID().isEmpty() && document.groupFor(object->groupID()))
            members = sortObjectsInOrder(document, document.objectsOfGroup(object->groupID()));
        if (members.empty())
            members = {object};
        for (const auto &member : members) {
            if (!taken.contains(member.get())) {
                taken.insert(member.get());
                expanded.push_back(member);
            }
        }
    }
    return expanded;
}

// The document's list with `block` taken out and put back as one block where the front-most
// of its objects stood.
Objects listWithBlockInPlace(const VekDocument &document, const Objects &block)
{
    const auto indexes = stackingIndexes(document);
    QSet<const VekObject *> inBlock;
    int position = std::numeric_limits<int>::max();
    for (const auto &object : block) {
        inBlock.insert(object.get());
        position = std::min(position, indexes.value(object.get(), position));
    }
    Objects list;
    for (const auto &object : document.objects()) {
        if (!inBlock.contains(object.get()))
            list.push_back(object);
    }
    // Every object in front of the front-most block object stays, so the position is never
    // beyond the shortened list.
    position = std::min(position, int(list.size()));
    list.insert(list.begin() + position, block.begin(), block.end());
    return list;
}

bool isPermutationOfList(const VekDocument &document, const Objects &list)
{
    if (list.size() != document.objects().size())
        return false;
    const auto indexes = stackingIndexes(document);
    QSet<const VekObject *> seen;
    for (const auto &object : list) {
        if (!indexes.contains(object.get()) || seen.contains(object.get()))
            return false;
        seen.insert(object.get());
    }
    return true;
}

float sortValue(const VekObject &object, const QString &key)
{
    const Rect bounds = object.bounds();
    if (key == QLatin1String("tcPosY"))
        return bounds.origin.y;
    if (key == QLatin1String("tcPosX"))
        return bounds.origin.x;
    if (key == QLatin1String("tcSzH"))
        return bounds.size.height;
    return bounds.size.width;
}

} // namespace

Objects sortObjectsInOrder(const VekDocument &document, const Objects &objects)
{
    const auto indexes = stackingIndexes(document);
    const int missing = std::numeric_limits<int>::max();
    Objects sorted = objects;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const auto &a, const auto &b) {
        return indexes.value(a.get(), missing) < indexes.value(b.get(), missing);
    });
    return sorted;
}

bool objectSortsBefore(const VekObject &a, const VekObject &b, const QString &key)
{
    if (key == QLatin1String("tcNote"))
        return a.note() < b.note();
    if (key == QLatin1String("tcPosY") || key == QLatin1String("tcPosX") || key == QLatin1String("tcSzH")
        || key == QLatin1String("tcSzW"))
        return sortValue(a, key) < sortValue(b, key);
    return false;
}

void sortObjectsByKey(Objects &objects, const QString &key)
{
    std::stable_sort(objects.begin(), objects.end(),
                     [&key](const auto &a, const auto &b) { return objectSortsBefore(*a, *b, key); });
}

bool sortObjectsWithKey(VekDocument &document, const QString &key, const Objects &displayed,
                        ObjectsTableOption option)
{
    if (displayed.empty())
        return false;
    Objects sorted = displayed;
    sortObjectsByKey(sorted, key);
    const bool hasGroups = !document.groupTopNodes().isEmpty();

    Objects list;
    switch (option) {
    case ObjectsTableOption::CurrentPage:
        list = listWithBlockInPlace(document, sorted);
        break;
    case ObjectsTableOption::CurrentPageOnePerGroup:
        list = listWithBlockInPlace(document, hasGroups ? expandedToGroupTrees(document, sorted) : sorted);
        break;
    case ObjectsTableOption::OnePerGroup:
        list = hasGroups ? expandedToGroupTrees(document, sorted) : sorted;
        break;
    default:
        list = sorted;
        break;
    }
    if (!isPermutationOfList(document, list))
        return false;
    document.setObjectsAsItIs(list);
    return true;
}
