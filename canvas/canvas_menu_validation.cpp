// The canvas's menu validation table.
#include "canvas/canvas_menu_validation.h"

#include "model/vek_obj_marker.h"
#include "model/vek_obj_points.h"
#include "platform/foundation/localized_strings.h"

#include <algorithm>

namespace {

using Objects = std::vector<std::shared_ptr<VekObject>>;

int editablePathCount(const Objects &selection)
{
    return int(std::count_if(selection.begin(), selection.end(),
                             [](const auto &object) { return object->hasEditablePath(); }));
}

bool holdsPointsOrMarker(const Objects &selection)
{
    return std::any_of(selection.begin(), selection.end(), [](const auto &object) {
        return dynamic_cast<const VekObjPoints *>(object.get()) || dynamic_cast<const VekObjMarker *>(object.get());
    });
}

MenuItemState enabledWhen(bool enabled)
{
    return {enabled, std::nullopt, std::nullopt};
}

} // namespace

MenuItemState validateCanvasAction(CanvasAction action, const CanvasMenuState &state)
{
    const Objects &selection = state.selection;
    switch (action) {
    case CanvasAction::SnapsToGrid:
        return {true, state.snapsToGrid, std::nullopt};
    case CanvasAction::HideTemplate:
        if (!state.hasBackground)
            return enabledWhen(false);
        return {true, state.backgroundHidden, std::nullopt};
    case CanvasAction::ShowInvisibleChars:
        return {state.editingText, state.showInvisibleChars, std::nullopt};
    case CanvasAction::ShowAnchors:
        return {true, state.showAnchors, std::nullopt};
    case CanvasAction::MakeStraight:
    case CanvasAction::MakeSmoother:
    case CanvasAction::PathReverse:
    case CanvasAction::CloseBezierPath:
        return enabledWhen(editablePathCount(selection) > 0);
    case CanvasAction::ConvertToNormal:
        return enabledWhen(holdsPointsOrMarker(selection));
    case CanvasAction::BringToFront:
    case CanvasAction::SendToBack:
    case CanvasAction::Delete:
    case CanvasAction::Duplicate:
    case CanvasAction::Copy:
    case CanvasAction::Cut:
        return enabledWhen(!selection.empty());
    case CanvasAction::MakeSameWidth:
    case CanvasAction::MakeSameHeight:
    case CanvasAction::Group:
    case CanvasAction::Ungroup:
        return enabledWhen(selection.size() > 1);
    case CanvasAction::MergeBezierPaths:
        return enabledWhen(selection.size() > 1 && editablePathCount(selection) >= 2);
    case CanvasAction::ToggleRulers:
        return {true, std::nullopt,
                localizedString(state.rulersVisible ? QStringLiteral("Hide Rulers") : QStringLiteral("Show Rulers"))};
    case CanvasAction::Paste:
    case CanvasAction::MakePositive:
        break;
    }
    return enabledWhen(true);
}
