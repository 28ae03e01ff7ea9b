// The memo's text in both directions between the editor's document (QTextDocument) and the
// program's rich text (AttributedString), which is what the memo is stored as (RTFD). Each
// run keeps its font (family, size, bold, italic), colour and underline; pictures become
// attachments and attachments pictures.
#pragma once

#include "platform/text/attributed_string.h"

class QTextDocument;

AttributedString attributedStringOfDocument(const QTextDocument &document);
// Replaces the document's content by the text.
void setDocumentText(QTextDocument &document, const AttributedString &text);
