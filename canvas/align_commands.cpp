// Align, same size, equal spacing and the ruler drag of the selection.
#include "canvas/align_commands.h"

#include "canvas/object_hit_test.h"
#include "canvas/stacking_order.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"

#include <algorithm>

namespace {

using Objects = std::vector<std::shared_ptr<VekObject>>;

constexpr float MinimumSide = 0.1f;

// Names the command's undo step; a command that changed nothing has no step, and must not
// rename the one before it.
void nameUndoStep(CanvasCommandContext &context, bool changed, const char *name)
{
    if (changed)
        context.document.undoManager()->setActionName(localizedString(QString::fromLatin1(name)));
}

// Gives the object the bounds unless it has them already, so that no needless undo
// actions arise; true when it changed.
bool setBoundsIfChanged(VekObject &object, const Rect &bounds)
{
    if (object.bounds() == bounds)
        return false;
    object.setBounds(bounds);
    return true;
}

Rect aligned(Rect bounds, const Rect &reference, AlignEdge edge)
{
    switch (edge) {
    case AlignEdge::Left:
        bounds.origin.x = reference.origin.x;
        break;
    case AlignEdge::Right:
        bounds.origin.x = reference.origin.x + reference.size.width - bounds.size.width;
        break;
    case AlignEdge::HorizontalCentre:
        bounds.origin.x = reference.origin.x + 0.5f * reference.size.width - 0.5f * bounds.size.width;
        break;
    case AlignEdge::Top:
        bounds.origin.y = reference.origin.y;
        break;
    case AlignEdge::Bottom:
        bounds.origin.y = reference.origin.y + reference.size.height - bounds.size.height;
        break;
    case AlignEdge::VerticalCentre:
        bounds.origin.y = reference.origin.y + 0.5f * reference.size.height - 0.5f * bounds.size.height;
        break;
    }
    return bounds;
}

const char *alignUndoName(AlignEdge edge)
{
    switch (edge) {
    case AlignEdge::HorizontalCentre:
        return "Align Horizontal Centers";
    case AlignEdge::VerticalCentre:
        return "Align Vertical Centers";
    default:
        return "Align Edges";
    }
}

enum class Axis { Horizontal, Vertical };

void makeSameSize(CanvasCommandContext &context, Axis axis)
{
    if (context.selection.size() < 2)
        return;
    const Size reference = context.selection.front()->bounds().size;
    bool changed = false;
    for (auto it = context.selection.begin() + 1; it != context.selection.end(); ++it) {
        Rect bounds = (*it)->bounds();
        if (axis == Axis::Vertical)
            bounds.size.height = reference.height;
        else
            bounds.size.width = reference.width;
        changed |= setBoundsIfChanged(**it, bounds);
    }
    nameUndoStep(context, changed, axis == Axis::Vertical ? "Make Same Height" : "Make Same Width");
}

void makeEqualOffset(CanvasCommandContext &context, Axis axis)
{
    if (context.selection.size() < 3)
        return;
    const bool vertical = axis == Axis::Vertical;
    Objects sorted = context.selection;
    sortObjectsByKey(sorted, QString::fromLatin1(vertical ? "tcPosY" : "tcPosX"));
    const auto start = [vertical](const Rect &r) { return vertical ? r.origin.y : r.origin.x; };
    const auto end = [vertical](const Rect &r) {
        return vertical ? r.origin.y + r.size.height : r.origin.x + r.size.width;
    };
    const float gap = start(sorted[1]->bounds()) - end(sorted[0]->bounds());
    float previousEnd = end(sorted[1]->bounds());
    bool changed = false;
    for (size_t i = 2; i < sorted.size(); ++i) {
        Rect bounds = sorted[i]->bounds();
        (vertical ? bounds.origin.y : bounds.origin.x) = previousEnd + gap;
        changed |= setBoundsIfChanged(*sorted[i], bounds);
        previousEnd = end(bounds);
    }
    nameUndoStep(context, changed, vertical ? "Offset Vertically Equal" : "Offset Horizontally Equal");
}

float atLeastMinimum(float side)
{
    return std::max(side, MinimumSide);
}

Rect unionOfBounds(const Objects &objects)
{
    Rect united;
    for (const auto &object : objects)
        united = unionRect(united, withLeastSize(object->bounds(), MinimumSide));
    return united;
}

} // namespace

void alignObjects(CanvasCommandContext &context, const Objects &objects, const Rect &reference, AlignEdge edge)
{
    bool changed = false;
    for (size_t i = 1; i < objects.size(); ++i)
        changed |= setBoundsIfChanged(*objects[i], aligned(objects[i]->bounds(), reference, edge));
    nameUndoStep(context, changed, alignUndoName(edge));
}

void alignSelection(CanvasCommandContext &context, AlignEdge edge)
{
    if (context.selection.size() < 2)
        return;
    alignObjects(context, context.selection, context.selection.front()->bounds(), edge);
}

void makeSameHeight(CanvasCommandContext &context)
{
    makeSameSize(context, Axis::Vertical);
}

void makeSameWidth(CanvasCommandContext &context)
{
    makeSameSize(context, Axis::Horizontal);
}

void makeVerticallyEqualOffset(CanvasCommandContext &context)
{
    makeEqualOffset(context, Axis::Vertical);
}

void makeHorizontallyEqualOffset(CanvasCommandContext &context)
{
    makeEqualOffset(context, Axis::Horizontal);
}

void setSelectedObjectsBoundRelativeTo(CanvasCommandContext &context, const Rect &rect,
                                       const std::shared_ptr<VekObject> &base)
{
    const Objects &selection = context.selection;
    if (selection.empty() || !base)
        return;
    if (selection.size() == 1 && selection.front() == base) {
        base->setBounds(rect);
        return;
    }
    const Rect baseBounds = base->bounds();
    const float sx = atLeastMinimum(rect.size.width) / atLeastMinimum(baseBounds.size.width);
    const float sy = atLeastMinimum(rect.size.height) / atLeastMinimum(baseBounds.size.height);

    if (sx == 1.0f && sy == 1.0f) {
        const float dx = rect.origin.x - baseBounds.origin.x, dy = rect.origin.y - baseBounds.origin.y;
        Rect redraw = baseBounds;
        for (const auto &object : selection) {
            redraw = unionRect(redraw, object->boundsToRedraw());
            object->moveBy(dx, dy);
        }
        context.host.setNeedsDisplayInRect(redraw);
        return;
    }

    // The selection's new top-left corner is where the base object ends up on `rect`.
    const Rect selectionBounds = unionOfBounds(selection);
    const float left = rect.origin.x + sx * (selectionBounds.origin.x - baseBounds.origin.x);
    const float top = rect.origin.y + sy * (selectionBounds.origin.y - baseBounds.origin.y);
    for (const auto &object : selection) {
        const Rect bounds = object->bounds();
        Rect scaled = bounds;
        if (sx != 1.0f) {
            scaled.size.width = sx * atLeastMinimum(bounds.size.width);
            scaled.origin.x = left + sx * (bounds.origin.x - selectionBounds.origin.x);
        }
        if (sy != 1.0f) {
            scaled.size.height = sy * atLeastMinimum(bounds.size.height);
            scaled.origin.y = top + sy * (bounds.origin.y - selectionBounds.origin.y);
        }
        object->setBounds(scaled);
    }
}
