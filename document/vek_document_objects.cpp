// The document's object list: insertion, removal, moves and reordering with undo, and the
// queries over lists of objects.
#include "document/vek_document.h"

#include "model/services/canvas_services.h"
#include "model/vek_group.h"
#include "model/vek_object.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

// A lookup right after a change of the list searches it, as a run of insertions asks once
// between two changes; once several lookups have searched the same list (work over many of
// its objects) a table answers the rest at once.
int VekDocument::indexOfObject(const VekObject *object) const
{
    constexpr int SearchesBeforeTable = 4;
    if (_objectIndexGeneration != _objectListGeneration) {
        if (_searchedGeneration != _objectListGeneration) {
            _searchedGeneration = _objectListGeneration;
            _searchesOfList = 0;
        }
        if (++_searchesOfList <= SearchesBeforeTable) {
            for (size_t i = 0; i < _objects.size(); ++i)
                if (_objects[i].get() == object)
                    return int(i);
            return -1;
        }
        _objectIndex.clear();
        _objectIndex.reserve(_objects.size());
        for (size_t i = 0; i < _objects.size(); ++i)
            _objectIndex.emplace(_objects[i].get(), int(i));
        _objectIndexGeneration = _objectListGeneration;
    }
    const auto it = _objectIndex.find(object);
    return it == _objectIndex.end() ? -1 : it->second;
}

void VekDocument::insertObject(const std::shared_ptr<VekObject> &object, int index, bool ignoreGroup)
{
    // An object is in the list at most once; only an object of this document can be in it
    // already, so new objects are inserted without searching the list.
    if (!object || (object->document() == this && indexOfObject(object.get()) >= 0))
        return;
    index = std::clamp(index, 0, int(_objects.size()));
    _undo.registerUndoWithTarget(this, [this, index, ignoreGroup] { removeObjectAtIndex(index, ignoreGroup); });
    object->setDocument(this, false);
    if (!object->groupID().isEmpty()) {
        if (ignoreGroup)
            object->clearGroupID();
        else
            addMemberToGroup(object, object->groupID());
    }
    _objects.insert(_objects.begin() + index, object);
    ++_objectListGeneration;
    invalidateObject(*object);
    // A box put into a chain takes its part of the chain's text.
    if (linkedTextBoxInFrontOf(*object))
        static_cast<VekObjText &>(*object).controlConnection();
}

std::shared_ptr<VekObjText> VekDocument::linkedTextBoxInFrontOf(const VekObject &object) const
{
    // Only what the user does in a window: documents being read or built are flowed as
    // they stand, and undo and redo put back the texts the flow changed.
    const auto *text = dynamic_cast<const VekObjText *>(&object);
    if (!text || !hasWindow() || _undo.isUndoing() || _undo.isRedoing())
        return nullptr;
    return text->preceedingConnectedTextObject();
}

void VekDocument::removeObjectAtIndex(int index, bool ignoreGroup)
{
    if (index < 0 || index >= int(_objects.size()))
        return;
    const std::shared_ptr<VekObject> object = _objects[size_t(index)];
    // Leaving its group may dissolve or collapse groups above it: a snapshot of the tree
    // comes back when the removal is undone, so the object and its neighbours regain the
    // groups they had.
    const QString groupID = object->groupID();
    if (!groupID.isEmpty()) {
        std::vector<std::shared_ptr<VekObject>> tree = objectsOfGroup(groupID);
        if (std::find(tree.begin(), tree.end(), object) == tree.end())
            tree.push_back(object);
        const GroupSnapshot snapshot = groupSnapshot(tree);
        removeMemberFromGroup(object, groupID, false);
        registerGroupSnapshot(snapshot);
    }
    // A box taken out of a chain: the box in front now flows into the one behind it.
    const auto front = linkedTextBoxInFrontOf(*object);
    _objects.erase(_objects.begin() + index);
    ++_objectListGeneration;
    invalidateObject(*object);
    _undo.registerUndoWithTarget(this, [this, object, index, ignoreGroup] {
        insertObject(object, index, ignoreGroup);
    });
    if (front)
        front->controlConnection();
}

