// The document's group tree: grouping and ungrouping with undo snapshots, queries over
// groups, and the group records the file stores.
#include "document/vek_document.h"

#include "model/vek_group.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"

#include <algorithm>

namespace {

void appendUnique(std::vector<std::shared_ptr<VekObject>> &to, const std::shared_ptr<VekObject> &object)
{
    if (std::find(to.begin(), to.end(), object) == to.end())
        to.push_back(object);
}

} // namespace

std::shared_ptr<VekGroup> VekDocument::groupFor(const QString &groupID) const
{
    return _groups.value(groupID);
}

QString VekDocument::newGrpID() const
{
    for (int i = 0;; ++i) {
        const QString id = QStringLiteral("g%1").arg(i);
        if (!_groups.contains(id))
            return id;
    }
}

void VekDocument::dropGroupCaches() const
{
    _groupTopNodes.reset();
    _groupTopNodesSorted.reset();
}

void VekDocument::forgetGroup(const QString &groupID)
{
    _groups.remove(groupID);
    dropGroupCaches();
}

PropertyList VekDocument::groupBaseDictionary() const
{
    PropertyList base = PropertyList::dictionary();
    for (auto it = _groups.cbegin(); it != _groups.cend(); ++it)
        base.insert(it.key(), it.value()->groupRecord());
    return base;
}

std::vector<GroupMembership> VekDocument::groupIDsOfObjects(const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    std::vector<GroupMembership> pairs;
    for (const auto &object : objects)
        pairs.push_back({object, object->groupID()});
    return pairs;
}

VekDocument::GroupSnapshot VekDocument::groupSnapshot(const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    return {groupBaseDictionary(), groupIDsOfObjects(objects)};
}

void VekDocument::registerGroupSnapshot(const GroupSnapshot &snapshot)
{
    _undo.registerUndoWithTarget(this, [this, snapshot] { resetGroups(snapshot.base, snapshot.pairs); });
}

void VekDocument::resetGroups(const PropertyList &base, const std::vector<GroupMembership> &pairs)
{
    if (!base.isDictionary())
        return;
    std::vector<std::shared_ptr<VekObject>> objects;
    for (const auto &pair : pairs)
        objects.push_back(pair.object);
    const GroupSnapshot before = groupSnapshot(objects);
    _groups.clear();
    for (const QString &id : base.keys())
        _groups.insert(id, VekGroup::groupFromRecord(id, base.value(id), this));
    breakGroupCycles();
    for (const auto &pair : pairs) {
        if (indexOfObject(pair.object.get()) < 0)
            continue;
        if (pair.groupID.isEmpty()) {
            pair.object->setGroupID(QString());
        } else {
            pair.object->setGroupID(pair.groupID);
            addMemberToGroup(pair.object, pair.groupID);
        }
    }
    dropGroupCaches();
    registerGroupSnapshot(before);
}

void VekDocument::breakGroupCycles()
{
    // Records read from a file may name parents in a loop; the loop is cut at the group
    // where a walk up from it comes back, which then becomes a top group.
    for (auto it = _groups.cbegin(); it != _groups.cend(); ++it) {
        QSet<QString> seen{it.key()};
        QString parent = it.value()->parentID();
        while (!parent.isEmpty() && _groups.contains(parent)) {
            if (seen.contains(parent)) {
                it.value()->setParentID(QString());
                break;
            }
            seen.insert(parent);
            parent = _groups.value(parent)->parentID();
        }
    }
}

void VekDocument::addMemberToGroup(const std::shared_ptr<VekObject> &object, const QString &groupID)
{
    if (groupID.isEmpty())
        return;
    if (auto group = groupFor(groupID)) {
        group->addMember(object);
        return;
    }
    auto group = std::make_shared<VekGroup>(groupID, QString(), QStringList(), this);
    group->addMember(object);
    _groups.insert(groupID, group);
    dropGroupCaches();
}

void VekDocument::removeMemberFromGroup(const std::shared_ptr<VekObject> &object, const QString &groupID, bool needUndo)
{
    const auto group = groupFor(groupID);
    if (!group) {
        object->setGroupID(QString());
        dropGroupCaches();
        return;
    }
    std::optional<GroupSnapshot> snapshot;
    if (needUndo) {
        const QString ancestor = group->ancestorID();
        snapshot = groupSnapshot(objectsOfGroup(ancestor.isEmpty() ? groupID : ancestor));
    }
    group->removeMember(object);
    const auto parent = groupFor(group->parentID());
    const auto &children = group->groupMemberIDs();
    const auto &members = group->objectMembers();
    if (children.isEmpty() && members.empty()) {
        if (parent)
            parent->removeMember(group);
        forgetGroup(groupID);
    } else if (children.isEmpty() && members.size() == 1) {
        // A group of one object is no group: the object moves up.
        const auto last = members.front();
        if (parent) {
            group->removeMember(last);
            parent->addObjectMember(last);
            parent->removeMember(group);
        } else {
            last->setGroupID(QString());
        }
        forgetGroup(groupID);
    } else if (children.size() == 1 && members.empty() && groupFor(children.front())) {
        // A group holding one group is replaced by it.
        const auto child = groupFor(children.front());
        child->setParentID(QString());
        if (parent) {
            parent->removeMember(group);
            parent->addGroupMember(child->groupID());
        }
        forgetGroup(groupID);
    }
    if (snapshot) {
        registerGroupSnapshot(*snapshot);
        _undo.setActionName(localizedString(QStringLiteral("Ungroup")));
    }
}

