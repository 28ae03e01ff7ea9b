// VekGroup: membership, the cycle guard, the ancestor walk and the undoable note of a group node.
#include "model/vek_group.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/vek_object.h"
#include "platform/foundation/undo_manager.h"

#include <QSet>

#include <algorithm>

VekGroup::VekGroup(const QString &name, const QString &parent, const QStringList &members, DocumentServices *document)
    : _groupID(name), _parentID(parent.isEmpty() ? QString() : parent), _document(document)
{
    for (const QString &member : members)
        if (!_grpmembers.contains(member))
            _grpmembers.append(member);
}

std::shared_ptr<VekGroup> VekGroup::groupFromRecord(const QString &name, const PropertyList &record,
                                                    DocumentServices *document)
{
    QStringList members;
    for (const PropertyList &member : record.value(GroupMembersKey).elements())
        if (member.isString() && !member.stringValue().isEmpty())
            members.append(member.stringValue());
    auto group = std::make_shared<VekGroup>(name, record.value(GroupParentIDKey).stringValue(), members, document);
    const PropertyList note = record.value(GroupNoteKey);
    if (note.isString())
        group->setNote(note.stringValue());
    return group;
}

PropertyList VekGroup::groupRecord() const
{
    PropertyList record = PropertyList::dictionary();
    record.insert(GroupParentIDKey, PropertyList(parentID()));
    record.insert(GroupMembersKey, PropertyList::fromStringList(_grpmembers));
    if (!_note.isNull())
        record.insert(GroupNoteKey, PropertyList(_note));
    return record;
}

QString VekGroup::parentID() const
{
    return _parentID.isNull() ? QStringLiteral("") : _parentID;
}

std::shared_ptr<VekGroup> VekGroup::lookUp(const QString &groupID) const
{
    if (!_document || groupID.isEmpty())
        return nullptr;
    return _document->groupFor(groupID);
}

void VekGroup::addObjectMember(const std::shared_ptr<VekObject> &object)
{
    if (!object)
        return;
    object->setGroupID(_groupID);
    if (std::find(_objmembers.begin(), _objmembers.end(), object) == _objmembers.end())
        _objmembers.push_back(object);
    _sortedObjMembers.reset();
}

bool VekGroup::attachGroup(const std::shared_ptr<VekGroup> &group)
{
    if (group.get() == this || (!group->isTopGroup() && !group->noMemberAncestors(group->_parentID)))
        return false;
    // Attaching one of this group's own parents below it would close a loop.
    QSet<const VekGroup *> passed{this};
    for (auto parent = lookUp(_parentID); parent && !passed.contains(parent.get()); parent = lookUp(parent->_parentID)) {
        if (parent == group)
            return false;
        passed.insert(parent.get());
    }
    return true;
}

void VekGroup::addGroupMember(const QString &groupID)
{
    if (_grpmembers.contains(groupID))
        return;
    const auto group = lookUp(groupID);
    if (group && !attachGroup(group))
        return;
    _grpmembers.append(groupID);
    if (group)
        group->setAncestorID(_groupID);
}

void VekGroup::addMember(const std::shared_ptr<VekGroup> &group)
{
    if (!group || !attachGroup(group))
        return;
    if (!_grpmembers.contains(group->_groupID))
        _grpmembers.append(group->_groupID);
    group->setAncestorID(_groupID);
}

void VekGroup::addMember(const std::shared_ptr<VekObject> &object)
{
    addObjectMember(object);
}

void VekGroup::removeMember(const std::shared_ptr<VekGroup> &group)
{
    if (group)
        _grpmembers.removeAll(group->_groupID);
}

void VekGroup::removeMember(const std::shared_ptr<VekObject> &object)
{
    if (!object)
        return;
    _objmembers.erase(std::remove(_objmembers.begin(), _objmembers.end(), object), _objmembers.end());
    object->setGroupID(QString());
    _sortedObjMembers.reset();
}

bool VekGroup::noMemberAncestors(const QString &ancestorID) const
{
    QSet<const VekGroup *> passed;
    for (auto group = lookUp(ancestorID); group; group = lookUp(group->_parentID)) {
        // A chain that comes back to a group it passed is damaged: refuse rather than loop.
        if (passed.contains(group.get()))
            return false;
        passed.insert(group.get());
        if (_grpmembers.contains(group->_groupID))
            return false;
    }
    return true;
}

void VekGroup::setAncestorID(const QString &ancestorID)
{
    const bool hadAncestor = !_ancestorID.isNull();
    _ancestorID = QString();
    if (!ancestorID.isNull()) {
        if (_parentID.isEmpty())
            _parentID = ancestorID;
        else if (_parentID != ancestorID)
            _ancestorID = ancestorID;
    } else if (!hadAncestor && _parentID.size() > 1) {
        _parentID = QString();
    }
}

QString VekGroup::ancestorID() const
{
    QString found;
    QSet<const VekGroup *> passed{this};
    for (const VekGroup *node = this;;) {
        if (node->isTopGroup())
            return found;
        if (!node->_ancestorID.isNull())
            return node->_ancestorID;
        const auto parent = lookUp(node->_parentID);
        if (!parent)
            return found;
        // Parents that loop have no top group.
        if (passed.contains(parent.get()))
            return QString();
        passed.insert(parent.get());
        found = parent->_groupID;
        node = parent.get();
    }
}

std::optional<std::vector<std::shared_ptr<VekObject>>> VekGroup::sortedObjMembers()
{
    if (_sortedObjMembers)
        return _sortedObjMembers;
    CanvasServices *view = _document ? _document->vekView() : nullptr;
    if (_objmembers.empty() || !view)
        return std::nullopt;
    _sortedObjMembers = view->sortObjectsInOrder(_objmembers);
    return _sortedObjMembers;
}

std::vector<VekGroup::Member> VekGroup::allMembers()
{
    std::vector<Member> members(_grpmembers.begin(), _grpmembers.end());
    if (const auto sorted = sortedObjMembers())
        members.insert(members.end(), sorted->begin(), sorted->end());
    return members;
}

void VekGroup::setNote(const QString &note)
{
    if (!_note.isNull() && !note.isNull() && note == _note)
        return;
    if (!_note.isNull() && _document) {
        if (UndoManager *undo = _document->undoManager()) {
            // The closure keeps the node alive, as the undo manager keeps every target.
            undo->registerUndoWithTarget(this, [self = shared_from_this(), old = _note] { self->setNote(old); });
        }
    }
    _note = note;
}

std::shared_ptr<VekGroup> VekGroup::clone() const
{
    auto copy = std::make_shared<VekGroup>(_groupID, parentID(), _grpmembers, _document);
    for (const auto &object : _objmembers)
        copy->addMember(object);
    if (!_note.isNull())
        copy->setNote(_note);
    return copy;
}
