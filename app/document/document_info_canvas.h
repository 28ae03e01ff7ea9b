// The document info panel's view of one document window: its document, its canvas's
// selection and pages, editing on the canvas and the page preview (DocInfoCanvas). Each
// document window gets one as a child, so that it goes with the window.
#pragma once

#include "panels/docinfo/doc_info_canvas.h"

class VekDocumentWindow;

class DocumentInfoCanvas : public DocInfoCanvas {
public:
    explicit DocumentInfoCanvas(VekDocumentWindow &window);

    // The adapter of a document window (made on first request).
    static DocumentInfoCanvas *of(VekDocumentWindow *window);

    VekDocument &document() const override;
    const void *canvasIdentity() const override;
    QString displayName() const override;
    ObjectList selectedObjects() const override;
    std::shared_ptr<VekObject> currentObject() const override;
    void selectObjects(const ObjectList &objects) override;
    void selectObjectsInGroup(const ObjectList &objects, const QString &groupID) override;
    void deselectObject(const std::shared_ptr<VekObject> &object) override;
    void clearSelection() override;
    void setCurrentObject(const std::shared_ptr<VekObject> &object) override;
    void makeVisible(const VekObject &object) override;
    int currentPage() const override;
    void pageGeometryChanged() override;
    QImage previewOfCurrentPage(bool showMargin) const override;
    void editTextOf(const std::shared_ptr<VekObject> &object, int location, int length,
                    const QString &cellKey) override;

private:
    VekDocumentWindow &m_window;
};
