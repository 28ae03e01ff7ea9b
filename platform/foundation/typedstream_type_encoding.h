// Objective-C type encodings as typedstreams store them: parsing a group's encoding string
// ("ffff", "{_NSPoint=ff}", "[12c]") into single types, and the C memory layout of the
// values an archived NSValue holds.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <optional>
#include <vector>

struct TypeEncoding {
    // The type code: one of "cCsSiIlLqQfdB" (scalars), '*' (C string), '@' (object),
    // '#' (class), ':' (selector), '%' (atom), '+' (byte string), '!' (ignored int),
    // '[' (array of `count` elements of fields[0]) or '{' (struct of `fields`).
    char code = 0;
    qint64 count = 0;
    QByteArray name;                   // a struct's name ("_NSPoint"); may be "?" or empty
    std::vector<TypeEncoding> fields;
    QByteArray text;                   // the encoding as written

    bool isInteger() const;            // c C s S i I l L q Q B
    bool isFloat() const { return code == 'f' || code == 'd'; }
    // A struct of exactly `n` fields that are all floats or all doubles.
    bool isStructOfReals(int n) const;
};

// Splits a group's encoding string into its types; nothing for an empty, malformed or
// unsupported string (unions, pointers, bit fields) or one nested deeper than a few levels.
std::optional<std::vector<TypeEncoding>> parseTypeEncodings(const QByteArray &text);

// The same, parsed once per thread: archives repeat a few group encodings ("cff" for every
// path element) thousands of times. Null for a string parseTypeEncodings refuses.
using TypeEncodings = std::shared_ptr<const std::vector<TypeEncoding>>;
TypeEncodings sharedTypeEncodings(QByteArrayView text);

// The size of a value of this type in memory, fields aligned to their natural size as a
// 32-bit C compiler lays them out (long is 4 bytes); nothing for types that hold pointers
// (objects, strings, classes) or sizes beyond `limit`.
std::optional<qint64> valueSizeOf(const TypeEncoding &type, qint64 limit);
int valueAlignmentOf(const TypeEncoding &type);
