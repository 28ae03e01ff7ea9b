// localizedString: the text to show for an interface text, from the strings table of the user's language.
//
// Keys are the English texts themselves (a few are symbolic names); a key missing from the
// table is returned as it is, so English needs entries only for symbolic keys.
//
// Tables are resources/strings/<language>.strings, embedded in the library (the plug-ins
// need no installed files). The first table found among the user's interface languages
// (QLocale::uiLanguages(), "pt-BR" tried as "pt_BR" and then "pt") is used, else "en".
//
// Table format (UTF-8), one entry per key:
//     /* a comment */   // a comment to the end of the line
//     "English text" = "Translated text";
// Inside the quotes: \" \\ \n \t \r, and \UXXXX or \uXXXX for a UTF-16 code unit (hex).
// A later entry for the same key replaces an earlier one.
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

QString localizedString(const QString &key);

// Reads a table in the format above into *table. On a syntax error it returns false with
// "line N: what is wrong" in *error; the entries before the error are kept.
bool parseStringsTable(QStringView text, QHash<QString, QString> *table, QString *error);
