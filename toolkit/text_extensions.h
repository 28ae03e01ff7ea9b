// Additions to attributed texts that the text-bearing objects need: a scaled copy for
// resizing a text box, a copy in device CMYK for CMYK output, a copy with a hyphen for
// hyphenation across linked boxes, and two string trimming functions.
#pragma once

#include "platform/text/attributed_string.h"

#include <QString>

// A copy with font sizes scaled by scale (never below minFontSize), line and paragraph
// spacing and tab stops scaled, and tail indents held within the copy's drawn width.
// A scale of exactly 1 gives the text unchanged. Indents are not scaled.
AttributedString createCopyInScale(const AttributedString &text, float scale, float minFontSize);
// A copy whose foreground, underline, strikethrough and stroke colours are all the device
// CMYK version of each run's foreground colour (rich black where the run has none).
AttributedString attributedStringUsingCMYK(const AttributedString &text);
// The text followed by "-" with the attributes of its last character; "-" without
// attributes for an empty text.
AttributedString addHyphen(const AttributedString &text);

// A copy whose baseline offset is, over the whole text, half the cap height of the font at
// its start (half the text's drawn height when that font has no cap height), raised or
// lowered; an offset it had is replaced, so raising twice raises once.
AttributedString withBaselineByHalf(const AttributedString &text, bool raise);

// The string without leading and trailing spaces (U+0020 only).
QString TrimSpaces(const QString &string);
// The comma-separated list with each item trimmed, empty items dropped, joined by ",".
QString StripSpacesOfCommaSeparatedString(const QString &string);
