#include "app/filter_panel_shell.h"

#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"

std::shared_ptr<VekObject> ShellFilterPanelServices::currentObjectOfMainDocument() const
{
    VekDocumentWindow *window = m_documents.currentVekDocument();
    return window ? window->vekView().currentObject() : nullptr;
}

bool ShellFilterPanelServices::createObjImageWith(DocumentServices &document, const Image &image, Point at, Size size)
{
    for (VekDocumentWindow *window : m_documents.documentWindows())
        if (static_cast<DocumentServices *>(&window->document()) == &document)
            return window->vekView().createObjImageWith(image, at, size);
    return false;
}
