// Link annotations of a printed document: every link of the text boxes becomes a clickable
// rectangle on the paper page that shows it, opening its URL or, for "#name", showing the
// place of the anchor of that name.
#pragma once

#include "platform/pdf/pdf_rewriter.h"

#include <QString>

#include <optional>
#include <vector>

class PdfDocument;
class VekDocument;
class VekObject;
struct PaperLayout;
struct Rect;

// Where the anchor of the name ("#" included) lies on the canvas: the rectangle a text box
// gives for it, or the bounds of an object that carries it as its anchor name. A later
// object with the same name wins, as in the document's anchor list; nothing when no object
// of the document has the anchor.
std::optional<Rect> anchorRectInDocument(const VekDocument &document, const QString &name);

// Whether any text box of the document carries a link.
bool documentHasTextLinks(const VekDocument &document);

// The annotations for the printed pages first..last (numbers from 1; the PDF's page index 0
// is page first). A link lies on the page of its middle, over its text as the layout places
// it. A link to an anchor nobody has gets an annotation without an action; one to an anchor
// on a page that is not printed gets none.
//
// With the printed pages (the PDF of pages first..last before annotations), the links of a
// text box that spans pages, and every link after one whose page shows no characters (it
// then moves to the next page), go where the PDF shows their text near the computed place.
// Text the page cut off in its bottom margin shows at the top of the next page, and the
// link goes there.
std::vector<PdfLinkAnnotation> linkAnnotationsFor(VekDocument &document, const PaperLayout &layout, int firstPage,
                                                  int lastPage, const PdfDocument *printed = nullptr);
