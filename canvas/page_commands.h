// Adding, inserting, removing and moving pages together with the objects on them.
//
// Each object that lies on one page belongs to the page holding its top edge
// (page_membership.h) and moves with that page; objects that repeat on pages stay where
// they are. Every object move and deletion registers its own undo, and the page count
// registers its own, so undoing a page change puts every object back exactly where it was.
// The background PDF's page list follows each change.
#pragma once

#include "canvas/canvas_command_context.h"

// Sets the page count alone (at least 1): no objects move and nothing is undoable.
void setPageCount(CanvasCommandContext &context, int count);
// A new page after page p (the objects of later pages move down; after the last page
// nothing moves and the current page stays), before page p (the objects of page p and
// later move down; page p becomes current), or page p removed (the objects lying wholly on
// it are deleted, those of later pages move up, the page before becomes current). Undo step
// "Page Change".
void addPageAfter(CanvasCommandContext &context, int page);
void insertPageAt(CanvasCommandContext &context, int page);
void removePageAt(CanvasCommandContext &context, int page);
// Moves page `from` to the place of page `to`; the pages between close up. Page `to`
// becomes current.
void movePage(CanvasCommandContext &context, int from, int to);

// The menu and toolbar commands on the current page.
void insertPage(CanvasCommandContext &context);
void addPage(CanvasCommandContext &context);
void addLastPage(CanvasCommandContext &context);
// Beeps for the only page; otherwise asks before it deletes the page.
void removePage(CanvasCommandContext &context);
void movePageUp(CanvasCommandContext &context);
void movePageDown(CanvasCommandContext &context);
