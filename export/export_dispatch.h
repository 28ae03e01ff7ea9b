// The export formats, the file-name rules of the export panel and the dispatch of an export
// to its writer: everything of the export panel that does not need a widget.
#pragma once

#include "platform/geometry/geometry.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class VekDocument;
class VekObject;

// "jpg", "jp2", "pdf", "png", "tiff", "eps", "eps-simple", "icns", "svg": the pop-up's order.
const QStringList &exportFormatNames();
// The extension of a format's files: its name, "eps" for "eps-simple".
QString extensionForFormat(const QString &format);
// The name with an extension that fits the format: unchanged when it has the format's
// extension in any case ("jpeg" counts for "jpg", "tif" for "tiff"), else the extension
// appended to the whole name.
QString controlFileExtension(const QString &name, const QString &format);
// The format a confirmed path asks for: its extension in lower case, "jpeg" as "jpg", "tif"
// as "tiff", and "tiff" without an extension.
QString formatForPath(const QString &path);

// The pages a typed page list names: accepted when the whole text's leading integer lies in
// 1..pageCount; then every comma-separated part's integer in that range, in the typed
// order, repeats included. Nothing for an improper list.
std::optional<std::vector<int>> pagesFromList(const QString &text, int pageCount);

// Whether the format writes vector output (pdf, eps, eps-simple, svg) rather than pixels.
bool isVectorExportFormat(const QString &format);

// The area a selection export covers: the union of the objects' drawing bounds for "pdf",
// "eps", "eps-simple" and "svg", of their redraw areas (shadows included) for bitmaps.
Rect selectionArea(const std::vector<std::shared_ptr<VekObject>> &objects, const QString &format);

struct ExportRequest {
    QString path;
    QString format;                                    // one of exportFormatNames()
    Rect area;                                         // empty: the whole document
    std::vector<std::shared_ptr<VekObject>> objects;   // empty: all
    bool clip = false;                                 // the selection alone
    float compressionFactor = 0.9f;                    // JPEG and JPEG 2000, at least 0.1
    float pixelsPerPoint = 1;                          // bitmaps: 1 draws as the canvas at 100 %
    int flattenResolution = 0;                         // PDF/X-3 when above 0
    bool textAsOutlines = false;                       // SVG: glyph outlines in place of text
    QString displayName;                               // the document's name for headers
};

// Runs the writer of the format. False with the reason in *error (the user sees "Sorry,
// failed to save."); *warning tells of a PDF/X-3 step that fell back to plain PDF.
bool saveArea(VekDocument &document, const ExportRequest &request, QString *error = nullptr,
              QString *warning = nullptr);
