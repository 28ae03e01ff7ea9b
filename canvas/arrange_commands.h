// Grouping and the stacking order of the selection, and deleting it.
//
// Each command checks the selection first and does nothing, silently, when it does not
// suit; the menu validation enables the items by the same conditions.
#pragma once

#include "canvas/canvas_command_context.h"

// With more than one object selected: one new group of the selection, or the dissolution
// of the top-level groups the selection lies in; then the groups notification.
void groupSelection(CanvasCommandContext &context);
void ungroupSelection(CanvasCommandContext &context);

// The selection in front of all other objects (the first selected front-most) or behind
// them (the last selected back-most). Undo steps "Bring To Front", "Send To Back".
void bringToFront(CanvasCommandContext &context);
void sendToBack(CanvasCommandContext &context);

// A single selected object with a selected path element loses that element; otherwise the
// selected objects leave the document (undo step "Delete"). An object edited in place
// handles delete itself before the canvas calls this.
void deleteSelection(CanvasCommandContext &context);