void VekDocument::removeObject(const std::shared_ptr<VekObject> &object)
{
    const int index = indexOfObject(object.get());
    if (index >= 0)
        removeObjectAtIndex(index, false);
}

void VekDocument::moveObject(const std::shared_ptr<VekObject> &object, int target)
{
    const int from = indexOfObject(object.get());
    if (from < 0 || from == target || target < 0 || target > int(_objects.size()))
        return;
    const int back = from > target ? from + 1 : from;
    _undo.registerUndoWithTarget(this, [this, object, back] { moveObject(object, back); });
    if (from < target)
        --target;
    _objects.erase(_objects.begin() + from);
    _objects.insert(_objects.begin() + target, object);
    ++_objectListGeneration;
    for (const auto &group : std::as_const(_groups))
        group->objectOrderChanged();
    invalidateObject(*object);
}

void VekDocument::setObjects(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    for (int i = int(_objects.size()) - 1; i >= 0; --i)
        removeObjectAtIndex(i, false);
    // Each goes to the end: inserting at the front would move the whole list every time.
    for (const auto &object : objects)
        insertObject(object, int(_objects.size()), false);
    if (_vekView)
        _vekView->selectObjectExclusively(nullptr);
}

namespace {

using ObjectList = std::vector<std::shared_ptr<VekObject>>;

// The clip shape directly behind the object at `index`, or null.
const VekObject *clipBehind(const ObjectList &list, size_t index)
{
    return index + 1 < list.size() && list[index + 1]->clipType() > 0 ? list[index + 1].get() : nullptr;
}

// The next text box behind the one at `index` (where a linked box flows on), and the text
// box before it: the two ends of its links in the chain.
std::pair<const VekObject *, const VekObject *> textNeighbours(const ObjectList &list, size_t index)
{
    const VekObject *next = nullptr, *previous = nullptr;
    for (size_t i = index + 1; i < list.size() && !next; ++i)
        if (dynamic_cast<const VekObjText *>(list[i].get()))
            next = list[i].get();
    for (size_t i = index; i > 0 && !previous; --i)
        if (dynamic_cast<const VekObjText *>(list[i - 1].get()))
            previous = list[i - 1].get();
    return {next, previous};
}

// After a reordering from `before` to `now`: an object that gained or lost the clip shape
// behind it is clipped anew, and linked text boxes whose chain changed flow again.
void refreshStackingDependents(const ObjectList &now, const ObjectList &before)
{
    std::unordered_map<const VekObject *, size_t> oldIndex;
    for (size_t i = 0; i < before.size(); ++i)
        oldIndex.emplace(before[i].get(), i);
    // Taken first: flowing a chain may change the objects' texts, never the list.
    std::vector<std::shared_ptr<VekObject>> clipChanged;
    std::vector<std::shared_ptr<VekObjText>> chainChanged;
    for (size_t i = 0; i < now.size(); ++i) {
        const size_t was = oldIndex.at(now[i].get());
        if (clipBehind(now, i) != clipBehind(before, was))
            clipChanged.push_back(now[i]);
        else if (auto text = std::dynamic_pointer_cast<VekObjText>(now[i]);
                 text && textNeighbours(now, i) != textNeighbours(before, was))
            chainChanged.push_back(text);
    }
    for (const auto &object : clipChanged)
        object->clipDidChange();
    for (const auto &text : chainChanged)
        text->controlConnection();
}

} // namespace

void VekDocument::setObjectsAsItIs(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    // Sorting must never drop or add an object: the new order holds exactly the same ones.
    if (objects.size() != _objects.size())
        return;
    std::unordered_set<const VekObject *> present;
    for (const auto &object : _objects)
        present.insert(object.get());
    for (const auto &object : objects)
        if (!present.erase(object.get()))
            return;
    const std::vector<std::shared_ptr<VekObject>> before = _objects;
    _undo.registerUndoWithTarget(this, [this, before] { setObjectsAsItIs(before); });
    _undo.setActionName(localizedString(QStringLiteral("Sort")));
    _objects = objects;
    ++_objectListGeneration;
    for (const auto &group : std::as_const(_groups))
        group->objectOrderChanged();
    // What hangs on the order follows, in the same undo step.
    refreshStackingDependents(_objects, before);
    if (_vekView)
        _vekView->setNeedsDisplayInRect(_vekView->bounds());
}

