// Hyphenation points of words from the system's hyphenation dictionaries (libhyphen).
#pragma once

#include <QList>
#include <QString>

// The positions inside word (UTF-16 offsets, 0 < p < word length) after which a hyphen may
// break it, in increasing order; none when no dictionary for the language is installed.
// language is a locale name such as "en_US".
QList<int> hyphenationPoints(const QString &word, const QString &language = QStringLiteral("en_US"));
