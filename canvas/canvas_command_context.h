// What the canvas's commands work on: the document, the selection, the current page and
// zoom, and the few things they must ask of the canvas widget.
//
// The commands (page, arrange, align and spacing commands, menu validation) are plain
// functions in the model library, so they run without a window. The canvas widget builds a
// context for each menu action and implements CanvasCommandHost; tests use a fake host.
#pragma once

#include "canvas/canvas_notifications.h"
#include "platform/geometry/geometry.h"

#include <memory>
#include <vector>

class VekDocument;
class VekObject;

// What the commands need the canvas widget to do.
class CanvasCommandHost {
public:
    virtual ~CanvasCommandHost() = default;

    virtual void setNeedsDisplayInRect(const Rect &rect) = 0;
    // Refreshes the rulers' markers of the selection.
    virtual void updateRulers() = 0;
    // Makes the page current (kept within the document's pages), scrolls it into view and
    // shows it in the toolbar.
    virtual void setCurrentPageTo(int page) = 0;
    // The document's page count or page size changed: the canvas resizes itself.
    virtual void updateFrame() = 0;
    // Applies a zoom in percent.
    virtual void setCurrentZoom(int percent) = 0;
    // Asks whether the page may be deleted ("Delete page %d"); true to delete.
    virtual bool confirmPageRemoval(int page) = 0;
    // The system beep, for a command that cannot be carried out.
    virtual void beep() = 0;
    // Makes the object the only selected one (commands that make a new object).
    virtual void selectObjectExclusively(const std::shared_ptr<VekObject> &object) = 0;
    // The part of the canvas on screen, in canvas coordinates (new objects without a place
    // of their own go to its top-left corner).
    virtual Rect visibleRect() const = 0;
};

struct CanvasCommandContext {
    VekDocument &document;
    CanvasCommandHost &host;
    // The selected objects in the order they were selected (the canvas's own list is a
    // separate one: commands that remove objects change it, this copy stays).
    std::vector<std::shared_ptr<VekObject>> selection;
    int currentPage = 1;
    int zoom = 100;
    // The canvas's identity: the sender of its notifications and the target of the undo
    // actions the commands register on its behalf.
    const void *canvas = nullptr;
};
