// Moving blocks of objects in the stacking order.
#include "panels/docinfo/object_reordering.h"

#include "document/vek_document.h"
#include "model/vek_group.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"

#include <algorithm>

QString topGroupOf(const VekDocument &document, const VekObject &object)
{
    const std::shared_ptr<VekGroup> group = document.groupFor(object.groupID());
    if (!group)
        return QString();
    const QString ancestor = group->ancestorID();
    if (!ancestor.isEmpty() && document.groupFor(ancestor))
        return ancestor;
    const QString parent = group->parentID();
    if (!parent.isEmpty() && document.groupFor(parent))
        return parent;
    return group->groupID();
}

namespace {

void applyOrder(VekDocument &document, const ObjectList &order)
{
    document.setObjectsAsItIs(order);
    document.undoManager()->setActionName(localizedString(QStringLiteral("Reorder")));
}

bool contains(const ObjectList &list, const std::shared_ptr<VekObject> &object)
{
    return std::find(list.begin(), list.end(), object) != list.end();
}

} // namespace

bool moveObjects(VekDocument &document, ObjectList moving, ObjectsTableOption option, bool towardsFront,
                 const std::shared_ptr<VekObject> &anchor)
{
    if (moving.empty())
        return false;
    if (option == ObjectsTableOption::OnePerGroup || option == ObjectsTableOption::CurrentPageOnePerGroup) {
        ObjectList whole;
        for (const auto &object : moving) {
            const QString top = topGroupOf(document, *object);
            for (const auto &member : top.isEmpty() ? ObjectList{object} : document.objectsLowerThanGroup(top))
                if (!contains(whole, member))
                    whole.push_back(member);
        }
        moving = whole;
    }
    const ObjectList &all = document.objects();
    ObjectList block = sortObjectsInOrder(document, moving);
    std::erase_if(block, [&all](const auto &o) { return !contains(all, o); });
    if (block.empty() || all.size() <= block.size())
        return false;
    ObjectList order;
    for (const auto &object : all)
        if (!contains(block, object))
            order.push_back(object);

    int at = 0;
    if (anchor) {
        const auto found = std::find(order.begin(), order.end(), anchor);
        if (found == order.end())
            return false;
        at = int(found - order.begin()) + (towardsFront ? 0 : 1);
    } else {
        const int first = document.indexOfObject(block.front().get());
        const int last = document.indexOfObject(block.back().get());
        const int neighbourIndex = towardsFront ? first - 1 : last + 1;
        if (neighbourIndex < 0 || neighbourIndex >= int(all.size()))
            return false;
        const std::shared_ptr<VekObject> neighbour = all[size_t(neighbourIndex)];
        std::shared_ptr<VekObject> passed = neighbour;
        if (const QString top = topGroupOf(document, *neighbour); !top.isEmpty()) {
            const ObjectList members = sortObjectsInOrder(document, document.objectsLowerThanGroup(top));
            if (!members.empty())
                passed = towardsFront ? members.front() : members.back();
        }
        at = int(std::find(order.begin(), order.end(), passed) - order.begin()) + (towardsFront ? 0 : 1);
    }
    at = std::clamp(at, 0, int(order.size()));
    order.insert(order.begin() + at, block.begin(), block.end());
    if (order == all)
        return false;
    applyOrder(document, order);
    return true;
}

bool moveWithinGroup(VekDocument &document, const std::shared_ptr<VekObject> &object, bool towardsFront)
{
    const ObjectList &all = document.objects();
    const int index = document.indexOfObject(object.get());
    const int other = towardsFront ? index - 1 : index + 1;
    if (index < 0 || other < 0 || other >= int(all.size()) || object->groupID().isEmpty() ||
        all[size_t(other)]->groupID() != object->groupID())
        return false;
    ObjectList order = all;
    std::swap(order[size_t(index)], order[size_t(other)]);
    applyOrder(document, order);
    return true;
}
