// What the drawing objects ask of the canvas that shows their document.
//
// The canvas (VekView) implements this; an object reaches it through its document's
// vekView(), which is null while the document has no window (as in the preview plug-in),
// and then handles no page boundaries. Tests supply a fake.
//
// Not listed here are the canvas's own commands that route to an edited object (delete,
// copy and paste, the key hook, mouse-down, cursor areas, creating an object of the
// selected tool): the canvas calls the objects for those through their ObjectEditing
// (model/object_editing.h), not the other way round.
#pragma once

#include "model/services/event_source.h"
#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

#include <memory>
#include <vector>

class VekObject;
class TextView;   // the in-place field editor or a table's cell editor

class CanvasServices {
public:
    virtual ~CanvasServices() = default;

    // Pages lie one below the other without gaps, all of the document's drawAreaSizePerPage.
    // The rectangle of page n (from 1) in canvas coordinates.
    virtual Rect rectForPage(int page) const = 0;
    // The page whose band holds the point's y, kept within 1 and numberOfPages().
    virtual int pageIncludingPoint(Point p) const = 0;
    // ceil(y / page height): y in (0, H] is page 1, y = 0 gives 0.
    virtual int pageOfLocation(Point p) const = 0;
    // The page being drawn or laid out now (from 1); below 1 means no particular page.
    virtual int drawingPage() const = 0;
    virtual int currentPage() const = 0;
    virtual int numberOfPages() const = 0;
    // The point relative to the top left of its page.
    virtual Point convertRelativeToPage(Point p) const = 0;

    // The zoom as an integer percentage (100 = actual size).
    virtual int currentZoom() const = 0;
    virtual float gridSpacing() const = 0;
    virtual bool snapsToGrid() const = 0;
    virtual bool shouldDrawControlLines() const = 0;
    virtual bool shouldDrawControlPoints() const = 0;
    // Fills the knob square of the current zoom at the point with the colour and frames it
    // (line width 0) in the colour's shadowWithLevel(0.5), in the current graphics context.
    virtual void drawKnobAtPoint(Point p, const Color &color) = 0;
    // The colour behind the pages (never "none"; CMYK when the document uses CMYK).
    virtual Color backgroundColor() const = 0;
    // Set while drawing for PDF output.
    virtual bool drawingToPDF() const = 0;
    // Set while drawing to save an image or export: no selection marks, no markers.
    virtual bool drawingToSave() const = 0;

    // Marks the object's boundsToRedraw() as needing display.
    virtual void invalidateObject(const VekObject &object) = 0;
    virtual bool objectIsSelected(const VekObject &object) const = 0;
    virtual void selectObjectExclusively(const std::shared_ptr<VekObject> &object) = 0;
    // The same objects ordered by their index in the document's list, front-most first.
    virtual std::vector<std::shared_ptr<VekObject>> sortObjectsInOrder(
        const std::vector<std::shared_ptr<VekObject>> &objects) const = 0;

    // In-place editing: the edited object and the view that edits it, each null when none.
    virtual std::shared_ptr<VekObject> editingObject() const = 0;
    virtual TextView *editorView() const = 0;
    // Records both (null ends editing); the canvas then routes clicks, keys and edit
    // commands to the object. An editor component given here is hosted by the canvas: drawn
    // over the object at the canvas's zoom and given the keys and input-method events, until
    // editing ends. The object keeps owning the editor.
    virtual void setEditingObject(const std::shared_ptr<VekObject> &object, TextView *editor) = 0;
    // Rebuilds the cursor areas from the current state (after editing starts or ends, and
    // when what a click would do changes).
    virtual void resetCursorRects() = 0;
    // Ends any in-place editing through the edited object's endEditingInView().
    virtual void endEditing() = 0;
    // The object a creation tool is dragging out, or null.
    virtual std::shared_ptr<VekObject> creatingObject() const = 0;
    // The page line space holder over the current page's line space, or null.
    virtual std::shared_ptr<VekObject> currentPageLineSpaceHolder() const = 0;
    // The mouse in view coordinates, or NoPoint when it is outside the visible rectangle.
    virtual Point currentGlobalMouseInView() const = 0;
    virtual bool showInvisibleChars() const = 0;
    // Whether the canvas leaves the page backgrounds (image, PDF) out.
    virtual bool backgroundHidden() const { return false; }
    virtual void disableTextRulerAccessory() = 0;
    // Refreshes the rulers' markers; call only when rulersVisible().
    virtual void updateRulers() = 0;

    // View operations.
    virtual Rect visibleRect() const = 0;
    virtual void setNeedsDisplayInRect(const Rect &r) = 0;
    // Redraws now.
    virtual void displayRect(const Rect &r) = 0;
    virtual void display() = 0;
    // The document's page count, page size or resolution changed: the canvas takes its new
    // size and scroll range and redraws.
    virtual void updateFrame() {}
    // Scrolls when the event lies outside the visible rectangle.
    virtual void autoscroll(const MouseEvent &event) = 0;
    // Whether the enclosing scroll view shows its rulers.
    virtual bool rulersVisible() const = 0;
    virtual void scrollRectToVisible(const Rect &r) = 0;
    virtual bool hasWindow() const = 0;
    // The canvas's bounds; their size is the largest a text object may grow to.
    virtual Rect bounds() const = 0;
    // A point of the window's content in canvas coordinates.
    virtual Point convertPointFromWindow(Point p) const = 0;
    // Where the objects' tracking loops take their events from.
    virtual EventSource &eventSource() = 0;
};
