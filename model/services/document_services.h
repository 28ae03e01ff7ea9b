// What the drawing objects ask of the document they belong to.
//
// The document (VekDocument) implements this. An object holds a plain pointer to it that
// the document sets with setDocument() and clears before it lets the object go; an object
// without a document (being created, copied or read, or inside the preview plug-in's
// reduced document) asks nothing and carries on. Tests supply a fake.
//
// The document's own commands that call into objects (the anchor and link panels, the
// toolbar's font controls, the export of the text) are not listed: the document calls the
// objects for those.
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"

#include <QMap>
#include <QString>

#include <memory>
#include <vector>

class CanvasServices;
class UndoManager;
class VekGroup;
class VekObject;

class DocumentServices {
public:
    virtual ~DocumentServices() = default;

    // The drawing objects, index 0 the front-most (drawn last); the object directly behind
    // another lies at that object's index + 1.
    virtual const std::vector<std::shared_ptr<VekObject>> &objects() const = 0;
    virtual UndoManager *undoManager() = 0;
    // Whether the document has a window; objects post their change and bounds
    // notifications only then.
    virtual bool hasWindow() const = 0;
    // The canvas, or null while the document has no window.
    virtual CanvasServices *vekView() = 0;
    // With a window: the canvas marks the object's redraw area; otherwise nothing.
    virtual void invalidateObject(const VekObject &object) = 0;
    // With a window: the canvas redraws the rectangle; otherwise nothing.
    virtual void vekViewNeedsDisplayInRect(const Rect &r) = 0;
    // The object's index in objects(), -1 when it is not there.
    virtual int indexOfObject(const VekObject *object) const
    {
        const auto &list = objects();
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].get() == object)
                return int(i);
        return -1;
    }

    // Changes of many objects at once (a move of the selection, an undo or redo): while the
    // document collects changes, an object hands each change to collectChange() and posts
    // nothing itself; at the end the canvas redraws them all and one
    // VekObjectsDidChangeNotification (sender: this document) goes out, during which
    // changedTogether() names the objects.
    virtual bool collectsChanges() const { return false; }
    virtual void collectChange(const VekObject &) {}
    virtual bool changedTogether(const VekObject *) const { return false; }

    // The stored page count, 1 or more.
    virtual int numberOfPages() const = 0;
    // One page's drawing area; its height is the distance from one page to the next.
    virtual Size drawAreaSizePerPage() = 0;
    // Appends a page after the last.
    virtual void addLastPage() = 0;

    // Drawing options.
    virtual bool useCMYK() const = 0;
    virtual bool smoothFonts() const = 0;
    virtual bool antialiasDraw() const = 0;
    // "1.5.1" for a new document; a document read from a file keeps the file's "version".
    virtual QString documentVersion() const = 0;

    // The document's common drop shadow.
    virtual bool shadowState() const = 0;
    virtual float shadowBlur() const = 0;
    // (offset cos t, offset sin t) with a = angle - 90 (+ 360 when negative), t = -a pi / 180.
    virtual Size shadowOffsetSize() const = 0;
    // The offset for an object whose smaller side is `side`.
    virtual Size shadowOffsetFor(float side) const = 0;
    // A dictionary with "angle", "blur", "offset" (numbers) and "color" (archived colour data).
    virtual PropertyList documentShadowValues() const = 0;

    // Links in text.
    virtual Color linkTextColor() const = 0;
    virtual int linkTextULine() const = 0;
    // The canvas rectangle of the named anchor ("#" included), or the zero rectangle.
    virtual Rect anchorInView(const QString &anchorName) const = 0;
    // Continues a find-panel search (the panel's action tag) in the text objects after this one.
    virtual void continueFindAfter(const VekObject &textObject, int senderTag) = 0;

    // The toolbar's lists of recently used colours, fonts and sizes.
    virtual void updateMyColorWith(const Color &color) = 0;
    virtual void updateMyFontWith(const QString &fontName) = 0;
    virtual void updateMySizeWith(float size) = 0;

    // Groups of objects by identifier.
    virtual QMap<QString, std::shared_ptr<VekGroup>> groups() const = 0;
    virtual std::shared_ptr<VekGroup> groupFor(const QString &groupID) const = 0;
    // Inserts the object into the list and adopts it (setDocument).
    virtual void insertObject(const std::shared_ptr<VekObject> &object, int index, bool ignoreGroup) = 0;
};
