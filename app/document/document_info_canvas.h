// The document info panel's view of one document window: its canvas, its name, editing on
// the canvas and the page preview (DocInfoCanvas). Each document window gets one as a child,
// so that it goes with the window.
#pragma once

#include "panels/docinfo/doc_info_canvas.h"

class VekDocumentWindow;

class DocumentInfoCanvas : public DocInfoCanvas {
public:
    explicit DocumentInfoCanvas(VekDocumentWindow &window);

    // The adapter of a document window (made on first request).
    static DocumentInfoCanvas *of(VekDocumentWindow *window);

    PanelCanvas &canvas() const override;
    const void *canvasIdentity() const override;
    QString displayName() const override;
    QImage previewOfCurrentPage(bool showMargin) const override;
    void editTextOf(const std::shared_ptr<VekObject> &object, int location, int length,
                    const QString &cellKey) override;

private:
    VekDocumentWindow &m_window;
};
