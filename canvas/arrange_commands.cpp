// Group, ungroup, stacking order and delete of the selection.
#include "canvas/arrange_commands.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"

namespace {

void postNotification(const CanvasCommandContext &context, const QString &name)
{
    NotificationCenter::defaultCenter().postNotificationName(name, context.canvas);
}

void nameUndoStep(CanvasCommandContext &context, const char *name)
{
    context.document.undoManager()->setActionName(localizedString(QString::fromLatin1(name)));
}

// Names the step of a reordering, unless nothing moved (then there is no step of its own
// and the one before keeps its name).
void nameReorderStep(CanvasCommandContext &context, const std::vector<std::shared_ptr<VekObject>> &before,
                     const char *name)
{
    if (context.document.objects() != before)
        nameUndoStep(context, name);
}

} // namespace

void groupSelection(CanvasCommandContext &context)
{
    if (context.selection.size() < 2)
        return;
    context.document.groupObjects(context.selection);
    postNotification(context, VekViewGroupsDidChangeNotification);
}

void ungroupSelection(CanvasCommandContext &context)
{
    if (context.selection.size() < 2)
        return;
    context.document.ungroupObjects(context.selection);
    postNotification(context, VekViewGroupsDidChangeNotification);
}

void bringToFront(CanvasCommandContext &context)
{
    if (context.selection.empty())
        return;
    const auto before = context.document.objects();
    for (auto it = context.selection.rbegin(); it != context.selection.rend(); ++it)
        context.document.moveObject(*it, 0);
    postNotification(context, VekViewSelectionDidChangeNotification);
    nameReorderStep(context, before, "Bring To Front");
}

void sendToBack(CanvasCommandContext &context)
{
    if (context.selection.empty())
        return;
    const auto before = context.document.objects();
    const int behindAll = int(before.size());
    for (const auto &object : context.selection)
        context.document.moveObject(object, behindAll);
    postNotification(context, VekViewSelectionDidChangeNotification);
    nameReorderStep(context, before, "Send To Back");
}

void deleteSelection(CanvasCommandContext &context)
{
    if (context.selection.empty())
        return;
    if (context.selection.size() == 1) {
        VekObject &object = *context.selection.front();
        if (object.selectedElementNr() > -1 && object.removeElementNr(object.selectedElementNr()))
            return;
    }
    for (const auto &object : context.selection)
        context.document.removeObject(object);
    nameUndoStep(context, "Delete");
    postNotification(context, VekViewSelectionDidChangeNotification);
    context.host.updateRulers();
}
