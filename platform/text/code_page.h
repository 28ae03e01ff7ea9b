// Windows and Mac code pages as RTF names them (\ansicpg, \fcharset), decoded through iconv.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Decodes bytes in a code page (1252, 10000 for Mac Roman, 932, ...). Bytes that do not
// decode become U+FFFD; an unknown code page is read as 1252.
QString decodeCodePage(const QByteArray &bytes, int codePage);
// The code page an RTF \fcharset number stands for, or nothing for "use the document's".
std::optional<int> codePageOfCharset(int charset);
// The 1252 byte for a character, or nothing when 1252 has none (or it is ASCII).
std::optional<unsigned char> encodeWindows1252(QChar c);
