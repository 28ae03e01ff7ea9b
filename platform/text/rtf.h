// Reading and writing rich text as RTF and RTFD (the folder and the flat single-blob form).
//
// The dialect is the one text boxes, table cells, headers and footers and the clipboard
// exchange: font and colour tables (with an extended colour table for exact colours),
// character formatting (\f \fs \b \i \ul.. \strike \cf \cb \expnd \expndtw \outl
// \strokewidth \strokec \up \dn), paragraph formatting (\pard \q. \fi \li \ri \sl \slmult
// \sa \sb \tx with \tqr \tqc \tqdec), \uc/\u and \'hh in the document's code page,
// HYPERLINK fields and, in RTFD, attachments as {{\NeXTGraphic name \width w \height h}c}.
//
// Attributes that standard RTF cannot express are written with control words of our own
// that other readers skip: \obliqueness (thousandths), \tailindent (twips, for a tail
// indent measured from the leading edge), \hyphfactor (hundredths), \slmaximum and
// \slleading (twips), and \slminimum (twips) for a minimum line height beside a line-height
// multiple; a minimum alone is the standard \sl with \slmult0. The anchor attribute is not
// written: anchors are saved beside the text, and a pasted copy must not carry them.
//
// Reading never fails on damaged input: it keeps what it has read up to the damage.
#pragma once

#include "platform/text/attributed_string.h"

#include "platform/color/color.h"
#include "platform/geometry/geometry.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The attachment files an RTFD holds, by file name.
using AttachmentLookup = std::function<std::optional<QByteArray>(const QString &fileName)>;

// The text from RTF data; nothing when the data is not RTF at all. Attachments are taken
// from lookup (RTFD); without one an attachment reference keeps its name and no contents.
std::optional<AttributedString> attributedStringWithRTF(const QByteArray &rtf, const AttachmentLookup &lookup = {});
// RTF for a range of the text, without attachments (their characters are dropped).
QByteArray RTFFromRange(const AttributedString &text, TextRange range);

// What an RTF file says about the document besides its text: the information group, the
// paper and its margins, the window's size and the page colour. Empty or absent values are
// left out.
struct RtfDocumentAttributes {
    QString title, author, subject, copyright;
    QStringList keywords;
    QDateTime creationTime;
    std::optional<Size> paperSize;               // points
    std::optional<float> leftMargin, rightMargin, topMargin, bottomMargin;
    std::optional<Size> viewSize;                // points
    std::optional<Color> backgroundColor;
};
// RTF for a range of the text carrying the document's attributes.
QByteArray RTFFromRange(const AttributedString &text, TextRange range, const RtfDocumentAttributes &document);
// RTF with attachment references; the files they name are appended to files (names made
// unique within the call).
QByteArray RTFWithAttachments(const AttributedString &text, TextRange range, QList<TextAttachment> *files);

// RTFD as a folder: "TXT.rtf" and the attachment files.
bool writeRTFDDirectory(const AttributedString &text, const QString &path);
std::optional<AttributedString> readRTFDDirectory(const QString &path);
// RTFD as one blob (the serialised folder; see rtfd_flat.h).
QByteArray RTFDFromRange(const AttributedString &text, TextRange range);
std::optional<AttributedString> attributedStringWithRTFD(const QByteArray &flat);
