// Values an archive holds that have no closer type: an NSValue of a byte layout other than
// a number, point, size or rect, objects of classes that no coder reads, and references to
// objects not yet complete.
#pragma once

#include <QByteArray>

// An NSValue kept as its Objective-C type encoding and its bytes as the value lies in
// memory: fields at their natural alignment (long is 4 bytes, as on the 32-bit systems
// that wrote such archives), each in this machine's byte order. A "{?=fff}" value is
// thus three floats at offsets 0, 4 and 8.
struct ArchivedValue {
    QByteArray objCType;
    QByteArray bytes;

    friend bool operator==(const ArchivedValue &a, const ArchivedValue &b)
    {
        return a.objCType == b.objCType && a.bytes == b.bytes;
    }
};

// An object the stream held but no coder reads; containers leave it out.
struct UnsupportedObject {
    QByteArray className;
};

// A reference back to an object whose values are still being read: a child's pointer to
// the parent that contains it. Decoded objects are values, so the parent cannot be handed
// out before it is complete; its decoder sees this in its place and may ignore it.
struct BackReference {
    qint64 objectNumber = 0;
    QByteArray className;
};