void VekDocument::beginChangeBatch()
{
    ++_changeBatchDepth;
}

void VekDocument::collectChange(const VekObject &object)
{
    if (!_changedTogether.insert(&object).second)
        return;
    _batchedObjects.push_back(object.weak_from_this());
    _batchedAreas.push_back(object.boundsToRedraw());
}

void VekDocument::endChangeBatch()
{
    if (_changeBatchDepth == 0 || --_changeBatchDepth > 0)
        return;
    const std::vector<std::weak_ptr<const VekObject>> changed = std::exchange(_batchedObjects, {});
    const std::vector<Rect> areas = std::exchange(_batchedAreas, {});
    if (changed.empty())
        return;
    if (hasWindow()) {
        for (const Rect &area : areas)
            _vekView->setNeedsDisplayInRect(insetRect(area, -5, -5));
        for (const auto &weak : changed)
            if (const auto object = weak.lock())
                _vekView->invalidateObject(*object);
    }
    NotificationCenter::defaultCenter().postNotificationName(VekObjectsDidChangeNotification,
                                                             static_cast<const DocumentServices *>(this));
    _changedTogether.clear();
}

void VekDocument::invalidateObject(const VekObject &object)
{
    if (hasWindow())
        _vekView->invalidateObject(object);
}

void VekDocument::vekViewNeedsDisplayInRect(const Rect &r)
{
    if (hasWindow())
        _vekView->setNeedsDisplayInRect(r);
}

std::vector<std::shared_ptr<VekObject>> VekDocument::objectsOnPage(int page, const Rect &rect) const
{
    std::vector<std::shared_ptr<VekObject>> onPage;
    for (const auto &object : _objects)
        if (object->shouldDrawOnPage(page, rect))
            onPage.push_back(object);
    return onPage;
}

int VekDocument::objectIsIncludedIn(const VekObject *object, const std::vector<int> &pages) const
{
    if (!object || pages.empty() || object->repeatType() != 0)
        return 0;
    const float height = const_cast<VekDocument *>(this)->drawAreaSizePerPage().height;
    for (int page : pages) {
        const Rect pageRect = _vekView ? _vekView->rectForPage(page)
                                       : Rect(0, float(page - 1) * height, const_cast<VekDocument *>(this)->drawAreaSizePerPage().width, height);
        if (intersectsRect(pageRect, object->bounds()))
            return page;
    }
    return -1;
}

Rect VekDocument::drawingBoundsForObjects(const std::vector<std::shared_ptr<VekObject>> &objects) const
{
    Rect bounds;
    for (int i = int(objects.size()) - 1; i >= 0; --i) {
        const VekObject &object = *objects[size_t(i)];
        if (object.clipType() == 1 && object.hasEditablePath()) {
            // A clip path bounds what it clips (the object in front of it, skipped here); its
            // area joins what lies behind it instead of replacing it.
            Rect clip = object.bezierPath().bounds();
            clip.size.width += 1.0f;
            clip.size.height += 1.0f;
            bounds = unionRect(bounds, clip);
            --i;
            continue;
        }
        bounds = unionRect(bounds, object.boundsToRedraw());
    }
    return bounds;
}

Rect VekDocument::boundsForObjects(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    Rect bounds;
    bool first = true;
    for (const auto &object : objects) {
        Rect b = object->bounds();
        b.size.width = std::max(b.size.width, 0.1f);
        b.size.height = std::max(b.size.height, 0.1f);
        bounds = first ? b : unionRect(bounds, b);
        first = false;
    }
    return bounds;
}
