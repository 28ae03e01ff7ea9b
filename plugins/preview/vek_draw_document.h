// The document as the preview plug-in reads it: the file decoded once, the preview option
// stored in it, its stored previews, the page rectangles of the stacked drawing area and
// the marker colours of the user's preferences.
#pragma once

#include "document/vek_document.h"
#include "plugins/preview/marker_colors.h"

#include <optional>

class VekDrawDocument : public VekDocument {
public:
    // "qloption" of the file: 0 no preview, 1 stored previews, else drawn; 3 when absent.
    int quickCheckQL(const QByteArray &data);
    // The stored preview PDF ("pdfdata") and thumbnail PNG ("thumbdata"); empty when absent.
    QByteArray previewDataFromData(const QByteArray &data);
    QByteArray thumbnailDataFromData(const QByteArray &data);
    // Whether the file decodes to a document dictionary in either stored form.
    bool holdsDocument(const QByteArray &data);
    // Reads the objects and settings of the file; false when it holds no document.
    bool readDocumentFromData(const QByteArray &data);

    // {0, (n - 1) x page height, page width, page height}.
    Rect rectForPage(int n);
    // Colour n (1 to 5) of the preferences file at `preferencesPath`, read on first use.
    const Color &markerColor(int n, const QString &preferencesPath);

private:
    const PropertyList &dictionaryOf(const QByteArray &data);

    std::optional<PropertyList> m_dictionary;
    std::optional<MarkerColors> m_markerColors;
};
