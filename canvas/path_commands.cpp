// The path commands of the selection and the conversion into plain path objects.
#include "canvas/path_commands.h"

#include "document/vek_document.h"
#include "model/object_registry.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_points.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/path_editing.h"

namespace {

// The tolerance the joined ends are given (the join works out its own from the sizes).
constexpr float MergeTolerance = 1.5f;

void nameUndoStep(CanvasCommandContext &context, const char *name)
{
    context.document.undoManager()->setActionName(localizedString(QString::fromLatin1(name)));
}

// Applies the object operation to every selected object; names the step when given.
template <typename Operation>
void applyToSelection(CanvasCommandContext &context, Operation operation, const char *undoName)
{
    if (context.selection.empty())
        return;
    for (const auto &object : context.selection)
        operation(*object);
    if (undoName)
        nameUndoStep(context, undoName);
}

} // namespace

void makeSmoother(CanvasCommandContext &context)
{
    applyToSelection(context, [](VekObject &o) { o.makeSmoother(); }, "Smooth");
}

void closeBezierPaths(CanvasCommandContext &context)
{
    applyToSelection(context, [](VekObject &o) {
        if (auto *path = dynamic_cast<VekObjPath *>(&o))
            path->closeBezierPath();
    }, "Close Path");
}

void makePositive(CanvasCommandContext &context)
{
    applyToSelection(context, [](VekObject &o) { o.makePositive(); }, nullptr);
}

void makeStraight(CanvasCommandContext &context)
{
    applyToSelection(context, [](VekObject &o) { o.makeStraight(); }, nullptr);
}

void pathReverse(CanvasCommandContext &context)
{
    applyToSelection(context, [](VekObject &o) { o.reverse(); }, "Reverse");
}

void mergeBezierPaths(CanvasCommandContext &context)
{
    if (context.selection.size() < 2)
        return;
    std::shared_ptr<VekObject> target;
    BezierPath joined;
    for (const auto &object : context.selection) {
        if (!object->hasEditablePath())
            continue;
        if (!target) {
            target = object;
            joined = object->bezierPath();
            continue;
        }
        connectTo(joined, object->bezierPath(), MergeTolerance);
        context.document.removeObject(object);
    }
    if (!target)
        return;
    target->startBoundsManipulation();
    target->setBezierPath(joined);
    target->setBounds(joined.bounds());
    target->stopBoundsManipulation();
    nameUndoStep(context, "Merge Paths");
}

void convertToNormal(CanvasCommandContext &context)
{
    if (context.selection.empty())
        return;
    for (const auto &old : context.selection) {
        const auto *marker = dynamic_cast<const VekObjMarker *>(old.get());
        if (!marker && !dynamic_cast<const VekObjPoints *>(old.get()))
            continue;
        const int index = context.document.indexOfObject(old.get());
        if (index < 0)
            continue;
        PropertyList oldDict = old->propertyListRepresentation();
        oldDict.insert(QStringLiteral("class"), QStringLiteral("VekObjPath"));
        if (marker) {
            if (const auto data = archivedDataWithRootObject(marker->strokeColor()))
                oldDict.insert(QStringLiteral("strokeColor"), PropertyList::fromData(*data.value));
            oldDict.remove(QStringLiteral("markerColor"));
        }
        const std::shared_ptr<VekObjPath> path = VekObjPath::create();
        PropertyList dict = path->propertyListRepresentation();
        for (const auto &entry : oldDict.entries())
            dict.insert(entry.first, entry.second);
        path->loadPropertyListRepresentation(dict);
        // In at the old object's place and in its group ("groupID"), then the old one goes.
        context.document.insertObject(path, index, false);
        context.document.removeObject(old);
    }
    nameUndoStep(context, "Class Conversion");
}
