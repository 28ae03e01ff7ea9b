// Archive coders of the platform's sets, URLs and null, and the values they read into.
//
// NSSet and NSMutableSet (version 0): "I" count, then one "@" per element. A set reads as
// an ArchivedSet (written back as an NSSet); inside an array or dictionary it is kept as an
// array of its property-list elements. NSURL (version 0): "c" relative flag, "@" the base
// URL when the flag is set, "@" the URL text; it reads as a QUrl (a relative one resolved
// against its base) and is written back absolute; inside containers it is kept as its
// text. NSNull (version 0, no values) reads as an ArchivedNull, which containers leave out
// with a note (a property list has no null).
#pragma once

#include "platform/foundation/property_list.h"

class ArchiveCoderRegistry;

struct ArchivedSet {
    PropertyList elements;   // an array, in the order the archive held them

    friend bool operator==(const ArchivedSet &a, const ArchivedSet &b) { return a.elements == b.elements; }
};

struct ArchivedNull {};

void registerFoundationValueCoders(ArchiveCoderRegistry &registry);
