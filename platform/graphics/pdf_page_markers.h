// Marker colours for PDF pages drawn into PDF output, so that they can stay vectors.
//
// Qt's PDF writer can only draw a PDF page as pixels. When PDF output is to keep such a page
// as vectors, the graphics context fills the page's target rectangle with a marker colour
// that this table hands out and records which page it stands for; a pass over the written
// file (PdfRewriter::resolveStandIns) replaces each marked rectangle with the page itself,
// placed as a form XObject on the rectangle's corners. Marker colours use 16-bit components
// that no 8-bit colour has, with a fixed red and green, so they cannot meet a CMYK stand-in.
#pragma once

#include <QRgba64>

#include <memory>
#include <optional>
#include <vector>

class PdfDocument;

struct PdfPagePlacement {
    std::shared_ptr<const PdfDocument> document;
    int page = 0;   // from 0
};

class PdfPageMarkers {
public:
    // The marker colour (opaque) for a page; none once 65,535 pages are marked.
    std::optional<QRgba64> markerFor(std::shared_ptr<const PdfDocument> document, int page);
    // The page a colour marks, given as 16-bit components, if it is a marker.
    const PdfPagePlacement *placementFor(quint16 red, quint16 green, quint16 blue) const;
    bool isEmpty() const { return m_placements.empty(); }

private:
    std::vector<PdfPagePlacement> m_placements;
};
