// Link annotations of a printed document: every link of the text boxes becomes a clickable
// rectangle on the paper page that shows it, opening its URL or, for "#name", showing the
// place of the anchor of that name.
#pragma once

#include "platform/pdf/pdf_rewriter.h"

#include <QString>

#include <optional>
#include <vector>

class VekDocument;
class VekObject;
struct PaperLayout;
struct Rect;

// Where the anchor of the name ("#" included) lies on the canvas: the rectangle a text box
// gives for it, or the bounds of an object that carries it as its anchor name. A later
// object with the same name wins, as in the document's anchor list; nothing when no object
// of the document has the anchor.
std::optional<Rect> anchorRectInDocument(const VekDocument &document, const QString &name);

// The annotations for the printed pages first..last (numbers from 1; the PDF's page index 0
// is page first). A link lies on the page of its middle. A link to an anchor nobody has
// gets an annotation without an action; one to an anchor on a page that is not printed
// gets none.
std::vector<PdfLinkAnnotation> linkAnnotationsFor(VekDocument &document, const PaperLayout &layout, int firstPage,
                                                  int lastPage);
