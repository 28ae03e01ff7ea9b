// The XML form of property lists (preferences, update lists, colour lists, older documents).
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
//   <plist version="1.0">
//   	<dict>
//   		<key>pages</key>
//   		<integer>5</integer>
//   	</dict>
//   </plist>
//
// Elements: dict (key, value pairs), array, string, integer, real, true, false, data
// (base64), date (ISO 8601 in UTC, whole seconds). Points, sizes and rects are written as
// strings in their text form. Reals are written with the shortest text that gives back the
// same double, so a real made from a float reads back equal (as a double-precision real).
//
// XML 1.0 cannot carry some characters at all (control characters other than tab, line feed
// and carriage return; unpaired surrogates; U+FFFE and U+FFFF): the writer refuses a value
// holding one, with an error, rather than writing a file that would not read back. Carriage
// returns are written as character references so that they survive the reader's line-end
// normalisation.
//
// The reader accepts the same elements (and a value element as the root without <plist>),
// and refuses documents that declare entities or refer to undeclared ones: nothing outside
// the text is ever fetched and no entity is expanded. Nesting is limited to 256 levels.
#pragma once

#include "platform/foundation/property_list.h"

#include <QByteArray>

// The XML form of value (UTF-8). On failure (the absent value, or a string that XML cannot
// carry) returns empty data and, when error is given, stores why.
QByteArray xmlPropertyListData(const PropertyList &value, QString *error = nullptr);

// Reads the XML form. On failure returns the absent value and, when error is given, stores
// what went wrong and where.
PropertyList propertyListFromXml(const QByteArray &data, PropertyListError *error = nullptr);
