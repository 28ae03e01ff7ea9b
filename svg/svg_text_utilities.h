// Text helpers of the SVG importer: the tolerant base64 decoder of data URLs, the white-space
// trimmer, and the expansion of character references in text runs.
#pragma once

#include <QByteArray>
#include <QString>

// Decodes base64 text: ".", "-", blanks and line ends are ignored, symbols are taken in
// groups of four across them; a group whose second symbol is padding or invalid gives
// nothing, else one byte, a second when the third symbol is valid, a third when the fourth is.
QByteArray svgBase64(const QString &text);

// Removes white space at both ends, cuts to maxLength when it is above 0, then turns every
// remaining white-space character into one blank (runs are not merged).
QString strntrim(const QString &text, int maxLength = 0);

// Replaces each "&name;" by specialCharacter(name); an "&" with no ";" after it, and an "&"
// abandoned by a second "&" before the ";", stay as written.
QString specialConvert(const QString &text);

// The character a reference names: "#x41" and "#65" by code (codes that are no character,
// such as 0, surrogates or values beyond U+10FFFF, keep the reference as written), or one
// of the named entities; an unknown name gives "&name;" back.
QString specialCharacter(const QString &name);
