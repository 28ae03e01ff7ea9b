// The constants of the typedstream byte format: the header, the tag bytes and how
// reference numbers are encoded.
//
// A typedstream begins with the streamer version (4), the signature length (11) and the
// signature, "streamtyped" for little-endian streams and "typedstream" for big-endian ones,
// then the system version as an integer (1000). After that come groups of typed values: a
// shared type-encoding string ("@", "i", "ffff", "[12c]", ...) followed by one value of
// each type in it.
//
// Integers take one byte when they lie outside the tag range below, otherwise a tag and
// 2, 4 or 8 bytes in the stream's byte order. Floats and doubles that hold a whole number
// are written as such an integer, every other one as the float tag and 4 or 8 bytes.
// Strings, classes, objects and C strings are written in full once (after the "new" tag)
// and then referred to by number: shared strings (class names, type encodings) in one
// table, objects, classes and C strings in another, both numbered from 0 in the order
// they first appear, a number n being written as the integer n + firstReferenceNumber.
#pragma once

#include <QByteArray>
#include <QString>

namespace TypedStream {

constexpr quint8 streamerVersion = 4;
constexpr int systemVersion = 1000;
inline constexpr char littleEndianSignature[] = "streamtyped";
inline constexpr char bigEndianSignature[] = "typedstream";
constexpr int signatureLength = 11;

// Tag bytes, as signed values.
constexpr int tagInteger2 = -127;      // 0x81: a 16-bit integer follows
constexpr int tagInteger4 = -126;      // 0x82: a 32-bit integer follows
constexpr int tagFloat = -125;         // 0x83: a 4-byte float or 8-byte double follows
constexpr int tagNew = -124;           // 0x84: a new string, class or object follows
constexpr int tagNil = -123;           // 0x85: nil string, class or object
constexpr int tagEndOfObject = -122;   // 0x86: the end of an object's values
constexpr int tagInteger8 = -121;      // 0x87: a 64-bit integer follows
constexpr int firstTag = -128;
constexpr int lastTag = -111;
constexpr int firstReferenceNumber = lastTag + 1;   // 0x92

constexpr bool isTag(int signedByte) { return signedByte >= firstTag && signedByte <= lastTag; }

}   // namespace TypedStream

// One class of an archived object's class chain, as the stream names it.
struct ArchivedClass {
    QByteArray name;
    int version = 0;
    const ArchivedClass *superclass = nullptr;
};
