// A property list holding every kind of value, shared by the format tests.
#pragma once

#include "platform/foundation/property_list.h"

// Nested dictionaries and arrays with every value kind, non-ASCII text (including a
// character outside the BMP), empty strings, empty containers and binary data.
inline PropertyList everyKind()
{
    PropertyList object;
    object.insert("class", "VekObjPath");
    object.insert("bounds", PropertyList::fromRect({10, 20.5f, 30, 40}));
    object.insert("gradCenter", PropertyList::fromPoint({0.5f, -1}));
    object.insert("drawAreaSize", PropertyList::fromSize({595, 842}));
    object.insert("repeatStart", PropertyList::fromInt(1));
    object.insert("big", PropertyList::fromInt(-9007199254740993LL));
    object.insert("fillAlpha", PropertyList::fromFloat(0.3f));
    object.insert("ratio", PropertyList::fromDouble(1.0 / 3.0));
    object.insert("simpleClip", PropertyList::fromBool(true));
    object.insert("exclusive", PropertyList::fromBool(false));
    object.insert("note", QString::fromUtf8("Zoë says \"日本\" <&> \\ 🎨\n\ttab\rreturn"));
    object.insert("empty", "");
    object.insert("path", PropertyList::fromData(QByteArray("\x00\x01\x7f\x80\xff", 5)));
    object.insert("nothing", PropertyList::fromData(QByteArray()));
    object.insert("when", PropertyList::fromDate(QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)));
    object.insert("emptyList", PropertyList::array());
    object.insert("emptyDict", PropertyList::dictionary());

    PropertyList objects = PropertyList::array();
    objects.append(object);
    objects.append(PropertyList::fromStringList({"a", "b c", ""}));

    PropertyList doc;
    doc.insert("objects", objects);
    doc.insert("version", "1.5.1");
    doc.insert("//looks like a comment", "//x");
    return doc;
}
