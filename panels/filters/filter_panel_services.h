// What the filter panel asks of the application and of the user outside its own window.
//
// The application installs its implementation (the main document's current object, new
// image objects made by the canvas); tests install one that answers from a script. The
// built-in one knows no document and asks the user with Qt's dialogs.
#pragma once

#include "platform/geometry/geometry.h"

#include <QString>

#include <memory>
#include <optional>

class DocumentServices;
class Image;
class QWidget;
class VekObject;

class FilterPanelServices {
public:
    virtual ~FilterPanelServices() = default;

    // The current object of the main document's canvas, or null.
    virtual std::shared_ptr<VekObject> currentObjectOfMainDocument() const { return nullptr; }
    // Makes a new image object of the picture in the document, at the point with the size,
    // as the only selected object; false when the document has no canvas.
    virtual bool createObjImageWith(DocumentServices &, const Image &, Point, Size) { return false; }

    // The save panel for a TIFF file ("image.tif" proposed, the "tif" extension forced);
    // absent when cancelled.
    virtual std::optional<QString> runTiffSavePanel(QWidget *parent);
    // "Are you sure to delete the selected filter?" answered with Delete (true) or Cancel.
    virtual bool confirmDeleteFilter(QWidget *parent);
    // Shows the written file in the desktop's file manager.
    virtual void revealFile(const QString &path);
};

// The installed services, or the built-in ones.
FilterPanelServices &filterPanelServices();
// Installs services (not owned; null puts the built-in ones back).
void setFilterPanelServices(FilterPanelServices *services);
