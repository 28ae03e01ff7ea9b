// DocInfoCanvas: what the document info panel asks of the document window it shows: its
// canvas (as every floating panel sees one, PanelCanvas: the document, the selection, the
// current page), the window's name, the page preview, and editing text on the canvas.
//
// The panels lie below the canvas widget and the document windows, so the application gives
// each document window an adapter of this kind (a child of the window, gone with it); the
// panel keeps it through a QPointer.
#pragma once

#include "panels/panel_canvas.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

class VekObject;

class DocInfoCanvas : public QObject {
public:
    using QObject::QObject;

    virtual PanelCanvas &canvas() const = 0;
    VekDocument &document() const { return canvas().document(); }
    // The sender of the canvas's notifications.
    virtual const void *canvasIdentity() const = 0;
    // The file's name, or the untitled name.
    virtual QString displayName() const = 0;

    // The current page with its header and footer, its margins drawn when asked.
    virtual QImage previewOfCurrentPage(bool showMargin) const = 0;
    // Ends other editing, selects the object alone and starts editing its text with the
    // range selected (a text box), or the cell named by the key (a table, "C3R12").
    virtual void editTextOf(const std::shared_ptr<VekObject> &object, int location, int length,
                            const QString &cellKey) = 0;
};
