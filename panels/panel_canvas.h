// What the floating panels (the object inspector, the shadow panel, the document info panel)
// ask of the canvas of a document window, and how they find the main window's.
//
// The canvas widget implements PanelCanvas; the application installs the function that
// answers the main window's canvas (null without a document window).
#pragma once

#include "platform/geometry/geometry.h"

#include <QChar>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CanvasServices;
class Image;
class VekDocument;
class VekObject;

class PanelCanvas {
public:
    virtual ~PanelCanvas() = default;

    virtual VekDocument &document() const = 0;
    virtual CanvasServices &canvasServices() = 0;
    // In selection order.
    virtual std::vector<std::shared_ptr<VekObject>> selectedObjects() const = 0;
    // One of the selected objects, null with an empty selection.
    virtual std::shared_ptr<VekObject> currentObject() = 0;
    // The union of the selected objects' bounds.
    virtual Rect selectedObjectsBounds() = 0;
    // Replaces the selection (no group rules); the first becomes the current object.
    virtual void selectObjects(const std::vector<std::shared_ptr<VekObject>> &objects) = 0;
    // Selects part of a group.
    virtual void selectObjectsInGroup(const std::vector<std::shared_ptr<VekObject>> &objects,
                                      const QString &groupID) = 0;
    virtual void clearSelection() = 0;
    virtual void setCurrentObject(const std::shared_ptr<VekObject> &object) = 0;
    // Scrolls the object into view.
    virtual void makeVisible(const VekObject &object) = 0;
    virtual int currentPage() const = 0;
    // The canvas's own keys (0x7F deletes the selected point or objects).
    virtual bool doEventForChar(QChar character, unsigned modifierFlags) = 0;
    // Moves the rulers' markers of the selection to where it is now.
    virtual void updateRulerMarkers() = 0;
    // The picture of the selected objects.
    virtual QImage imageOfSelectedObjects() const = 0;
    // A new image object, the only one selected.
    virtual bool createObjImageWith(const Image &image, Point at, Size size) = 0;
};

using MainCanvasProvider = std::function<PanelCanvas *()>;
// The main window's canvas, or null (also before a provider is installed).
PanelCanvas *mainPanelCanvas();
void setMainCanvasProvider(MainCanvasProvider provider);
