// The previews a saved document may carry for the system's previewer: a PNG thumbnail of
// page 1 ("thumbdata") and a PDF of all pages ("pdfdata"), both in RGB whatever the
// document's CMYK setting, on an opaque background.
#pragma once

#include <QByteArray>

class VekDocument;

// Page 1 as the canvas shows it, opaque, as PNG; empty when it cannot be made.
QByteArray createPngDataForQuickLookThumbnail(VekDocument &document);
// All pages as vectors, each page the document's page size, the background colour opaque
// (white when clear) and each page's own background PDF page from the page list.
QByteArray VekPDFRepresentation(VekDocument &document);
// All pages as bitmaps, each scaled to fit maxSide points (never enlarged).
QByteArray createMultiPagesDataForQuickLookInMaxSize(VekDocument &document, float maxSide);
// The preview for the file: vectors up to 3 pages, bitmaps within 800 points beyond.
QByteArray previewPdfData(VekDocument &document);
// Lets saved documents carry these previews (the document asks through its preview makers).
void installDocumentPreviewMakers();
