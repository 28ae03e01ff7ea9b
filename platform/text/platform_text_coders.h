// Decoders of the platform's own text classes, for archives the platform wrote:
//   NSFont (versions 21 and 30): a data object holding the name in the old binary
//     property-list form (a NeXTSTEP 8-bit or UTF-16 string), "f" the size, four "c"
//     flags of unknown meaning (read past); it reads as a Font.
//   NSAttributedString, NSMutableAttributedString (version 0): "@" the text, then runs
//     until the object ends: "iI" an attribute-set number (from 1) and the run's length in
//     UTF-16 units, followed by the set's NSDictionary the first time its number appears.
//     It reads as an AttributedString; of the attributes, fonts, colours, underline and
//     strikethrough styles, kerning, baseline offset, obliqueness, stroke width and links
//     are taken (paragraph styles in this layout are not established and are left out).
// Our own files write text under our own classes (text_archiving.h).
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class ArchiveCoderRegistry;

void registerPlatformTextDecoders(ArchiveCoderRegistry &registry);

// The string an old binary property list holds (type 5, NeXTSTEP 8-bit; type 6, UTF-16 with
// a byte-order mark), all integers 4 bytes little-endian; nothing unless the data is exactly
// one such string.
std::optional<QString> stringFromOldBinaryPropertyList(const QByteArray &data);
