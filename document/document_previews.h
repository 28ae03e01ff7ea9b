// The previews a saved document may carry are drawn by the export layer, which sits above
// the document (it draws through the canvas renderer), so it installs its makers here at
// start-up. Without makers a document is saved without previews.
#pragma once

#include <QByteArray>

class VekDocument;

struct DocumentPreviewMakers {
    QByteArray (*thumbnailPng)(VekDocument &) = nullptr;   // page 1 as PNG
    QByteArray (*previewPdf)(VekDocument &) = nullptr;     // the pages as PDF
};

const DocumentPreviewMakers &documentPreviewMakers();
void setDocumentPreviewMakers(const DocumentPreviewMakers &makers);
