// Hyphenation points of words from the system's hyphenation dictionaries (libhyphen).
#pragma once

#include "platform/text/text_range.h"

#include <QList>
#include <QString>

// The positions inside word (UTF-16 offsets, 0 < p < word length) after which a hyphen may
// break it, in increasing order; none when no dictionary for the language is installed.
// language is a locale name such as "en_US".
QList<int> hyphenationPoints(const QString &word, const QString &language = QStringLiteral("en_US"));

// The last position before index, inside the word that holds the character before index
// and within range, at which that word may be hyphenated; -1 when there is none.
int lineBreakByHyphenatingBeforeIndex(const QString &text, int index, TextRange range,
                                      const QString &language = QStringLiteral("en_US"));
