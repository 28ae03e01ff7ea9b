// Page headers and footers: the cells of the document's header and footer settings with
// their variables replaced, put together on one line of tab stops, and drawn on paper.
//
// Cells are rich text stored as flat RTFD data under "hdLt", "hdMd", "hdRt" (every page),
// with "E" or "O" appended for even or odd pages (used when the every-page cell is empty),
// and "ft..." likewise for the footer. Variables: "#VDATE", "#VPAGE", "#VPAGETOTAL",
// "#VTITLE", "#VAUTHOR".
#pragma once

#include "platform/text/attributed_string.h"

#include <QDateTime>
#include <QString>

#include <optional>

class VekDocument;

// What the variables stand for on one page.
struct PageVariables {
    int page = 1;
    int pageCount = 1;
    QString title;        // the document's title, else its display name
    QString author;       // the document's author, else the user's full name
    QString dateFormat;   // calendar format of "#VDATE"; empty: the date's default form
    QDateTime now = QDateTime::currentDateTime();
};

// The variables of a page of a document: title and author fall back to the display name and
// the user's full name when the document has none.
PageVariables pageVariablesFor(VekDocument &document, int page, int pageCount, const QString &displayName);

// The text with every variable replaced, each with the attributes of its first character.
// Text put in for a variable is never searched again, so a title that itself holds a
// variable's name is shown as it is.
AttributedString changeVarToConst(const AttributedString &text, const PageVariables &variables);

// The header or footer of a page (nothing when all three cells are empty): the left text,
// then a tab to a centred stop at half the page width and the middle text, then a tab to a
// right stop at the page width and the right text.
std::optional<AttributedString> pageHeader(VekDocument &document, const PageVariables &variables, float pageWidth);
std::optional<AttributedString> pageFooter(VekDocument &document, const PageVariables &variables, float pageWidth);

// Whether a page gets its header and footer: the document adds them, and neither the first
// nor the last page is excepted.
bool pageShowsHeaderAndFooter(VekDocument &document, int page, int pageCount);
