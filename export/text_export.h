// Text export: the document's text (text boxes, tables and texts laid along paths, in reading
// order from the top of the first page), optionally followed by the text of the background PDF, as RTF or as plain
// text in a chosen encoding.
#pragma once

#include "platform/text/attributed_string.h"
#include "platform/text/rtf.h"

#include <QByteArray>
#include <QString>

#include <optional>

class VekDocument;

// The objects' texts ordered by their top edges (as the objects table sorts them), each non-empty piece separated from the
// previous by a line feed; with the background PDF's text after a line feed when asked
// for and there is any.
AttributedString documentText(VekDocument &document, bool addBackgroundPdfText);
// The background PDF's text, page after page; nothing without a background PDF or text.
std::optional<QString> backgroundPdfText(VekDocument &document);

// What the RTF says about the document: its metadata, paper and margins of the print
// settings, the canvas's size, the background colour when it is not transparent, and now as
// the creation time.
RtfDocumentAttributes currentDocumentAttributes(VekDocument &document);

// The characters in the encoding (an iconv name such as "UTF-8", "ISO-8859-1",
// "MACINTOSH", "ISO-2022-JP"); nothing when the encoding is unknown or cannot hold a
// character of the text.
std::optional<QByteArray> encodedText(const QString &text, const QByteArray &encoding);

enum class TextExportResult { Saved, NoText, Failed };

// Writes the text as RTF (rtf true) or plain text in the encoding, replacing the file only
// with a complete new one. NoText when there is no text (a document without objects still
// exports its background PDF's text when asked).
TextExportResult saveTextAs(VekDocument &document, const QString &path, bool rtf, bool addBackgroundPdfText,
                            const QByteArray &encoding = "UTF-8", QString *error = nullptr);
