// The arrow tool's drags: moving the selection, resizing an object by a knob (the other
// selected objects following), dragging one path point; and the keyboard nudge. Each ends
// with one named undo step. The work grows with the number of objects moved, never with
// its square: the objects' changes are collected and redrawn together.
#include "canvas/ui/vek_view.h"

#include "canvas/ui/busy_cursor.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/geometry_extensions.h"

#include <cmath>

namespace {

bool isLeftKnob(int k) { return k == 1 || k == 4 || k == 6; }
bool isRightKnob(int k) { return k == 3 || k == 5 || k == 8; }
bool isTopKnob(int k) { return k == 1 || k == 2 || k == 3; }
bool isBottomKnob(int k) { return k == 6 || k == 7 || k == 8; }

float atLeast(float value, float least) { return std::max(value, least); }

float snapToGrid(float value, float spacing, float offset)
{
    return std::floor((value - offset) / spacing + 0.5f) * spacing + offset;
}

// The clip paths among the selected objects clip the unselected object directly in front.
std::vector<std::shared_ptr<VekObject>> clippedByMovedClipPaths(const VekDocument &document,
                                                                const VekView &view)
{
    std::vector<std::shared_ptr<VekObject>> clipped;
    for (const auto &object : view.selectedObjects()) {
        const int index = document.indexOfObject(object.get());
        if (object->clipType() > 0 && index >= 1) {
            const auto &front = document.objects()[size_t(index - 1)];
            if (!view.objectIsSelected(*front))
                clipped.push_back(front);
        }
    }
    return clipped;
}

} // namespace

void VekView::moveSelectedObjectsWithEvent(const MouseEvent &event)
{
    const bool snaps = snapsToGrid() && gridSpacing() > 0;
    const Point start = convertPointFromWindow(event.locationInWindow);
    const Rect selectionBounds = selectedObjectsBounds();
    const Point offset = snaps || rulersVisible()
                             ? Point{start.x - selectionBounds.origin.x, start.y - selectionBounds.origin.y}
                             : Point{0, 0};
    // Each step redraws where the objects were and where they go: for a few objects each
    // one's areas, for many the area of them all, moved along (marking an area per object
    // would cost more than drawing their union). The index moves each object's area with it.
    const ObjectList selected = selectedObjects();
    constexpr size_t FewObjects = 64;
    Rect movedArea;
    if (selected.size() > FewObjects)
        for (const auto &object : selected)
            movedArea = unionRect(movedArea, insetRect(object->boundsToRedraw(), -5, -5));
    const auto moveSelectionBy = [this, &selected, &movedArea](float dx, float dy) {
        if (selected.size() > FewObjects) {
            setNeedsDisplayInRect(movedArea);
            movedArea = offsetRect(movedArea, dx, dy);
            setNeedsDisplayInRect(movedArea);
        }
        for (const auto &object : selected) {
            const bool each = selected.size() <= FewObjects && !marksWholeViewport();
            if (each)
                setNeedsDisplayInRect(insetRect(object->boundsToRedraw(), -5, -5));
            object->moveBy(dx, dy);
            m_index.moveBy(*object, dx, dy);
            if (each)
                setNeedsDisplayInRect(insetRect(object->boundsToRedraw(), -5, -5));
        }
    };
    bool started = false, moved = false, leftView = false;
    Point last = start;
    for (MouseEvent next = event; next.type != EventType::LeftMouseUp;) {
        next = eventSource().nextEvent(DragOrUpMask);
        if (next.type == EventType::LeftMouseUp)
            break;
        // Out of the window the move becomes a drag of copies: the objects go back first.
        if (started && pointLeavesView(next.locationInWindow)) {
            moveSelectionBy(start.x - last.x, start.y - last.y);
            moved = false;
            leftView = true;
            break;
        }
        Point c = convertPointFromWindow(next.locationInWindow);
        autoscroll(next);
        if (!started) {
            if (std::abs(c.x - start.x) < 2 && std::abs(c.y - start.y) < 2)
                continue;
            started = true;
            for (const auto &object : selected)
                object->startBoundsManipulation();
            m_knobsHidden = true;
        }
        if (std::abs(c.x - last.x) <= 1 && std::abs(c.y - last.y) <= 1)
            continue;
        if (snaps) {
            c.x = snapToGrid(c.x, gridSpacing(), offset.x);
            c.y = snapToGrid(c.y, gridSpacing(), offset.y);
        }
        if (c != last) {
            moveSelectionBy(c.x - last.x, c.y - last.y);
            moved = true;
        }
        last = c;
    }
    if (rulersVisible())
        updateRulers();
    if (!started)
        return;
    {
        // One undoable change of each object's bounds, redrawn and announced together.
        BusyCursor busy(selected.size() >= BusyCursor::ManyObjects);
        m_document.beginChangeBatch();
        for (const auto &object : selected)
            object->stopBoundsManipulation();
        if (moved)
            for (const auto &object : clippedByMovedClipPaths(m_document, *this))
                object->didChange();
        m_document.endChangeBatch();
    }
    m_knobsHidden = false;
    m_selectedBoundsCache = Rect();
    if (moved) {
        m_document.undoManager()->setActionName(localizedString(QStringLiteral("Move")));
        display();
    }
    if (leftView)
        dragSelectionOut();
}

