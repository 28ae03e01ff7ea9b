// Which of the canvas's menu commands are enabled, and the check marks and titles of its
// toggles, for the present state of the canvas.
//
// The application shell asks again whenever the menu opens and whenever the selection,
// the editing, the background or the rulers change, so that disabled commands' shortcuts
// do not fire.
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class VekObject;

enum class CanvasAction {
    SnapsToGrid,
    HideTemplate,
    ShowInvisibleChars,
    ShowAnchors,
    MakeStraight,
    MakeSmoother,
    PathReverse,
    CloseBezierPath,
    ConvertToNormal,
    BringToFront,
    SendToBack,
    Delete,
    Duplicate,
    Copy,
    Cut,
    MakeSameWidth,
    MakeSameHeight,
    Group,
    Ungroup,
    MergeBezierPaths,
    ToggleRulers,
    Paste,
    MakePositive,
};

// What the validation looks at.
struct CanvasMenuState {
    std::vector<std::shared_ptr<VekObject>> selection;
    bool snapsToGrid = false;
    bool hasBackground = false;        // a background PDF or image
    bool backgroundHidden = false;
    bool editingText = false;          // an in-place text editor is open
    bool showInvisibleChars = false;
    bool showAnchors = false;
    bool rulersVisible = false;
};

struct MenuItemState {
    bool enabled = true;
    std::optional<bool> checked;       // absent: the item's check mark stays as it is
    std::optional<QString> title;      // absent: the item's title stays
};

MenuItemState validateCanvasAction(CanvasAction action, const CanvasMenuState &state);
