// Hyphenation points of words from the system's hyphenation dictionaries (libhyphen).
#pragma once

#include "platform/text/text_range.h"

#include <QList>
#include <QString>

// Languages are locale names ("de_DE", "de-DE", "pt", "fr_CA.UTF-8"); a language is served
// by its own dictionary, else by the dictionary of its base language, else by any regional
// one of that language (Debian's hyphen-* packages install them in /usr/share/hyphen).
// An empty language means defaultHyphenationLanguage().

// Whether a dictionary serves the language.
bool hasHyphenationDictionary(const QString &language);
// The user's language when a dictionary serves it, else "en_US".
QString defaultHyphenationLanguage();

// The positions inside word (UTF-16 offsets, 0 < p < word length) after which a hyphen may
// break it, in increasing order; none when no dictionary serves the language.
QList<int> hyphenationPoints(const QString &word, const QString &language = QString());

// The last position before index, inside the word that holds the character before index
// and within range, at which that word may be hyphenated; -1 when there is none.
int lineBreakByHyphenatingBeforeIndex(const QString &text, int index, TextRange range,
                                      const QString &language = QString());
