// DocInfoCanvas: what the document info panel asks of the document window it shows: the
// document, the canvas's selection and current page, editing on the canvas, the page
// preview and the window's name.
//
// The panels lie below the canvas widget and the document windows, so the application gives
// each document window an adapter of this kind (a child of the window, gone with it); the
// panel keeps it through a QPointer.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class VekDocument;
class VekObject;

class DocInfoCanvas : public QObject {
public:
    using ObjectList = std::vector<std::shared_ptr<VekObject>>;

    using QObject::QObject;

    virtual VekDocument &document() const = 0;
    // The sender of the canvas's notifications.
    virtual const void *canvasIdentity() const = 0;
    // The file's name, or the untitled name.
    virtual QString displayName() const = 0;

    // ---- Selection ----
    virtual ObjectList selectedObjects() const = 0;
    virtual std::shared_ptr<VekObject> currentObject() const = 0;
    // Replaces the selection (no group rules); the first becomes the current object.
    virtual void selectObjects(const ObjectList &objects) = 0;
    // Selects part of a group.
    virtual void selectObjectsInGroup(const ObjectList &objects, const QString &groupID) = 0;
    virtual void deselectObject(const std::shared_ptr<VekObject> &object) = 0;
    virtual void clearSelection() = 0;
    virtual void setCurrentObject(const std::shared_ptr<VekObject> &object) = 0;
    virtual void makeVisible(const VekObject &object) = 0;
    virtual int currentPage() const = 0;

    // The page size, paper or resolution changed: the canvas, its rulers and its scroll
    // range follow.
    virtual void pageGeometryChanged() = 0;
    // The current page with its header and footer, its margins drawn when asked.
    virtual QImage previewOfCurrentPage(bool showMargin) const = 0;
    // Ends other editing, selects the object alone and starts editing its text with the
    // range selected (a text box), or the cell named by the key (a table, "C3R12").
    virtual void editTextOf(const std::shared_ptr<VekObject> &object, int location, int length,
                            const QString &cellKey) = 0;
};
