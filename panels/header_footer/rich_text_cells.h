// The header and footer cells' rich text between the document's form (an attributed string,
// stored as flat RTFD data) and the editor's (a QTextDocument): fonts, colours and underline.
#pragma once

#include "platform/foundation/property_list.h"
#include "platform/text/attributed_string.h"

class QTextDocument;

void setCellText(QTextDocument &editor, const AttributedString &text);
AttributedString cellText(const QTextDocument &editor);

// The stored cell (absent for an empty text) and back (empty for an absent or unreadable one).
PropertyList storedCell(const AttributedString &text);
AttributedString cellFromStored(const PropertyList &stored);
