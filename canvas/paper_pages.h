// Document pages on paper, as printing and the PDF export of whole documents place them:
// each page's content at the paper's left and bottom margins (or centred), scaled by the
// print scaling, with the page header above it and the footer below it.
#pragma once

#include "platform/geometry/affine_transform.h"
#include "platform/geometry/geometry.h"

#include <QString>

#include <functional>

class CanvasServices;
class VekDocument;

struct PaperLayout {
    Size paper;                         // points, as it lies (landscape turned)
    Size page;                          // the document's page, document pixels
    float scale = 1;                    // document pixels -> points on paper
    Point contentOrigin;                // the page's top left on paper, points, y down

    // Canvas coordinates of a page -> paper coordinates (points, y down from the top left).
    AffineTransform canvasToPaper(int page) const;
    // A rectangle of a page in canvas coordinates -> PDF coordinates of the paper (y up).
    Rect paperRectInPdf(int page, const Rect &canvasRect) const;
};

// The layout from the document's print settings. The margins are points of the paper; the
// page is scaled by the print scaling (72 / resolution), so that a page of the size the paper
// gives fills the paper inside the margins at any resolution. With shrinkToFit, a page larger
// than that (both compared in document pixels) is scaled down to fit, the factor cut to
// whole hundredths.
PaperLayout paperLayoutFor(VekDocument &document, bool shrinkToFit);

// Draws one page on paper into the current graphics context (paper coordinates): the page's
// background and objects, clipped to the page, then its header and footer when the document
// adds them.
void drawPageOnPaper(VekDocument &document, CanvasServices &view, const PaperLayout &layout, int page, const QString &displayName);
