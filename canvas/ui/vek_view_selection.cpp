// The canvas's selection: which objects are selected and which is current, how grouped
// objects are selected together, undo of selection changes, hit testing.
#include "canvas/ui/vek_view.h"

#include "canvas/object_hit_test.h"
#include "canvas/ui/busy_cursor.h"
#include "canvas/stacking_order.h"
#include "document/vek_document.h"
#include "model/services/panel_services.h"
#include "model/vek_group.h"
#include "model/vek_obj_marker.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"

#include <algorithm>
#include <unordered_set>

VekView::ObjectList VekView::selectedObjects() const
{
    ObjectList selected;
    selected.reserve(m_selection.size());
    for (const auto &weak : m_selection.entries())
        if (auto object = weak.lock())
            selected.push_back(object);
    return selected;
}

bool VekView::objectIsSelected(const VekObject &object) const
{
    return m_selection.contains(object);
}

std::shared_ptr<VekObject> VekView::currentObject()
{
    const ObjectList selected = selectedObjects();
    if (selected.empty())
        m_current.reset();
    else if (!m_current.lock())
        m_current = selected.front();
    return m_current.lock();
}

void VekView::setCurrentObject(const std::shared_ptr<VekObject> &object)
{
    if (m_current.lock() == object)
        return;
    m_current = object;
    NotificationCenter::defaultCenter().postNotificationName(VekViewCurrentObjectDidChangeNotification, this);
}

void VekView::announceSelectionChange()
{
    // A shape just drawn shows its path points like any other once it leaves the selection.
    if (const auto shape = m_knobsShape.lock(); shape && !objectIsSelected(*shape)) {
        m_knobsShape.reset();
        invalidateObject(*shape);
    }
    NotificationCenter::defaultCenter().postNotificationName(VekViewSelectionDidChangeNotification, this);
    if (rulersVisible())
        updateRulers();
}

// Undo of a selection change selects or deselects the object again; the closure holds it
// weakly, as the view does.
void VekView::registerSelectionUndo(const std::shared_ptr<VekObject> &object, bool select)
{
    std::weak_ptr<VekObject> weak = object;
    m_document.undoManager()->registerUndoWithTarget(this, [this, weak, select] {
        if (auto o = weak.lock())
            select ? selectObject(o) : deselectObject(o);
    });
}

void VekView::selectObject(const std::shared_ptr<VekObject> &object)
{
    if (!object)
        return;
    m_selectedBoundsCache = Rect();
    if (!objectIsSelected(*object)) {
        registerSelectionUndo(object, false);
        m_selection.append(object);
        invalidateObject(*object);
        setCurrentObject(object);
        bool announced = false;
        if (!object->groupID().isEmpty()) {
            QString target = object->groupID();
            if (!panelServices().grpPartialSelectionIsAllowed()) {
                // A group that names no record keeps the object's own group.
                if (const auto group = m_document.groupFor(target)) {
                    const QString ancestor = group->ancestorID(), parent = group->parentID();
                    target = !ancestor.isEmpty() ? ancestor : !parent.isEmpty() ? parent : target;
                }
            }
            const ObjectList members = m_document.objectsLowerThanGroup(target);
            if (members.size() > 1) {
                selectObjectsInGroup(members, target);
                announced = true;
            }
        }
        if (!announced)
            announceSelectionChange();
    } else {
        invalidateObject(*object);
        setCurrentObject(object);
        NotificationCenter::defaultCenter().postNotificationName(VekViewSelectionDidChangeNotification, this);
    }
    if (const auto current = currentObject())
        makeVisible(*current);
    resetCursorRects();
}

void VekView::selectObjectsInGroup(const ObjectList &objects, const QString &groupID)
{
    if (objects.empty())
        return;
    m_selectedBoundsCache = Rect();
    ObjectList collected;
    std::unordered_set<const VekObject *> taken;
    const auto collectedHolds = [&taken](const VekObject *o) { return taken.count(o) > 0; };
    const auto collect = [&](const std::shared_ptr<VekObject> &o) {
        registerSelectionUndo(o, false);
        collected.push_back(o);
        taken.insert(o.get());
    };
    for (const auto &object : objects) {
        if (!objectIsSelected(*object) && !collectedHolds(object.get())) {
            collect(object);
            // A member of a subgroup brings the whole subgroup along, each member with its
            // own undo so that undoing the selection leaves none of them selected.
            if (!object->groupID().isEmpty() && !panelServices().grpPartialSelectionIsAllowed()
                && object->groupID() != groupID) {
                for (const auto &member : m_document.objectsLowerThanGroup(object->groupID()))
                    if (!objectIsSelected(*member) && !collectedHolds(member.get()))
                        collect(member);
            }
        }
        invalidateObject(*object);
    }
    if (collected.empty())
        return;
    for (const auto &object : sortObjectsInOrder(collected))
        m_selection.append(object);
    m_current = m_selection.entries().front();
    announceSelectionChange();
    resetCursorRects();
}

void VekView::selectObjects(const ObjectList &objects)
{
    if (objects.empty())
        return;
    if (!m_selection.empty())
        clearSelection();
    for (const auto &object : objects) {
        registerSelectionUndo(object, false);
        m_selection.append(object);
        invalidateObject(*object);
    }
    m_current = objects.front();
    announceSelectionChange();
    resetCursorRects();
}

void VekView::deselectObject(const std::shared_ptr<VekObject> &object)
{
    m_selectedBoundsCache = Rect();
    m_lastDeselected.reset();
    if (!object || !objectIsSelected(*object))
        return;
    m_lastDeselected = object;
    if (!object->groupID().isEmpty()) {
        const ObjectList group = m_document.objectsOfGroup(object->groupID());
        if (group.size() > 1) {
            deselectObjects(group);
            return;
        }
    }
    registerSelectionUndo(object, true);
    m_selection.remove(*object);
    invalidateObject(*object);
    m_current.reset();
    announceSelectionChange();
}