void VekDocument::collectObjects(const QString &groupID, bool wholeTree, QSet<QString> &visited,
                                 std::vector<std::shared_ptr<VekObject>> &out) const
{
    if (visited.contains(groupID))
        return;
    visited.insert(groupID);
    const auto group = groupFor(groupID);
    if (!group)
        return;
    for (const auto &object : group->objectMembers())
        appendUnique(out, object);
    for (const QString &child : group->groupMemberIDs())
        collectObjects(child, wholeTree, visited, out);
    if (!wholeTree)
        return;
    const QString ancestor = group->ancestorID();
    if (!ancestor.isEmpty())
        collectObjects(ancestor, wholeTree, visited, out);
}

std::vector<std::shared_ptr<VekObject>> VekDocument::objectsLowerThanGroup(const QString &groupID) const
{
    std::vector<std::shared_ptr<VekObject>> out;
    QSet<QString> visited;
    collectObjects(groupID, false, visited, out);
    return out;
}

std::vector<std::shared_ptr<VekObject>> VekDocument::objectsOfGroup(const QString &groupID) const
{
    std::vector<std::shared_ptr<VekObject>> out;
    QSet<QString> visited;
    collectObjects(groupID, true, visited, out);
    return out;
}

void VekDocument::groupObjects(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    if (objects.size() < 2)
        return;
    // Grouping objects that all lie in one tree changes nothing.
    QSet<QString> tops;
    bool ungrouped = false;
    for (const auto &object : objects) {
        const auto group = groupFor(object->groupID());
        if (!group) {
            ungrouped = true;
            break;
        }
        const QString ancestor = group->ancestorID();
        tops.insert(ancestor.isEmpty() ? group->groupID() : ancestor);
        if (tops.size() > 1)
            break;
    }
    if (!ungrouped && tops.size() < 2)
        return;

    const GroupSnapshot snapshot = groupSnapshot(objects);
    const QString id = newGrpID();
    auto created = std::make_shared<VekGroup>(id, QString(), QStringList(), this);
    _groups.insert(id, created);
    for (const auto &object : objects) {
        const QString own = object->groupID();
        const auto group = groupFor(own);
        if (own.isEmpty()) {
            created->addObjectMember(object);
            continue;
        }
        if (!group)
            continue;
        // The object's whole tree joins the new group through its top group.
        QString top = group->groupID();
        for (QSet<QString> seen; !groupFor(top)->parentID().isEmpty() && groupFor(groupFor(top)->parentID())
                                 && !seen.contains(top);) {
            seen.insert(top);
            top = groupFor(top)->parentID();
        }
        if (top != id)
            created->addGroupMember(top);
    }
    dropGroupCaches();
    registerGroupSnapshot(snapshot);
    _undo.setActionName(localizedString(QStringLiteral("Group Objects")));
}

void VekDocument::ungroupObjects(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    if (objects.size() < 2)
        return;
    const GroupSnapshot snapshot = groupSnapshot(objects);
    QStringList tops;
    for (const auto &object : objects) {
        const auto group = groupFor(object->groupID());
        if (!group) {
            if (!object->groupID().isEmpty())
                object->setGroupID(QString());
            continue;
        }
        const QString ancestor = group->ancestorID();
        const QString top = !ancestor.isEmpty() && groupFor(ancestor) ? ancestor : group->groupID();
        if (!tops.contains(top))
            tops << top;
    }
    for (const QString &id : tops) {
        const auto group = groupFor(id);
        if (!group)
            continue;
        for (const QString &child : group->groupMemberIDs())
            if (const auto childGroup = groupFor(child)) {
                childGroup->setParentID(QString());
                childGroup->setAncestorID(QString());
            }
        for (const auto &member : std::vector(group->objectMembers()))
            member->setGroupID(QString());
        _groups.remove(id);
    }
    dropGroupCaches();
    registerGroupSnapshot(snapshot);
    _undo.setActionName(localizedString(QStringLiteral("Ungroup")));
}

void VekDocument::ungroupGlobally(const QString &groupID)
{
    if (groupID.isEmpty())
        return;
    const auto objects = objectsOfGroup(groupID);
    if (objects.empty()) {
        forgetGroup(groupID);
        return;
    }
    const GroupSnapshot snapshot = groupSnapshot(objects);
    // The whole tree goes, however deep: every group that any of its objects lies under.
    QSet<QString> doomed;
    for (const auto &object : objects) {
        QString id = object->groupID();
        while (!id.isEmpty() && !doomed.contains(id) && groupFor(id)) {
            doomed.insert(id);
            id = groupFor(id)->parentID();
        }
        object->setGroupID(QString());
    }
    doomed.insert(groupID);
    for (const QString &id : doomed)
        _groups.remove(id);
    dropGroupCaches();
    registerGroupSnapshot(snapshot);
    _undo.setActionName(localizedString(QStringLiteral("Ungroup")));
}

