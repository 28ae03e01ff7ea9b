// VekGroup: one node of a document's tree of object groups.
//
// A node has an identifier ("g0", "g1", ...), an optional parent identifier, the identifiers
// of its child groups, the drawing objects that belong to it directly, a note and a plain
// pointer to its document. Children are named by identifier and parents are looked up
// through the document (DocumentServices::groupFor), so nodes never own each other; the
// document holds every node in its groups dictionary, each by a std::shared_ptr.
//
// Files can hold parent chains that loop (g0 -> g1 -> g0). Every walk up the chain
// (noMemberAncestors, ancestorID) remembers the nodes it passed and stops at a repeat.
#pragma once

#include "platform/foundation/property_list.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

class DocumentServices;
class VekObject;

// The keys of a group's record in the document file and in the group undo snapshot.
inline const QString GroupParentIDKey = QStringLiteral("parentID");
inline const QString GroupMembersKey = QStringLiteral("members");
inline const QString GroupNoteKey = QStringLiteral("note");

class VekGroup : public std::enable_shared_from_this<VekGroup> {
public:
    // A child group identifier or a drawing object, as allMembers lists them.
    using Member = std::variant<QString, std::shared_ptr<VekObject>>;

    // The identifier; the parent identifier (kept only when not empty); the child
    // identifiers (none when empty); the document (not owned).
    VekGroup(const QString &name, const QString &parent, const QStringList &members, DocumentServices *document);
    VekGroup(const VekGroup &) = delete;
    VekGroup &operator=(const VekGroup &) = delete;

    // A node rebuilt from its record ("parentID", "members", "note"); a record of another
    // kind gives a node without parent, children or note.
    static std::shared_ptr<VekGroup> groupFromRecord(const QString &name, const PropertyList &record,
                                                     DocumentServices *document);
    // The record: "parentID" ("" for a top group), "members" (the child identifiers) and
    // "note" when there is one.
    PropertyList groupRecord() const;

    const QString &groupID() const { return _groupID; }
    // Null when there is none.
    const QString &note() const { return _note; }
    // The child group identifiers, in the order they were added.
    const QStringList &groupMemberIDs() const { return _grpmembers; }
    // The objects that belong to this group directly, in the order they were added.
    const std::vector<std::shared_ptr<VekObject>> &objectMembers() const { return _objmembers; }
    DocumentServices *document() const { return _document; }

    // The parent identifier, or "" for a top group.
    QString parentID() const;
    // Stores the identifier (null: none); nothing else.
    void setParentID(const QString &parentID) { _parentID = parentID; }
    bool isTopGroup() const { return _parentID.isEmpty(); }

    // Child groups plus direct member objects.
    int numberOfMembers() const { return int(_grpmembers.size() + _objmembers.size()); }

    // Stamps the object with this group's identifier (undoable on the object) and adds it.
    void addObjectMember(const std::shared_ptr<VekObject> &object);
    // Adds the child identifier unless it is one already, unless the group it names has a
    // parent chain that passes one of its own children (noMemberAncestors), or unless that
    // group is this one or one of its parents (which would close a loop); the child then
    // records this group as its ancestor.
    void addGroupMember(const QString &groupID);
    // A group: under the same cycle guard, adds it as a child and records this group as
    // its ancestor. A drawing object: as addObjectMember.
    void addMember(const std::shared_ptr<VekGroup> &group);
    void addMember(const std::shared_ptr<VekObject> &object);
    // A group: drops its identifier from the children (its own parent identifier stays).
    // A drawing object: drops it and clears its group identifier (undoable on the object).
    void removeMember(const std::shared_ptr<VekGroup> &group);
    void removeMember(const std::shared_ptr<VekObject> &object);

    // The cycle guard, sent to a group with its parent identifier: NO when the chain of
    // groups that begins with the one named `ancestorID` and follows their parents reaches
    // one of this group's children, or loops back on itself; YES when the chain ends (no
    // identifier, or one that names no group).
    bool noMemberAncestors(const QString &ancestorID) const;
    // Makes `ancestorID` the parent of a group without one, or records it as the ancestor
    // of a group with another parent. Null drops a recorded ancestor, or else a parent
    // identifier of more than one character.
    void setAncestorID(const QString &ancestorID);
    // The identifier of the top group of this group's tree; null for a top group, when a
    // parent is missing below the top, or when the parents loop.
    QString ancestorID() const;

    // The direct member objects front-most first, sorted by the canvas and kept until the
    // membership or the stacking order changes; absent without objects, document or canvas.
    std::optional<std::vector<std::shared_ptr<VekObject>>> sortedObjMembers();
    // The child identifiers, then the direct member objects front-most first.
    std::vector<Member> allMembers();
    // Drops the sorted members (the stacking order changed).
    void objectOrderChanged() { _sortedObjMembers.reset(); }

    // Nothing when the note is the same text; otherwise undoable (through the document's
    // undo manager) when there was a note before. No notification.
    void setNote(const QString &note);

    // A node with the same identifier, parent, children, document, member objects (stamped
    // again) and note; the recorded ancestor and the sorted members are not copied.
    std::shared_ptr<VekGroup> clone() const;

private:
    std::shared_ptr<VekGroup> lookUp(const QString &groupID) const;
    bool attachGroup(const std::shared_ptr<VekGroup> &group);

    QString _groupID;
    QString _parentID;
    QString _ancestorID;
    QString _note;
    QStringList _grpmembers;
    std::vector<std::shared_ptr<VekObject>> _objmembers;
    std::optional<std::vector<std::shared_ptr<VekObject>>> _sortedObjMembers;
    DocumentServices *_document = nullptr;
};