void VekView::deselectObjects(const ObjectList &objects)
{
    m_selectedBoundsCache = Rect();
    if (objects.empty())
        return;
    ObjectList collected;
    std::unordered_set<const VekObject *> leaving;
    for (const auto &object : objects)
        if (objectIsSelected(*object)) {
            registerSelectionUndo(object, true);
            if (leaving.insert(object.get()).second)
                collected.push_back(object);
        }
    m_selection.remove(leaving);
    m_lastDeselected = objects.back();
    for (const auto &object : collected)
        invalidateObject(*object);
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Selection Change")));
    m_current.reset();
    announceSelectionChange();
    m_selectedBoundsCache = Rect();
}

void VekView::clearSelection()
{
    deselectObjects(selectedObjects());
    m_current.reset();
    m_selectedBoundsCache = Rect();
}

// Every object joins the selection in one pass (whole groups are selected anyway), the last
// one newly selected becoming current as when they are selected one by one; one undo step
// gives back the selection before. Long work shows the busy cursor.
void VekView::selectAll()
{
    const ObjectList all = m_document.objects();
    BusyCursor busy(all.size() >= BusyCursor::ManyObjects);
    std::unordered_set<const VekObject *> selected;
    for (const std::weak_ptr<VekObject> &weak : m_selection.entries())
        if (const auto object = weak.lock())
            selected.insert(object.get());
    std::vector<std::weak_ptr<VekObject>> selection = m_selection.entries();
    std::shared_ptr<VekObject> current = m_current.lock();
    for (const auto &object : all)
        if (selected.insert(object.get()).second) {
            selection.push_back(object);
            current = object;
        }
    if (selection.size() != m_selection.size())
        replaceSelection(std::move(selection), current);
}

void VekView::replaceSelection(std::vector<std::weak_ptr<VekObject>> selection, const std::shared_ptr<VekObject> &current)
{
    m_document.undoManager()->registerUndoWithTarget(
        this, [this, before = m_selection.entries(), was = m_current] { replaceSelection(before, was.lock()); });
    std::erase_if(selection, [](const std::weak_ptr<VekObject> &o) { return o.expired(); });
    m_selection = SelectionList(std::move(selection));
    m_selectedBoundsCache = Rect();
    viewport()->update();
    setCurrentObject(current);
    announceSelectionChange();
    if (current)
        makeVisible(*current);
    resetCursorRects();
}

void VekView::selectObjectExclusively(const std::shared_ptr<VekObject> &object)
{
    if (const auto editing = m_editing.lock(); editing && editing != object)
        endEditing();
    m_selectedBoundsCache = Rect();
    const ObjectList selected = selectedObjects();
    if (object && selected.size() == 1 && selected.front() == object) {
        invalidateObject(*object);
        return;
    }
    if (!selected.empty())
        clearSelection();
    if (object) {
        m_selection.append(object);
        invalidateObject(*object);
    }
    m_current = object;
    announceSelectionChange();
    if (object)
        makeVisible(*object);
    resetCursorRects();
}

bool VekView::selectedObjectsContainsMarker() const
{
    const ObjectList selected = selectedObjects();
    return std::any_of(selected.begin(), selected.end(),
                       [](const auto &o) { return dynamic_cast<const VekObjMarker *>(o.get()) != nullptr; });
}

Rect VekView::selectedObjectsBounds()
{
    const ObjectList selected = selectedObjects();
    if (selected.empty()) {
        m_selectedBoundsCache = Rect();
    } else if (m_selectedBoundsCache == Rect()) {
        Rect all = withLeastSize(selected.front()->bounds(), 0.1f);
        for (const auto &object : selected)
            all = unionRect(all, withLeastSize(object->bounds(), 0.1f));
        m_selectedBoundsCache = all;
    }
    return m_selectedBoundsCache;
}

VekView::ObjectList VekView::sortObjectsInOrder(const ObjectList &objects) const
{
    return ::sortObjectsInOrder(m_document, objects);
}

std::shared_ptr<VekObject> VekView::objectUnderPoint(Point p, bool extended) const
{
    m_index.refresh();
    return ::objectUnderPoint(m_index, selectedObjects(), p, extended);
}

VekView::ObjectList VekView::objectsIntersectingRect(const Rect &r) const
{
    m_index.refresh();
    return ::objectsIntersectingRect(m_index, r);
}

void VekView::invalidateObject(const VekObject &object)
{
    // Changes inside a drag post no notification: the index takes the area anew here.
    m_index.update(object);
    if (!marksWholeViewport())
        setNeedsDisplayInRect(insetRect(object.boundsToRedraw(), -5, -5));
    // An object the document no longer holds cannot stay selected.
    if (objectIsSelected(object) && m_document.indexOfObject(&object) < 0) {
        for (const auto &weak : m_selection.entries())
            if (auto o = weak.lock(); o.get() == &object) {
                deselectObject(o);
                break;
            }
    }
}

void VekView::invalidateObjects(const ObjectList &objects)
{
    for (const auto &object : objects)
        invalidateObject(*object);
}

void VekView::makeVisible(const VekObject &object)
{
    if (!intersectsRect(object.drawingBounds(), visibleRect()))
        scrollRectToVisible(object.drawingBounds());
}

void VekView::objectsChanged()
{
    display();
    NotificationCenter::defaultCenter().postNotificationName(VekViewObjectsDidChangeNotification, this);
}
