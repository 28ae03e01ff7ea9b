// A document dictionary of many object dictionaries, for the file-format benchmarks.
#pragma once

#include "platform/foundation/property_list.h"

// The document's top-level keys around `objects` dictionaries made by `objectDictionary`.
inline PropertyList sampleDocument(int objects, PropertyList (*objectDictionary)(int))
{
    PropertyList list = PropertyList::array();
    for (int i = 0; i < objects; ++i)
        list.append(objectDictionary(i));
    PropertyList doc;
    doc.insert("objects", list);
    doc.insert("resolution", PropertyList::fromInt(72));
    doc.insert("version", "1.5.1");
    doc.insert("drawAreaSize", PropertyList::fromSize({595, 842}));
    return doc;
}
