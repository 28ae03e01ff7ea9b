// The font names and sizes the options panels offer.
#pragma once

#include <QStringList>

// Every installed face's PostScript name, sorted without regard to case.
QStringList fontNameChoices();
// The sizes offered for text, in order; the sixth ("11") is the one shown at start.
const QStringList &fontSizeChoices();
inline constexpr int DefaultFontSizeChoice = 5;
// The index of the user's font (or else the system font) in the names; 0 when absent.
int defaultFontChoice(const QStringList &names);
