// Archive coders of the Foundation classes, read into and written from PropertyList values:
// NSString, NSData, NSArray, NSDictionary (and their mutable forms), NSNumber, NSValue and
// NSDate.
//
// NSNumber and NSValue hold a type encoding and a value of that type. Numbers become
// integers, reals (float or double, as written) or bools (a char of 0 or 1, as the platform
// stores BOOL); points, sizes and rects become PropertyList points, sizes and rects (from
// both the 32-bit "{_NSPoint=ff}" and the 64-bit "{CGPoint=dd}" forms); a value of any
// other layout becomes an ArchivedValue. Containers hold PropertyLists only: an element
// that is none (an unsupported class, an ArchivedValue, a nil) is left out with a note.
#pragma once

#include "platform/foundation/property_list.h"

#include <QString>

#include <any>
#include <optional>
#include <utility>
#include <vector>

class ArchiveCoderRegistry;
class Archiver;
class Unarchiver;

void registerFoundationCoders(ArchiveCoderRegistry &registry);
// Writes a property-list value other than nil or a string (the archiver writes those) as its
// Foundation object; the archiver sends every property list here.
bool writePropertyListObject(Archiver &out, const PropertyList &plist);

// An NSDictionary that holds objects no property list holds (the fonts and colours of text
// attributes): its property-list part, as containers keep it, and every entry as read.
struct ObjectDictionary {
    PropertyList plist;
    std::vector<std::pair<QString, std::any>> entries;
};

// The property-list value of a decoded object (a set gives the array of its elements, a URL
// its text, an ObjectDictionary its property-list part), or nothing for objects of other
// kinds.
std::optional<PropertyList> propertyListFromArchivedObject(const std::any &object);
// The value a container keeps of a decoded element, or nothing, with a note on why.
std::optional<PropertyList> containerElement(Unarchiver &in, const std::any &element);
// Reads an object that must be a (non-nil) string, for coders whose values hold names.
bool decodeStringObject(Unarchiver &in, QString &string);
// A run of bytes as the platform's data objects and encodeDataObject: write it: "i" length,
// then "[Nc]" the bytes.
bool decodeDataObject(Unarchiver &in, QByteArray &bytes);
void encodeDataObject(Archiver &out, const QByteArray &bytes);
