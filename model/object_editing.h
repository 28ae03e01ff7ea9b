// The in-place editing of a drawing object, as the canvas drives it.
//
// An object edited in place (a path's points, a point-pen path, a page-number field; text
// boxes and tables do the same with an editor component) answers VekObject::editing() with
// this interface; kinds that are not edited in place answer null. The canvas starts the
// editing on a double-click, routes clicks, keys and the delete, copy and paste commands to
// the edited object while it is the canvas's editing object, asks it for its cursor areas,
// and ends the editing through endEditingInView. The object reports the start and the end
// through CanvasServices::setEditingObject.
#pragma once

#include "model/services/cursor_rect.h"
#include "model/services/event_source.h"

#include <QChar>

#include <vector>

class CanvasServices;

class ObjectEditing {
public:
    virtual ~ObjectEditing() = default;

    // Starts editing; `event` is the click that started it (a default event when a command
    // started it, so that no click places a cursor).
    virtual void startEditingWithEvent(const MouseEvent &event, CanvasServices *view) = 0;
    // A mouse-down on the object while it is edited.
    virtual void editWithEvent(const MouseEvent &event, CanvasServices *view) = 0;
    // A key while editing; true when the object used it (else the canvas's own keys apply).
    virtual bool keyDownWhileEditing(QChar character, unsigned modifierFlags, CanvasServices *view) { return false; }
    // The edit commands while editing; true when the object handled them, else the canvas
    // applies them to the selected objects.
    virtual bool deleteWhileEditing(CanvasServices *view) { return false; }
    virtual bool copyWhileEditing(CanvasServices *view) { return false; }
    virtual bool pasteWhileEditing(CanvasServices *view) { return false; }
    // Ends the editing and reports it to the canvas.
    virtual void endEditingInView(CanvasServices *view) = 0;
    // The cursor areas while the object is edited, given the modifier keys held now.
    virtual std::vector<CursorRect> editingCursorRects(unsigned modifierFlags, const CanvasServices *view) const
    {
        return {};
    }
};