void VekDocument::ungroupDownwards(const QString &groupID, bool looping)
{
    QSet<QString> dissolving;
    dissolveDownwards(groupID, looping, dissolving);
}

void VekDocument::dissolveDownwards(const QString &groupID, bool looping, QSet<QString> &dissolving)
{
    const auto group = groupFor(groupID);
    if (!group || dissolving.contains(groupID))
        return;
    const auto objects = objectsLowerThanGroup(groupID);
    if (objects.empty()) {
        forgetGroup(groupID);
        return;
    }
    std::optional<GroupSnapshot> snapshot;
    if (!looping) {
        snapshot = groupSnapshot(objects);
        // The snapshot alone takes the change back: the objects' own undo of their group
        // identifiers would interleave with it and leave a wrong state to redo.
        _undo.disableUndoRegistration();
    }
    // The group stays in the dictionary while its children dissolve, so that their objects
    // move up into it; the set ends the walk over records from a file that form a cycle.
    dissolving.insert(groupID);
    for (const QString &child : QStringList(group->groupMemberIDs()))
        dissolveDownwards(child, true, dissolving);
    const auto parent = groupFor(group->parentID());
    for (const auto &member : std::vector(group->objectMembers())) {
        if (parent)
            parent->addObjectMember(member);
        else
            member->setGroupID(QString());
    }
    if (parent)
        parent->removeMember(group);
    _groups.remove(groupID);
    dropGroupCaches();
    if (snapshot) {
        _undo.enableUndoRegistration();
        registerGroupSnapshot(*snapshot);
        _undo.setActionName(localizedString(QStringLiteral("Ungroup")));
    }
}

void VekDocument::ungroupLocally(const QString &groupID)
{
    const auto group = groupFor(groupID);
    if (!group)
        return;
    const QString ancestor = group->ancestorID();
    const auto tree = objectsOfGroup(ancestor.isEmpty() ? groupID : ancestor);
    std::optional<GroupSnapshot> snapshot;
    if (!tree.empty())
        snapshot = groupSnapshot(tree);
    const auto parent = groupFor(group->parentID());
    for (const auto &member : std::vector(group->objectMembers())) {
        if (parent)
            parent->addObjectMember(member);
        else
            member->setGroupID(QString());
    }
    for (const QString &child : QStringList(group->groupMemberIDs()))
        if (const auto childGroup = groupFor(child)) {
            childGroup->setParentID(QString());
            if (parent)
                parent->addGroupMember(child);
        }
    if (parent)
        parent->removeMember(group);
    forgetGroup(groupID);
    if (snapshot)
        registerGroupSnapshot(*snapshot);
    _undo.setActionName(localizedString(QStringLiteral("Ungroup")));
}

QStringList VekDocument::groupTopNodes() const
{
    if (!_groupTopNodes) {
        QStringList tops;
        for (auto it = _groups.cbegin(); it != _groups.cend(); ++it)
            if (it.value()->parentID().isEmpty())
                tops << it.key();
        _groupTopNodes = tops;
    }
    return *_groupTopNodes;
}

QStringList VekDocument::groupTopNodesSorted() const
{
    if (!_groupTopNodesSorted) {
        const QStringList tops = groupTopNodes();
        QStringList sorted;
        if (tops.size() > 1) {
            for (const auto &object : _objects)
                if (tops.contains(object->groupID()) && !sorted.contains(object->groupID()))
                    sorted << object->groupID();
            for (const QString &top : tops)
                if (!sorted.contains(top))
                    sorted << top;
        } else {
            sorted = tops;
        }
        _groupTopNodesSorted = sorted;
    }
    return *_groupTopNodesSorted;
}

std::vector<std::shared_ptr<VekObject>> VekDocument::objectsOnePerGroupOutOf(
    const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    QStringList remaining = groupTopNodes();
    if (objects.size() < 2 || remaining.isEmpty())
        return objects;
    std::vector<std::shared_ptr<VekObject>> result, covered;
    for (const auto &object : objects) {
        if (std::find(result.begin(), result.end(), object) != result.end()
            || std::find(covered.begin(), covered.end(), object) != covered.end())
            continue;
        const auto group = groupFor(object->groupID());
        if (!group) {
            result.push_back(object);
            continue;
        }
        QString top = group->ancestorID();
        if (top.isEmpty())
            top = group->parentID();
        if (top.isEmpty())
            top = group->groupID();
        if (!remaining.contains(top))
            continue;
        for (const auto &member : objectsLowerThanGroup(top))
            covered.push_back(member);
        result.push_back(object);
        remaining.removeAll(top);
    }
    return result;
}
