// The old-style (OpenStep) text form of property lists: writer and reader.
//
// The form, as written here:
//   {
//       class = VekObjPath;
//       bounds = "{{10, 20}, {30, 40}}";
//       list = (
//           a,
//           "two words"
//       );
//       bytes = <0fbd7a8912>;
//   }
// Dictionaries are "{ key = value; ... }" with the keys in the dictionary's order, arrays
// "( a, b )", data "<hex>" (two digits a byte, no blanks). The form has no numbers, bools, dates or
// geometry: those are written as their stringValue and come back as strings (the number
// accessors of PropertyList read them). Strings are bare when made only of
// [A-Za-z0-9_$+/:.-] (and not starting a comment), otherwise quoted with the backslash
// escapes \" \\ \a \b \f \n \r \t \v, other control characters in octal (\033) and every
// non-ASCII UTF-16 unit as \Uxxxx, so the output is pure ASCII and loses nothing. Nested
// containers are indented by one tab a level; the output has no trailing newline.
//
// The reader takes that form and what other writers of it produce: comments (// and /* */),
// single or double quotes, \U escapes of one to four hex digits, octal escapes, blanks inside
// data, a trailing comma in arrays, and the "strings file" form (key = value; pairs without
// the outer braces). Input is UTF-8 (a UTF-16 file with a byte-order mark also reads; bytes
// that are not UTF-8 are taken as Latin-1). Nesting is limited to 256 levels.
#pragma once

#include "platform/foundation/property_list.h"

#include <QByteArray>

// The text form of value (ASCII). The absent value gives empty data.
QByteArray textPropertyListData(const PropertyList &value);

// Reads the text form. On failure returns the absent value and, when error is given, stores
// what went wrong and where.
PropertyList propertyListFromText(const QByteArray &data, PropertyListError *error = nullptr);
