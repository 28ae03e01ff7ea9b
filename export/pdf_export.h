// PDF export: a whole document as printed pages with its metadata, or an area or selection
// drawn straight to a page of its own size; optionally converted to PDF/X-3.
#pragma once

#include "export/export_selection.h"

#include <QByteArray>
#include <QMap>
#include <QString>

class VekDocument;

// The document's pages (a page number from 1, or 0 for all) on paper as printing places
// them, with headers and footers when the document adds them, the text boxes' links as
// link annotations, and its metadata. Empty data with the reason in *error on failure.
QByteArray currentDocumentAsPDF(VekDocument &document, int page, const QString &displayName,
                                QString *error = nullptr);

// The area of the selection on one page of the area's size (no metadata).
QByteArray areaAsPDF(VekDocument &document, const ExportSelection &selection, QString *error = nullptr);

// The information entries of a document: "Author", "Title", "Subject", "Keywords" (the
// keywords' items joined by ", ") where set, with "Creator"; when none is set, every entry
// the PDF writer adds by itself ("Creator", "Title") is removed.
QMap<QString, QString> pdfInfoFor(VekDocument &document);

// Writes the whole document or the area as PDF to path. With a flattening resolution above
// 0 the file is made PDF/X-3 through Ghostscript; when that fails the plain PDF is written
// and *warning tells why. False with the reason in *error when nothing could be written.
bool saveAsPdf(VekDocument &document, const QString &path, const ExportSelection &selection,
               int flattenResolution, const QString &displayName, QString *error = nullptr,
               QString *warning = nullptr);