void VekView::resizeObjectDraggingKnobWithEvent(const std::shared_ptr<VekObject> &object, int knob,
                                                const MouseEvent &event)
{
    const bool snaps = snapsToGrid() && gridSpacing() > 0;
    const ObjectList selected = selectedObjects();
    const Rect before = object->bounds();
    object->startBoundsManipulation();
    for (MouseEvent next = event; next.type != EventType::LeftMouseUp;) {
        next = eventSource().nextEvent(DragOrUpMask);
        Point c = convertPointFromWindow(next.locationInWindow);
        autoscroll(next);
        invalidateObject(*object);
        if (snaps) {
            c.x = snapToGrid(c.x, gridSpacing(), 0);
            c.y = snapToGrid(c.y, gridSpacing(), 0);
        }
        knob = object->resizeByMovingKnob(knob, c);
        invalidateObject(*object);
    }
    object->stopBoundsManipulation();

    // The other selected objects follow in proportion.
    if (selected.size() > 1) {
        const Rect after = object->bounds();
        const float w0 = atLeast(before.width(), 0.1f), h0 = atLeast(before.height(), 0.1f);
        const float w1 = atLeast(after.width(), 0.1f), h1 = atLeast(after.height(), 0.1f);
        const bool horizontal = isLeftKnob(knob) || isRightKnob(knob);
        const bool vertical = isTopKnob(knob) || isBottomKnob(knob);
        const float sx = horizontal ? w1 / w0 : 1, sy = vertical ? h1 / h0 : 1;
        const float dx = isLeftKnob(knob) ? after.origin.x - before.origin.x : 0;
        const float dy = isTopKnob(knob) ? after.origin.y - before.origin.y : 0;
        m_document.beginChangeBatch();
        for (const auto &other : selected) {
            if (other == object)
                continue;
            Rect b = other->bounds();
            if (sx != 1)
                b.size.width = atLeast(b.width(), 0.1f) * sx;
            if (dx > 0)
                b.origin.x += dx * (b.width() / w1);
            if (sy != 1)
                b.size.height = atLeast(b.height(), 0.1f) * sy;
            if (dy > 0)
                b.origin.y += dy * (b.height() / h1);
            other->setBounds(b);
        }
        m_document.endChangeBatch();
    }
    m_selectedBoundsCache = Rect();
    if (rulersVisible())
        updateRulers();
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Resize")));
    display();
}

void VekView::trackPointNrInElementOfObjectWithEvent(int point, int element, const std::shared_ptr<VekObject> &object,
                                                     const MouseEvent &event)
{
    if (point < 0 || element < 0 || !object || event.type != EventType::LeftMouseDown)
        return;
    Point last = convertPointFromWindow(event.locationInWindow);
    object->startBoundsManipulation();
    for (MouseEvent next = event;;) {
        next = eventSource().nextEvent(DragOrUpMask);
        if (next.type == EventType::LeftMouseUp)
            break;
        const Point c = convertPointFromWindow(next.locationInWindow);
        autoscroll(next);
        object->dragPathPointNr(point, element, c);
        const Rect swept = VekRectFromPoints(last, c);
        if (swept.width() > 0 && swept.height() > 0)
            setNeedsDisplayInRect(insetRect(swept, -4, -4));
        invalidateObject(*object);
        last = c;
    }
    object->stopBoundsManipulation();
    m_selectedBoundsCache = Rect();
    if (rulersVisible())
        updateRulers();
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Reshape")));
}

void VekView::moveSelectedObjectsByPoint(Point offset)
{
    const ObjectList selected = selectedObjects();
    if (selected.empty())
        return;
    BusyCursor busy(selected.size() >= BusyCursor::ManyObjects);
    hideKnobsMomentarily();
    m_document.beginChangeBatch();
    for (const auto &object : selected)
        object->moveSimplyBy(offset.x, offset.y);
    m_document.endChangeBatch();
    m_selectedBoundsCache = Rect();
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Nudge")));
}
