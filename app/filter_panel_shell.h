// The filter panel's link to the documents: the main document's current object, and new
// image objects made by the canvas of the document they go into.
#pragma once

#include "panels/filters/filter_panel_services.h"

class VekDocController;

class ShellFilterPanelServices : public FilterPanelServices {
public:
    explicit ShellFilterPanelServices(VekDocController &documents) : m_documents(documents) {}

    std::shared_ptr<VekObject> currentObjectOfMainDocument() const override;
    bool createObjImageWith(DocumentServices &document, const Image &image, Point at, Size size) override;

private:
    VekDocController &m_documents;
};
